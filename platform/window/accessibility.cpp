// Assistive technology's view of windows: their names, and for the windows the platform paints
// itself (host widgets) an accessible interface that reports the window's own role, state and
// value and carries out a press or a new value through the window.
#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QComboBox>
#include <unordered_set>

#include "platform/core/qt_text_impl.h"
#include "platform/window/accessibility_impl.h"
#include "platform/window/host_widget_impl.h"
#include "platform/window/window_impl.h"

namespace plat {

void Window::SetAccessibleName(std::string_view cp949) {
    impl_->accessibleName.assign(cp949);
    if (QWidget* w = impl_->widget.data()) {
        // Qt's own controls read the widget's name; host widgets ask AccessibleName().
        if (!impl_->isHost) {
            w->setAccessibleName(ToQString(cp949));
        }
        // Qt on Linux reads a combo box's shown item as its name (a label beside it names it
        // there); the description carries what it chooses.
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            combo->setAccessibleDescription(ToQString(cp949));
        }
        QAccessibleEvent changed(w, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
    }
}

std::string Window::AccessibleName() const {
    if (!impl_->accessibleName.empty()) {
        return impl_->accessibleName;
    }
    return !impl_->text.empty() ? impl_->text : impl_->toolTip;
}

AccessibleInfo Window::Accessibility() const {
    return {};
}

bool Window::AccessiblePress() {
    return false;
}

bool Window::AccessibleSetValue(int /*value*/) {
    return false;
}

void Window::SetTabOrder(const std::vector<Window*>& windows) {
    QWidget* previous = nullptr;
    for (Window* window : windows) {
        QWidget* w = window != nullptr ? window->impl_->widget.data() : nullptr;
        if (w == nullptr) {
            continue;
        }
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, w);
        }
        previous = w;
    }
}

namespace {

QAccessible::Role QtRole(AccessibleRole role, bool topLevel) {
    switch (role) {
        case AccessibleRole::kButton:
            return QAccessible::Button;
        case AccessibleRole::kCheckBox:
            return QAccessible::CheckBox;
        case AccessibleRole::kRadioButton:
            return QAccessible::RadioButton;
        case AccessibleRole::kSlider:
            return QAccessible::Slider;
        case AccessibleRole::kScrollBar:
            return QAccessible::ScrollBar;
        case AccessibleRole::kPane:
            break;
    }
    return topLevel ? QAccessible::Window : QAccessible::Pane;
}

bool HasValue(AccessibleRole role) {
    return role == AccessibleRole::kSlider || role == AccessibleRole::kScrollBar;
}

bool IsButton(AccessibleRole role) {
    return role == AccessibleRole::kButton || role == AccessibleRole::kCheckBox ||
           role == AccessibleRole::kRadioButton;
}

// A host widget as assistive technology sees it: everything comes from its window, looked up
// at each question (the window may be gone while the toolkit still holds the interface).
class WindowAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
  public:
    explicit WindowAccessible(QWidget* widget) : QAccessibleWidget(widget) {}

    QAccessible::Role role() const override { return QtRole(Info().role, widget()->isWindow()); }

    QString text(QAccessible::Text kind) const override {
        const Window* owner = Owner();
        if (kind == QAccessible::Name && owner != nullptr) {
            return ToQString(owner->AccessibleName());
        }
        if (kind == QAccessible::Value && owner != nullptr && HasValue(Info().role)) {
            return QString::number(Info().value);
        }
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override {
        QAccessible::State result = QAccessibleWidget::state();
        const AccessibleInfo info = Info();
        if (info.role == AccessibleRole::kCheckBox || info.role == AccessibleRole::kRadioButton) {
            result.checkable = true;
            result.checked = info.checked;
        }
        result.pressed = info.pressed;
        return result;
    }

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (IsButton(Info().role)) {
            names.prepend(pressAction());
        }
        return names;
    }

    void doAction(const QString& action) override {
        Window* owner = Owner();
        if (action == pressAction() && owner != nullptr) {
            owner->AccessiblePress();
            return;
        }
        QAccessibleWidget::doAction(action);
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface && HasValue(Info().role)) {
            return static_cast<QAccessibleValueInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QVariant currentValue() const override { return Info().value; }
    void setCurrentValue(const QVariant& value) override {
        if (Window* owner = Owner()) {
            owner->AccessibleSetValue(value.toInt());
        }
    }
    QVariant maximumValue() const override { return Info().maximum; }
    QVariant minimumValue() const override { return Info().minimum; }
    QVariant minimumStepSize() const override { return 1; }

  private:
    Window* Owner() const { return WindowImpl::FromWidget(widget()); }
    AccessibleInfo Info() const {
        const Window* owner = Owner();
        return owner != nullptr ? owner->Accessibility() : AccessibleInfo{};
    }
};

// The live host widgets, by address only: the factory compares pointers and never reads an
// object it did not make (a cast on a web-engine item taking focus crashed).
std::unordered_set<const QObject*>& LiveHosts() {
    static std::unordered_set<const QObject*> hosts;
    return hosts;
}

QAccessibleInterface* HostWidgetAccessible(const QString& /*className*/, QObject* object) {
    if (LiveHosts().count(object) == 0) {
        return nullptr;
    }
    return new WindowAccessible(static_cast<HostWidget*>(object));
}

}  // namespace

void AddAccessibleHost(const HostWidget* host) {
    LiveHosts().insert(host);
}

void RemoveAccessibleHost(const HostWidget* host) {
    LiveHosts().erase(host);
}

void InstallAccessibleFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(&HostWidgetAccessible);
        return true;
    }();
    (void)installed;
}

}  // namespace plat
