// Modal dialogs and message boxes (stub until filled in).
#include "platform/dialog.h"

namespace plat {

Dialog::Dialog(int templateId, Size sizePixels, std::string_view titleCp949)
    : templateId_(templateId), size_(sizePixels), title_(titleCp949) {}
int Dialog::DoModal(Window*) {
    return kIdCancel;
}
void Dialog::EndDialog(int result) {
    result_ = result;
    ended_ = true;
}
LResult Dialog::DefaultProc(std::uint32_t message, WParam wParam, LParam lParam) {
    return Window::DefaultProc(message, wParam, lParam);
}
int ShowMessageBox(Window*, std::string_view, std::string_view, unsigned) {
    return kIdOk;
}

}  // namespace plat
