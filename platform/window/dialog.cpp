// Modal dialogs (a nested event loop per DoModal) and message boxes on QMessageBox.
#include "platform/window/dialog.h"

#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>
#include <vector>

#include "platform/core/qt_text_impl.h"
#include "platform/window/interception.h"
#include "platform/window/termination.h"
#include "platform/window/window_impl.h"

namespace plat {

struct ModalLoop {
    QEventLoop loop;
};

namespace {

std::vector<Dialog*>& Running() {
    static std::vector<Dialog*> running;
    return running;
}

}  // namespace

std::vector<Dialog*> Dialog::RunningModal() {
    return Running();
}

Dialog::Dialog(int templateId, Size sizePixels, std::string_view titleCp949)
    : templateId_(templateId), size_(sizePixels), title_(titleCp949) {}

Dialog::~Dialog() = default;

int Dialog::DoModal(Window* owner) {
    if (running_ || IsCreated()) {
        return -1;  // already shown
    }
    ended_ = false;
    result_ = 0;
    const int width = size_.cx > 0 ? size_.cx : 1;
    const int height = size_.cy > 0 ? size_.cy : 1;
    if (!title_.empty()) {
        SetText(title_);
    }
    if (!Create(nullptr, templateId_, Rect::FromXYWH(0, 0, width, height), kStylePopup)) {
        return -1;
    }
    if (owner != nullptr && owner->IsCreated()) {
        const Rect around = owner->WindowRect();
        Move(around.left + (around.Width() - width) / 2,
             around.top + (around.Height() - height) / 2, width, height);
    } else {
        CenterOnScreen();
    }
    // The owner takes no input while the dialog runs, as with any modal dialog.
    const std::uint64_t ownerKey = owner != nullptr ? owner->Impl()->key : 0;
    const bool ownerWasEnabled = owner != nullptr && owner->IsEnabled();
    if (ownerWasEnabled) {
        owner->Enable(false);
    }
    OnInitDialog();
    // The program is ending on a termination signal: close as the user would.
    if (!ended_ && IsCreated() && TerminationRequested()) {
        SendCommand(kIdCancel);
    }
    if (!ended_ && IsCreated()) {
        Show(true);
        BringToForeground();
        ModalLoop modal;
        loop_ = &modal;
        running_ = true;
        Running().push_back(this);
        modal.loop.exec();
        std::erase(Running(), this);
        running_ = false;
        loop_ = nullptr;
    }
    if (ownerWasEnabled) {
        if (Window* stillThere = WindowImpl::FindLive(ownerKey)) {
            stillThere->Enable(true);
        }
    }
    Destroy();
    return result_;
}

void Dialog::EndDialog(int result) {
    result_ = result;
    ended_ = true;
    Show(false);
    if (loop_ != nullptr) {
        loop_->loop.exit(0);
    }
}

LResult Dialog::DefaultProc(std::uint32_t message, WParam wParam, LParam lParam) {
    if (message == kWmCommand && HighWord(wParam) == kBnClicked) {
        if (LowWord(wParam) == kIdOk) {
            OnOK();
            return 0;
        }
        if (LowWord(wParam) == kIdCancel) {
            OnCancel();
            return 0;
        }
    }
    if (message == kWmClose) {
        OnCancel();
        return 0;
    }
    return Window::DefaultProc(message, wParam, lParam);
}

int ShowMessageBox(Window* owner, std::string_view textCp949, std::string_view captionCp949,
                   unsigned flags) {
    if (const auto& intercept = testing::MessageBoxInterceptor()) {
        return intercept(
            testing::ShownMessageBox{std::string(textCp949), std::string(captionCp949), flags});
    }
    QMessageBox box(owner != nullptr ? owner->Impl()->widget.data() : nullptr);
    box.setWindowTitle(ToQString(captionCp949));
    box.setText(ToQString(textCp949));
    switch (flags & 0xF0) {
        case kMbIconError:
            box.setIcon(QMessageBox::Critical);
            break;
        case kMbIconQuestion:
            box.setIcon(QMessageBox::Question);
            break;
        case kMbIconExclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case kMbIconInformation:
            box.setIcon(QMessageBox::Information);
            break;
        default:
            break;
    }
    if ((flags & kMbTopmost) != 0) {
        box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    }
    constexpr int kIdYes = 6;
    constexpr int kIdNo = 7;
    switch (flags & 0x0F) {
        case kMbOkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case kMbYesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        default:
            box.setStandardButtons(QMessageBox::Ok);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Cancel:
            return kIdCancel;
        case QMessageBox::Yes:
            return kIdYes;
        case QMessageBox::No:
            return kIdNo;
        case QMessageBox::Ok:
            return kIdOk;
        default:
            // Closed without a button: the box's escape answer.
            return (flags & 0x0F) == kMbYesNo ? kIdNo
                                              : ((flags & 0x0F) == kMbOk ? kIdOk : kIdCancel);
    }
}

}  // namespace plat
