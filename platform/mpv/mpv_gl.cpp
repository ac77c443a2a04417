#include <mpv/render_gl.h>

#include <QtGui/qguiapplication_platform.h>
#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>

#include "platform/mpv/mpv_gl_impl.h"

namespace plat {

struct MpvGlRenderer::Slot {
    std::unique_ptr<QOpenGLFramebufferObject> target;  // render thread only
    // Guarded by the renderer's mutex: what the picture may draw, and the fences between the
    // renderer's drawing into the texture and the picture's drawing of it.
    unsigned texture = 0;
    QSize size;
    GLsync drawn = nullptr;
    GLsync shown = nullptr;
    bool held = false;
};

namespace {

void* ProcAddress(void*, const char* name) {
    QOpenGLContext* current = QOpenGLContext::currentContext();
    return current != nullptr ? reinterpret_cast<void*>(current->getProcAddress(name)) : nullptr;
}

}  // namespace

MpvGlRenderer::MpvGlRenderer(std::function<void()> frameReady)
    : frameReady_(std::move(frameReady)) {
    for (auto& slot : slots_) {
        slot = std::make_unique<Slot>();
    }
}

MpvGlRenderer::~MpvGlRenderer() {
    Stop();
}

bool MpvGlRenderer::Start(mpv_handle* core, std::string& why) {
    QOpenGLContext* shared = QOpenGLContext::globalShareContext();
    if (shared == nullptr || !shared->isValid()) {
        why = "the program runs without OpenGL";
        return false;
    }
    // The picture is an OpenGL widget, which only the desktop platforms compose into a window
    // (offscreen, for one, has OpenGL through GLX but no such composing).
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("xcb") && !platform.startsWith(QLatin1String("wayland")) &&
        platform != QLatin1String("eglfs")) {
        why = "the platform " + platform.toStdString() + " shows no OpenGL widgets";
        return false;
    }
    if (!QOpenGLContext::supportsThreadedOpenGL()) {
        why = "OpenGL cannot draw on a thread of its own here";
        return false;
    }
    // The render thread's surface; it must be made on the user-interface thread.
    surface_ = std::make_unique<QOffscreenSurface>();
    surface_->setFormat(shared->format());
    surface_->create();
    if (!surface_->isValid()) {
        surface_.reset();
        why = "no OpenGL surface for the render thread";
        return false;
    }
    // The display connection lets mpv hand hardware-decoded frames to OpenGL without copies.
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
        x11Display_ = x11->display();
    }
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    if (auto* wayland = qGuiApp->nativeInterface<QNativeInterface::QWaylandApplication>()) {
        wlDisplay_ = wayland->display();
    }
#endif
    core_ = core;
    wake_.Restart();
    std::promise<std::string> started;
    std::future<std::string> result = started.get_future();
    thread_ = std::thread([this, &started] { Loop(started); });
    why = result.get();
    if (!why.empty()) {
        thread_.join();
        surface_.reset();
        return false;
    }
    return true;
}

void MpvGlRenderer::Stop() {
    if (!thread_.joinable()) {
        return;
    }
    wake_.Stop();
    thread_.join();
    surface_.reset();
}

void MpvGlRenderer::Resize(QSize size) {
    wake_.Resize(size);
}

void MpvGlRenderer::Loop(std::promise<std::string>& started) {
    // Made on this thread, so that it may be made current here.
    QOpenGLContext context;
    context.setShareContext(QOpenGLContext::globalShareContext());
    context.setFormat(surface_->format());
    if (!context.create() || !context.makeCurrent(surface_.get())) {
        started.set_value("no OpenGL context for the render thread");
        return;
    }
    QOpenGLExtraFunctions gl(&context);
    mpv_opengl_init_params init{&ProcAddress, nullptr};
    char api[] = MPV_RENDER_API_TYPE_OPENGL;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, api},
                                 {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &init},
                                 {MPV_RENDER_PARAM_INVALID, nullptr},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (x11Display_ != nullptr) {
        params[2] = {MPV_RENDER_PARAM_X11_DISPLAY, x11Display_};
    } else if (wlDisplay_ != nullptr) {
        params[2] = {MPV_RENDER_PARAM_WL_DISPLAY, wlDisplay_};
    }
    if (const int status = mpv_render_context_create(&context_, core_, params); status < 0) {
        context_ = nullptr;
        context.doneCurrent();
        started.set_value(std::string("libmpv's OpenGL renderer cannot start: ") +
                          mpv_error_string(status));
        return;
    }
    mpv_render_context_set_update_callback(context_, &RenderWake::OnUpdate, &wake_);
    started.set_value({});

    while (true) {
        const RenderWake::Due due = wake_.Wait();
        if (due.stop) {
            break;
        }
        const std::uint64_t flags = mpv_render_context_update(context_);
        if (((flags & MPV_RENDER_UPDATE_FRAME) != 0 || due.resized) && !due.size.isEmpty()) {
            Draw(gl, due.size);
        }
    }
    {
        const std::lock_guard lock(mutex_);
        latest_ = -1;
    }

    // The render context goes before its core, with its OpenGL context current.
    mpv_render_context_set_update_callback(context_, nullptr, nullptr);
    mpv_render_context_free(context_);
    context_ = nullptr;
    for (auto& slot : slots_) {
        for (GLsync fence : {slot->drawn, slot->shown}) {
            if (fence != nullptr) {
                gl.glDeleteSync(fence);
            }
        }
        *slot = Slot();
    }
    context.doneCurrent();
}

