#include "image/ui/TForm2.h"

#include "image/ModelPick.h"
#include "shell/toolkit/Desktop.h"
#include "shell/toolkit/Look.h"
#include "shell/toolkit/TMemo.h"

namespace vortana {
namespace {

constexpr int kClientWidth = 541;
constexpr int kClientHeight = 442;
// The catalogue stands in fixed columns: a face in which a Chinese character takes exactly two
// columns keeps them lined up.
constexpr int kListFontPixels = 16;

}  // namespace

TForm2::TForm2(WindowContext context) : Memo1(new TMemo(context.Desk, this)), context_(context) {
    SetUpForm(*this, "VORTANAMCU型号", kClientWidth, kClientHeight, FormFrame::Dialog,
              SongFont(kListFontPixels));
    setObjectName("Form2");
    Memo1->setObjectName("Memo1");
    Memo1->setGeometry(0, 0, kClientWidth, kClientHeight);
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setFont(SongMonoFont(kListFontPixels));
    SetBoxColours(*Memo1, Qt::black, kSilver);
    Memo1->OnDblClick = [this] { Memo1DblClick(); };
}

void TForm2::SetLines(const QStringList& lines) {
    Memo1->setPlainText(lines.join(u'\n'));
}

void TForm2::Memo1DblClick() {
    const std::string line = Memo1->CaretLine().toStdString();
    close();
    const ModelPickOutcome outcome = PickModel(line);
    if (!outcome.pick) {
        context_.Desk.ShowMessage(QString::fromStdString(outcome.refusal));
        return;
    }
    const ModelPick& pick = *outcome.pick;
    pick.ApplyTo(context_.State);
    if (OnModelPicked)
        OnModelPicked(pick);
}

}  // namespace vortana
