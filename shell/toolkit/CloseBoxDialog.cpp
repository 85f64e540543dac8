#include "shell/toolkit/CloseBoxDialog.h"

#include <QKeyEvent>

namespace vortana {

void CloseBoxDialog::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Cancel)) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace vortana
