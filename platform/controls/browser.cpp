// Browser: the window around the web engine's page (web_page_host.h), its mouse filter and the
// synchronous script calls.
#include "platform/controls/browser.h"

#include <QChildEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <cmath>
#include <limits>
#include <utility>

#include "platform/controls/control_impl.h"
#include "platform/controls/web_page_host.h"
#include "platform/core/qt_text_impl.h"
#include "platform/draw/draw_impl.h"
#include "platform/window/delivery_hold_impl.h"
#include "platform/window/window_impl.h"

namespace plat {
namespace {

constexpr std::uint32_t kDefaultCallTimeLimitMs = 1000;

// Calls in progress in this process, over all browsers: a call never starts inside another.
int g_callsRunning = 0;

// `text` as a JSON string literal that is also safe inside any script text: quotes,
// backslashes, control characters, the two line separators JavaScript once treated as line
// ends, and '<' '>' '&' are written as escapes.
QString JsonString(const QString& text) {
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'"' || u == u'\\') {
            out += QLatin1Char('\\');
            out += c;
        } else if (u < 0x20 || u == 0x2028 || u == 0x2029 || u == u'<' || u == u'>' || u == u'&' ||
                   u == 0x7F) {
            out += QStringLiteral("\\u%1").arg(static_cast<unsigned>(u), 4, 16, QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

// The script that calls window[name](args...) and answers [status, value]: status 0 answered,
// 1 no such function, 2 the function threw.
QString CallScript(std::string_view name, const std::vector<std::string>& args) {
    QString list;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i > 0) {
            list += QLatin1Char(',');
        }
        list += JsonString(ToQString(args[i]));
    }
    return QStringLiteral(
               "(function(n,a){var f=window[n];if(typeof f!=='function')return[1,null];"
               "try{return[0,f.apply(window,a)];}catch(e){return[2,null];}})(%1,[%2])")
        .arg(JsonString(ToQString(name)), list);
}

ScriptValue ValueOf(const QVariant& v) {
    if (!v.isValid() || v.isNull()) {
        return {};
    }
    switch (v.metaType().id()) {
        case QMetaType::Bool:
            return ScriptValue::Bool(v.toBool());
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Float:
        case QMetaType::Double: {
            const double d = v.toDouble();
            if (std::isfinite(d) && d == std::trunc(d) &&
                d >= std::numeric_limits<std::int32_t>::min() &&
                d <= std::numeric_limits<std::int32_t>::max()) {
                return ScriptValue::Int(static_cast<std::int32_t>(d));
            }
            return ScriptValue::Double(d);
        }
        case QMetaType::QString:
            return ScriptValue::String(FromQString(v.toString()));
        default:
            return ScriptValue::Other();
    }
}

}  // namespace

// Shows the mouse presses of the view and every widget inside it to the Browser first.
class BrowserMouseFilter : public QObject {
  public:
    BrowserMouseFilter(Browser* owner, QWidget* container, QObject* parent)
        : QObject(parent), owner_(owner), container_(container) {}
    void Watch(QObject* object) {
        object->installEventFilter(this);
        for (QObject* child : object->children()) {
            if (child->isWidgetType()) {
                Watch(child);
            }
        }
    }
    void Orphan() { owner_ = nullptr; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    Browser* owner_;
    QPointer<QWidget> container_;
};

struct BrowserImpl {
    static bool Filter(Browser* owner, const Message& msg) { return owner->FilterMouse(msg); }

    struct CallGate {
        std::uint64_t outstanding = 0;  // id of an abandoned call not yet answered, 0 = none
    };
    struct PendingCall {
        std::uint64_t id = 0;
        bool answered = false;
        QVariant answer;
        QEventLoop* loop = nullptr;
        std::weak_ptr<CallGate> gate;
    };

