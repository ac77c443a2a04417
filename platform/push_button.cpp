// Push button and static text on Qt's own widgets.
#include <QLabel>
#include <QPushButton>

#include "platform/control_impl.h"
#include "platform/controls.h"
#include "platform/draw_impl.h"

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
