#include "app/boardview.h"

#include "app/game.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace tessarin {

BoardView::BoardView(const Game& game, QWidget* parent) : QWidget(parent), game_(game) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    setZoom(100);
}

void BoardView::setZoom(int percent) {
    zoom_ = percent;
    setFixedSize(Surface::kWidth * percent / 100, Surface::kHeight * percent / 100);
    update();
}

qreal BoardView::wantedScale() const { return devicePixelRatioF() * zoom_ / 100.0; }

QRect BoardView::toWidget(const QRect& r) const {
    const qreal z = zoom_ / 100.0;
    return QRect(QPoint(static_cast<int>(std::floor(r.left() * z)), static_cast<int>(std::floor(r.top() * z))),
                 QPoint(static_cast<int>(std::ceil((r.right() + 1) * z)) - 1,
                        static_cast<int>(std::ceil((r.bottom() + 1) * z)) - 1));
}

void BoardView::paintEvent(QPaintEvent* event) {
    // The screen or the zoom may have changed since the surface was drawn.
    if (!qFuzzyCompare(wantedScale(), game_.surface().scale()) && onScaleWanted) onScaleWanted(wantedScale());
    const QImage& picture = game_.picture();
    const QRect r = event->rect();
    // Widget pixels to picture pixels: the picture holds the surface at the
    // device resolution, so an area of the widget maps onto its own pixels.
    const qreal kx = static_cast<qreal>(picture.width()) / width();
    const qreal ky = static_cast<qreal>(picture.height()) / height();
    QPainter p(this);
    p.drawImage(QRectF(r), picture, QRectF(r.x() * kx, r.y() * ky, r.width() * kx, r.height() * ky));

    const KeyboardCursor& cursor = game_.shell().cursor();
    if (cursor.shown) {
        // Two logical pixels wide, just outside the red frames.
        const qreal z = zoom_ / 100.0;
        const QRectF ring(Shell::cursorRing(cursor.x, cursor.y).topLeft() * z,
                          QSizeF(Shell::cursorRing(cursor.x, cursor.y).size()) * z);
        const qreal w = Shell::kCursorRingWidth * z;
        QPainterPath path;
        path.addRect(ring);
        path.addRect(ring.adjusted(w, w, -w, -w));
        p.fillPath(path, QColor::fromRgb(Shell::kCursorColour));
    }
}

void BoardView::mousePressEvent(QMouseEvent* event) {
    int button = 0;
    switch (event->button()) {
    case Qt::LeftButton: button = 1; break;
    case Qt::RightButton: button = 2; break;
    case Qt::MiddleButton: button = 4; break;
    default: return;
    }
    const QPointF pos = event->position() * (100.0 / zoom_);
    if (onPress && pos.x() >= 0 && pos.y() >= 0)
        onPress(button, static_cast<int>(pos.x()), static_cast<int>(pos.y()));
}

}  // namespace tessarin
