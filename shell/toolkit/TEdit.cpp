#include "shell/toolkit/TEdit.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "shell/toolkit/Click.h"
#include "shell/toolkit/Desktop.h"
#include "shell/toolkit/Handler.h"

namespace vortana {
namespace {

constexpr char16_t kBackspace = 8;
constexpr char16_t kEnter = 13;

// The character a key event types, or nothing for keys that type none.
QChar TypedCharacter(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Backspace:
            return QChar(kBackspace);
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return QChar(kEnter);
        default:
            return event.text().size() == 1 ? event.text().front() : QChar();
    }
}

}  // namespace

void FilterDigitKey(Desktop& desktop, QChar& key) {
    const char16_t code = key.unicode();
    if (code == kBackspace || code == kEnter || (code >= u'0' && code <= u'9'))
        return;
    desktop.MessageBeep();
    key = QChar();
}

TEdit::TEdit(Desktop& desktop, QWidget* parent) : QLineEdit(parent), desktop_(desktop) {}

void TEdit::keyPressEvent(QKeyEvent* event) {
    const QChar typed = TypedCharacter(*event);
    if (typed.isNull() || !OnKeyPress) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    QChar key = typed;
    bool stopped = true;  // a handler that throws takes the key with it
    RunHandler(desktop_, [&] {
        OnKeyPress(key);
        stopped = false;
    });
    if (stopped || key.isNull()) {
        event->accept();
    } else if (key == typed) {
        QLineEdit::keyPressEvent(event);
    } else {
        QKeyEvent replaced(QEvent::KeyPress, 0, Qt::NoModifier, QString(key));
        QLineEdit::keyPressEvent(&replaced);
    }
}

void TEdit::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    RunOnClick(desktop_, *this, *event, OnClick);
}

}  // namespace vortana
