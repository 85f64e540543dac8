// TOpenDialog: the file-open dialog a window owns. Execute shows it through the Desktop (so tests
// can answer it) and remembers the chosen file; the next Execute opens where that file lies.
// User-interface thread only.
#pragma once

#include <QString>

class QWidget;

namespace vortana {

class Desktop;

class TOpenDialog {
  public:
    TOpenDialog(Desktop& desktop, QWidget* owner) : desktop_(desktop), owner_(owner) {}

    // Shows the dialog modally: true with FileName set to the chosen file's full path, or false
    // when the user cancelled (FileName keeps its value).
    bool Execute();
    const QString& FileName() const { return fileName_; }

  private:
    Desktop& desktop_;
    QWidget* owner_;
    QString fileName_;
};

}  // namespace vortana
