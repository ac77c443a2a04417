// The notification-area icon on Qt's tray icon, or on the fake tray a test installs.
#include "platform/desktop/tray_icon.h"

#include <QCursor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QSystemTrayIcon>
#include <algorithm>
#include <string>
#include <vector>

#include "platform/controls/icon_impl.h"
#include "platform/core/messages.h"
#include "platform/core/qt_text_impl.h"
#include "platform/window/window.h"
#include "platform/window/window_impl.h"

namespace plat {
namespace {

// The longest tooltip the tray record holds, without its terminating NUL.
constexpr std::size_t kMaxTipBytes = 127;

// One icon in a tray: where its clicks go and what it shows.
struct TrayEntry {
    std::uint64_t ownerKey = 0;
    int id = 0;
    std::uint32_t callbackMessage = 0;
    std::string tip;                          // CP949
    int image = 0;                            // icon resource shown, 0 while none
    std::unique_ptr<QSystemTrayIcon> native;  // null on the fake tray

    // Sends the owner the callback message, if the owner still exists.
    void Report(std::uint32_t mouseMessage) const {
        if (Window* owner = WindowImpl::FindLive(ownerKey)) {
            owner->SendMessage(callbackMessage, static_cast<WParam>(id),
                               static_cast<LParam>(mouseMessage));
        }
    }
};

testing::FakeTray* g_fakeTray = nullptr;

// The icons in the fake tray, in the order they were added.
std::vector<TrayEntry*>& FakeTrayIcons() {
    static std::vector<TrayEntry*> icons;
    return icons;
}

// `cp949` cut to at most `limit` bytes without splitting a double-byte character.
std::string CutCp949(std::string_view cp949, std::size_t limit) {
    std::size_t end = 0;
    while (end < cp949.size()) {
        const bool lead = static_cast<unsigned char>(cp949[end]) >= 0x81 && end + 1 < cp949.size();
        const std::size_t next = end + (lead ? 2 : 1);
        if (next > limit) {
            break;
        }
        end = next;
    }
    return std::string(cp949.substr(0, end));
}

bool StatusNotifierWatcherRunning() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || bus.interface() == nullptr) {
        return false;
    }
    return bus.interface()->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher"));
}

std::uint32_t MouseMessageFor(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
        case QSystemTrayIcon::Context:
            return kWmRButtonUp;
        case QSystemTrayIcon::DoubleClick:
            return kWmLButtonDblClk;
        case QSystemTrayIcon::Trigger:
            return kWmLButtonUp;
        default:
            return 0;
    }
}

}  // namespace

struct TrayIcon::Impl {
    TrayEntry entry;
    bool added = false;
    bool onFakeTray = false;
};

TrayIcon::TrayIcon() : impl_(std::make_unique<Impl>()) {}

TrayIcon::~TrayIcon() {
    Remove();
}

bool TrayIcon::IsAvailable() {
    return g_fakeTray != nullptr || QSystemTrayIcon::isSystemTrayAvailable();
}

bool TrayIcon::ReportsDoubleClicks() {
    if (g_fakeTray != nullptr) {
        return g_fakeTray->reportsDoubleClicks;
    }
    return !StatusNotifierWatcherRunning();
}

bool TrayIcon::Add(Window* owner, int id, std::uint32_t callbackMessage,
                   std::string_view tipCp949) {
    if (impl_->added || owner == nullptr || !owner->IsCreated() || !IsAvailable()) {
        return false;
    }
    TrayEntry& entry = impl_->entry;
    entry.ownerKey = owner->Impl()->key;
    entry.id = id;
    entry.callbackMessage = callbackMessage;
    entry.tip = CutCp949(tipCp949, kMaxTipBytes);
    entry.image = 0;
    if (g_fakeTray != nullptr) {
        FakeTrayIcons().push_back(&entry);
        impl_->onFakeTray = true;
    } else {
        entry.native = std::make_unique<QSystemTrayIcon>();
        entry.native->setToolTip(ToQString(entry.tip));
        QObject::connect(entry.native.get(), &QSystemTrayIcon::activated, entry.native.get(),
                         [&entry](QSystemTrayIcon::ActivationReason reason) {
                             if (const std::uint32_t message = MouseMessageFor(reason)) {
                                 entry.Report(message);
                             }
                         });
    }
    impl_->added = true;
    return true;
}

bool TrayIcon::SetImage(int iconResourceId) {
    if (!impl_->added) {
        return false;
    }
    const QIcon icon = IconFromResource(iconResourceId);
    if (icon.isNull()) {
        return false;
    }
    impl_->entry.image = iconResourceId;
    if (QSystemTrayIcon* native = impl_->entry.native.get()) {
        native->setIcon(icon);
        native->show();
    }
    return true;
}

void TrayIcon::Remove() {
    if (!impl_->added) {
        return;
    }
    if (impl_->onFakeTray) {
        std::erase(FakeTrayIcons(), &impl_->entry);
        impl_->onFakeTray = false;
    }
    if (impl_->entry.native != nullptr) {
        // Remove() may run inside the icon's own click signal: delete it once that returns, and
        // let no later click reach the entry meanwhile.
        QObject::disconnect(impl_->entry.native.get(), nullptr, nullptr, nullptr);
        impl_->entry.native->hide();
        impl_->entry.native.release()->deleteLater();
    }
    impl_->added = false;
}

bool TrayIcon::IsAdded() const {
    return impl_->added;
}

Point PointerPosition() {
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

namespace testing {

FakeTray::FakeTray(bool reportsDoubleClicksIn) : reportsDoubleClicks(reportsDoubleClicksIn) {
    g_fakeTray = this;
}

FakeTray::~FakeTray() {
    if (g_fakeTray == this) {
        g_fakeTray = nullptr;
    }
}

std::vector<FakeTray::Icon> FakeTray::Icons() const {
    std::vector<Icon> icons;
    for (const TrayEntry* entry : FakeTrayIcons()) {
        icons.push_back({entry->id, entry->tip, entry->image});
    }
    return icons;
}

bool FakeTray::Click(int id, std::uint32_t mouseMessage) {
    const auto& icons = FakeTrayIcons();
    const auto it = std::find_if(icons.begin(), icons.end(),
                                 [id](const TrayEntry* entry) { return entry->id == id; });
    if (it == icons.end()) {
        return false;
    }
    (*it)->Report(mouseMessage);
    return true;
}

}  // namespace testing
}  // namespace plat
