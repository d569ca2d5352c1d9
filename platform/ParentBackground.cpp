// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ParentBackground.h"

#include "platform/Bitmap.h"

#include <QPainter>
#include <QWidget>

void CaptureParentBackground(const QWidget& control, TBitmap& into) {
    const QRect area = control.geometry();
    QImage image(area.size(), QImage::Format_RGB32);
    if (image.isNull()) {
        into.SetSize(0, 0);
        return;
    }
    QWidget* parent = control.parentWidget();
    const QWidget& colourSource = parent ? *parent : control;
    image.fill(colourSource.palette().color(colourSource.backgroundRole()));
    if (parent) {
        QPainter painter(&image);
        // The parent's own painting, without any of its children ...
        parent->render(&painter, QPoint(), QRegion(area), QWidget::DrawWindowBackground);
        // ... then the siblings beneath the control, lowest first (Qt keeps
        // the children in stacking order).
        for (QObject* child : parent->children()) {
            if (child == &control)
                break;
            auto* sibling = qobject_cast<QWidget*>(child);
            if (!sibling || sibling->isHidden() || sibling->isWindow())
                continue;
            const QRect overlap = sibling->geometry() & area;
            if (overlap.isEmpty())
                continue;
            const QRect source = overlap.translated(-sibling->pos());
            sibling->render(&painter, overlap.topLeft() - area.topLeft(), QRegion(source),
                            QWidget::DrawWindowBackground | QWidget::DrawChildren);
        }
    }
    into.SetImage(image);
}
