// ScreenCentring: places a top-level window in the middle of the screen by its outer size, the
// window manager's frame included.
//
// The frame is known only once the window has been shown and the window manager has framed it
// (on X11 some time after the show). Until then the window is placed by its client size and the
// frame last seen; once a frame first shows (the window is moved or resized as it is framed), it
// is placed again, by its outer size. Each window rounds the halves its own way: the placement
// function gives the window's outer top-left for a screen size and the window's outer size.
// Owned by the window it places (a Qt child of it). User-interface thread only.
#pragma once

#include <QMargins>
#include <QObject>
#include <QPoint>
#include <QSize>

class QWidget;

namespace vortana {

// A window's outer top-left on a screen of size `screen` for its outer size `outer`.
using Placement = QPoint (*)(QSize screen, QSize outer);

// left := (screen width - outer width) div 2, top likewise (halves rounded toward zero).
QPoint HalfTheSpareRoom(QSize screen, QSize outer);
// left := screen width div 2 - outer width div 2, top likewise.
QPoint HalfScreenLessHalfWindow(QSize screen, QSize outer);

class ScreenCentring : public QObject {
  public:
    ScreenCentring(QWidget& window, Placement placement);

    // Places the window on a screen of size `screen`, and again once its frame is known.
    void Centre(QSize screen);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QMargins FrameNow() const;
    void Place();

    QWidget& window_;
    Placement placement_;
    QSize screen_;
    QMargins frame_;  // the frame last seen; none before the window was first framed
    bool awaitingFrame_ = false;
};

}  // namespace vortana
