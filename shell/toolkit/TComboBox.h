// TComboBox: a drop-down combo box with an editable text.
//
// OnChange runs on what the user does to the text, and only then: on every keystroke that edits
// it (typing, deleting, pasting, undo) and on every pick of an item from the list or with the
// arrow keys. Setting the text from code (SetText) runs nothing, and neither does the focus
// leaving the box or the list opening, whatever the text names. Enter in the text does nothing:
// it neither adds an item nor counts as a pick. The list never completes what is typed.
// User-interface thread only.
#pragma once

#include <QComboBox>
#include <functional>

namespace vortana {

class Desktop;

class TComboBox : public QComboBox {
  public:
    TComboBox(Desktop& desktop, const QStringList& items, QWidget* parent);

    QString Text() const { return currentText(); }
    void SetText(const QString& text);
    void SetColours(const QColor& text, const QColor& background);

    std::function<void()> OnChange;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Changed();

    Desktop& desktop_;
};

}  // namespace vortana
