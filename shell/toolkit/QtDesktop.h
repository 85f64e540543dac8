// QtDesktop: the Desktop of the running program, on Qt's message boxes, file dialog, beep and
// primary screen. User-interface thread only.
#pragma once

#include "shell/toolkit/Desktop.h"

namespace vortana {

class QtDesktop : public Desktop {
  public:
    void ShowMessage(const QString& text) override;
    std::optional<QString> ChooseOpenFile(QWidget* parent, const QString& lastName) override;
    void MessageBeep() override;
    QSize ScreenSize() const override;
    std::string ExeDir() const override;

  protected:
    void ShowErrorBox(const QString& text) override;
};

}  // namespace vortana
