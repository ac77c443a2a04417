// Report-mode list view: the header's height and painting, scrolling without the native scroll
// bars, sorting whole rows, and owner painting of the row area.
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <numeric>

#include "platform/controls/controls.h"
#include "platform/controls/list_view_impl.h"
#include "platform/core/qt_text_impl.h"
#include "platform/draw/draw_impl.h"

namespace plat {

int ListView::RowHeight() const {
    const ReportView* view = ViewOf(this);
    return view != nullptr ? std::max(1, view->RowHeight()) : 1;
}

ImageList* ListView::Images() const {
    const ReportView* view = ViewOf(this);
    return view != nullptr ? view->images : nullptr;
}

// ---- Header -----------------------------------------------------------------------------

void ListView::SetHeaderHeight(int height) {
    if (ReportView* view = ViewOf(this)) {
        view->Header()->fixedHeight = std::max(0, height);
        view->Header()->updateGeometry();
        view->SyncLayout();
    }
}

int ListView::HeaderHeight() const {
    const ReportView* view = ViewOf(this);
    if (view == nullptr || view->header()->isHidden()) {
        return 0;
    }
    return view->Header()->sizeHint().height();
}

Rect ListView::HeaderItemRect(int column) const {
    const ReportView* view = ViewOf(this);
    if (view == nullptr || column < 0 || column >= view->columnCount()) {
        return {};
    }
    const QHeaderView* header = view->header();
    return Rect::FromXYWH(header->sectionViewportPosition(column), 0, header->sectionSize(column),
                          HeaderHeight());
}

int ListView::ColumnOrder(int column) const {
    const ReportView* view = ViewOf(this);
    if (view == nullptr || column < 0 || column >= view->columnCount()) {
        return -1;
    }
    return view->header()->visualIndex(column);
}

void ListView::SetHeaderPainter(HeaderPainter painter) {
    if (ReportView* view = ViewOf(this)) {
        view->Header()->painter = std::move(painter);
        view->Header()->viewport()->update();
    }
}

void ListView::RedrawHeader() {
    if (ReportView* view = ViewOf(this)) {
        view->Header()->viewport()->repaint();
    }
}

// ---- Scrolling --------------------------------------------------------------------------

void ListView::SetNativeScrollBarsVisible(bool visible) {
    if (ReportView* view = ViewOf(this)) {
        const Qt::ScrollBarPolicy policy = visible ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
        view->setVerticalScrollBarPolicy(policy);
        view->setHorizontalScrollBarPolicy(policy);
    }
}

int ListView::ScrollPosition() const {
    ReportView* view = ViewOf(this);
    if (view == nullptr) {
        return 0;
    }
    view->SyncLayout();
    return view->verticalScrollBar()->value();
}

int ListView::ScrollLimit() const {
    ReportView* view = ViewOf(this);
    if (view == nullptr) {
        return 0;
    }
    view->SyncLayout();
    return view->verticalScrollBar()->maximum();
}

void ListView::Scroll(int dy) {
    ReportView* view = ViewOf(this);
    if (view == nullptr) {
        return;
    }
    view->SyncLayout();
    QScrollBar* bar = view->verticalScrollBar();
    bar->setValue(bar->value() + dy / RowHeight());
}

LResult ListView::DefaultProc(std::uint32_t message, WParam wParam, LParam lParam) {
    switch (message) {
        case kWmPaint:
            if (DC* dc = DC::ForPaint(*this)) {
                dc->FillSolidRect(dc->ClipBox(), dc->BkColor());
                PaintItems(*dc);
            }
            return 0;
        case kWmEraseBkgnd:
            return 1;
        case kWmVScroll: {
            ReportView* view = ViewOf(this);
            if (view == nullptr) {
                return 0;
            }
            view->SyncLayout();
            QScrollBar* bar = view->verticalScrollBar();
            const int page = std::max(1, CountPerPage());
            switch (LowWord(wParam)) {
                case kSbLineUp:
                    bar->setValue(bar->value() - 1);
                    break;
                case kSbLineDown:
                    bar->setValue(bar->value() + 1);
                    break;
                case kSbPageUp:
                    bar->setValue(bar->value() - page);
                    break;
                case kSbPageDown:
                    bar->setValue(bar->value() + page);
                    break;
                case kSbTop:
                    bar->setValue(bar->minimum());
                    break;
                case kSbBottom:
                    bar->setValue(bar->maximum());
                    break;
                default:
                    break;
            }
            return 0;
        }
        default:
            return Window::DefaultProc(message, wParam, lParam);
    }
}

// ---- Sorting ----------------------------------------------------------------------------

void ListView::SortItems(const std::function<bool(int rowA, int rowB)>& less) {
    ReportView* view = ViewOf(this);
    if (view == nullptr || !less) {
        return;
    }
    const int count = view->topLevelItemCount();
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), less);

    // Selection and the current row live in the view, not in the items: carry them over.
    std::vector<bool> selected(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row) {
        selected[static_cast<std::size_t>(row)] = view->topLevelItem(row)->isSelected();
    }
    QTreeWidgetItem* current = view->currentItem();
    const int top = view->verticalScrollBar()->value();

    view->quiet = true;
    QList<QTreeWidgetItem*> items = view->invisibleRootItem()->takeChildren();
    QList<QTreeWidgetItem*> sorted;
    sorted.reserve(count);
    for (int from : order) {
        sorted.append(items[from]);
    }
    view->addTopLevelItems(sorted);
    for (int row = 0; row < count; ++row) {
        if (selected[static_cast<std::size_t>(order[static_cast<std::size_t>(row)])]) {
            sorted[row]->setSelected(true);
        }
    }
    if (current != nullptr) {
        view->selectionModel()->setCurrentIndex(
            view->model()->index(view->indexOfTopLevelItem(current), 0),
            QItemSelectionModel::NoUpdate);
    }
    view->SyncLayout();
    view->verticalScrollBar()->setValue(top);
    view->quiet = false;
    view->viewport()->update();
}

