// Files dropped from the desktop onto a list view: accepted only when the list asks for them,
// handed to the list's parent as kWmDropFiles once the drop itself has finished (the handler
// may open a message box, which must not run inside the desktop's drag-and-drop exchange).
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QPointer>
#include <QUrl>

#include "platform/controls/list_view_impl.h"
#include "platform/core/messages.h"
#include "platform/window/window_impl.h"

namespace plat {
namespace {

std::vector<std::string> LocalFiles(const QMimeData* data) {
    std::vector<std::string> paths;
    if (data == nullptr || !data->hasUrls()) {
        return paths;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            paths.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
        }
    }
    return paths;
}

}  // namespace

void ListView::AcceptFileDrops(bool accept) {
    if (ReportView* view = ViewOf(this)) {
        view->acceptFiles = accept;
        view->setAcceptDrops(accept);
        view->viewport()->setAcceptDrops(accept);
    }
}

void ReportView::dragEnterEvent(QDragEnterEvent* event) {
    if (acceptFiles && !LocalFiles(event->mimeData()).empty()) {
        event->acceptProposedAction();
        return;
    }
    QTreeWidget::dragEnterEvent(event);
}

void ReportView::dragMoveEvent(QDragMoveEvent* event) {
    if (acceptFiles && !LocalFiles(event->mimeData()).empty()) {
        event->acceptProposedAction();
        return;
    }
    QTreeWidget::dragMoveEvent(event);
}

void ReportView::dropEvent(QDropEvent* event) {
    DroppedFiles dropped;
    dropped.paths = LocalFiles(event->mimeData());
    if (!acceptFiles || dropped.paths.empty()) {
        QTreeWidget::dropEvent(event);
        return;
    }
    event->acceptProposedAction();
    dropped.point = ToClient(event->position().toPoint());
    QPointer<ReportView> self(this);
    QMetaObject::invokeMethod(
        this,
        [self, dropped] {
            ListView* owner = self ? self->Owner() : nullptr;
            if (owner != nullptr && owner->Parent() != nullptr) {
                owner->Parent()->SendMessage(kWmDropFiles, static_cast<WParam>(owner->ControlId()),
                                             reinterpret_cast<LParam>(&dropped));
            }
        },
        Qt::QueuedConnection);
}

}  // namespace plat
