// CloseBoxDialog: a dialog window with no key command of its own: the user closes it with its
// close box, its code with close(). Escape, which closes a QDialog, does nothing here; every
// other key is handled as in any QDialog. User-interface thread only.
#pragma once

#include <QDialog>

namespace vortana {

class CloseBoxDialog : public QDialog {
  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace vortana
