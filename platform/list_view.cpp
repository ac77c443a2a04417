// Report-mode list view on QTreeWidget: columns, rows of sub-item texts, per-row data, state
// and images; mouse clicks, double-clicks, drags and selection changes are sent to the parent
// as kWmNotify. Derived list views may paint the cells themselves (SetItemPainter).
#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPixmap>
#include <QStyledItemDelegate>
#include <QTreeWidget>

#include "platform/control_impl.h"
#include "platform/controls.h"
#include "platform/draw_impl.h"
#include "platform/qt_text_impl.h"

namespace plat {
namespace {

constexpr int kDataRole = Qt::UserRole;       // the row's item data, on column 0
constexpr int kImageRole = Qt::UserRole + 1;  // the cell's image index

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

class ReportView;

// Sizes rows to the list's row height and hands painting to the list's item painter.
class CellDelegate : public QStyledItemDelegate {
  public:
    CellDelegate(ReportView* view);
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  private:
    ReportView* view_;
};

class ReportView : public QTreeWidget {
  public:
    explicit ReportView(QWidget* parent) : QTreeWidget(parent) {
        setRootIsDecorated(false);
        setItemsExpandable(false);
        setUniformRowHeights(true);
        setSelectionMode(QAbstractItemView::ExtendedSelection);
        setSelectionBehavior(QAbstractItemView::SelectRows);
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        setDragEnabled(false);
        setColumnCount(0);
        header()->setStretchLastSection(false);
        setItemDelegate(new CellDelegate(this));
        connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
                &ReportView::OnSelectionChanged);
        connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                &ReportView::OnCurrentChanged);
    }

    int RowOf(const QTreeWidgetItem* item) const {
        return item != nullptr ? indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item)) : -1;
    }
    QTreeWidgetItem* Row(int row) const {
        return row >= 0 && row < topLevelItemCount() ? topLevelItem(row) : nullptr;
    }

    std::uint32_t StateOf(int row) const {
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

    int RowHeight() const {
        if (rowHeight > 0) {
            return rowHeight;
        }
        const int hinted = topLevelItemCount() > 0 ? sizeHintForRow(0) : -1;
        return hinted > 0 ? hinted : fontMetrics().height() + 4;
    }

    void RefreshIcon(QTreeWidgetItem* item, int column) {
        const QVariant v = item->data(column, kImageRole);
        const Bitmap* bitmap = (images != nullptr && v.isValid()) ? images->At(v.toInt()) : nullptr;
        item->setIcon(
            column, bitmap != nullptr ? QIcon(QPixmap::fromImage(bitmap->Impl()->image)) : QIcon());
    }

    void RefreshAllIcons() {
        for (int row = 0; row < topLevelItemCount(); ++row) {
            for (int column = 0; column < columnCount(); ++column) {
                RefreshIcon(topLevelItem(row), column);
            }
        }
    }

    ImageList* images = nullptr;
    ListView::ItemPainter itemPainter;
    std::uint32_t exStyle = 0;
    int rowHeight = 0;
    std::vector<int> formats;  // per column

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        QTreeWidget::mousePressEvent(event);
        pressPos_ = event->position().toPoint();
        pressRow_ = RowOf(itemAt(pressPos_));
        leftDown_ = event->button() == Qt::LeftButton;
        dragSent_ = false;
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        if (!leftDown_ || pressRow_ < 0 || !(event->buttons() & Qt::LeftButton)) {
            QTreeWidget::mouseMoveEvent(event);
            return;
        }
        // Pressing on a row and moving drags it; the selection does not follow the mouse.
        const QPoint pos = event->position().toPoint();
        if (!dragSent_ &&
            (pos - pressPos_).manhattanLength() >= QApplication::startDragDistance() &&
            (StateOf(pressRow_) & kLvisSelected)) {
            dragSent_ = true;
            ListViewNotify notify;
            notify.item = pressRow_;
            notify.subItem = columnAt(pressPos_.x());
            notify.point = ToClient(pressPos_);
            Send(kLvnBeginDrag, &notify.hdr);
        }
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
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

    void mouseDoubleClickEvent(QMouseEvent* event) override {
        QTreeWidget::mouseDoubleClickEvent(event);
        if (event->button() == Qt::LeftButton) {
            afterDoubleClick_ = true;
            SendActivate(kNmDblClk, event->position().toPoint());
        }
    }

  private:
    Point ToClient(QPoint viewportPos) const {
        const QPoint p = viewportPos + viewport()->pos();
        return {p.x(), p.y()};
    }

    // The list view this widget belongs to; null once it was destroyed (the widget may still
    // emit while it is being deleted).
    Window* Owner() const { return WindowImpl::FromWidget(this); }

    void Send(int code, NotifyHeader* header) {
        Window* owner = Owner();
        if (owner == nullptr || owner->Parent() == nullptr) {
            return;
        }
        header->from = owner;
        header->idFrom = owner->ControlId();
        header->code = code;
        owner->Parent()->SendMessage(kWmNotify, static_cast<WParam>(owner->ControlId()),
                                     reinterpret_cast<LParam>(header));
    }

    void SendActivate(int code, QPoint viewportPos) {
        ItemActivate activate;
        activate.item = RowOf(itemAt(viewportPos));
        activate.subItem = activate.item >= 0 ? columnAt(viewportPos.x()) : 0;
        activate.point = ToClient(viewportPos);
        Send(code, &activate.hdr);
    }

    void SendItemChanged(int row, std::uint32_t changedBits) {
        ListViewNotify notify;
        notify.item = row;
        notify.newState = StateOf(row);
        notify.oldState = notify.newState ^ changedBits;
        Send(kLvnItemChanged, &notify.hdr);
    }

    void OnSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
        for (const QItemSelection* change : {&deselected, &selected}) {
            for (const QModelIndex& index : change->indexes()) {
                if (index.column() == 0) {
                    SendItemChanged(index.row(), kLvisSelected);
                }
            }
        }
    }

    void OnCurrentChanged(const QModelIndex& current, const QModelIndex& previous) {
        if (previous.isValid() && previous.row() < topLevelItemCount()) {
            SendItemChanged(previous.row(), kLvisFocused);
        }
        if (current.isValid()) {
            SendItemChanged(current.row(), kLvisFocused);
        }
    }

    QPoint pressPos_;
    int pressRow_ = -1;
    bool leftDown_ = false;
    bool dragSent_ = false;
    bool afterDoubleClick_ = false;
};