// ---- Owner painting ---------------------------------------------------------------------

void ListView::SetOwnerPainted(bool owner) {
    if (ReportView* view = ViewOf(this)) {
        view->ownerPainted = owner;
        if (owner) {
            view->setFrameShape(QFrame::NoFrame);
        }
        view->viewport()->update();
    }
}

void ListView::PaintItems(DC& dc) {
    ReportView* view = ViewOf(this);
    if (view == nullptr || view->topLevelItemCount() == 0 || !dc.Impl()->painter) {
        return;
    }
    view->SyncLayout();
    DCImpl& impl = *dc.Impl();
    const bool hadClip = impl.hasClip;
    const QRegion outerClip = hadClip ? impl.clip : QRegion(impl.SurfaceRect());

    const int rowHeight = RowHeight();
    const QPoint offset = view->ViewportOffset();
    const int top = view->verticalScrollBar()->value();
    const int rows = view->viewport()->height() / rowHeight + 1;
    const int last = std::min(view->topLevelItemCount() - 1, top + rows);
    const QHeaderView* header = view->header();
    for (int row = top; row <= last; ++row) {
        const int y = offset.y() + (row - top) * rowHeight;
        const std::uint32_t state = view->StateOf(row);
        for (int visual = 0; visual < header->count(); ++visual) {
            const int column = header->logicalIndex(visual);
            const int width = header->sectionSize(column);
            if (width <= 0 || header->isSectionHidden(column)) {
                continue;
            }
            ItemPaint paint;
            paint.item = row;
            paint.subItem = column;
            paint.cell = Rect::FromXYWH(offset.x() + header->sectionViewportPosition(column), y,
                                        width, rowHeight);
            paint.state = state;
            impl.clip = outerClip.intersected(ToQRect(paint.cell));
            impl.hasClip = true;
            impl.ApplyClip();
            if (view->itemPainter) {
                view->itemPainter(dc, paint);
            } else {
                Rect text = paint.cell;
                dc.DrawText(ItemText(row, column), text, kDtLeft | kDtVCenter | kDtSingleLine);
            }
        }
    }
    impl.clip = outerClip;
    impl.hasClip = hadClip;
    impl.ApplyClip();
}

}  // namespace plat
