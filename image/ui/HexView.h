// HexView: what the read-out view (TForm3) and the file-buffer view (TForm4) share: a fixed-size
// dialog with the column header label Label1 over the read-only listing Memo1, both in a
// fixed-pitch face so the header's headings stand over the byte columns of the rows.
//
// The producers only empty the listing and append rows (hex dump rows, HexRow.h) as new last
// lines; a whole page or image comes in one call, added in one go. The one key command: Ctrl+A
// (Ctrl alone, no Shift, no Alt, no mouse button) selects the whole listing; every other key is
// left to the read-only text box, and Escape does not close the view. The view neither saves nor
// prints. User-interface thread only.
#pragma once

#include <QRect>
#include <span>
#include <string>

#include "shell/toolkit/CloseBoxDialog.h"

class QKeyEvent;
class QLabel;
class QPlainTextEdit;

namespace vortana {

class HexView : public CloseBoxDialog {
  public:
    void ClearRows();
    void AppendRows(std::span<const std::string> rows);
    QStringList Rows() const;

    QLabel* Label1;
    QPlainTextEdit* Memo1;

  protected:
    struct Design {
        const char* caption;
        int clientWidth;
        int clientHeight;
        QPoint screenPlace;
        QRect label1Place;
        QRect memo1Place;
    };
    explicit HexView(const Design& design);

    // The key-down handler of Memo1; true when the key is used up: the letter A with Ctrl held,
    // which selects the whole listing when Ctrl is the only key and no mouse button is held,
    // and does nothing otherwise.
    bool HandleMemoKey(const QKeyEvent& key);

  private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    virtual bool MemoKeyDown(const QKeyEvent& key) = 0;
};

}  // namespace vortana
