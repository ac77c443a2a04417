#include <QMouseEvent>
#include <QPainter>

#include "platform/mpv/mpv_frames_impl.h"

namespace plat {

MpvFrameWidget::MpvFrameWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setContextMenuPolicy(Qt::PreventContextMenu);
}

void MpvFrameWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QImage frame = frameSource ? frameSource() : QImage();
    if (frame.isNull()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    // The renderer letterboxes into the whole widget; a frame of the size before a resize is
    // drawn at the top left until the next one comes.
    painter.drawImage(QPoint(0, 0), frame);
    const QRect covered(QPoint(0, 0), frame.size());
    if (!covered.contains(rect())) {
        const QRegion rest = QRegion(rect()).subtracted(covered);
        for (const QRect& r : rest) {
            painter.fillRect(r, Qt::black);
        }
    }
}

void MpvFrameWidget::resizeEvent(QResizeEvent*) {
    if (onResize) {
        onResize(size());
    }
}

void MpvFrameWidget::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void MpvFrameWidget::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}

void MpvFrameWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton && onDoubleClick) {
        onDoubleClick();
    }
}

void MpvFrameWidget::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
}

MpvFrameRenderer::MpvFrameRenderer(std::function<void()> frameReady)
    : frameReady_(std::move(frameReady)) {}

MpvFrameRenderer::~MpvFrameRenderer() {
    Stop();
}

bool MpvFrameRenderer::Start(mpv_handle* core) {
    char software[] = MPV_RENDER_API_TYPE_SW;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, software},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (mpv_render_context_create(&context_, core, params) < 0) {
        context_ = nullptr;
        return false;
    }
    wake_.Restart();
    mpv_render_context_set_update_callback(context_, &RenderWake::OnUpdate, &wake_);
    thread_ = std::thread([this] { Loop(); });
    return true;
}

void MpvFrameRenderer::Stop() {
    if (context_ == nullptr) {
        return;
    }
    wake_.Stop();
    if (thread_.joinable()) {
        thread_.join();
    }
    mpv_render_context_set_update_callback(context_, nullptr, nullptr);
    mpv_render_context_free(context_);
    context_ = nullptr;
}

void MpvFrameRenderer::Resize(QSize size) {
    wake_.Resize(size);
}

QImage MpvFrameRenderer::LatestFrame() {
    const std::lock_guard lock(mutex_);
    return latest_;
}

void MpvFrameRenderer::Loop() {
    while (true) {
        const RenderWake::Due due = wake_.Wait();
        if (due.stop) {
            return;
        }
        const QSize size = due.size;
        const std::uint64_t flags = mpv_render_context_update(context_);
        if (((flags & MPV_RENDER_UPDATE_FRAME) != 0 || due.resized) && !size.isEmpty()) {
            if (back_.size() != size) {
                back_ = QImage(size, QImage::Format_RGB32);
            }
            int surface[2] = {size.width(), size.height()};
            char format[] = "bgr0";  // QImage::Format_RGB32's byte order on little-endian
            std::size_t stride = static_cast<std::size_t>(back_.bytesPerLine());
            mpv_render_param params[] = {{MPV_RENDER_PARAM_SW_SIZE, surface},
                                         {MPV_RENDER_PARAM_SW_FORMAT, format},
                                         {MPV_RENDER_PARAM_SW_STRIDE, &stride},
                                         {MPV_RENDER_PARAM_SW_POINTER, back_.bits()},
                                         {MPV_RENDER_PARAM_INVALID, nullptr}};
            if (mpv_render_context_render(context_, params) >= 0) {
                ++framesDrawn_;
                {
                    const std::lock_guard lock(mutex_);
                    std::swap(latest_, back_);
                }
                frameReady_();
            }
        }
    }
}

}  // namespace plat
