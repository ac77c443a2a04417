// The standard controls: push button, owner-drawn button, check box, static text, edit box,
// combo box, tooltip and report-mode list view. Each notifies its parent exactly as the classic
// controls do: kWmCommand with (id, code) for buttons, edits and combo boxes, kWmNotify for the
// list view.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window/window.h"

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

// A button that draws itself (DrawItem) and behaves as the standard button does: a left press
// takes the capture and shows the pushed look, which follows the pointer while the button is
// held; a release over the button clicks (kWmCommand (id, kBnClicked) to the parent); Space
// pushes and clicks on release; a disabled button takes no input. kBmGetState / kBmSetState
// read and set the pushed look (kBstPushed); kBmGetCheck / kBmSetCheck keep a check state.
// Derived classes handle messages in their own table and end with DefaultProc, which is this
// standard handling.
class OwnerDrawButton : public Window {
  public:
    bool Create(Window* parent, int id, std::string_view textCp949, const Rect& rect,
                std::uint32_t style = kStyleChild | kStyleVisible);
    // As if the user clicked it: the parent gets the click command; nothing while disabled.
    void Click();
    bool IsPushed() const { return pushed_; }
    // A button to assistive technology, pressed while held; its press action clicks.
    AccessibleInfo Accessibility() const override;
    bool AccessiblePress() override;

    struct DrawItemInfo {
        Rect item;           // the client rectangle
        unsigned state = 0;  // kOds* flags
    };

  protected:
    // Paints the whole button on `dc`; the default fills it with the background colour.
    virtual void DrawItem(DC& dc, const DrawItemInfo& info);
    LResult DefaultProc(std::uint32_t message, WParam wParam, LParam lParam) override;

  private:
    void SetPushed(bool pushed);
    bool pushed_ = false;
    bool keyPushed_ = false;
    bool checked_ = false;
};

// Check box; a click toggles it and sends kWmCommand (id, kBnClicked) to the parent.
class CheckBox : public Window {
  public:
    bool Create(Window* parent, int id, std::string_view textCp949, const Rect& rect,
                std::uint32_t style = kStyleChild | kStyleVisible);
    void SetCheck(bool checked);  // does not notify
    bool IsChecked() const;
    void Click();  // as if the user clicked it

  protected:
    bool CreateNative(const Rect& rect) override;
};

// A tooltip shown while the pointer rests over its tool window.
class ToolTip {
  public:
    // Binds the tooltip to `owner`; false when the owner has no native window.
    bool Create(Window* owner);
    // The one tool: the whole of `tool` shows `textCp949`. False before Create.
    bool AddTool(Window* tool, std::string_view textCp949);
    void UpdateTipText(std::string_view textCp949);
    void Activate(bool active);
    bool IsCreated() const { return owner_ != nullptr; }
    bool IsActive() const { return active_; }
    const std::string& Text() const { return text_; }

  private:
    void Apply();
    Window* owner_ = nullptr;
    Window* tool_ = nullptr;
    std::string text_;
    bool active_ = false;
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
    // An image whose pixels of colour `key` are not drawn.
    int Add(const Bitmap& bitmap, ColorRef key);
    int Count() const { return static_cast<int>(images_.size()); }
    const Bitmap* At(int index) const;
    // Draws image `index` with its top-left corner at `at`; nothing for an unknown index.
    void Draw(DC& dc, int index, Point at) const;
    ~ImageList();

