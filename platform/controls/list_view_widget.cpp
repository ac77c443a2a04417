// The Qt widgets behind a report-mode list view: mouse input turned into notifications and
// messages, the heading row, and the row area's painting in owner-painted mode.
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "platform/controls/control_impl.h"
#include "platform/controls/list_view_impl.h"
#include "platform/draw/draw_impl.h"
#include "platform/window/window_impl.h"

namespace plat {

Qt::Alignment AlignmentFor(int format) {
    switch (format) {
        case kLvcfmtRight:
            return Qt::AlignRight | Qt::AlignVCenter;
        case kLvcfmtCenter:
            return Qt::AlignHCenter | Qt::AlignVCenter;
        default:
            return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

ReportView* ViewOf(const Window* w) {
    return dynamic_cast<ReportView*>(w->Impl()->widget.data());
}

namespace {

// Runs `owner`'s kWmEraseBkgnd and kWmPaint on `surface`, whose top-left corner is the
// client point `origin`.
void PaintThroughMessages(Window* owner, QImage& surface, QPoint origin) {
    WindowImpl* impl = owner->Impl();
    const std::uint64_t key = impl->key;
    DC dc(std::make_unique<DCImpl>(&surface));
    dc.SetWindowOrigin({origin.x(), origin.y()});
    dc.SetBkColor(owner->BackgroundColor());
    impl->paintDC = &dc;
    impl->Dispatch(kWmEraseBkgnd, 0, 0);
    if (WindowImpl::FindLive(key) != nullptr) {
        impl->Dispatch(kWmPaint, 0, 0);
    }
    if (WindowImpl::FindLive(key) != nullptr) {
        impl->paintDC = nullptr;
    }
}

// Keeps `surface` at the device size of `widget`.
void FitSurface(QImage& surface, const QWidget* widget) {
    const qreal ratio = widget->devicePixelRatioF();
    const QSize device = (QSizeF(widget->size()) * ratio).toSize();
    if (surface.size() != device || surface.devicePixelRatio() != ratio) {
        surface = QImage(device, QImage::Format_RGB32);
        surface.setDevicePixelRatio(ratio);
        surface.fill(Qt::black);
    }
}

}  // namespace

// ---- CellDelegate -----------------------------------------------------------------------

CellDelegate::CellDelegate(ReportView* view) : QStyledItemDelegate(view), view_(view) {}

QSize CellDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (view_->rowHeight > 0) {
        size.setHeight(view_->rowHeight);
    } else {
        // Without a set height, rows are at least as tall as the list's images, shown in a row
        // or not (a 1 x 16 image list gives rows of 16 pixels whatever the font).
        size.setHeight(std::max(size.height(), view_->imageHeight));
    }
    return size;
}

void CellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    if (!view_->itemPainter || option.rect.isEmpty()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QImage cell(option.rect.size(), QImage::Format_RGB32);
    cell.fill(Qt::white);
    {
        DC dc(std::make_unique<DCImpl>(&cell));
        ListView::ItemPaint paint;
        paint.item = index.row();
        paint.subItem = index.column();
        paint.cell = Rect{0, 0, cell.width(), cell.height()};
        paint.state = view_->StateOf(index.row());
        view_->itemPainter(dc, paint);
    }
    painter->drawImage(option.rect.topLeft(), cell);
}

// ---- ReportHeader -----------------------------------------------------------------------

ReportHeader::ReportHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setSectionsClickable(true);
    setHighlightSections(false);
    setSortIndicatorShown(false);
    setStretchLastSection(false);
}

QSize ReportHeader::sizeHint() const {
    QSize hint = QHeaderView::sizeHint();
    if (fixedHeight > 0) {
        hint.setHeight(fixedHeight);
    }
    return hint;
}

void ReportHeader::paintEvent(QPaintEvent* event) {
    if (!painter) {
        QHeaderView::paintEvent(event);
        return;
    }
    QWidget* area = viewport();
    FitSurface(surface_, area);
    {
        DC dc(std::make_unique<DCImpl>(&surface_));
        painter(dc, Rect{0, 0, area->width(), area->height()});
    }
    QPainter out(area);
    out.drawImage(0, 0, surface_);
}

// ---- ReportView -------------------------------------------------------------------------

ReportView::ReportView(QWidget* parent) : QTreeWidget(parent) {
    setHeader(new ReportHeader(this));
    header()->setSectionsClickable(true);  // the view sets it from its sorting flag
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setDragEnabled(false);
    setColumnCount(0);
    viewport()->setMouseTracking(true);
    setItemDelegate(new CellDelegate(this));
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ReportView::OnSelectionChanged);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &ReportView::OnCurrentChanged);
    connect(header(), &QHeaderView::sectionClicked, this, &ReportView::OnSectionClicked);
}

