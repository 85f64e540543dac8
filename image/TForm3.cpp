#include "image/TForm3.h"

#include "shell/toolkit/Look.h"

namespace vortana {

TForm3::TForm3(FormContext context) : context_(context) {
    SetUpForm(*this, "读出操作", 578, 442, FormFrame::Dialog, SongFont(19));
    setObjectName("Form3");
    move(518, 221);
}

}  // namespace vortana
