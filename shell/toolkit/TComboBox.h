// TComboBox: a drop-down combo box with an editable text.
//
// OnChange runs on what the user does to the text, and only then: on every keystroke that edits
// it (typing, deleting, pasting, undo) and on every pick of an item from the list or with the
// arrow keys. Setting the text from code (SetText) runs nothing, and neither does the focus
// leaving the box or the list opening, whatever the text names. Enter in the text does nothing:
// it neither adds an item nor counts as a pick. The list never completes what is typed.
// OnDropDown runs each time the list is about to open, before it shows, so it can refresh the
// items (SetItems); opening the list runs no OnChange. The list may be wider than the box, as wide
// as its longest item needs. User-interface thread only.
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
    // Replaces the items, each with its hint (shown when the pointer rests on it; an empty hint
    // shows none); the text stays as it was and no handler runs.
    void SetItems(const QStringList& items, const QStringList& hints);

    std::function<void()> OnChange;
    std::function<void()> OnDropDown;

    void showPopup() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Changed();

    Desktop& desktop_;
};

}  // namespace vortana