int ReportView::RowOf(const QTreeWidgetItem* item) const {
    return item != nullptr ? indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item)) : -1;
}

QTreeWidgetItem* ReportView::Row(int row) const {
    return row >= 0 && row < topLevelItemCount() ? topLevelItem(row) : nullptr;
}

std::uint32_t ReportView::StateOf(int row) const {
    const QTreeWidgetItem* item = Row(row);
    if (item == nullptr) {
        return 0;
    }
    std::uint32_t state = 0;
    if (item->isSelected()) {
        state |= kLvisSelected;
    }
    if (currentItem() == item) {
        state |= kLvisFocused;
    }
    return state;
}

int ReportView::RowHeight() const {
    if (rowHeight > 0) {
        return rowHeight;
    }
    const int hinted = topLevelItemCount() > 0 ? sizeHintForRow(0) : -1;
    return hinted > 0 ? hinted : fontMetrics().height() + 4;
}

void ReportView::RefreshIcon(QTreeWidgetItem* item, int column) {
    const QVariant v = item->data(column, kImageRole);
    const Bitmap* bitmap = (images != nullptr && v.isValid()) ? images->At(v.toInt()) : nullptr;
    item->setIcon(column,
                  bitmap != nullptr ? QIcon(QPixmap::fromImage(bitmap->Impl()->image)) : QIcon());
}

void ReportView::RefreshAllIcons() {
    for (int row = 0; row < topLevelItemCount(); ++row) {
        for (int column = 0; column < columnCount(); ++column) {
            RefreshIcon(topLevelItem(row), column);
        }
    }
}

ListView* ReportView::Owner() const {
    return dynamic_cast<ListView*>(WindowImpl::FromWidget(this));
}

void ReportView::paintEvent(QPaintEvent* event) {
    ListView* owner = Owner();
    if (!ownerPainted || owner == nullptr) {
        QTreeWidget::paintEvent(event);
        return;
    }
    FitSurface(surface_, viewport());
    PaintThroughMessages(owner, surface_, ViewportOffset());
    QPainter out(viewport());
    out.drawImage(0, 0, surface_);
}

void ReportView::mousePressEvent(QMouseEvent* event) {
    QTreeWidget::mousePressEvent(event);
    pressPos_ = event->position().toPoint();
    pressRow_ = RowOf(itemAt(pressPos_));
    leftDown_ = event->button() == Qt::LeftButton;
    dragSent_ = false;
}

void ReportView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (ListView* owner = Owner()) {
        const Point client = ToClient(pos);
        owner->SendMessage(kWmMouseMove, MouseFlags(event->buttons()),
                           MakeLParam(client.x, client.y));
    }
    if (!leftDown_ || pressRow_ < 0 || !(event->buttons() & Qt::LeftButton)) {
        QTreeWidget::mouseMoveEvent(event);
        return;
    }
    // Pressing on a row and moving drags it; the selection does not follow the mouse.
    if (!dragSent_ && (pos - pressPos_).manhattanLength() >= QApplication::startDragDistance() &&
        (StateOf(pressRow_) & kLvisSelected)) {
        dragSent_ = true;
        ListViewNotify notify;
        notify.item = pressRow_;
        notify.subItem = columnAt(pressPos_.x());
        notify.point = ToClient(pressPos_);
        Send(kLvnBeginDrag, &notify.hdr);
    }
}

