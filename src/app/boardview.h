// The visible board surface: shows the game's picture at the window's zoom,
// sharp at the screen's resolution, with the keyboard's cursor over it, and
// hands mouse presses to the game in logical pixels of the surface.
#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

namespace tessarin {

class Game;

class BoardView : public QWidget {
    Q_OBJECT
public:
    BoardView(const Game& game, QWidget* parent);

    // The zoom in percent: the widget is that much larger than the surface.
    void setZoom(int percent);
    int zoom() const { return zoom_; }
    // The scale the surface should be drawn at for this widget: its screen's
    // device pixel ratio times the zoom.
    qreal wantedScale() const;
    // A rectangle of the surface (logical pixels) as widget pixels.
    QRect toWidget(const QRect& surfaceRect) const;

    // Called with the button (1 left, 2 right, 4 middle) and the pixel of
    // the surface.
    std::function<void(int button, int x, int y)> onPress;
    // Called when the surface should be drawn at another scale.
    std::function<void(qreal scale)> onScaleWanted;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const Game& game_;
    int zoom_ = 100;
};

}  // namespace tessarin
