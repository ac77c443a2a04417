// The program-wide pointer shape as the toolkit's application override cursor: exactly one
// override is installed while a shape other than the arrow is shown.
#include "platform/window/cursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace plat {
namespace {

struct ShapePair {
    CursorShape shape;
    Qt::CursorShape qt;
};

constexpr ShapePair kShapes[] = {
    {CursorShape::kHand, Qt::PointingHandCursor},  {CursorShape::kSizeAll, Qt::SizeAllCursor},
    {CursorShape::kSizeWE, Qt::SizeHorCursor},     {CursorShape::kSizeNS, Qt::SizeVerCursor},
    {CursorShape::kSizeNWSE, Qt::SizeFDiagCursor}, {CursorShape::kSizeNESW, Qt::SizeBDiagCursor},
};

}  // namespace

void SetProgramCursor(CursorShape shape) {
    if (shape == CursorShape::kArrow) {
        while (QGuiApplication::overrideCursor() != nullptr) {
            QGuiApplication::restoreOverrideCursor();
        }
        return;
    }
    for (const ShapePair& pair : kShapes) {
        if (pair.shape == shape) {
            if (QGuiApplication::overrideCursor() != nullptr) {
                QGuiApplication::changeOverrideCursor(QCursor(pair.qt));
            } else {
                QGuiApplication::setOverrideCursor(QCursor(pair.qt));
            }
            return;
        }
    }
}

CursorShape ProgramCursor() {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    if (cursor == nullptr) {
        return CursorShape::kArrow;
    }
    for (const ShapePair& pair : kShapes) {
        if (pair.qt == cursor->shape()) {
            return pair.shape;
        }
    }
    return CursorShape::kArrow;
}

}  // namespace plat
