// TMemo: a multi-line text box whose lines are the lines of its text (it never wraps them), with
// a double-click handler.
//
// OnDblClick runs through the handler adapter after the box has taken the double click: the
// caret then stands on the clicked line, so CaretLine() is the text line that was clicked.
// User-interface thread only.
#pragma once

#include <QPlainTextEdit>
#include <functional>

namespace vortana {

class Desktop;

class TMemo : public QPlainTextEdit {
  public:
    TMemo(Desktop& desktop, QWidget* parent);

    // The text of the line the caret stands on, without its line end.
    QString CaretLine() const;

    std::function<void()> OnDblClick;

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    Desktop& desktop_;
};

}  // namespace vortana
