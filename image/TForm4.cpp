#include "image/TForm4.h"

#include "shell/toolkit/Look.h"

namespace vortana {

TForm4::TForm4(FormContext context) : context_(context) {
    SetUpForm(*this, "读出文件缓冲", 578, 466, FormFrame::Dialog, SongFont(19));
    setObjectName("Form4");
    move(359, 158);
}

}  // namespace vortana
