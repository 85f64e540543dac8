// A click, as the labels and edit boxes take it: the left button released over the control.
#pragma once

#include <QMouseEvent>
#include <QWidget>
#include <functional>

#include "shell/toolkit/Handler.h"

namespace vortana {

// Runs `onClick` through the handler adapter when `release` completes a click on `control`.
inline void RunOnClick(Desktop& desktop, const QWidget& control, const QMouseEvent& release,
                       const std::function<void()>& onClick) {
    if (release.button() == Qt::LeftButton &&
        control.rect().contains(release.position().toPoint()) && onClick)
        RunHandler(desktop, onClick);
}

}  // namespace vortana
