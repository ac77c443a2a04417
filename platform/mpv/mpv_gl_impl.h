// Platform-internal: mpv's frames drawn with OpenGL. A render thread of its own, with an OpenGL
// context shared with the widgets' (Qt::AA_ShareOpenGLContexts), draws each frame with mpv's
// OpenGL renderer into one of three framebuffer textures; MpvGlPicture, a child covering the
// video window, draws the latest of them. As with the software renderer, only the render thread
// calls the mpv_render_* functions, so the user-interface thread may make any synchronous call
// into the core without waiting on a frame. Fences order the two contexts: the picture waits
// until a frame is drawn, the renderer until the picture is done with a texture it draws into.
#pragma once

#include <mpv/client.h>
#include <mpv/render.h>

#include <QOpenGLExtraFunctions>
#include <QOpenGLTextureBlitter>
#include <QOpenGLWidget>
#include <QSize>
#include <array>
#include <atomic>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/mpv/render_wake_impl.h"

class QOffscreenSurface;

namespace plat {

class MpvGlRenderer {
  public:
    // `frameReady` runs on the render thread after each frame drawn; it must only post.
    explicit MpvGlRenderer(std::function<void()> frameReady);
    ~MpvGlRenderer();  // stops the thread; Stop() must have run before the core goes
    // Makes the thread's OpenGL context and mpv's OpenGL render context on `core` (before any
    // media plays). False, with `why` set and nothing left running, when either cannot be made.
    bool Start(mpv_handle* core, std::string& why);
    // Frees mpv's render context (on the thread, its context current) and joins the thread.
    void Stop();
    // The size in device pixels to draw at from the next frame on; the current frame is drawn
    // again at it.
    void Resize(QSize size);
    long FramesDrawn() const { return framesDrawn_.load(); }

    // The latest frame as a texture of the shared contexts, held for the caller until Release:
    // the renderer draws into it no more until then. False when none is drawn.
    struct Frame {
        int slot = -1;
        unsigned texture = 0;
        QSize size;
    };
    bool Acquire(QOpenGLExtraFunctions& gl, Frame& frame);
    // Done with the frame: the calling context's commands so far are fenced before the
    // renderer may draw into it again.
    void Release(QOpenGLExtraFunctions& gl, const Frame& frame);

  private:
    struct Slot;
    void Loop(std::promise<std::string>& started);
    void Draw(QOpenGLExtraFunctions& gl, QSize size);

    std::function<void()> frameReady_;
    mpv_handle* core_ = nullptr;
    void* x11Display_ = nullptr;
    void* wlDisplay_ = nullptr;
    std::unique_ptr<QOffscreenSurface> surface_;
    mpv_render_context* context_ = nullptr;  // render thread only
    std::thread thread_;
    RenderWake wake_;
    std::mutex mutex_;
    std::array<std::unique_ptr<Slot>, 3> slots_;
    int latest_ = -1;  // guarded by mutex_, as are each slot's fences and held flag
    std::atomic<long> framesDrawn_{0};
};

// Draws the latest frame of `renderer` while `showing` answers true, black elsewhere and
// otherwise. Mouse events pass through to the video window beneath.
class MpvGlPicture : public QOpenGLWidget, protected QOpenGLExtraFunctions {
  public:
    explicit MpvGlPicture(QWidget* parent);
    ~MpvGlPicture() override;
    MpvGlRenderer* renderer = nullptr;
    std::function<bool()> showing;

  protected:
    void initializeGL() override;
    void paintGL() override;

  private:
    QOpenGLTextureBlitter blitter_;
};

}  // namespace plat
