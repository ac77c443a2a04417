// The no-connection notice: its size, background, button and rounded shape.
#include "controls/connect_no.h"

#include "controls/rounded_region.h"
#include "res/resource_ids.h"
#include "res/skin_bitmaps.h"

namespace tunova {
namespace {

constexpr plat::Size kNoticeSize{398, 232};
constexpr plat::Rect kConfirmRect{167, 195, 221, 223};
// What shows when the background image is missing: the skin's dialog colours and the message.
constexpr plat::ColorRef kPlainBackground = plat::Rgb(26, 29, 36);
constexpr char kPlainMessage[] = "인터넷에 연결할 수 없습니다";

}  // namespace

CConnectNo::CConnectNo(plat::Window* mainWindow)
    : plat::Dialog(res::kIddConnectNo, kNoticeSize), mainWindow_(mainWindow) {
    Messages().OnCommand(res::kIdcNoticeConfirm, [this] { OnConfirm(); });
    Messages().OnMessage(plat::kWmEraseBkgnd, [this](plat::WParam, plat::LParam) {
        EraseBackground();
        return plat::LResult{1};
    });
}

bool CConnectNo::OnInitDialog() {
    const plat::Rect frame = WindowRect();
    Move(frame.left, frame.top, kNoticeSize.cx, kNoticeSize.cy);
    buttonRect_ = kConfirmRect;
    background_.Reset();
    background_.LoadFile(res::SkinFilePath("bg_connectno.bmp"));
    confirm_.Create(this, res::kIdcNoticeConfirm, "", buttonRect_);
    confirm_.ApplySkin(res::kBmpsNoticeOk);
    confirm_.AttachTooltip("확인");
    confirm_.Move(buttonRect_);
    const plat::Rect client = ClientRect();
    SetRegion(RoundedDialogRegion({client.Width(), client.Height()}));
    confirm_.SetFocus();
    return true;
}

void CConnectNo::EraseBackground() {
    plat::DC* dc = plat::DC::ForPaint(*this);
    if (dc == nullptr) {
        return;
    }
    if (confirm_.IsCreated()) {
        const plat::Rect button = confirm_.WindowRect();
        const plat::Point topLeft = ScreenToClient({button.left, button.top});
        dc->ExcludeClipRect(
            plat::Rect::FromXYWH(topLeft.x, topLeft.y, button.Width(), button.Height()));
    }
    const plat::Rect client = ClientRect();
    if (!background_.IsNull()) {
        dc->BitBlt(0, 0, client.Width(), client.Height(), background_, 0, 0);
        return;
    }
    dc->FillSolidRect(client, kPlainBackground);
    dc->SelectFont(plat::Font("돋움", 14, plat::kFwBold));
    dc->SetBkMode(plat::kTransparent);
    dc->SetTextColor(plat::Rgb(255, 255, 255));
    plat::Rect text{0, 60, client.Width(), 140};
    dc->DrawText(kPlainMessage, text, plat::kDtCenter | plat::kDtVCenter | plat::kDtSingleLine);
}

void CConnectNo::OnConfirm() {
    if (mainWindow_ != nullptr && mainWindow_->IsCreated()) {
        mainWindow_->SendCommand(plat::kIdCancel);
    }
    SendCommand(plat::kIdCancel);
}

}  // namespace tunova
