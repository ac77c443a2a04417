// Moving a top-level window with the pointer, in place of the window manager's move: the
// program moves its own window, so the position-changing message can snap it while it moves.
#include "platform/window/window_impl.h"

namespace plat {

void WindowImpl::StartPointerMove(Point grab) {
    if (widget.isNull() || owner->Parent() != nullptr) {
        return;
    }
    const Rect frame = owner->WindowRect();
    moveGrabOffset = {grab.x - frame.left, grab.y - frame.top};
    movingWithPointer = true;
    owner->SetCapture();
}

void WindowImpl::MoveWithPointer(Point pointer, bool leftHeld) {
    if (!movingWithPointer) {
        return;
    }
    if (!leftHeld) {
        // The release went elsewhere (another program took the pointer): stop where it is.
        EndPointerMove();
        return;
    }
    WindowPos pos;
    pos.x = pointer.x - moveGrabOffset.x;
    pos.y = pointer.y - moveGrabOffset.y;
    pos.flags = kSwpNoSize;
    const Rect frame = owner->WindowRect();
    pos.cx = frame.Width();
    pos.cy = frame.Height();
    if (pos.x == frame.left && pos.y == frame.top) {
        return;
    }
    owner->MoveTopLevel(pos);
}

void WindowImpl::EndPointerMove() {
    if (!movingWithPointer) {
        return;
    }
    movingWithPointer = false;
    if (Window::Capture() == owner) {
        Window::ReleaseCapture();
    }
}

}  // namespace plat