    std::unique_ptr<WebPageHost> host;
    QPointer<BrowserMouseFilter> filter;
    QUrl address;
    bool loaded = false;
    int pageLoads = 0;
    int rendererDeaths = 0;
    std::uint32_t callTimeLimit = kDefaultCallTimeLimitMs;
    std::shared_ptr<CallGate> gate = std::make_shared<CallGate>();
    std::uint64_t nextCallId = 1;
    std::shared_ptr<PendingCall> current;  // the call waiting right now
    std::vector<std::pair<std::string, std::string>> pageValues;

    void RendererDied() {
        loaded = false;
        ++rendererDeaths;
        // Nothing will answer the calls made to the dead renderer.
        gate->outstanding = 0;
        if (current && current->loop != nullptr) {
            current->loop->quit();
        }
        if (rendererDeaths == 1) {
            host->ReloadSoon();
        }
    }
};

bool BrowserMouseFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::ChildAdded) {
        QObject* child = static_cast<QChildEvent*>(event)->child();
        if (child != nullptr && child->isWidgetType()) {
            Watch(child);
        }
        return false;
    }
    if (type == QEvent::ContextMenu) {
        return true;  // the page never shows a menu of its own
    }
    if (owner_ == nullptr || !watched->isWidgetType() ||
        (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
         type != QEvent::MouseButtonDblClick)) {
        return false;
    }
    const auto* mouse = static_cast<QMouseEvent*>(event);
    std::uint32_t message = 0;
    switch (mouse->button()) {
        case Qt::LeftButton:
            message = type == QEvent::MouseButtonPress     ? kWmLButtonDown
                      : type == QEvent::MouseButtonRelease ? kWmLButtonUp
                                                           : kWmLButtonDblClk;
            break;
        case Qt::RightButton:
            message = type == QEvent::MouseButtonPress     ? kWmRButtonDown
                      : type == QEvent::MouseButtonRelease ? kWmRButtonUp
                                                           : kWmRButtonDblClk;
            break;
        case Qt::MiddleButton:
            message = type == QEvent::MouseButtonPress     ? kWmMButtonDown
                      : type == QEvent::MouseButtonRelease ? kWmMButtonUp
                                                           : kWmMButtonDblClk;
            break;
        default:
            return false;
    }
    QPoint client = mouse->position().toPoint();
    if (container_ && watched != container_) {
        client = static_cast<QWidget*>(watched)->mapTo(container_, client);
    }
    return BrowserImpl::Filter(owner_, {owner_, message, MouseFlags(mouse->buttons()),
                                        MakeLParam(client.x(), client.y())});
}

Browser::Browser() : browser_(std::make_unique<BrowserImpl>()) {}

Browser::~Browser() {
    if (browser_->filter) {
        browser_->filter->Orphan();
    }
    // The late answer of an abandoned call must find no waiting loop.
    if (browser_->current) {
        browser_->current->loop = nullptr;
    }
    browser_->host.reset();
}

bool Browser::CreateNative(const Rect& rect) {
    auto* container = new QWidget(ParentWidgetOf(Parent()));
    container->setGeometry(ToQRect(rect));
    container->setAutoFillBackground(true);
    QPalette black = container->palette();
    black.setColor(QPalette::Window, Qt::black);
    container->setPalette(black);
    auto* layout = new QVBoxLayout(container);
    layout->setContentsMargins(0, 0, 0, 0);
    impl_->Attach(container, false);
    return true;
}

void Browser::SetPageValue(std::string_view name, std::string_view value) {
    browser_->pageValues.emplace_back(std::string(name), std::string(value));
}

