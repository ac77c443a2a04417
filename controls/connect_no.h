// CConnectNo: the notice that the player cannot reach the network, shown once at start-up when the
// update server does not answer. Everything it says is in its background image "bg_connectno.bmp";
// its one button (kIdcNoticeConfirm, "확인") ends the program: it sends the cancel command to the
// main window and then to itself. Closing it any other way (Escape) only closes it; the caller ends
// the program all the same.
#pragma once

#include "controls/skin_button.h"
#include "platform/draw/draw.h"
#include "platform/window/dialog.h"
#include "res/resource_ids.h"

namespace tunova {

class CConnectNo : public plat::Dialog {
  public:
    // `mainWindow`: the window the button closes with the notice (null: none).
    explicit CConnectNo(plat::Window* mainWindow);

    CSkinButton& ConfirmButton() { return confirm_; }
    // False when "bg_connectno.bmp" could not be read (the notice then draws its own text).
    bool HasBackgroundImage() const { return !background_.IsNull(); }

  protected:
    bool OnInitDialog() override;

  private:
    void OnConfirm();
    void EraseBackground();

    plat::Window* mainWindow_;
    CSkinButton confirm_;
    plat::Bitmap background_;
    plat::Rect buttonRect_;
};

}  // namespace tunova
