// The standard controls: push button, static text, edit box, combo box and report-mode list
// view. Each notifies its parent exactly as the classic controls do: kWmCommand with
// (id, code) for buttons, edits and combo boxes, kWmNotify for the list view.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window.h"

namespace plat {

class Bitmap;
class DC;

// A plain push button; a click sends kWmCommand (id, kBnClicked) to the parent.
class PushButton : public Window {
  public:
    bool Create(Window* parent, int id, std::string_view textCp949, const Rect& rect,
                std::uint32_t style = kStyleChild | kStyleVisible);
    void Click();  // as if the user clicked it

  protected:
    bool CreateNative(const Rect& rect) override;
};

class StaticText : public Window {
  public:
    bool Create(Window* parent, int id, std::string_view textCp949, const Rect& rect,
                std::uint32_t style = kStyleChild | kStyleVisible);

  protected:
    bool CreateNative(const Rect& rect) override;
};

// Single-line edit box. Sends kEnSetFocus, kEnKillFocus and kEnChange to the parent.
class EditBox : public Window {
  public:
    bool Create(Window* parent, int id, const Rect& rect,
                std::uint32_t style = kStyleChild | kStyleVisible);
    void SetText(std::string_view cp949) override;  // does not send kEnChange
    std::string Text() const override;
    // Caps the text at `maxBytes` CP949 bytes; user input past it is refused. 0 lifts the cap.
    void SetLimitText(int maxBytes);

  protected:
    bool CreateNative(const Rect& rect) override;
    // Turns the edit's own kWmSetFocus / kWmKillFocus into kEnSetFocus / kEnKillFocus.
    LResult DefaultProc(std::uint32_t message, WParam wParam, LParam lParam) override;
};

// Drop-down list combo box. Selecting an item by user action sends kCbnSelChange.
class ComboBox : public Window {
  public:
    bool Create(Window* parent, int id, const Rect& rect,
                std::uint32_t style = kStyleChild | kStyleVisible);
    int AddString(std::string_view cp949);  // returns the new item's index
    int Count() const;
    std::string ItemText(int index) const;  // empty when out of range
    bool SetItemHeight(int index, int height);
    int ItemHeight(int index) const;
    bool SetCurSel(int index);     // -1 clears; does not notify
    int CurSel() const;            // -1 when none
    void SelectByUser(int index);  // as if the user chose it: sets and notifies

  protected:
    bool CreateNative(const Rect& rect) override;
};

// Images drawn in list-view cells, addressed by index.
class ImageList {
  public:
    ImageList() = default;
    ImageList(const ImageList&) = delete;
    ImageList& operator=(const ImageList&) = delete;
    int Add(const Bitmap& bitmap);  // returns the index
    int Count() const { return static_cast<int>(images_.size()); }
    const Bitmap* At(int index) const;
    ~ImageList();

  private:
    std::vector<Bitmap*> images_;
};

// Item activation details of kNmClick / kNmDblClk (lParam points at it).
struct ItemActivate {
    NotifyHeader hdr;
    int item = -1;    // row, -1 when the click hit no row
    int subItem = 0;  // column
    Point point;      // client coordinates of the click
};

// kLvnBeginDrag and kLvnItemChanged details.
struct ListViewNotify {
    NotifyHeader hdr;
    int item = -1;
    int subItem = 0;
    std::uint32_t newState = 0;
    std::uint32_t oldState = 0;
    Point point;
};

enum ListViewState : std::uint32_t {
    kLvisFocused = 0x0001,
    kLvisSelected = 0x0002,
};
enum ListViewExStyle : std::uint32_t {
    kLvsExGridLines = 0x0001,
    kLvsExSubItemImages = 0x0002,
    kLvsExFullRowSelect = 0x0020,
};
enum ListColumnFormat : int { kLvcfmtLeft = 0, kLvcfmtRight = 1, kLvcfmtCenter = 2 };
enum ListViewNext : int { kLvniAll = 0, kLvniFocused = 1, kLvniSelected = 2 };

// Report-mode list view: columns, rows of sub-item texts, per-row data and state, images.
// Mouse clicks send kNmClick / kNmDblClk, dragging a selected row sends kLvnBeginDrag,
// selection changes send kLvnItemChanged, all to the parent.
class ListView : public Window {
  public:
    bool Create(Window* parent, int id, const Rect& rect,
                std::uint32_t style = kStyleChild | kStyleVisible);
    void SetExtendedStyle(std::uint32_t exStyle);
    std::uint32_t ExtendedStyle() const;
    void SetHeaderVisible(bool visible);

    int InsertColumn(int index, std::string_view headingCp949, int format, int width);
    int ColumnCount() const;
    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);

    int InsertItem(int index, std::string_view textCp949, int image = -1);  // returns the row
    bool SetItemText(int item, int subItem, std::string_view textCp949);
    std::string ItemText(int item, int subItem) const;
    bool SetItemImage(int item, int subItem, int image);
    int ItemImage(int item, int subItem) const;
    bool SetItemData(int item, std::intptr_t data);
    std::intptr_t ItemData(int item) const;
    bool DeleteItem(int item);
    void DeleteAllItems();
    int ItemCount() const;

    bool SetItemState(int item, std::uint32_t state, std::uint32_t mask);  // item -1: all rows
    std::uint32_t ItemState(int item, std::uint32_t mask) const;
    // Next row after `start` (-1: from the top) whose state has all bits of `flags`.
    int NextItem(int start, int flags) const;
    int SelectedCount() const;

    void SetImageList(ImageList* images);  // not owned
    bool EnsureVisible(int item);
    int TopIndex() const;
    int CountPerPage() const;
    Rect ItemRect(int item) const;
    // Row and column under a client point; item -1 when none.
    int HitTest(Point client, int* subItem = nullptr) const;
    void SetRowHeight(int height);

    // One cell to paint: row, column, the cell's size (the DC draws on a cell-sized surface
    // with its origin at the cell's top-left corner) and the row's kLvis* state.
    struct ItemPaint {
        int item = 0;
        int subItem = 0;
        Rect cell;  // at (0, 0)
        std::uint32_t state = 0;
    };
    using ItemPainter = std::function<void(DC& dc, const ItemPaint& paint)>;
    // Lets a derived list view draw its cells itself; null restores the standard drawing.
    void SetItemPainter(ItemPainter painter);

  protected:
    bool CreateNative(const Rect& rect) override;
};

}  // namespace plat
