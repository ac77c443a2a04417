// Platform-internal: the web engine's half of a Browser. It is built as a module of its own
// (tunova-web-engine.so) that the program loads when it first shows a page: a program that never
// shows one (the mpv engine plays without a page) does not load Qt WebEngine, Qt Quick and the
// libraries under them at all, nor pay for their relocation and start-up (about 20 MB resident).
//
// Only Qt types cross between the program and the module, and the module uses nothing of the
// program's own code, so it needs none of the program's symbols.
#pragma once

#include <QString>
#include <QUrl>
#include <QVariant>
#include <functional>

class QWidget;

namespace plat {

// What the page reports, on the event loop, for as long as its host lives.
struct WebPageEvents {
    std::function<void(bool ok)> loadFinished;  // a load ended; ok: the page is shown
    std::function<void()> left;          // the engine went elsewhere on its own; it is put back
    std::function<void()> rendererDied;  // the renderer process ended abnormally
};

class WebPageHost {
  public:
    // Deletes the view (unless its container already has).
    virtual ~WebPageHost() = default;
    virtual QWidget* View() = 0;
    // Loads the page's address again, from the event loop (after its renderer died).
    virtual void ReloadSoon() = 0;
    // Runs `source` in the page; `answer` gets its value when the page answers.
    virtual void RunScript(const QString& source, std::function<void(const QVariant&)> answer) = 0;
    // The process id of the page's renderer, 0 when it has none.
    virtual qint64 RendererProcessId() const = 0;
};

// The module's one entry point: a view added to `container`'s layout that loads `address`, the
// only address it will ever show, running `startScript` (when not empty) in the page before any
// of the page's own script. The view is shown; the page starts loading at once.
using MakeWebPageHostFunction = WebPageHost* (*)(QWidget* container, const QUrl& address,
                                                 const QString& startScript, WebPageEvents events);
inline constexpr char kMakeWebPageHostSymbol[] = "tunova_make_web_page_host";
inline constexpr char kWebEngineModuleName[] = "tunova-web-engine.so";

// Loads the module the first time it is asked (never unloaded) and answers its entry point; null,
// logged once, when it cannot be found or loaded. It is looked for in each folder of
// TUNOVA_WEB_ENGINE_MODULE_DIRS (relative to the program's folder), set when the program is
// built: where the build tree and the installed package put it.
MakeWebPageHostFunction LoadWebEngineModule();

}  // namespace plat
