// TForm2: the model list, a fixed-size dialog filled by the read-only text box Memo1 that shows
// the model catalogue as loaded. Memo1 never wraps its lines, so the caret's line number is the
// number of the catalogue line it stands on.
//
// Memo1DblClick picks the double-clicked line: the list closes, and the line is either taken
// (session model fields, the main window's Edit1 and Edit2, the buttons that need a model) or
// refused with a message that says why, changing nothing else.
// Escape does not close the list. Shown modally by the main window's Button1Click;
// user-interface thread only.
#pragma once

#include <QStringList>

#include "shell/Forms.h"
#include "shell/toolkit/CloseBoxDialog.h"
#include "shell/toolkit/TMemo.h"

namespace vortana {

class TForm2 : public CloseBoxDialog {
  public:
    explicit TForm2(FormContext context);

    // Replaces all lines of Memo1.
    void SetLines(const QStringList& lines);

    void Memo1DblClick();

    TMemo* Memo1;

  private:
    FormContext context_;
};

}  // namespace vortana
