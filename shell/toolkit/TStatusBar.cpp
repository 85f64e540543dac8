#include "shell/toolkit/TStatusBar.h"

#include <QLabel>
#include <algorithm>

namespace vortana {
namespace {

constexpr int kDefaultPanelWidth = 50;
constexpr int kPanelGap = 2;  // between two panels, as between sunken boxes

}  // namespace

TStatusBar::TStatusBar(int panelCount, QWidget* parent) : QWidget(parent) {
    for (int i = 0; i < panelCount; ++i) {
        auto* panel = new QLabel(this);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setTextFormat(Qt::PlainText);
        panels_.push_back(panel);
        widths_.push_back(kDefaultPanelWidth);
    }
}

QString TStatusBar::PanelText(int index) const {
    return Panel(index)->text();
}

void TStatusBar::SetPanelText(int index, const QString& text) {
    Panel(index)->setText(text);
}

QString TStatusBar::PanelHint(int index) const {
    return Panel(index)->toolTip();
}

void TStatusBar::SetPanelHint(int index, const QString& hint) {
    Panel(index)->setToolTip(hint);
}

void TStatusBar::SetPanelWidth(int index, int width) {
    widths_.at(static_cast<std::size_t>(index)) = width;
    ArrangePanels();
}

void TStatusBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ArrangePanels();
}

void TStatusBar::ArrangePanels() {
    int left = 0;
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        const bool last = i + 1 == panels_.size();
        const int width = last ? std::max(0, this->width() - left) : widths_[i];
        const int gap = last ? 0 : kPanelGap;
        panels_[i]->setGeometry(left, kPanelGap, std::max(0, width - gap), height() - kPanelGap);
        left += width;
    }
}

}  // namespace vortana
