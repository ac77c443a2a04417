// Platform-internal: the widget that shows an MpvVideo's picture, and the render thread that
// draws mpv's frames into images for it with the software renderer. The thread calls only the
// mpv_render_* functions, as libmpv asks of a render thread, so the user-interface thread may
// make any synchronous call into the core without waiting on a frame.
#pragma once

#include <mpv/client.h>
#include <mpv/render.h>

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/mpv/render_wake_impl.h"

namespace plat {

// Paints the frame `frameSource` answers (black when null, and around it); left double-clicks
// call onDoubleClick, every other press is taken and dropped. The frame is held only while it
// paints, so the renderer can draw into the one before it without copying.
class MpvFrameWidget : public QWidget {
  public:
    explicit MpvFrameWidget(QWidget* parent);
    std::function<QImage()> frameSource;
    std::function<void()> onDoubleClick;
    std::function<void(QSize)> onResize;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
};

class MpvFrameRenderer {
  public:
    // `frameReady` runs on the render thread after each frame drawn; it must only post.
    explicit MpvFrameRenderer(std::function<void()> frameReady);
    ~MpvFrameRenderer();  // stops the thread; Stop() must have run before the core goes
    // Creates the render context on `core` (before any media plays) and starts the thread.
    bool Start(mpv_handle* core);
    // Joins the thread and frees the render context.
    void Stop();
    // The size to draw at from the next frame on; the current frame is drawn again at it.
    void Resize(QSize size);
    // The latest frame (shares the image; cheap).
    QImage LatestFrame();
    long FramesDrawn() const { return framesDrawn_.load(); }

  private:
    void Loop();

    std::function<void()> frameReady_;
    mpv_render_context* context_ = nullptr;
    std::thread thread_;
    RenderWake wake_;
    std::mutex mutex_;
    QImage latest_;  // guarded by mutex_
    QImage back_;    // render thread only
    std::atomic<long> framesDrawn_{0};
};

}  // namespace plat
