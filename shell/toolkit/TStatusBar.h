// TStatusBar: a status bar of text panels along the bottom edge of a window.
//
// Each panel but the last has its own width; the last one takes what is left. Texts are shown
// as they are, leading blanks included. User-interface thread only.
#pragma once

#include <QWidget>
#include <vector>

class QLabel;

namespace vortana {

class TStatusBar : public QWidget {
  public:
    TStatusBar(int panelCount, QWidget* parent);

    QString PanelText(int index) const;
    void SetPanelText(int index, const QString& text);
    // Shown when the pointer rests on the panel; an empty hint shows none.
    QString PanelHint(int index) const;
    void SetPanelHint(int index, const QString& hint);
    int PanelWidth(int index) const { return widths_.at(static_cast<std::size_t>(index)); }
    void SetPanelWidth(int index, int width);
    QLabel* Panel(int index) const { return panels_.at(static_cast<std::size_t>(index)); }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void ArrangePanels();

    std::vector<QLabel*> panels_;
    std::vector<int> widths_;
};

}  // namespace vortana
