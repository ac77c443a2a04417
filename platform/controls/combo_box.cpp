// Drop-down list combo box on QComboBox, with a height per item.
#include <QAbstractItemView>
#include <QComboBox>

#include "platform/controls/control_impl.h"
#include "platform/controls/controls.h"
#include "platform/core/qt_text_impl.h"
#include "platform/draw/draw_impl.h"

namespace plat {
namespace {

QComboBox* ComboOf(const Window* w) {
    return qobject_cast<QComboBox*>(w->Impl()->widget.data());
}

bool InRange(const QComboBox* combo, int index) {
    return combo != nullptr && index >= 0 && index < combo->count();
}

}  // namespace

bool ComboBox::Create(Window* parent, int id, const Rect& rect, std::uint32_t style) {
    return Window::Create(parent, id, rect, style);
}

bool ComboBox::CreateNative(const Rect& rect) {
    auto* combo = new QComboBox(ParentWidgetOf(Parent()));
    combo->setGeometry(ToQRect(rect));
    combo->setEditable(false);
    // Only a choice made by the user notifies; setCurrentIndex does not emit `activated`.
    QObject::connect(combo, &QComboBox::activated,
                     [this](int) { NotifyParentCommand(this, kCbnSelChange); });
    impl_->Attach(combo, false);
    return true;
}

int ComboBox::AddString(std::string_view cp949) {
    QComboBox* combo = ComboOf(this);
    if (combo == nullptr) {
        return -1;
    }
    combo->addItem(ToQString(cp949));
    // A new list starts with nothing chosen, as the classic control does.
    if (combo->count() == 1) {
        combo->setCurrentIndex(-1);
    }
    return combo->count() - 1;
}

int ComboBox::Count() const {
    const QComboBox* combo = ComboOf(this);
    return combo != nullptr ? combo->count() : 0;
}

std::string ComboBox::ItemText(int index) const {
    const QComboBox* combo = ComboOf(this);
    return InRange(combo, index) ? FromQString(combo->itemText(index)) : std::string();
}

bool ComboBox::SetItemHeight(int index, int height) {
    QComboBox* combo = ComboOf(this);
    if (!InRange(combo, index) || height <= 0) {
        return false;
    }
    combo->setItemData(index, QSize(0, height), Qt::SizeHintRole);
    return true;
}

int ComboBox::ItemHeight(int index) const {
    const QComboBox* combo = ComboOf(this);
    if (!InRange(combo, index)) {
        return -1;
    }
    const QVariant hint = combo->itemData(index, Qt::SizeHintRole);
    if (hint.isValid()) {
        return hint.toSize().height();
    }
    return combo->fontMetrics().height() + 2;
}

bool ComboBox::SetCurSel(int index) {
    QComboBox* combo = ComboOf(this);
    if (combo == nullptr) {
        return false;
    }
    if (index == -1) {
        combo->setCurrentIndex(-1);
        return true;
    }
    if (!InRange(combo, index)) {
        return false;
    }
    combo->setCurrentIndex(index);
    return true;
}

int ComboBox::CurSel() const {
    const QComboBox* combo = ComboOf(this);
    return combo != nullptr ? combo->currentIndex() : -1;
}

void ComboBox::SelectByUser(int index) {
    QComboBox* combo = ComboOf(this);
    if (!InRange(combo, index)) {
        return;
    }
    combo->setCurrentIndex(index);
    NotifyParentCommand(this, kCbnSelChange);
}

}  // namespace plat