void ReportView::mouseReleaseEvent(QMouseEvent* event) {
    QTreeWidget::mouseReleaseEvent(event);
    const bool wasDrag = dragSent_;
    const bool afterDouble = afterDoubleClick_;
    leftDown_ = false;
    dragSent_ = false;
    afterDoubleClick_ = false;
    if (wasDrag || afterDouble) {
        return;
    }
    if (event->button() == Qt::LeftButton) {
        SendActivate(kNmClick, event->position().toPoint());
    } else if (event->button() == Qt::RightButton) {
        SendActivate(kNmRClick, event->position().toPoint());
    }
}

void ReportView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) {
        afterDoubleClick_ = true;
        SendActivate(kNmDblClk, event->position().toPoint());
    }
}

void ReportView::wheelEvent(QWheelEvent* event) {
    if (ListView* owner = Owner()) {
        const QPoint global = event->globalPosition().toPoint();
        owner->SendMessage(
            kWmMouseWheel,
            MakeWParam(static_cast<int>(MouseFlags(event->buttons())), event->angleDelta().y()),
            MakeLParam(global.x(), global.y()));
    }
    QTreeWidget::wheelEvent(event);
}

bool ReportView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Leave) {
        SendMouseLeave();
    }
    return QTreeWidget::viewportEvent(event);
}

void ReportView::leaveEvent(QEvent* event) {
    QTreeWidget::leaveEvent(event);
    SendMouseLeave();
}

// The list's own table hears kWmMouseLeave when the pointer leaves its rows.
void ReportView::SendMouseLeave() {
    if (ListView* owner = Owner()) {
        owner->SendMessage(kWmMouseLeave, 0, 0);
    }
}

Point ReportView::ToClient(QPoint viewportPos) const {
    const QPoint p = viewportPos + ViewportOffset();
    return {p.x(), p.y()};
}

void ReportView::Send(int code, NotifyHeader* header) {
    ListView* owner = Owner();
    if (quiet || owner == nullptr) {
        return;
    }
    header->from = owner;
    header->idFrom = owner->ControlId();
    header->code = code;
    const auto id = static_cast<WParam>(owner->ControlId());
    const auto param = reinterpret_cast<LParam>(header);
    // The list's own table may take its notifications about itself.
    if (owner->Messages().Handles({owner, kWmReflectNotify, id, param})) {
        owner->SendMessage(kWmReflectNotify, id, param);
        return;
    }
    if (owner->Parent() != nullptr) {
        owner->Parent()->SendMessage(kWmNotify, id, param);
    }
}

void ReportView::SendActivate(int code, QPoint viewportPos) {
    ItemActivate activate;
    activate.item = RowOf(itemAt(viewportPos));
    activate.subItem = activate.item >= 0 ? columnAt(viewportPos.x()) : 0;
    activate.point = ToClient(viewportPos);
    Send(code, &activate.hdr);
}

void ReportView::SendItemChanged(int row, std::uint32_t changedBits) {
    ListViewNotify notify;
    notify.item = row;
    notify.newState = StateOf(row);
    notify.oldState = notify.newState ^ changedBits;
    Send(kLvnItemChanged, &notify.hdr);
}

void ReportView::OnSelectionChanged(const QItemSelection& selected,
                                    const QItemSelection& deselected) {
    for (const QItemSelection* change : {&deselected, &selected}) {
        for (const QModelIndex& index : change->indexes()) {
            if (index.column() == 0) {
                SendItemChanged(index.row(), kLvisSelected);
            }
        }
    }
}

void ReportView::OnCurrentChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (previous.isValid() && previous.row() < topLevelItemCount()) {
        SendItemChanged(previous.row(), kLvisFocused);
    }
    if (current.isValid()) {
        SendItemChanged(current.row(), kLvisFocused);
    }
}

void ReportView::OnSectionClicked(int column) {
    ListViewNotify notify;
    notify.subItem = column;
    Send(kLvnColumnClick, &notify.hdr);
}

}  // namespace plat
