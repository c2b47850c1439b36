#include "app/boardview.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace tessarin {

BoardView::BoardView(const QImage& surface, QWidget* parent) : QWidget(parent), surface_(surface) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    setFixedSize(surface.size());
}

void BoardView::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.drawImage(event->rect(), surface_, event->rect());
}

void BoardView::mousePressEvent(QMouseEvent* event) {
    int button = 0;
    switch (event->button()) {
    case Qt::LeftButton: button = 1; break;
    case Qt::RightButton: button = 2; break;
    case Qt::MiddleButton: button = 4; break;
    default: return;
    }
    const QPoint pos = event->position().toPoint();
    if (onPress && pos.x() >= 0 && pos.y() >= 0) onPress(button, pos.x(), pos.y());
}

}  // namespace tessarin
