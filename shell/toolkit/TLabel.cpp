#include "shell/toolkit/TLabel.h"

#include <QEvent>
#include <QMouseEvent>
#include <algorithm>

#include "shell/toolkit/Click.h"
#include "shell/toolkit/Handler.h"
#include "shell/toolkit/Look.h"

namespace vortana {

TLabel::TLabel(Desktop& desktop, QWidget* parent) : QLabel(parent), desktop_(desktop) {}

void TLabel::SetCaption(const QString& caption) {
    setText(caption);
    FitCaption();
}

void TLabel::SetDesignedGeometry(const QRect& place) {
    designedWidth_ = place.width();
    setGeometry(place);
    FitCaption();
}

void TLabel::FitCaption() {
    const int needed = fontMetrics().horizontalAdvance(text()) + 2 * margin();
    resize(std::max(designedWidth_, needed), height());
}

void TLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        FitCaption();
}

void TLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    RunOnClick(desktop_, *this, *event, OnClick);
}

TLabel* CreateDesignedLabel(Desktop& desktop, QWidget* parent, const char* name, const QRect& place,
                            const QString& caption, const QFont& font, const QColor& colour) {
    auto* label = new TLabel(desktop, parent);
    label->setObjectName(name);
    label->setFont(font);
    SetTextColour(*label, colour);
    label->SetCaption(caption);
    label->SetDesignedGeometry(place);
    return label;
}

}  // namespace vortana
