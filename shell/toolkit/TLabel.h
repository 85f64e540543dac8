// TLabel: a text label with a click handler that grows to show its whole text.
//
// The label keeps its designed place; when a caption is wider than the designed width the label
// grows to the right (never shrinks below the design), so no text is ever cut off.
// OnClick runs when the left mouse button is released over the label.
// User-interface thread only.
#pragma once

#include <QLabel>
#include <functional>

namespace vortana {

class Desktop;

class TLabel : public QLabel {
  public:
    TLabel(Desktop& desktop, QWidget* parent);

    QString Caption() const { return text(); }
    void SetCaption(const QString& caption);
    // The designed place; the label grows from it as its caption needs.
    void SetDesignedGeometry(const QRect& place);
    int DesignedWidth() const { return designedWidth_; }

    std::function<void()> OnClick;

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void FitCaption();

    Desktop& desktop_;
    int designedWidth_ = 0;
};

// A label of a window's design: named `name`, in `font` and `colour`, showing `caption` from its
// designed place on, owned by `parent`.
TLabel* CreateDesignedLabel(Desktop& desktop, QWidget* parent, const char* name, const QRect& place,
                            const QString& caption, const QFont& font, const QColor& colour);

}  // namespace vortana
