// The program's one button class. For now a plain push button carrying the skin button's
// check and radio state; the bitmaps, mask region, hover look and tooltip come with the skin.
#pragma once

#include <string>
#include <string_view>

#include "platform/controls.h"

namespace tunova {

class CSkinButton : public plat::PushButton {
  public:
    // Remembers the tooltip text (shown once the skin draws the button).
    void AttachTooltip(std::string_view textCp949) { tooltip_ = textCp949; }
    const std::string& Tooltip() const { return tooltip_; }
    void SetCheck(bool checked) { checked_ = checked; }
    bool IsChecked() const { return checked_; }

  private:
    std::string tooltip_;
    bool checked_ = false;
};

}  // namespace tunova
