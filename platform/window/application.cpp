// The process-wide application: the Qt application, the pre-dispatch hook, the posted-message
// queue, the command line and the executable's folder.
#include "platform/window/application.h"

#include <unistd.h>

#include <QKeyEvent>
#include <QThread>
#include <atomic>
#include <cstdlib>
#include <utility>

#include "platform/core/data_dir.h"
#include "platform/core/display_server.h"
#include "platform/core/qt_text_impl.h"
#include "platform/draw/fonts_impl.h"
#include "platform/window/application_impl.h"
#include "platform/window/delivery_hold_impl.h"
#include "platform/window/window.h"
#include "platform/window/window_impl.h"

namespace plat {
namespace {

std::atomic<Application*> g_instance{nullptr};

std::string JoinCommandLine(int argc, char** argv) {
    std::string joined;
    for (int i = 0; i < argc && argv != nullptr && argv[i] != nullptr; ++i) {
        if (i > 0) {
            joined += ' ';
        }
        joined += argv[i];
    }
    // The OS hands us UTF-8; the program keeps CP949.
    return Utf8ToProgramText(joined);
}

// Sets an environment variable the user has not set for as long as it lives, then removes it
// again, so the programs this one starts (a web browser, the updater) do not inherit it.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const char* value)
        : name_(name), set_(::getenv(name) == nullptr) {
        if (set_) {
            ::setenv(name, value, 0);
        }
    }
    ~ScopedVariable() {
        if (set_) {
            ::unsetenv(name_);
        }
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    const char* name_;
    bool set_;
};

}  // namespace

QEvent::Type PostedMessageEvent::EventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

bool MessageQueueReceiver::event(QEvent* event) {
    if (event->type() != PostedMessageEvent::EventType()) {
        return QObject::event(event);
    }
    const auto* posted = static_cast<PostedMessageEvent*>(event);
    if (DeliveryHeld()) {
        HoldPostedMessage(posted->windowKey, posted->message, posted->wParam, posted->lParam);
    } else {
        DeliverPostedMessage(posted->windowKey, posted->message, posted->wParam, posted->lParam);
    }
    return true;
}

void DeliverPostedMessage(std::uint64_t key, std::uint32_t message, WParam wParam, LParam lParam) {
    Window* window = WindowImpl::FindLive(key);
    Application* app = Application::Instance();
    if (window != nullptr && app != nullptr) {
        app->DispatchThroughHook({window, message, wParam, lParam});
    }
}

namespace {

// Alt+Space, the key that opens a window's system menu.
bool IsSystemMenuKey(QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    return key->key() == Qt::Key_Space && (key->modifiers() & Qt::AltModifier);
}

}  // namespace

// Every object of the process passes through here, the web engine's own internal objects too;
// their type information is private to the engine's library, which the sanitizer's dynamic-type
// check cannot see and reports as an invalid object. The check is off for this function only.
__attribute__((no_sanitize("vptr"))) bool HookedApplication::notify(QObject* receiver,
                                                                    QEvent* event) {
    const QEvent::Type type = event->type();
    if (receiver != nullptr && receiver->isWidgetType() &&
        (type == QEvent::KeyPress || type == QEvent::MouseButtonPress ||
         type == QEvent::MouseButtonDblClick)) {
        const Message msg = InputMessageFor(static_cast<QWidget*>(receiver), event);
        if (msg.message != 0 && RunPreDispatchHook(msg)) {
            event->accept();
            return true;
        }
        if (msg.window != nullptr && IsSystemMenuKey(event)) {
            Window* top = msg.window;
            while (top->Parent() != nullptr) {
                top = top->Parent();
            }
            if (!top->SystemMenu().Items().empty()) {
                event->accept();
                top->ShowSystemMenu();
                return true;
            }
        }
    }
    return QApplication::notify(receiver, event);
}

ApplicationImpl* ApplicationImpl::Current() {
    Application* app = Application::Instance();
    return app != nullptr ? app->impl_.get() : nullptr;
}

void PostToWindow(std::uint64_t key, std::uint32_t message, WParam wParam, LParam lParam) {
    ApplicationImpl* impl = ApplicationImpl::Current();
    if (impl == nullptr || !impl->queue) {
        return;
    }
    QCoreApplication::postEvent(impl->queue.get(),
                                new PostedMessageEvent(key, message, wParam, lParam));
}

bool RunPreDispatchHook(const Message& msg) {
    ApplicationImpl* impl = ApplicationImpl::Current();
    if (impl == nullptr || !impl->hook) {
        return false;
    }
    // The hook may replace itself while it runs.
    const Application::PreDispatchHook hook = impl->hook;
    return hook(msg);
}

Application::Application(int& argc, char** argv, ApplicationOptions options)
    : impl_(std::make_unique<ApplicationImpl>()) {
    impl_->commandLine = JoinCommandLine(argc, argv);
    for (int i = 1; i < argc && argv != nullptr && argv[i] != nullptr; ++i) {
        impl_->arguments.push_back(Utf8ToProgramText(argv[i]));
    }
    impl_->executableDir = plat::ExecutableDir();
    ChooseDisplayServer();
    if (options.openGl) {
        // The web engine shares its OpenGL contexts with the widgets; this must be set before
        // the application object exists.
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        impl_->qt = std::make_unique<HookedApplication>(argc, argv);
    } else {
        // The web engine's library, linked in either way, makes a shared context when the
        // application starts unless the platform plugin offers no OpenGL at all.
        const ScopedVariable noXcbGl("QT_XCB_GL_INTEGRATION", "none");
        const ScopedVariable noOffscreenGl("QT_QPA_OFFSCREEN_NO_GLX", "1");
        impl_->qt = std::make_unique<HookedApplication>(argc, argv);
    }
    impl_->queue = std::make_unique<MessageQueueReceiver>();
    InstallFontSubstitutions();
    g_instance.store(this);
}

Application::~Application() {
    g_instance.store(nullptr);
    impl_->queue.reset();
    impl_->qt.reset();
}

Application* Application::Instance() {
    return g_instance.load();
}

void Application::SetPreDispatchHook(PreDispatchHook hook) {
    impl_->hook = std::move(hook);
}

bool Application::DispatchThroughHook(const Message& msg) {
    if (msg.window == nullptr) {
        return false;
    }
    // The hook may destroy the window: look it up again by key before dispatching.
    const std::uint64_t key = msg.window->Impl()->key;
    if (RunPreDispatchHook(msg)) {
        return true;
    }
    if (Window* window = WindowImpl::FindLive(key)) {
        window->Impl()->Dispatch(msg.message, msg.wParam, msg.lParam);
    }
    return false;
}

const std::string& Application::CommandLine() const {
    return impl_->commandLine;
}

const std::vector<std::string>& Application::Arguments() const {
    return impl_->arguments;
}

const std::string& Application::ExecutableDir() const {
    return impl_->executableDir;
}

void Application::ProcessEvents() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents();
}

}  // namespace plat
