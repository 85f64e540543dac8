#include "shell/toolkit/TRadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QSignalBlocker>
#include <algorithm>

#include "shell/toolkit/Handler.h"

namespace vortana {
namespace {

constexpr int kSideMargin = 8;    // between the frame and the items
constexpr int kBottomMargin = 4;  // below the last row

}  // namespace

TRadioGroup::TRadioGroup(Desktop& desktop, const QString& caption, const QStringList& items,
                         int columns, QWidget* parent)
    : QGroupBox(caption, parent),
      desktop_(desktop),
      group_(new QButtonGroup(this)),
      columns_(std::max(columns, 1)) {
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        group_->addButton(button, i);
        buttons_.push_back(button);
    }
    // toggled covers every way a user selects an item: mouse, arrow keys, shortcut.
    QObject::connect(group_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            UserChecked(id);
    });
}

void TRadioGroup::SetItemIndex(int index) {
    if (index < -1 || index >= Count())
        index = -1;
    if (index == itemIndex_)
        return;
    itemIndex_ = index;
    {
        const QSignalBlocker blocker(group_);
        if (index < 0) {
            // An exclusive group never unchecks its last checked button by itself.
            group_->setExclusive(false);
            for (QRadioButton* button : buttons_)
                button->setChecked(false);
            group_->setExclusive(true);
        } else {
            buttons_[static_cast<std::size_t>(index)]->setChecked(true);
        }
    }
    if (OnClick)
        OnClick();
}

void TRadioGroup::UserChecked(int index) {
    if (index == itemIndex_)
        return;
    itemIndex_ = index;
    if (OnClick)
        RunHandler(desktop_, OnClick);
}

void TRadioGroup::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    ArrangeItems();
}

void TRadioGroup::ArrangeItems() {
    if (buttons_.empty())
        return;
    const int perColumn = (Count() + columns_ - 1) / columns_;
    const int top = fontMetrics().height();
    const int columnWidth = (width() - 2 * kSideMargin) / columns_;
    const int rowHeight = std::max(1, (height() - top - kBottomMargin) / perColumn);
    for (int i = 0; i < Count(); ++i) {
        const int column = i / perColumn;
        const int row = i % perColumn;
        buttons_[static_cast<std::size_t>(i)]->setGeometry(
            kSideMargin + column * columnWidth, top + row * rowHeight, columnWidth, rowHeight);
    }
}

}  // namespace vortana
