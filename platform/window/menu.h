// Popup menus: built item by item, tracked at a screen point, the choice sent to the owner as
// a kWmCommand with the item's id.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/core/types.h"

namespace plat {

class Window;

class PopupMenu {
  public:
    struct Item {
        int id = 0;        // 0 for a separator
        std::string text;  // CP949
        bool checked = false;
        bool isDefault = false;
        bool enabled = true;
        std::vector<Item> submenu;
    };

    void AppendItem(int id, std::string_view textCp949);
    void AppendSeparator();
    // Returns false when no item has `id`.
    bool CheckItem(int id, bool checked);
    bool SetDefaultItem(int id);
    bool EnableItem(int id, bool enabled);
    const std::vector<Item>& Items() const { return items_; }
    const Item* FindItem(int id) const;

    // Shows the menu at `screen` and blocks until the user chooses or dismisses it. A choice is
    // sent to `owner` as kWmCommand (id, 0) after the menu closes; returns the chosen id or 0.
    int Track(Window* owner, Point screen) const;

  private:
    Item* FindMutable(int id);
    std::vector<Item> items_;
};

}  // namespace plat
