// TForm3: the read-out view, listing what the device read out of the chip, page after page, as
// the dispatcher appends it (also while the view is shown). Emptied at every read-out start.
// User-interface thread only.
#pragma once

#include "image/ui/HexView.h"

namespace vortana {

class TForm3 : public HexView {
  public:
    explicit TForm3(Desktop& desktop);

    bool FormKeyDown(const QKeyEvent& Key);  // key-down of Memo1

  private:
    bool MemoKeyDown(const QKeyEvent& key) override { return FormKeyDown(key); }
};

}  // namespace vortana