void MpvGlRenderer::Draw(QOpenGLExtraFunctions& gl, QSize size) {
    // A texture neither shown last nor held by the picture; with three there is always one.
    Slot* slot = nullptr;
    int index = 0;
    GLsync shown = nullptr;
    {
        const std::lock_guard lock(mutex_);
        while (index == latest_ || slots_[index]->held) {
            ++index;
        }
        slot = slots_[index].get();
        shown = std::exchange(slot->shown, nullptr);
    }
    // The picture's last drawing of this texture comes first.
    if (shown != nullptr) {
        gl.glWaitSync(shown, 0, GL_TIMEOUT_IGNORED);
        gl.glDeleteSync(shown);
    }
    if (!slot->target || slot->target->size() != size) {
        slot->target = std::make_unique<QOpenGLFramebufferObject>(size);
    }
    mpv_opengl_fbo target{static_cast<int>(slot->target->handle()), size.width(), size.height(), 0};
    int flip = 0;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &target},
                                 {MPV_RENDER_PARAM_FLIP_Y, &flip},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (mpv_render_context_render(context_, params) < 0) {
        return;
    }
    GLsync drawn = gl.glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
    // Sent to the GPU now, so the picture's context may wait on the fence.
    gl.glFlush();
    {
        const std::lock_guard lock(mutex_);
        if (slot->drawn != nullptr) {
            gl.glDeleteSync(slot->drawn);
        }
        slot->drawn = drawn;
        slot->texture = slot->target->texture();
        slot->size = size;
        latest_ = index;
    }
    ++framesDrawn_;
    frameReady_();
}

bool MpvGlRenderer::Acquire(QOpenGLExtraFunctions& gl, Frame& frame) {
    const std::lock_guard lock(mutex_);
    if (latest_ < 0) {
        return false;
    }
    Slot& slot = *slots_[latest_];
    slot.held = true;
    frame = {latest_, slot.texture, slot.size};
    gl.glWaitSync(slot.drawn, 0, GL_TIMEOUT_IGNORED);
    return true;
}

void MpvGlRenderer::Release(QOpenGLExtraFunctions& gl, const Frame& frame) {
    GLsync shown = gl.glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
    gl.glFlush();
    const std::lock_guard lock(mutex_);
    Slot& slot = *slots_[frame.slot];
    if (slot.shown != nullptr) {
        gl.glDeleteSync(slot.shown);
    }
    slot.shown = shown;
    slot.held = false;
}

MpvGlPicture::MpvGlPicture(QWidget* parent) : QOpenGLWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

MpvGlPicture::~MpvGlPicture() {
    makeCurrent();
    blitter_.destroy();
    doneCurrent();
}

void MpvGlPicture::initializeGL() {
    initializeOpenGLFunctions();
    blitter_.create();
}

void MpvGlPicture::paintGL() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    MpvGlRenderer::Frame frame;
    if (renderer == nullptr || !showing || !showing() || !blitter_.isCreated() ||
        !renderer->Acquire(*this, frame)) {
        return;
    }
    // The renderer letterboxes into the whole picture; a frame of the size before a resize is
    // drawn at the top left until the next one comes.
    const qreal scale = devicePixelRatioF();
    const QRect viewport(0, 0, qRound(width() * scale), qRound(height() * scale));
    blitter_.bind();
    blitter_.blit(
        frame.texture,
        QOpenGLTextureBlitter::targetTransform(QRectF(QPointF(0, 0), frame.size), viewport),
        QOpenGLTextureBlitter::OriginTopLeft);
    blitter_.release();
    renderer->Release(*this, frame);
}

}  // namespace plat
