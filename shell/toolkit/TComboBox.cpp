#include "shell/toolkit/TComboBox.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "shell/toolkit/Handler.h"

namespace vortana {

TComboBox::TComboBox(Desktop& desktop, const QStringList& items, QWidget* parent)
    : QComboBox(parent), desktop_(desktop) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    addItems(items);
    lineEdit()->installEventFilter(this);
    QObject::connect(lineEdit(), &QLineEdit::textEdited, this, [this] { Changed(); });
    QObject::connect(this, &QComboBox::activated, this, [this] { Changed(); });
}

void TComboBox::SetText(const QString& text) {
    lineEdit()->setText(text);
}

bool TComboBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return true;  // QComboBox would take it as a pick of the matching item
    }
    return QComboBox::eventFilter(watched, event);
}

void TComboBox::Changed() {
    if (OnChange)
        RunHandler(desktop_, OnChange);
}

}  // namespace vortana
