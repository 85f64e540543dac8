// TRadioGroup: a captioned group of radio buttons with one item index.
//
// The items are laid out in `columns` columns, filled top to bottom, then left to right.
// OnClick runs whenever the index changes: when the user picks another item, and when code sets
// ItemIndex to a different value (called directly, so an error it raises goes on to the code
// that set the index). Picking the item that is already selected, or setting the same index,
// runs nothing. The index is -1 when no item is selected. User-interface thread only.
#pragma once

#include <QGroupBox>
#include <QStringList>
#include <functional>
#include <vector>

class QButtonGroup;
class QRadioButton;

namespace vortana {

class Desktop;

class TRadioGroup : public QGroupBox {
  public:
    TRadioGroup(Desktop& desktop, const QString& caption, const QStringList& items, int columns,
                QWidget* parent);

    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    int Count() const { return static_cast<int>(buttons_.size()); }
    QRadioButton* Item(int index) const { return buttons_.at(static_cast<std::size_t>(index)); }

    std::function<void()> OnClick;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void UserChecked(int index);
    void ArrangeItems();

    Desktop& desktop_;
    QButtonGroup* group_;
    std::vector<QRadioButton*> buttons_;
    int columns_;
    int itemIndex_ = -1;
};

}  // namespace vortana
