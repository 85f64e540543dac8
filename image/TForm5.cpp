#include "image/TForm5.h"

#include "shell/toolkit/Look.h"

namespace vortana {

TForm5::TForm5(FormContext context) : context_(context) {
    SetUpForm(*this, "序列号设置", 271, 225, FormFrame::Dialog, SongFont(12));
    setObjectName("Form5");
    move(515, 265);
}

}  // namespace vortana
