// Tests' view of windows through the toolkit's accessibility interfaces.
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleTableInterface>
#include <QAccessibleValueInterface>

#include "platform/controls/list_view_impl.h"
#include "platform/core/qt_text_impl.h"
#include "platform/testing/testing.h"
#include "platform/window/window_impl.h"

namespace plat::testing {

namespace {

std::string RoleName(QAccessible::Role role) {
    switch (role) {
        case QAccessible::Window:
            return "window";
        case QAccessible::Pane:
        case QAccessible::Client:
            return "pane";
        case QAccessible::Button:
            return "button";
        case QAccessible::CheckBox:
            return "check box";
        case QAccessible::RadioButton:
            return "radio button";
        case QAccessible::Slider:
            return "slider";
        case QAccessible::ScrollBar:
            return "scroll bar";
        case QAccessible::EditableText:
            return "edit";
        case QAccessible::ComboBox:
            return "combo box";
        case QAccessible::Tree:
            return "tree";
        case QAccessible::List:
            return "list";
        default:
            return "role " + std::to_string(static_cast<int>(role));
    }
}

QAccessibleInterface* InterfaceOf(plat::Window& window) {
    QWidget* widget = window.Impl()->widget.data();
    return widget != nullptr ? QAccessible::queryAccessibleInterface(widget) : nullptr;
}

}  // namespace

AccessibleView ReadAccessible(plat::Window& window) {
    AccessibleView view;
    QAccessibleInterface* iface = InterfaceOf(window);
    if (iface == nullptr) {
        return view;
    }
    view.role = RoleName(iface->role());
    view.name = FromQString(iface->text(QAccessible::Name));
    const QAccessible::State state = iface->state();
    view.focusable = state.focusable;
    view.focused = state.focused;
    view.checkable = state.checkable;
    view.checked = state.checked;
    view.pressed = state.pressed;
    view.disabled = state.disabled;
    if (QAccessibleValueInterface* value = iface->valueInterface()) {
        view.hasValue = true;
        view.current = value->currentValue().toInt();
        view.minimum = value->minimumValue().toInt();
        view.maximum = value->maximumValue().toInt();
    }
    if (QAccessibleActionInterface* actions = iface->actionInterface()) {
        for (const QString& action : actions->actionNames()) {
            view.actions.push_back(FromQString(action));
        }
    }
    return view;
}

std::vector<std::string> ReadAccessibleRows(plat::Window& list) {
    std::vector<std::string> rows;
    // The toolkit counts the rows it has laid out; rows added since are laid out first, as the
    // event loop would before assistive technology asks.
    if (ReportView* view = ViewOf(&list)) {
        view->SyncLayout();
    }
    QAccessibleInterface* iface = InterfaceOf(list);
    QAccessibleTableInterface* table = iface != nullptr ? iface->tableInterface() : nullptr;
    if (table == nullptr) {
        return rows;
    }
    for (int row = 0; row < table->rowCount(); ++row) {
        QAccessibleInterface* cell = table->cellAt(row, 0);
        rows.push_back(cell != nullptr ? FromQString(cell->text(QAccessible::Name)) : "");
    }
    return rows;
}

void PressAccessible(plat::Window& window) {
    QAccessibleInterface* iface = InterfaceOf(window);
    if (QAccessibleActionInterface* actions =
            iface != nullptr ? iface->actionInterface() : nullptr) {
        actions->doAction(QAccessibleActionInterface::pressAction());
    }
}

void SetAccessibleValue(plat::Window& window, int value) {
    QAccessibleInterface* iface = InterfaceOf(window);
    if (QAccessibleValueInterface* values = iface != nullptr ? iface->valueInterface() : nullptr) {
        values->setCurrentValue(value);
    }
}

}  // namespace plat::testing
