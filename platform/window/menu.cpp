// Popup menus on QMenu: checkable items, a bold default item, separators and submenus.
#include "platform/window/menu.h"

#include <QAction>
#include <QMenu>

#include "platform/core/qt_text_impl.h"
#include "platform/window/interception.h"
#include "platform/window/window.h"
#include "platform/window/window_impl.h"

namespace plat {
namespace {

PopupMenu::Item* FindIn(std::vector<PopupMenu::Item>& items, int id) {
    for (PopupMenu::Item& item : items) {
        if (item.id == id && id != 0) {
            return &item;
        }
        if (PopupMenu::Item* inner = FindIn(item.submenu, id)) {
            return inner;
        }
    }
    return nullptr;
}

void Fill(QMenu& menu, const std::vector<PopupMenu::Item>& items) {
    for (const PopupMenu::Item& item : items) {
        if (!item.submenu.empty()) {
            QMenu* sub = menu.addMenu(ToQString(item.text));
            sub->setEnabled(item.enabled);
            Fill(*sub, item.submenu);
            continue;
        }
        if (item.id == 0) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(ToQString(item.text));
        action->setData(item.id);
        action->setCheckable(item.checked);
        action->setChecked(item.checked);
        action->setEnabled(item.enabled);
        if (item.isDefault) {
            QFont bold = action->font();
            bold.setBold(true);
            action->setFont(bold);
        }
    }
}

}  // namespace

void PopupMenu::AppendItem(int id, std::string_view textCp949) {
    Item item;
    item.id = id;
    item.text.assign(textCp949);
    items_.push_back(std::move(item));
}

void PopupMenu::AppendSeparator() {
    items_.push_back(Item{});
}

PopupMenu::Item* PopupMenu::FindMutable(int id) {
    return FindIn(items_, id);
}

const PopupMenu::Item* PopupMenu::FindItem(int id) const {
    return const_cast<PopupMenu*>(this)->FindMutable(id);
}

bool PopupMenu::CheckItem(int id, bool checked) {
    Item* item = FindMutable(id);
    if (item == nullptr) {
        return false;
    }
    item->checked = checked;
    return true;
}

bool PopupMenu::SetDefaultItem(int id) {
    Item* item = FindMutable(id);
    if (item == nullptr) {
        return false;
    }
    // One default item per menu, as the classic menus keep it.
    auto clear = [](auto& self, std::vector<Item>& items) -> void {
        for (Item& i : items) {
            i.isDefault = false;
            self(self, i.submenu);
        }
    };
    clear(clear, items_);
    item->isDefault = true;
    return true;
}

bool PopupMenu::EnableItem(int id, bool enabled) {
    Item* item = FindMutable(id);
    if (item == nullptr) {
        return false;
    }
    item->enabled = enabled;
    return true;
}

int PopupMenu::Track(Window* owner, Point screen) const {
    int chosen = 0;
    if (const auto& intercept = testing::MenuInterceptor()) {
        chosen = intercept(testing::TrackedMenu{items_, screen});
        // Only an enabled item of this menu can be chosen.
        const Item* item = FindItem(chosen);
        if (item == nullptr || !item->enabled) {
            chosen = 0;
        }
    } else if (owner != nullptr) {
        // The owner may be destroyed while the menu runs its own loop.
        const std::uint64_t ownerKey = owner->Impl()->key;
        QMenu menu;
        Fill(menu, items_);
        if (QAction* action = menu.exec(QPoint(screen.x, screen.y))) {
            chosen = action->data().toInt();
        }
        owner = WindowImpl::FindLive(ownerKey);
    } else {
        QMenu menu;
        Fill(menu, items_);
        if (QAction* action = menu.exec(QPoint(screen.x, screen.y))) {
            chosen = action->data().toInt();
        }
    }
    if (chosen != 0 && owner != nullptr) {
        owner->SendMessage(kWmCommand, MakeWParam(chosen, 0), 0);
    }
    return chosen;
}

}  // namespace plat
