#include "shell/toolkit/TComboBox.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>
#include <QProxyStyle>
#include <QStyleOptionComplex>

#include "shell/toolkit/Handler.h"

namespace vortana {
namespace {

constexpr int kArrowWidth = 12;
constexpr int kFrameWidth = 1;

// A narrow box (a port name in 57 pixels) needs nearly all its width for the text: this style
// leaves the arrow button 12 pixels and the frame one, and gives the rest to the text.
class SlimArrowStyle : public QProxyStyle {
  public:
    explicit SlimArrowStyle(QObject* owner) { setParent(owner); }

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override {
        if (control != CC_ComboBox)
            return QProxyStyle::subControlRect(control, option, part, widget);
        const QRect box = option->rect;
        switch (part) {
            case SC_ComboBoxArrow:
                return QRect(box.right() - kArrowWidth + 1, box.top(), kArrowWidth, box.height());
            case SC_ComboBoxEditField:
                return box.adjusted(kFrameWidth, kFrameWidth, -kArrowWidth, -kFrameWidth);
            default:
                return QProxyStyle::subControlRect(control, option, part, widget);
        }
    }
};

}  // namespace

TComboBox::TComboBox(Desktop& desktop, const QStringList& items, QWidget* parent)
    : QComboBox(parent), desktop_(desktop) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setStyle(new SlimArrowStyle(this));
    addItems(items);
    lineEdit()->installEventFilter(this);
    // QComboBox takes the end of an edit (the text losing the focus, to another control or to
    // the list as it opens) for a pick of the item the text names, and emits activated for it
    // although the user picked nothing. Cut that link: activated then comes from picks alone
    // (the list, the arrow keys, the wheel).
    QObject::disconnect(lineEdit(), &QLineEdit::editingFinished, this, nullptr);
    QObject::connect(lineEdit(), &QLineEdit::textEdited, this, [this] { Changed(); });
    QObject::connect(this, &QComboBox::activated, this, [this] { Changed(); });
}

void TComboBox::SetColours(const QColor& text, const QColor& background) {
    QPalette colours = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::Base, background);
        colours.setColor(group, QPalette::Button, background);
        colours.setColor(group, QPalette::Text, text);
        colours.setColor(group, QPalette::ButtonText, text);
    }
    setPalette(colours);
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
