// TForm4: the file-buffer view, listing the image built from the loaded S-record file under the
// file's name as caption ("读出文件缓冲" until the first load). The loader empties it when a chosen
// file starts to be read and refills it when the whole file has been read without error.
// User-interface thread only.
#pragma once

#include "image/ui/HexView.h"

namespace vortana {

class TForm4 : public HexView {
  public:
    explicit TForm4(Desktop& desktop);

    bool Memo1KeyDown(const QKeyEvent& Key);

  private:
    bool MemoKeyDown(const QKeyEvent& key) override { return Memo1KeyDown(key); }
};

}  // namespace vortana
