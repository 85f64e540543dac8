// FakeDesktop: the Desktop of the widget tests. It records what the program would show and
// answers as a user would, at once: boxes are closed with OK, the file-open dialog returns the
// queued answers in turn (an empty answer, or nothing queued: the user cancels). Screen size and
// executable directory are what the test sets.
#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "shell/toolkit/Desktop.h"

namespace vortana {

class FakeDesktop : public Desktop {
  public:
    void ShowMessage(const QString& text) override;
    std::optional<QString> ChooseOpenFile(QWidget* parent, const QString& lastName) override;
    void MessageBeep() override { ++Beeps; }
    QSize ScreenSize() const override { return Screen; }
    std::string ExeDir() const override { return Dir; }

    QStringList Messages;  // information boxes, in order
    QStringList Errors;    // standard error boxes, in order, as shown
    int Beeps = 0;
    QSize Screen{1280, 1024};
    std::string Dir = "/nonexistent/";
    std::deque<QString> FileAnswers;
    QStringList FileDialogStarts;  // the last file name each dialog opened with
    // Runs while a file dialog is "open", before it answers.
    std::function<void()> WhileFileDialogOpen;
    // Run while an error box or an information box is "open", as events handled by its nested
    // loop would.
    std::function<void()> WhileErrorBoxOpen;
    std::function<void(const QString& text)> WhileMessageOpen;

  protected:
    void ShowErrorBox(const QString& text) override;
};

}  // namespace vortana
