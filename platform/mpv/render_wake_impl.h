// Platform-internal: what wakes a render thread of an mpv renderer (the software and the OpenGL
// one): mpv's word that a frame may be drawn, a new size to draw at, or the request to stop.
#pragma once

#include <QSize>
#include <condition_variable>
#include <mutex>

namespace plat {

class RenderWake {
  public:
    // What the render thread is to do after Wait.
    struct Due {
        bool stop = false;
        bool resized = false;  // the size changed since the last Wait
        QSize size;            // the size to draw at
    };

    // mpv's update callback (`self` is the RenderWake): only notes and wakes, as libmpv asks.
    static void OnUpdate(void* self);
    // The size to draw at from the next frame on; wakes the thread when it changed.
    void Resize(QSize size);
    // Asks the thread to stop; Restart takes that back for a thread started again.
    void Stop();
    void Restart();
    // Blocks until a frame may be drawn, the size changed or a stop was asked, and clears what
    // it answers.
    Due Wait();

  private:
    std::mutex mutex_;
    std::condition_variable wake_;
    bool updatePending_ = false;
    bool resized_ = false;
    bool stopping_ = false;
    QSize size_;
};

}  // namespace plat
