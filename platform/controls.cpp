// Standard controls (stub until filled in).
#include "platform/controls.h"

#include "platform/draw.h"

namespace plat {

bool PushButton::Create(Window* parent, int id, std::string_view textCp949, const Rect& rect,
                        std::uint32_t style) {
    SetText(textCp949);
    return Window::Create(parent, id, rect, style);
}
void PushButton::Click() {}
bool PushButton::CreateNative(const Rect& rect) {
    return Window::CreateNative(rect);
}

bool StaticText::Create(Window* parent, int id, std::string_view textCp949, const Rect& rect,
                        std::uint32_t style) {
    SetText(textCp949);
    return Window::Create(parent, id, rect, style);
}
bool StaticText::CreateNative(const Rect& rect) {
    return Window::CreateNative(rect);
}

bool EditBox::Create(Window* parent, int id, const Rect& rect, std::uint32_t style) {
    return Window::Create(parent, id, rect, style);
}
void EditBox::SetText(std::string_view cp949) {
    Window::SetText(cp949);
}
std::string EditBox::Text() const {
    return Window::Text();
}
void EditBox::SetLimitText(int) {}
bool EditBox::CreateNative(const Rect& rect) {
    return Window::CreateNative(rect);
}

bool ComboBox::Create(Window* parent, int id, const Rect& rect, std::uint32_t style) {
    return Window::Create(parent, id, rect, style);
}
int ComboBox::AddString(std::string_view) {
    return -1;
}
int ComboBox::Count() const {
    return 0;
}
std::string ComboBox::ItemText(int) const {
    return {};
}
bool ComboBox::SetItemHeight(int, int) {
    return false;
}
int ComboBox::ItemHeight(int) const {
    return 0;
}
bool ComboBox::SetCurSel(int) {
    return false;
}
int ComboBox::CurSel() const {
    return -1;
}
void ComboBox::SelectByUser(int) {}
bool ComboBox::CreateNative(const Rect& rect) {
    return Window::CreateNative(rect);
}

int ImageList::Add(const Bitmap& bitmap) {
    images_.push_back(new Bitmap(bitmap));
    return Count() - 1;
}
const Bitmap* ImageList::At(int index) const {
    return index >= 0 && index < Count() ? images_[static_cast<std::size_t>(index)] : nullptr;
}
ImageList::~ImageList() {
    for (Bitmap* b : images_) {
        delete b;
    }
}

bool ListView::Create(Window* parent, int id, const Rect& rect, std::uint32_t style) {
    return Window::Create(parent, id, rect, style);
}
void ListView::SetExtendedStyle(std::uint32_t) {}
std::uint32_t ListView::ExtendedStyle() const {
    return 0;
}
void ListView::SetHeaderVisible(bool) {}
int ListView::InsertColumn(int, std::string_view, int, int) {
    return -1;
}
int ListView::ColumnCount() const {
    return 0;
}
int ListView::ColumnWidth(int) const {
    return 0;
}
void ListView::SetColumnWidth(int, int) {}
int ListView::InsertItem(int, std::string_view, int) {
    return -1;
}
bool ListView::SetItemText(int, int, std::string_view) {
    return false;
}
std::string ListView::ItemText(int, int) const {
    return {};
}
bool ListView::SetItemImage(int, int, int) {
    return false;
}
int ListView::ItemImage(int, int) const {
    return -1;
}
bool ListView::SetItemData(int, std::intptr_t) {
    return false;
}
std::intptr_t ListView::ItemData(int) const {
    return 0;
}
bool ListView::DeleteItem(int) {
    return false;
}
void ListView::DeleteAllItems() {}
int ListView::ItemCount() const {
    return 0;
}
bool ListView::SetItemState(int, std::uint32_t, std::uint32_t) {
    return false;
}
std::uint32_t ListView::ItemState(int, std::uint32_t) const {
    return 0;
}
int ListView::NextItem(int, int) const {
    return -1;
}
int ListView::SelectedCount() const {
    return 0;
}
void ListView::SetImageList(ImageList*) {}
bool ListView::EnsureVisible(int) {
    return false;
}
int ListView::TopIndex() const {
    return 0;
}
int ListView::CountPerPage() const {
    return 0;
}
Rect ListView::ItemRect(int) const {
    return {};
}
int ListView::HitTest(Point, int*) const {
    return -1;
}
void ListView::SetRowHeight(int) {}
bool ListView::CreateNative(const Rect& rect) {
    return Window::CreateNative(rect);
}

}  // namespace plat
