// CSkinButton, the program's one button class: a bitmap per state (normal, pressed, hover,
// disabled), a window shape cut from a mask bitmap, its own hover look and tooltip, and
// check-box and radio behaviour for buttons created with those styles (kBsAutoCheckBox,
// kBsAutoRadioButton). Radio buttons uncheck the others of their dialog group (kStyleGroup
// marks a group's first control) by posting them res::kWmRadioGroup.
#pragma once

#include <string>
#include <string_view>

#include "platform/controls/controls.h"
#include "platform/draw/draw.h"
#include "res/resource_ids.h"

namespace tunova {

class CSkinButton : public plat::OwnerDrawButton {
  public:
    enum StyleKind { kPushButton = 0, kCheckBox = 2, kRadioButton = 4 };

    CSkinButton();
    ~CSkinButton() override;

    // Creates the button; the check-box and radio kinds come from the kBs* bits of `style`.
    bool Create(plat::Window* parent, int id, std::string_view textCp949, const plat::Rect& rect,
                std::uint32_t style = plat::kStyleChild | plat::kStyleVisible);

    // The bitmap resources of the normal, pressed and hover looks and of the mask (0: none).
    // A mask gives the button its shape and its size; a mask that cannot be loaded counts as
    // none. Without a mask the button keeps its shape and size.
    void ApplySkin(int normal, int down, int over, int mask);
    void ApplySkin(const res::ButtonBitmaps& bitmaps) {
        ApplySkin(bitmaps.normal, bitmaps.down, bitmaps.over, bitmaps.mask);
    }
    // Sets (or replaces) the tooltip text.
    void AttachTooltip(std::string_view textCp949);
    const std::string& Tooltip() const { return tooltip_.Text(); }

    // The button's own check state (kBmSetCheck / kBmGetCheck); a push button stays unchecked.
    void SetCheck(bool checked) { SendMessage(plat::kBmSetCheck, checked ? 1 : 0); }
    bool IsChecked() const { return checked_; }
    StyleKind Kind() const { return kind_; }
    bool IsHovered() const { return hover_; }
    bool HasMask() const { return !mask_.IsNull(); }

    // To assistive technology: a button, check box or radio button by its kind, with its check
    // state; a press acts as a click does (a check box toggles, a radio button checks).
    plat::AccessibleInfo Accessibility() const override;
    bool AccessiblePress() override;

  protected:
    void DrawItem(plat::DC& dc, const DrawItemInfo& info) override;

  private:
    void BuildMessageTable();
    void FreeBitmaps();
    void DrawState(plat::DC& dc, const plat::Rect& item, const plat::Bitmap& state);
    void DrawCaption(plat::DC& dc, plat::Rect rect, plat::ColorRef color);
    // Check box: toggle; radio button: check. Nothing for a push button.
    void ToggleByUser();
    bool PointerInside(plat::LParam lParam) const;

    plat::Bitmap normal_, down_, disabled_, mask_, over_, focus_;
    plat::ToolTip tooltip_;
    StyleKind kind_ = kPushButton;
    bool checked_ = false;
    bool hover_ = false;
    bool pressed_ = false;
    int drawMode_ = 1;  // 1 stretch until skinned, then 0: bitmaps at their own size
    plat::ColorRef textColor_ = plat::Rgb(0, 0, 0);
};

}  // namespace tunova
