#include "image/ui/TForm3.h"

namespace vortana {

TForm3::TForm3(Desktop& desktop)
    : HexView(desktop, {.caption = "读出操作",
                        .clientWidth = 578,
                        .clientHeight = 442,
                        .screenPlace = {518, 221},
                        .label1Place = {2, 12, 580, 19},
                        .memo1Place = {0, 32, 577, 409}}) {
    setObjectName("Form3");
}

bool TForm3::FormKeyDown(const QKeyEvent& Key) {
    return HandleMemoKey(Key);
}

}  // namespace vortana
