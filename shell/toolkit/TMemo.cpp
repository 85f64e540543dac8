#include "shell/toolkit/TMemo.h"

#include <QTextBlock>

#include "shell/toolkit/Handler.h"

namespace vortana {

TMemo::TMemo(Desktop& desktop, QWidget* parent) : QPlainTextEdit(parent), desktop_(desktop) {
    // A wrapped line would take several visual lines, and the caret's line would no longer be
    // the text's line.
    setLineWrapMode(QPlainTextEdit::NoWrap);
}

QString TMemo::CaretLine() const {
    return textCursor().block().text();
}

void TMemo::mouseDoubleClickEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseDoubleClickEvent(event);
    if (OnDblClick)
        RunHandler(desktop_, OnDblClick);
}

}  // namespace vortana