CellDelegate::CellDelegate(ReportView* view) : QStyledItemDelegate(view), view_(view) {}

QSize CellDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (view_->rowHeight > 0) {
        size.setHeight(view_->rowHeight);
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

ReportView* ViewOf(const Window* w) {
    return dynamic_cast<ReportView*>(w->Impl()->widget.data());
}

}  // namespace

// ---- ImageList --------------------------------------------------------------------------

int ImageList::Add(const Bitmap& bitmap) {
    images_.push_back(new Bitmap(bitmap));
    return Count() - 1;
}

const Bitmap* ImageList::At(int index) const {
    return index >= 0 && index < Count() ? images_[static_cast<std::size_t>(index)] : nullptr;
}

ImageList::~ImageList() {
    for (Bitmap* bitmap : images_) {
        delete bitmap;
    }
}

// ---- ListView ---------------------------------------------------------------------------

bool ListView::Create(Window* parent, int id, const Rect& rect, std::uint32_t style) {
    return Window::Create(parent, id, rect, style);
}

bool ListView::CreateNative(const Rect& rect) {
    auto* view = new ReportView(ParentWidgetOf(Parent()));
    view->setGeometry(ToQRect(rect));
    impl_->Attach(view, false);
    return true;
}

void ListView::SetExtendedStyle(std::uint32_t exStyle) {
    if (ReportView* view = ViewOf(this)) {
        view->exStyle = exStyle;
        view->viewport()->update();
    }
}

std::uint32_t ListView::ExtendedStyle() const {
    const ReportView* view = ViewOf(this);
    return view != nullptr ? view->exStyle : 0;
}

void ListView::SetHeaderVisible(bool visible) {
    if (ReportView* view = ViewOf(this)) {
        view->setHeaderHidden(!visible);
    }
}

