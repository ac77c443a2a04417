// Names and Tab order of the main window's controls for assistive technology.
#include "app/control_names.h"

#include <algorithm>
#include <vector>

#include "app/main_controls.h"
#include "app/tunova_dlg.h"

namespace tunova {

void NameMainWindowControls(CTunovaDlg& window) {
    std::vector<const MainControl*> tabbed;
    for (const MainControl& row : MainControls()) {
        // Controls with a tooltip are named by it; the rest by the text their picture shows or
        // by what they are.
        if (row.name != nullptr) {
            if (plat::Window* control = window.Child(row.id)) {
                control->SetAccessibleName(row.name);
            }
        }
        if (row.tabPlace > 0) {
            tabbed.push_back(&row);
        }
    }
    // Tab's way through the window; hidden controls are passed over.
    std::sort(tabbed.begin(), tabbed.end(),
              [](const MainControl* a, const MainControl* b) { return a->tabPlace < b->tabPlace; });
    std::vector<plat::Window*> order;
    for (const MainControl* row : tabbed) {
        if (plat::Window* control = window.Child(row->id)) {
            order.push_back(control);
        }
    }
    plat::Window::SetTabOrder(order);
}

}  // namespace tunova
