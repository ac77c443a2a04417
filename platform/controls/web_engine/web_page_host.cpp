// The web engine module: a QWebEngineView showing one local page, in an off-the-record profile,
// that refuses every navigation it was not asked for and keeps quiet about script dialogs.
#include "platform/controls/web_page_host.h"

#include <QLayout>
#include <QPointer>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <QWidget>
#include <memory>
#include <utility>

namespace plat {
namespace {

class LockedPage : public QWebEnginePage {
  public:
    LockedPage(QWebEngineProfile* profile, QObject* parent, QUrl address)
        : QWebEnginePage(profile, parent), address_(std::move(address)) {}

    const QUrl& Address() const { return address_; }
    // Loads the address; the one main-frame load this page lets through.
    void LoadAddress() {
        allowedLoads_ = 1;
        load(address_);
    }

  protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override {
        if (isMainFrame && allowedLoads_ > 0 && url == address_) {
            --allowedLoads_;
            return true;
        }
        return false;
    }
    void javaScriptAlert(const QUrl&, const QString&) override {}
    bool javaScriptConfirm(const QUrl&, const QString&) override { return false; }
    bool javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) override {
        return false;
    }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                  const QString&) override {}

  private:
    QUrl address_;
    int allowedLoads_ = 0;
};

class EngineHost : public WebPageHost {
  public:
    EngineHost(QWidget* container, const QUrl& address, const QString& startScript,
               WebPageEvents events)
        : events_(std::move(events)) {
        auto* view = new QWebEngineView(container);
        // No storage name: an off-the-record profile, nothing written to disk. The page is
        // deleted before the profile (the profile is the page's child, and a QObject's children
        // die after its own destructor has run).
        auto* profile = new QWebEngineProfile();
        auto* page = new LockedPage(profile, view, address);
        profile->setParent(page);
        page->setBackgroundColor(Qt::black);

        QWebEngineSettings* settings = page->settings();
        // Without the first, a page loaded from a file cannot fetch its media from the server.
        settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
        settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
        settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
        settings->setAttribute(QWebEngineSettings::ShowScrollBars, false);
        settings->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
        settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);

        if (!startScript.isEmpty()) {
            QWebEngineScript script;
            script.setName(QStringLiteral("tunova-start"));
            script.setInjectionPoint(QWebEngineScript::DocumentCreation);
            script.setWorldId(QWebEngineScript::MainWorld);
            script.setRunsOnSubFrames(false);
            script.setSourceCode(startScript);
            page->scripts().insert(script);
        }

        QObject::connect(page, &QWebEnginePage::featurePermissionRequested, page,
                         [page](const QUrl& origin, QWebEnginePage::Feature feature) {
                             page->setFeaturePermission(origin, feature,
                                                        QWebEnginePage::PermissionDeniedByUser);
                         });
        QObject* context = context_.get();
        // A refused navigation reports a failed load of its own; the page it left stays loaded.
        QObject::connect(page, &QWebEnginePage::loadFinished, context, [this](bool ok) {
            if (events_.loadFinished) {
                events_.loadFinished(ok);
            }
        });
        // A navigation the engine commits without asking (a script going to about:blank)
        // leaves the page's address: the page is put back.
        QObject::connect(page, &QWebEnginePage::urlChanged, context, [this](const QUrl& url) {
            if (page_ && !url.isEmpty() && url.adjusted(QUrl::RemoveFragment) != page_->Address()) {
                if (events_.left) {
                    events_.left();
                }
                page_->LoadAddress();
            }
        });
        QObject::connect(
            page, &QWebEnginePage::renderProcessTerminated, context,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int) {
                if (status != QWebEnginePage::NormalTerminationStatus && events_.rendererDied) {
                    events_.rendererDied();
                }
            });

        view->setPage(page);
        view->setContextMenuPolicy(Qt::NoContextMenu);
        view->setAcceptDrops(false);
        if (container->layout() != nullptr) {
            container->layout()->addWidget(view);
        }
        view_ = view;
        page_ = page;
        page->LoadAddress();
        view->show();
    }

    ~EngineHost() override {
        // No signal reaches the events once the host goes.
        context_.reset();
        // The page and its profile go now, in that order, not when the event loop next runs
        // (which may be never at exit).
        delete view_.data();
    }

    QWidget* View() override { return view_.data(); }

    void ReloadSoon() override {
        QPointer<LockedPage> reloading = page_;
        QTimer::singleShot(0, reloading, [reloading] {
            if (reloading) {
                reloading->LoadAddress();
            }
        });
    }

    void RunScript(const QString& source, std::function<void(const QVariant&)> answer) override {
        if (page_) {
            page_->runJavaScript(source, answer);
        }
    }

    qint64 RendererProcessId() const override { return page_ ? page_->renderProcessPid() : 0; }

  private:
    WebPageEvents events_;
    // The receiver of the page's signals: gone with the host, so a page that outlives it (its
    // widget is deleted from the event loop) reaches nobody.
    std::unique_ptr<QObject> context_ = std::make_unique<QObject>();
    QPointer<QWebEngineView> view_;
    QPointer<LockedPage> page_;
};

}  // namespace
}  // namespace plat

extern "C" __attribute__((visibility("default"))) plat::WebPageHost* tunova_make_web_page_host(
    QWidget* container, const QUrl& address, const QString& startScript,
    plat::WebPageEvents events) {
    return new plat::EngineHost(container, address, startScript, std::move(events));
}
