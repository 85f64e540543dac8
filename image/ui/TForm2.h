// TForm2: the model list, a fixed-size dialog filled by the read-only text box Memo1 that shows
// the model catalogue as loaded. Memo1 never wraps its lines, so the caret's line number is the
// number of the catalogue line it stands on.
//
// Memo1DblClick picks the double-clicked line: the list closes, and the line is either taken
// (session model fields stored, then OnModelPicked tells the owner, which fills its model and
// address boxes and enables the buttons that need a model) or refused with a message that says
// why, changing nothing else.
// Escape does not close the list. Shown modally by the main window's Button1Click, which sets
// OnModelPicked; user-interface thread only.
#pragma once

#include <QStringList>
#include <functional>

#include "shell/toolkit/CloseBoxDialog.h"
#include "shell/toolkit/TMemo.h"
#include "shell/toolkit/WindowContext.h"

namespace vortana {

struct ModelPick;

class TForm2 : public CloseBoxDialog {
  public:
    explicit TForm2(WindowContext context);

    // Replaces all lines of Memo1.
    void SetLines(const QStringList& lines);

    void Memo1DblClick();

    TMemo* Memo1;
    // Runs after a taken line is stored in the session; a refused line never reaches it.
    std::function<void(const ModelPick&)> OnModelPicked;

  private:
    WindowContext context_;
};

}  // namespace vortana
