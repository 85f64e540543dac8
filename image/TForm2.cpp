#include "image/TForm2.h"

#include <QPlainTextEdit>

#include "shell/toolkit/Look.h"

namespace vortana {
namespace {

constexpr int kClientWidth = 541;
constexpr int kClientHeight = 442;
// The catalogue stands in fixed columns: a face in which a Chinese character takes exactly two
// columns keeps them lined up.
constexpr int kListFontPixels = 16;

}  // namespace

TForm2::TForm2(FormContext context) : Memo1(new QPlainTextEdit(this)), context_(context) {
    SetUpForm(*this, "VORTANAMCU型号", kClientWidth, kClientHeight, FormFrame::Dialog,
              SongFont(kListFontPixels));
    setObjectName("Form2");
    Memo1->setObjectName("Memo1");
    Memo1->setGeometry(0, 0, kClientWidth, kClientHeight);
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setFont(SongMonoFont(kListFontPixels));
    SetBoxColours(*Memo1, Qt::black, kSilver);
}

void TForm2::SetLines(const QStringList& lines) {
    Memo1->setPlainText(lines.join(u'\n'));
}

}  // namespace vortana