int ListView::InsertColumn(int index, std::string_view headingCp949, int format, int width) {
    ReportView* view = ViewOf(this);
    if (view == nullptr || index < 0) {
        return -1;
    }
    const int count = view->columnCount();
    const int at = index > count ? count : index;
    view->setColumnCount(count + 1);
    // Later columns move one to the right, with their texts, images and widths.
    QTreeWidgetItem* head = view->headerItem();
    for (int column = count; column > at; --column) {
        head->setText(column, head->text(column - 1));
        head->setTextAlignment(column, Qt::Alignment::fromInt(head->textAlignment(column - 1)));
        view->setColumnWidth(column, view->columnWidth(column - 1));
        for (int row = 0; row < view->topLevelItemCount(); ++row) {
            QTreeWidgetItem* item = view->topLevelItem(row);
            item->setText(column, item->text(column - 1));
            item->setTextAlignment(column, Qt::Alignment::fromInt(item->textAlignment(column - 1)));
            item->setData(column, kImageRole, item->data(column - 1, kImageRole));
            view->RefreshIcon(item, column);
        }
    }
    head->setText(at, ToQString(headingCp949));
    head->setTextAlignment(at, AlignmentFor(format));
    view->setColumnWidth(at, width < 0 ? 0 : width);
    view->formats.insert(view->formats.begin() + at, format);
    for (int row = 0; row < view->topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = view->topLevelItem(row);
        item->setText(at, QString());
        item->setTextAlignment(at, AlignmentFor(format));
        item->setData(at, kImageRole, QVariant());
        view->RefreshIcon(item, at);
    }
    return at;
}

int ListView::ColumnCount() const {
    const ReportView* view = ViewOf(this);
    return view != nullptr ? view->columnCount() : 0;
}

int ListView::ColumnWidth(int column) const {
    const ReportView* view = ViewOf(this);
    return view != nullptr && column >= 0 && column < view->columnCount()
               ? view->columnWidth(column)
               : 0;
}

void ListView::SetColumnWidth(int column, int width) {
    ReportView* view = ViewOf(this);
    if (view != nullptr && column >= 0 && column < view->columnCount()) {
        view->setColumnWidth(column, width < 0 ? 0 : width);
    }
}

int ListView::InsertItem(int index, std::string_view textCp949, int image) {
    ReportView* view = ViewOf(this);
    if (view == nullptr || index < 0) {
        return -1;
    }
    const int count = view->topLevelItemCount();
    const int at = index > count ? count : index;
    auto* item = new QTreeWidgetItem();
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    for (int column = 0; column < view->columnCount(); ++column) {
        item->setTextAlignment(column,
                               AlignmentFor(view->formats[static_cast<std::size_t>(column)]));
    }
    item->setText(0, ToQString(textCp949));
    item->setData(0, kDataRole, QVariant::fromValue<qlonglong>(0));
    view->insertTopLevelItem(at, item);
    if (image >= 0) {
        item->setData(0, kImageRole, image);
        view->RefreshIcon(item, 0);
    }
    return at;
}

bool ListView::SetItemText(int item, int subItem, std::string_view textCp949) {
    ReportView* view = ViewOf(this);
    QTreeWidgetItem* row = view != nullptr ? view->Row(item) : nullptr;
    if (row == nullptr || subItem < 0 || subItem >= view->columnCount()) {
        return false;
    }
    row->setText(subItem, ToQString(textCp949));
    return true;
}

std::string ListView::ItemText(int item, int subItem) const {
    const ReportView* view = ViewOf(this);
    const QTreeWidgetItem* row = view != nullptr ? view->Row(item) : nullptr;
    if (row == nullptr || subItem < 0 || subItem >= view->columnCount()) {
        return {};
    }
    return FromQString(row->text(subItem));
}

bool ListView::SetItemImage(int item, int subItem, int image) {
    ReportView* view = ViewOf(this);
    QTreeWidgetItem* row = view != nullptr ? view->Row(item) : nullptr;
    if (row == nullptr || subItem < 0 || subItem >= std::max(1, view->columnCount())) {
        return false;
    }
    row->setData(subItem, kImageRole, image >= 0 ? QVariant(image) : QVariant());
    view->RefreshIcon(row, subItem);
    return true;
}

int ListView::ItemImage(int item, int subItem) const {
    const ReportView* view = ViewOf(this);
    const QTreeWidgetItem* row = view != nullptr ? view->Row(item) : nullptr;
    if (row == nullptr || subItem < 0) {
        return -1;
    }
    const QVariant v = row->data(subItem, kImageRole);
    return v.isValid() ? v.toInt() : -1;
}

bool ListView::SetItemData(int item, std::intptr_t data) {
    ReportView* view = ViewOf(this);
    QTreeWidgetItem* row = view != nullptr ? view->Row(item) : nullptr;
    if (row == nullptr) {
        return false;
    }
    row->setData(0, kDataRole, QVariant::fromValue<qlonglong>(static_cast<qlonglong>(data)));
    return true;
}

std::intptr_t ListView::ItemData(int item) const {
    const ReportView* view = ViewOf(this);
    const QTreeWidgetItem* row = view != nullptr ? view->Row(item) : nullptr;
    return row != nullptr ? static_cast<std::intptr_t>(row->data(0, kDataRole).toLongLong()) : 0;
}

