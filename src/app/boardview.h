// The visible board surface: shows the game's off-screen picture and hands
// mouse presses to the game.
#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

namespace tessarin {

class BoardView : public QWidget {
    Q_OBJECT
public:
    BoardView(const QImage& surface, QWidget* parent);

    // Called with the button (1 left, 2 right, 4 middle) and the pixel.
    std::function<void(int button, int x, int y)> onPress;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const QImage& surface_;
};

}  // namespace tessarin
