// Report-mode list view: columns, rows of sub-item texts, per-row data, state and images.
#include <QScrollBar>
#include <algorithm>

#include "platform/controls/control_impl.h"
#include "platform/controls/controls.h"
#include "platform/controls/list_view_impl.h"
#include "platform/core/qt_text_impl.h"
#include "platform/draw/draw_impl.h"

namespace plat {

// ---- ListView ---------------------------------------------------------------------------

bool ListView::Create(Window* parent, int id, const Rect& rect, std::uint32_t style) {
    return Window::Create(parent, id, rect, style);
}

bool ListView::CreateNative(const Rect& rect) {
    auto* view = new ReportView(ParentWidgetOf(Parent()));
    view->header()->setStretchLastSection(false);
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

std::string ListView::ColumnHeading(int column) const {
    const ReportView* view = ViewOf(this);
    if (view == nullptr || column < 0 || column >= view->columnCount()) {
        return {};
    }
    return FromQString(view->headerItem()->text(column));
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
    auto* item = new ReportRow();
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
        // No row is under the pointer any more: the list hears that the pointer left its rows.
        SendMessage(kWmMouseLeave, 0, 0);
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
        const Bitmap* first = images != nullptr ? images->At(0) : nullptr;
        view->imageHeight = first != nullptr ? first->Height() : 0;
        view->RefreshAllIcons();
        view->doItemsLayout();  // the rows' height follows the images
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

// ---- Reading rows aloud -----------------------------------------------------------------

void ListView::SetRowReader(RowReader reader) {
    if (ReportView* view = ViewOf(this)) {
        view->rowReader = std::move(reader);
    }
}

std::string ListView::RowReading(int item) const {
    const ReportView* view = ViewOf(this);
    if (view == nullptr || view->Row(item) == nullptr) {
        return {};
    }
    if (view->rowReader) {
        return view->rowReader(item);
    }
    std::string reading;
    for (int column = 0; column < ColumnCount(); ++column) {
        if (ColumnWidth(column) <= 0) {
            continue;
        }
        const std::string text = ItemText(item, column);
        const std::size_t first = text.find_first_not_of(' ');
        if (first == std::string::npos) {
            continue;
        }
        const std::size_t last = text.find_last_not_of(' ');
        reading += (reading.empty() ? "" : ", ") + text.substr(first, last - first + 1);
    }
    return reading;
}

QVariant ReportRow::data(int column, int role) const {
    if (role == Qt::AccessibleTextRole && column == 0) {
        const auto* list = static_cast<const ReportView*>(treeWidget());
        if (const ListView* owner = list != nullptr ? list->Owner() : nullptr) {
            return ToQString(owner->RowReading(list->RowOf(this)));
        }
    }
    return QTreeWidgetItem::data(column, role);
}

}  // namespace plat
