// Modal dialogs and message boxes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/window/window.h"

namespace plat {

// A top-level window run modally. DoModal creates it, calls OnInitDialog, then runs a nested
// event loop until EndDialog; it then destroys the window (kWmDestroy) and returns the code.
// If OnInitDialog already ended the dialog (for example by sending itself kIdCancel), DoModal
// returns without entering the loop. Default handling: command kIdOk calls OnOK, kIdCancel
// calls OnCancel; both end the dialog with their id.
struct ModalLoop;

class Dialog : public Window {
  public:
    Dialog(int templateId, Size sizePixels, std::string_view titleCp949 = {});
    ~Dialog() override;
    int TemplateId() const { return templateId_; }

    // Returns the EndDialog code; -1 when the dialog is already shown or cannot be created.
    // The owner is disabled while the dialog runs.
    int DoModal(Window* owner = nullptr);
    void EndDialog(int result);
    bool IsModalRunning() const { return running_; }
    // Every dialog whose modal loop runs now, outermost first.
    static std::vector<Dialog*> RunningModal();
    bool HasEnded() const { return ended_; }

  protected:
    virtual bool OnInitDialog() { return true; }
    virtual void OnOK() { EndDialog(kIdOk); }
    virtual void OnCancel() { EndDialog(kIdCancel); }
    LResult DefaultProc(std::uint32_t message, WParam wParam, LParam lParam) override;

  private:
    int templateId_;
    Size size_;
    std::string title_;
    bool running_ = false;
    bool ended_ = false;
    int result_ = 0;
    ModalLoop* loop_ = nullptr;  // the running nested loop, if any
};

enum MessageBoxFlags : unsigned {
    kMbOk = 0x0,
    kMbOkCancel = 0x1,
    kMbYesNo = 0x4,
    kMbIconError = 0x10,
    kMbIconQuestion = 0x20,
    kMbIconExclamation = 0x30,
    kMbIconInformation = 0x40,
    kMbTopmost = 0x40000,  // stays above every other window
};

// Shows a modal message box; returns kIdOk (or kIdCancel, 6 = yes, 7 = no). Text and caption
// are CP949. Tests may intercept it (platform/testing/testing.h).
int ShowMessageBox(Window* owner, std::string_view textCp949, std::string_view captionCp949,
                   unsigned flags);

}  // namespace plat
