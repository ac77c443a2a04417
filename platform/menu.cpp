// Popup menus (stub until filled in).
#include "platform/menu.h"

namespace plat {

void PopupMenu::AppendItem(int id, std::string_view textCp949) {
    Item item;
    item.id = id;
    item.text.assign(textCp949);
    items_.push_back(std::move(item));
}
void PopupMenu::AppendSeparator() {
    items_.push_back(Item{});
}
bool PopupMenu::CheckItem(int, bool) {
    return false;
}
bool PopupMenu::SetDefaultItem(int) {
    return false;
}
bool PopupMenu::EnableItem(int, bool) {
    return false;
}
const PopupMenu::Item* PopupMenu::FindItem(int) const {
    return nullptr;
}
PopupMenu::Item* PopupMenu::FindMutable(int) {
    return nullptr;
}
int PopupMenu::Track(Window*, Point) const {
    return 0;
}

}  // namespace plat
