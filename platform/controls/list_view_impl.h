// Platform-internal: the Qt widgets behind a report-mode list view. ReportView is a
// QTreeWidget with one top-level item per row; ReportHeader is its heading row, which a list
// may paint itself; in owner-painted mode the rows are drawn by the list's own kWmPaint.
#pragma once

#include <QHeaderView>
#include <QImage>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <cstdint>
#include <vector>

#include "platform/controls/controls.h"

namespace plat {

inline constexpr int kDataRole = Qt::UserRole;       // the row's item data, on column 0
inline constexpr int kImageRole = Qt::UserRole + 1;  // the cell's image index

Qt::Alignment AlignmentFor(int format);

class ReportView;

// Sizes rows to the list's row height and hands painting to the list's item painter.
class CellDelegate : public QStyledItemDelegate {
  public:
    explicit CellDelegate(ReportView* view);
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  private:
    ReportView* view_;
};

// The heading row: a fixed height when asked, clicks on any column, and painting by the
// list's header painter when one is set.
class ReportHeader : public QHeaderView {
  public:
    explicit ReportHeader(QWidget* parent);
    QSize sizeHint() const override;

    int fixedHeight = 0;
    ListView::HeaderPainter painter;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage surface_;
};

class ReportView : public QTreeWidget {
  public:
    explicit ReportView(QWidget* parent);

    int RowOf(const QTreeWidgetItem* item) const;
    QTreeWidgetItem* Row(int row) const;
    std::uint32_t StateOf(int row) const;
    int RowHeight() const;
    void RefreshIcon(QTreeWidgetItem* item, int column);
    void RefreshAllIcons();
    ReportHeader* Header() const { return static_cast<ReportHeader*>(header()); }
    // The list view this widget belongs to; null once it was destroyed.
    ListView* Owner() const;
    // Brings the row layout and the scroll range up to date now instead of on the next event.
    // A list without rows has nothing to lay out beyond a pending layout (which sets its empty
    // range): QTreeView answers updateGeometries() on an empty list with a fresh layout and a
    // repaint, so a list that reads its range while painting would paint for ever.
    void SyncLayout() {
        executeDelayedItemsLayout();
        if (topLevelItemCount() > 0) {
            updateGeometries();
        }
    }
    // Offset of the row area inside the list's client area.
    QPoint ViewportOffset() const { return viewport()->pos(); }

    ImageList* images = nullptr;
    int imageHeight = 0;  // of the image list's first image when it was set: the least row height
    ListView::ItemPainter itemPainter;
    ListView::RowReader rowReader;
    std::uint32_t exStyle = 0;
    int rowHeight = 0;
    std::vector<int> formats;  // per column
    bool ownerPainted = false;
    bool quiet = false;        // no notifications while set
    bool acceptFiles = false;  // drops of local files go to the parent as kWmDropFiles

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    // The pointer leaving the rows (for the header or elsewhere) or the whole list.
    bool viewportEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    // list_view_drop.cpp: drops of local files when acceptFiles is set.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    Point ToClient(QPoint viewportPos) const;
    void SendMouseLeave();
    void Send(int code, NotifyHeader* header);
    void SendActivate(int code, QPoint viewportPos);
    void SendItemChanged(int row, std::uint32_t changedBits);
    void OnSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void OnCurrentChanged(const QModelIndex& current, const QModelIndex& previous);
    void OnSectionClicked(int column);

    QImage surface_;  // the row area's surface in owner-painted mode
    QPoint pressPos_;
    int pressRow_ = -1;
    bool leftDown_ = false;
    bool dragSent_ = false;
    bool afterDoubleClick_ = false;
};

ReportView* ViewOf(const Window* w);

// A row of the list; its first cell's accessible text is the list's reading of the row.
class ReportRow : public QTreeWidgetItem {
  public:
    QVariant data(int column, int role) const override;
};

}  // namespace plat
