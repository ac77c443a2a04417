// The process-wide application: owns the native toolkit's event loop, the pre-dispatch hook
// and the command line. Exactly one exists per process; construct it before any Window.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/message_map.h"

namespace plat {

struct ApplicationImpl;

// What the toolkit loads at start.
struct ApplicationOptions {
    // The web engine draws through OpenGL contexts shared with the widgets. A program that shows
    // no web page can do without: then the toolkit's platform plugin loads no OpenGL, which on a
    // machine without a GPU is the software driver with its compiler, about 50 MB resident.
    bool openGl = true;
};

class Application {
  public:
    // Starts the toolkit. Headless when QT_QPA_PLATFORM=offscreen is set in the environment.
    explicit Application(int& argc, char** argv, ApplicationOptions options = {});
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    static Application* Instance();

    // Seen by every queued and input message of the thread before it reaches its window.
    // Returning true consumes the message. One hook at a time; an empty function removes it.
    using PreDispatchHook = std::function<bool(const Message&)>;
    void SetPreDispatchHook(PreDispatchHook hook);
    // Runs the hook (if any) and then the window's own dispatch, as the event loop does.
    // Returns true when the hook consumed the message.
    bool DispatchThroughHook(const Message& msg);

    // The process command line as one CP949 string, program name first (as the OS gives it).
    const std::string& CommandLine() const;
    // The arguments after the program name, one CP949 string each, as the OS gave them.
    const std::vector<std::string>& Arguments() const;
    // Folder of the running executable, without a trailing slash.
    const std::string& ExecutableDir() const;

    // Handles pending events and queued messages, then returns.
    static void ProcessEvents();

  private:
    friend class Window;
    friend struct ApplicationImpl;
    std::unique_ptr<ApplicationImpl> impl_;
};

}  // namespace plat
