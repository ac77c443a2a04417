#include "platform/mpv/render_wake_impl.h"

namespace plat {

void RenderWake::OnUpdate(void* self) {
    auto* wake = static_cast<RenderWake*>(self);
    {
        const std::lock_guard lock(wake->mutex_);
        wake->updatePending_ = true;
    }
    wake->wake_.notify_one();
}

void RenderWake::Resize(QSize size) {
    {
        const std::lock_guard lock(mutex_);
        if (size == size_) {
            return;
        }
        size_ = size;
        resized_ = true;
    }
    wake_.notify_one();
}

void RenderWake::Stop() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
}

void RenderWake::Restart() {
    const std::lock_guard lock(mutex_);
    stopping_ = false;
}

RenderWake::Due RenderWake::Wait() {
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [this] { return stopping_ || updatePending_ || resized_; });
    Due due{stopping_, resized_, size_};
    updatePending_ = resized_ = false;
    return due;
}

}  // namespace plat
