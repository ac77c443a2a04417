// Single-line edit box on QLineEdit: focus and user edits notify the parent; text set by the
// program does not.
#include <QLineEdit>
#include <QSignalBlocker>

#include "platform/controls/control_impl.h"
#include "platform/controls/controls.h"
#include "platform/core/qt_text_impl.h"
#include "platform/draw/draw_impl.h"

namespace plat {
namespace {

constexpr char kLimitProperty[] = "tunovaLimitBytes";

QLineEdit* LineEditOf(const Window* w) {
    return qobject_cast<QLineEdit*>(w->Impl()->widget.data());
}

int LimitOf(const QLineEdit* edit) {
    return edit->property(kLimitProperty).toInt();
}

// Cuts `text` to at most `maxBytes` CP949 bytes at a character boundary.
QString CutToBytes(const QString& text, int maxBytes) {
    QString cut = text;
    while (!cut.isEmpty() && static_cast<int>(FromQString(cut).size()) > maxBytes) {
        cut.chop(1);
    }
    return cut;
}

}  // namespace

bool EditBox::Create(Window* parent, int id, const Rect& rect, std::uint32_t style) {
    return Window::Create(parent, id, rect, style);
}

bool EditBox::CreateNative(const Rect& rect) {
    auto* edit = new QLineEdit(ParentWidgetOf(Parent()));
    edit->setGeometry(ToQRect(rect));
    edit->setFrame(false);
    QObject::connect(edit, &QLineEdit::textEdited, [this, edit](const QString& text) {
        const int limit = LimitOf(edit);
        if (limit > 0 && static_cast<int>(FromQString(text).size()) > limit) {
            const QSignalBlocker block(edit);
            edit->setText(CutToBytes(text, limit));
        }
        NotifyParentCommand(this, kEnChange);
    });
    impl_->Attach(edit, false);
    return true;
}

void EditBox::SetText(std::string_view cp949) {
    Window::SetText(cp949);
    if (QLineEdit* edit = LineEditOf(this)) {
        const QSignalBlocker block(edit);
        edit->setText(ToQString(cp949));
    }
}

std::string EditBox::Text() const {
    if (const QLineEdit* edit = LineEditOf(this)) {
        return FromQString(edit->text());
    }
    return Window::Text();
}

void EditBox::SetLimitText(int maxBytes) {
    if (QLineEdit* edit = LineEditOf(this)) {
        edit->setProperty(kLimitProperty, maxBytes > 0 ? maxBytes : 0);
        // A character is at least one byte: the widget's own cap is a first filter.
        edit->setMaxLength(maxBytes > 0 ? maxBytes : 32767);
    }
}

LResult EditBox::DefaultProc(std::uint32_t message, WParam wParam, LParam lParam) {
    if (message == kWmSetFocus) {
        NotifyParentCommand(this, kEnSetFocus);
        return 0;
    }
    if (message == kWmKillFocus) {
        NotifyParentCommand(this, kEnKillFocus);
        return 0;
    }
    return Window::DefaultProc(message, wParam, lParam);
}

}  // namespace plat
