#include "platform/desktop/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "platform/core/qt_text_impl.h"

namespace plat {

void SetClipboardText(std::string_view cp949) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) {
        return;
    }
    const QString text = ToQString(cp949);
    clipboard->setText(text, QClipboard::Clipboard);
    if (clipboard->supportsSelection()) {
        clipboard->setText(text, QClipboard::Selection);
    }
}

std::string ClipboardText() {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard != nullptr ? FromQString(clipboard->text(QClipboard::Clipboard))
                                : std::string();
}

}  // namespace plat
