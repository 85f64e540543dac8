// QtDesktop: the Desktop of the running program, on Qt's message boxes, file dialog, beep and
// primary screen. User-interface thread only.
//
// A window manager cuts a caption that is wider than its window's title bar ("VOR... mer"), and a
// box of a short text is narrow: every box is made at least as wide as its caption needs in the
// title bar's face, plus kTitleBarFurniture for the frame's icon and buttons.
#pragma once

#include "shell/toolkit/Desktop.h"

namespace vortana {

inline constexpr int kTitleBarFurniture = 100;  // pixels

// The narrowest box that shows `caption` whole in its title bar.
int BoxWidthForCaption(const QString& caption);

class QtDesktop : public Desktop {
  public:
    void ShowMessage(const QString& text) override;
    std::optional<QString> ChooseOpenFile(QWidget* parent, const QString& lastName) override;
    std::optional<QString> ChooseSaveFile(QWidget* parent) override;
    void MessageBeep() override;
    QSize ScreenSize() const override;
    std::string ExeDir() const override;

  protected:
    void ShowErrorBox(const QString& text) override;
};

}  // namespace vortana