bool Browser::LoadPage(const std::string& path) {
    QWidget* container = impl_->widget.data();
    if (container == nullptr || browser_->host) {
        return false;
    }
    const QString file = PathToQString(path);
    const QFileInfo info(file);
    if (!info.isFile()) {
        return false;
    }
    const MakeWebPageHostFunction makeHost = LoadWebEngineModule();
    if (makeHost == nullptr) {
        return false;
    }
    // fromLocalFile escapes '#', '%', spaces and any other letters of the folder's name.
    browser_->address = QUrl::fromLocalFile(info.absoluteFilePath());

    QString values;
    if (!browser_->pageValues.empty()) {
        values = QStringLiteral("window.tunova=Object.freeze({");
        for (std::size_t i = 0; i < browser_->pageValues.size(); ++i) {
            if (i > 0) {
                values += QLatin1Char(',');
            }
            values += JsonString(ToQString(browser_->pageValues[i].first)) + QLatin1Char(':') +
                      JsonString(ToQString(browser_->pageValues[i].second));
        }
        values += QStringLiteral("});");
    }

    BrowserImpl* d = browser_.get();
    WebPageEvents events;
    events.loadFinished = [d](bool ok) {
        if (ok) {
            d->loaded = true;
            ++d->pageLoads;
        }
    };
    events.left = [d] { d->loaded = false; };
    events.rendererDied = [d] { d->RendererDied(); };
    d->host.reset(makeHost(container, d->address, values, std::move(events)));
    QWidget* view = d->host->View();
    d->filter = new BrowserMouseFilter(this, container, view);
    d->filter->Watch(view);
    return true;
}

bool Browser::IsPageLoaded() const {
    return browser_->loaded;
}

std::string Browser::PageAddress() const {
    return browser_->address.isEmpty()
               ? std::string()
               : browser_->address.toString(QUrl::FullyEncoded).toStdString();
}

void Browser::SetCallTimeLimit(std::uint32_t ms) {
    browser_->callTimeLimit = ms;
}

bool Browser::CallOutstanding() const {
    return browser_->gate->outstanding != 0;
}

int Browser::RendererDeaths() const {
    return browser_->rendererDeaths;
}

int Browser::PageLoads() const {
    return browser_->pageLoads;
}

std::int64_t Browser::RendererProcessId() const {
    return browser_->host ? browser_->host->RendererProcessId() : 0;
}

bool Browser::FilterMouse(const Message&) {
    return false;
}

ScriptCallResult Browser::CallFunction(std::string_view name,
                                       const std::vector<std::string>& args) {
    BrowserImpl* d = browser_.get();
    if (!d->host || !d->loaded) {
        return {ScriptCallStatus::kNoPage, {}};
    }
    if (g_callsRunning > 0 || d->gate->outstanding != 0) {
        return {ScriptCallStatus::kBusy, {}};
    }
    if (InsidePaint()) {
        return {ScriptCallStatus::kInsidePaint, {}};
    }
    auto pending = std::make_shared<BrowserImpl::PendingCall>();
    pending->id = d->nextCallId++;
    pending->gate = d->gate;
    d->host->RunScript(CallScript(name, args), [pending](const QVariant& answer) {
        pending->answered = true;
        pending->answer = answer;
        if (pending->loop != nullptr) {
            pending->loop->quit();
        }
        if (auto gate = pending->gate.lock(); gate && gate->outstanding == pending->id) {
            gate->outstanding = 0;
        }
    });
    if (!pending->answered) {
        ++g_callsRunning;
        const DeliveryHold hold;
        QEventLoop loop;
        QTimer limit;
        limit.setSingleShot(true);
        QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
        limit.start(static_cast<int>(d->callTimeLimit));
        pending->loop = &loop;
        d->current = pending;
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        pending->loop = nullptr;
        d->current.reset();
        --g_callsRunning;
    }
    if (!pending->answered) {
        if (d->loaded) {
            d->gate->outstanding = pending->id;
            return {ScriptCallStatus::kTimedOut, {}};
        }
        return {ScriptCallStatus::kNoPage, {}};  // the renderer died while we waited
    }
    const QVariantList envelope = pending->answer.toList();
    if (envelope.size() != 2) {
        return {ScriptCallStatus::kThrew, {}};
    }
    switch (envelope[0].toInt()) {
        case 0:
            return {ScriptCallStatus::kAnswered, ValueOf(envelope[1])};
        case 1:
            return {ScriptCallStatus::kNoFunction, {}};
        default:
            return {ScriptCallStatus::kThrew, {}};
    }
}

}  // namespace plat
