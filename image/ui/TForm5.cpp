#include "image/ui/TForm5.h"

#include <QPushButton>

#include "image/SerialNumber.h"
#include "shell/toolkit/ControlDesign.h"
#include "shell/toolkit/Desktop.h"
#include "shell/toolkit/Handler.h"
#include "shell/toolkit/Look.h"
#include "shell/toolkit/TEdit.h"
#include "shell/toolkit/TLabel.h"

namespace vortana {
namespace {

constexpr int kClientWidth = 271;
constexpr int kClientHeight = 225;
constexpr QPoint kScreenPlace{515, 265};
constexpr int kFontPixels = 12;

constexpr char kFirstStart[] = "1";  // both boxes as "是" opens the dialog
constexpr char kNoStart[] = "0";     // the start box while there is no serial number
constexpr char kIncrement[] = "1";   // the increment box, either way

// The dialog's design; place is left, top, width, height of the client area.
const LabelDesign<TForm5> kLabels[] = {
    {&TForm5::Label3,
     "Label3",
     {32, 40, 144, 12},
     "（注：最大10位阿拉伯数）",
     kFontPixels,
     kBlue,
     false},
    {&TForm5::Label1, "Label1", {32, 80, 60, 12}, "起始序号：", kFontPixels, Qt::black, false},
    {&TForm5::Label2, "Label2", {32, 120, 60, 12}, "递增基数：", kFontPixels, Qt::black, false},
};

const EditDesign<TForm5> kEdits[] = {
    {.control = &TForm5::Edit1,
     .name = "Edit1",
     .place = {96, 72, 121, 20},
     .pixels = kFontPixels,
     .maxLength = 10,
     .keyPress = &TForm5::Edit1KeyPress},
    {.control = &TForm5::Edit2,
     .name = "Edit2",
     .place = {96, 112, 121, 20},
     .pixels = kFontPixels,
     .maxLength = 1,
     .keyPress = &TForm5::Edit2KeyPress},
};

constexpr QRect kButton1Place{96, 176, 75, 25};

}  // namespace

TForm5::TForm5(WindowContext context) : context_(context) {
    const QFont font = SongFont(kFontPixels);
    SetUpForm(*this, "序列号设置", kClientWidth, kClientHeight, FormFrame::Dialog, font);
    setObjectName("Form5");
    move(kScreenPlace);
    CreateLabels<TForm5>(context_.Desk, *this, kLabels);
    CreateEdits<TForm5>(context_.Desk, *this, kEdits);
    SetFields(false, kNoStart);
    Button1 = new QPushButton("确  定", this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(kButton1Place);
    Button1->setFont(font);
    // Enter in a box must not press OK as a default button would: OK runs on a click only.
    Button1->setAutoDefault(false);
    ConnectHandler(context_.Desk, Button1, &QPushButton::clicked, this, &TForm5::Button1Click);
}

void TForm5::SetFields(bool enabled, const char* start) {
    Edit1->setEnabled(enabled);
    Edit2->setEnabled(enabled);
    Edit1->SetText(start);
    Edit2->SetText(kIncrement);
}

void TForm5::AskForSerialNumbers() {
    SetFields(true, kFirstStart);
    exec();
}

void TForm5::ForgetSerialNumbers() {
    ClearSerialNumber(context_.State);
    SetFields(false, kNoStart);
}

void TForm5::Edit1KeyPress(QChar& Key) {
    FilterDigitKey(context_.Desk, Key);
}

void TForm5::Edit2KeyPress(QChar& Key) {
    FilterDigitKey(context_.Desk, Key);
}

void TForm5::Button1Click() {
    const std::optional<std::string> outOfRange = ApplySerialNumberTexts(
        Edit1->Text().toStdString(), Edit2->Text().toStdString(), context_.State);
    if (outOfRange) {
        context_.Desk.ShowMessage(QString::fromStdString(*outOfRange));
        return;
    }
    close();
}

}  // namespace vortana
