// Tooltips: the toolkit shows a widget's tip while the pointer rests over it.
#include "platform/controls/controls.h"
#include "platform/core/qt_text_impl.h"
#include "platform/window/window_impl.h"

namespace plat {

bool ToolTip::Create(Window* owner) {
    if (owner == nullptr || !owner->IsCreated()) {
        return false;
    }
    owner_ = owner;
    return true;
}

bool ToolTip::AddTool(Window* tool, std::string_view textCp949) {
    if (owner_ == nullptr || tool == nullptr || !tool->IsCreated()) {
        return false;
    }
    tool_ = tool;
    text_.assign(textCp949);
    Apply();
    return true;
}

void ToolTip::UpdateTipText(std::string_view textCp949) {
    text_.assign(textCp949);
    Apply();
}

void ToolTip::Activate(bool active) {
    active_ = active;
    Apply();
}

void ToolTip::Apply() {
    if (tool_ == nullptr) {
        return;
    }
    tool_->Impl()->toolTip = text_;
    if (QWidget* w = tool_->Impl()->widget.data()) {
        w->setToolTip(active_ ? ToQString(text_) : QString());
    }
}

}  // namespace plat
