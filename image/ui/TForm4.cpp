#include "image/ui/TForm4.h"

namespace vortana {

TForm4::TForm4(Desktop& desktop)
    : HexView(desktop, {.caption = "读出文件缓冲",
                        .clientWidth = 578,
                        .clientHeight = 466,
                        .screenPlace = {359, 158},
                        .label1Place = {2, 6, 580, 19},
                        .memo1Place = {0, 24, 577, 441}}) {
    setObjectName("Form4");
}

bool TForm4::Memo1KeyDown(const QKeyEvent& Key) {
    return HandleMemoKey(Key);
}

}  // namespace vortana