  private:
    struct Entry {
        Bitmap* bitmap;
        bool keyed;
        ColorRef key;
    };
    std::vector<Entry> images_;
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
// selection changes send kLvnItemChanged and a click on a column heading kLvnColumnClick
// (ListViewNotify::subItem = the column), all to the parent unless the list's own table takes
// them (MessageMap::OnReflectedNotify). Pointer moves over the list reach its own table as
// kWmMouseMove (client coordinates), wheel turns as kWmMouseWheel, keys as kWmKeyDown/Up.
//
// Owner painting (SetOwnerPainted): the rows are no longer drawn by the toolkit; each repaint
// of the row area sends the list kWmEraseBkgnd and kWmPaint with DC::ForPaint valid, in client
// coordinates (the header above is not part of it). The default kWmPaint fills the area with
// the DC's background colour and calls PaintItems.
// What a kWmDropFiles message carries: the local files of the drop, in the order the desktop
// gives them (paths as the file system names them), and where they fell in the list's client
// area.
struct DroppedFiles {
    std::vector<std::string> paths;
    Point point;
};

class ListView : public Window {
  public:
    bool Create(Window* parent, int id, const Rect& rect,
                std::uint32_t style = kStyleChild | kStyleVisible);
    // Files dragged from the desktop may be dropped onto the list (off by default); each drop
    // of local files sends kWmDropFiles to the parent. Other drags are refused.
    void AcceptFileDrops(bool accept);
    void SetExtendedStyle(std::uint32_t exStyle);
    std::uint32_t ExtendedStyle() const;
    void SetHeaderVisible(bool visible);

    int InsertColumn(int index, std::string_view headingCp949, int format, int width);
    int ColumnCount() const;
    std::string ColumnHeading(int column) const;  // empty when out of range
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
    int RowHeight() const;

    // Header: its height (0 = the toolkit's own), the rectangle of a column's heading in the
    // header's coordinates (empty when out of range), a column's display position, and a
    // painter that draws the whole header instead of the toolkit (null restores it).
    void SetHeaderHeight(int height);
    int HeaderHeight() const;
    Rect HeaderItemRect(int column) const;
    int ColumnOrder(int column) const;
    using HeaderPainter = std::function<void(DC& dc, const Rect& client)>;
    void SetHeaderPainter(HeaderPainter painter);
    void RedrawHeader();

    // Scrolling. The native scroll bars can be turned off; the list still scrolls by wheel,
    // keys and these calls. Positions count rows: the first visible row, and the largest first
    // visible row (0 when every row fits).
    void SetNativeScrollBarsVisible(bool visible);
    int ScrollPosition() const;
    int ScrollLimit() const;
    // Scrolls by `dy` pixels, in whole rows (rounded toward zero), clamped to the limits.
    void Scroll(int dy);
    // kWmVScroll with a kSb* request in the low word does the same as the native scroll bar.

    // Reorders the rows by `less` (original row indices; stable): whole rows move, with their
    // texts, images, item data and selection. No notifications are sent.
    void SortItems(const std::function<bool(int rowA, int rowB)>& less);

    void SetOwnerPainted(bool owner);
    // Draws every visible cell through the item painter (or plain text) on `dc`, whose
    // coordinates are the list's client coordinates.
    void PaintItems(DC& dc);

    // One cell to paint: row, column, the cell's rectangle on the DC (drawing is clipped to
    // it) and the row's kLvis* state.
    struct ItemPaint {
        int item = 0;
        int subItem = 0;
        Rect cell;
        std::uint32_t state = 0;
    };
    using ItemPainter = std::function<void(DC& dc, const ItemPaint& paint)>;
    // Lets a derived list view draw its cells itself; null restores the standard drawing.
    void SetItemPainter(ItemPainter painter);

    ImageList* Images() const;

    // What assistive technology reads for row `item` (CP949), asked each time it is read. By
    // default the texts of the columns wider than 0, without outer spaces, empty ones left out,
    // joined by ", " ("1, Title, 03:25"); a reader replaces that (null restores it).
    using RowReader = std::function<std::string(int item)>;
    void SetRowReader(RowReader reader);
    std::string RowReading(int item) const;

  protected:
    bool CreateNative(const Rect& rect) override;
    LResult DefaultProc(std::uint32_t message, WParam wParam, LParam lParam) override;
};

}  // namespace plat