bool ListView::DeleteItem(int item) {
    ReportView* view = ViewOf(this);
    if (view == nullptr || view->Row(item) == nullptr) {
        return false;
    }
    delete view->takeTopLevelItem(item);
    return true;
}

void ListView::DeleteAllItems() {
    if (ReportView* view = ViewOf(this)) {
        view->clear();
    }
}

int ListView::ItemCount() const {
    const ReportView* view = ViewOf(this);
    return view != nullptr ? view->topLevelItemCount() : 0;
}

bool ListView::SetItemState(int item, std::uint32_t state, std::uint32_t mask) {
    ReportView* view = ViewOf(this);
    if (view == nullptr || (item != -1 && view->Row(item) == nullptr)) {
        return false;
    }
    const int first = item == -1 ? 0 : item;
    const int last = item == -1 ? view->topLevelItemCount() - 1 : item;
    for (int row = first; row <= last; ++row) {
        QTreeWidgetItem* it = view->Row(row);
        if (mask & kLvisSelected) {
            it->setSelected((state & kLvisSelected) != 0);
        }
        if (mask & kLvisFocused) {
            const QModelIndex index = view->model()->index(row, 0);
            if (state & kLvisFocused) {
                view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
            } else if (view->currentItem() == it) {
                view->selectionModel()->setCurrentIndex(QModelIndex(),
                                                        QItemSelectionModel::NoUpdate);
            }
        }
    }
    return true;
}

std::uint32_t ListView::ItemState(int item, std::uint32_t mask) const {
    const ReportView* view = ViewOf(this);
    return view != nullptr ? view->StateOf(item) & mask : 0;
}

int ListView::NextItem(int start, int flags) const {
    const ReportView* view = ViewOf(this);
    if (view == nullptr) {
        return -1;
    }
    const auto wanted = static_cast<std::uint32_t>(flags) & (kLvisSelected | kLvisFocused);
    for (int row = start < -1 ? 0 : start + 1; row < view->topLevelItemCount(); ++row) {
        if ((view->StateOf(row) & wanted) == wanted) {
            return row;
        }
    }
    return -1;
}

int ListView::SelectedCount() const {
    const ReportView* view = ViewOf(this);
    return view != nullptr ? static_cast<int>(view->selectedItems().size()) : 0;
}

void ListView::SetImageList(ImageList* images) {
    if (ReportView* view = ViewOf(this)) {
        view->images = images;
        view->RefreshAllIcons();
    }
}

bool ListView::EnsureVisible(int item) {
    ReportView* view = ViewOf(this);
    QTreeWidgetItem* row = view != nullptr ? view->Row(item) : nullptr;
    if (row == nullptr) {
        return false;
    }
    view->scrollToItem(row);
    return true;
}

int ListView::TopIndex() const {
    const ReportView* view = ViewOf(this);
    if (view == nullptr) {
        return 0;
    }
    const QModelIndex top = view->indexAt(QPoint(1, 1));
    return top.isValid() ? top.row() : 0;
}

int ListView::CountPerPage() const {
    const ReportView* view = ViewOf(this);
    if (view == nullptr) {
        return 0;
    }
    return view->viewport()->height() / std::max(1, view->RowHeight());
}

Rect ListView::ItemRect(int item) const {
    const ReportView* view = ViewOf(this);
    const QTreeWidgetItem* row = view != nullptr ? view->Row(item) : nullptr;
    if (row == nullptr) {
        return {};
    }
    QRect r = view->visualItemRect(row);
    r.translate(view->viewport()->pos());
    return FromQRect(r);
}

int ListView::HitTest(Point client, int* subItem) const {
    const ReportView* view = ViewOf(this);
    if (subItem != nullptr) {
        *subItem = 0;
    }
    if (view == nullptr) {
        return -1;
    }
    const QPoint inViewport = QPoint(client.x, client.y) - view->viewport()->pos();
    if (!view->viewport()->rect().contains(inViewport)) {
        return -1;
    }
    const int row = view->RowOf(view->itemAt(inViewport));
    if (row >= 0 && subItem != nullptr) {
        *subItem = view->columnAt(inViewport.x());
    }
    return row;
}

void ListView::SetRowHeight(int height) {
    if (ReportView* view = ViewOf(this)) {
        view->rowHeight = height > 0 ? height : 0;
        view->doItemsLayout();
    }
}

void ListView::SetItemPainter(ItemPainter painter) {
    if (ReportView* view = ViewOf(this)) {
        view->itemPainter = std::move(painter);
        view->viewport()->update();
    }
}

}  // namespace plat
