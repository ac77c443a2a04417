// The pointer's shape over the whole program, set the way the classic SetCursor call sets it:
// it overrides every window's own shape (Window::SetCursor) until it is set back to the arrow.
// Releasing the mouse capture (Window::ReleaseCapture) brings the windows' own shapes back, as
// the next pointer move over a window would. A drag that holds the capture shows its shape so.
#pragma once

#include "platform/window/window.h"

namespace plat {

// Shows `shape` over every window of the program; kArrow ends the override.
void SetProgramCursor(CursorShape shape);
// The shape the override shows now, kArrow when there is none (read back from the toolkit).
CursorShape ProgramCursor();

}  // namespace plat
