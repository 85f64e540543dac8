// TEdit: a one-line edit box with a click handler and a key-press filter.
//
// OnClick runs when the left mouse button is released over the box. OnKeyPress sees every
// character typed into the box before the box takes it, Backspace as '\b' (8) and Enter as '\r'
// (13) included, and may replace it by QChar() (nothing), which drops the key. Keys that type no
// character (arrows, Delete, Home...) pass unseen, and so does pasted text. The hint (tooltip) is
// shown on hover. User-interface thread only.
#pragma once

#include <QLineEdit>
#include <functional>

namespace vortana {

class Desktop;

// The key filter of the digit-only boxes: Backspace, Enter and "0" to "9" pass; any other
// character sounds the message beep and is replaced by nothing.
void FilterDigitKey(Desktop& desktop, QChar& key);

class TEdit : public QLineEdit {
  public:
    TEdit(Desktop& desktop, QWidget* parent);

    QString Text() const { return text(); }
    // A read-only box shows a text set from code from its start, cut at the right when it is
    // longer than the box: Qt would scroll to its end and cut off the start. A box the user types
    // into keeps the caret at the end, where typing goes on.
    void SetText(const QString& value) {
        setText(value);
        if (isReadOnly())
            setCursorPosition(0);
    }
    void SetHint(const QString& hint) { setToolTip(hint); }

    std::function<void()> OnClick;
    std::function<void(QChar& key)> OnKeyPress;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    Desktop& desktop_;
};

}  // namespace vortana
