// Push button, check box and static text on Qt's own widgets.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "platform/controls/control_impl.h"
#include "platform/controls/controls.h"
#include "platform/draw/draw_impl.h"

namespace plat {

bool PushButton::Create(Window* parent, int id, std::string_view textCp949, const Rect& rect,
                        std::uint32_t style) {
    if (IsCreated()) {
        return false;
    }
    SetText(textCp949);
    return Window::Create(parent, id, rect, style);
}

bool PushButton::CreateNative(const Rect& rect) {
    auto* button = new QPushButton(ParentWidgetOf(Parent()));
    button->setGeometry(ToQRect(rect));
    QObject::connect(button, &QPushButton::clicked,
                     [this] { NotifyParentCommand(this, kBnClicked); });
    impl_->Attach(button, false);
    return true;
}

void PushButton::Click() {
    if (auto* button = qobject_cast<QPushButton*>(impl_->widget.data())) {
        button->click();  // does nothing while disabled, as a real click
    }
}

bool CheckBox::Create(Window* parent, int id, std::string_view textCp949, const Rect& rect,
                      std::uint32_t style) {
    if (IsCreated()) {
        return false;
    }
    SetText(textCp949);
    return Window::Create(parent, id, rect, style);
}

bool CheckBox::CreateNative(const Rect& rect) {
    auto* box = new QCheckBox(ParentWidgetOf(Parent()));
    box->setGeometry(ToQRect(rect));
    QObject::connect(box, &QCheckBox::clicked, [this] { NotifyParentCommand(this, kBnClicked); });
    impl_->Attach(box, false);
    return true;
}

void CheckBox::SetCheck(bool checked) {
    if (auto* box = qobject_cast<QCheckBox*>(impl_->widget.data())) {
        box->setChecked(checked);
    }
}

bool CheckBox::IsChecked() const {
    const auto* box = qobject_cast<const QCheckBox*>(impl_->widget.data());
    return box != nullptr && box->isChecked();
}

void CheckBox::Click() {
    if (auto* box = qobject_cast<QCheckBox*>(impl_->widget.data())) {
        box->click();
    }
}

bool StaticText::Create(Window* parent, int id, std::string_view textCp949, const Rect& rect,
                        std::uint32_t style) {
    if (IsCreated()) {
        return false;
    }
    SetText(textCp949);
    return Window::Create(parent, id, rect, style);
}

bool StaticText::CreateNative(const Rect& rect) {
    auto* label = new QLabel(ParentWidgetOf(Parent()));
    label->setGeometry(ToQRect(rect));
    label->setTextFormat(Qt::PlainText);
    impl_->Attach(label, false);
    return true;
}

}  // namespace plat
