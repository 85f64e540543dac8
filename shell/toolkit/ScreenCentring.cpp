#include "shell/toolkit/ScreenCentring.h"

#include <QEvent>
#include <QWidget>

namespace vortana {

QPoint HalfTheSpareRoom(QSize screen, QSize outer) {
    return {(screen.width() - outer.width()) / 2, (screen.height() - outer.height()) / 2};
}

QPoint HalfScreenLessHalfWindow(QSize screen, QSize outer) {
    return {screen.width() / 2 - outer.width() / 2, screen.height() / 2 - outer.height() / 2};
}

ScreenCentring::ScreenCentring(QWidget& window, Placement placement)
    : QObject(&window), window_(window), placement_(placement) {
    window_.installEventFilter(this);
}

void ScreenCentring::Centre(QSize screen) {
    screen_ = screen;
    const QMargins frame = FrameNow();
    if (!frame.isNull())
        frame_ = frame;
    awaitingFrame_ = frame_.isNull();
    Place();
}

bool ScreenCentring::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (awaitingFrame_ && watched == &window_ &&
        (type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize)) {
        const QMargins frame = FrameNow();
        if (!frame.isNull()) {
            frame_ = frame;
            awaitingFrame_ = false;
            Place();
        }
    }
    return QObject::eventFilter(watched, event);
}

QMargins ScreenCentring::FrameNow() const {
    const QRect outer = window_.frameGeometry();
    const QRect client = window_.geometry();
    return {client.left() - outer.left(), client.top() - outer.top(),
            outer.right() - client.right(), outer.bottom() - client.bottom()};
}

void ScreenCentring::Place() {
    window_.move(placement_(screen_, window_.size().grownBy(frame_)));
}

}  // namespace vortana
