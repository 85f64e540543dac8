// The two hex views as windows: their header over the listing, the face that keeps the columns
// in line, the listing operations the producers use, and the one key command.
#include <QFontInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

#include "image/ui/TForm3.h"
#include "image/ui/TForm4.h"
#include "tests/support/ShellFixture.h"

namespace vortana {
namespace {

const QString kHeader = "XXXX:: 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F    ";

struct ViewDesign {
    HexView* (*view)(Forms&);
    QRect label1;
    QRect memo1;
};

const ViewDesign kViews[] = {
    {[](Forms& forms) -> HexView* { return forms.Form3; }, {2, 12, 580, 19}, {0, 32, 577, 409}},
    {[](Forms& forms) -> HexView* { return forms.Form4; }, {2, 6, 580, 19}, {0, 24, 577, 441}},
};

class HexViews : public ShellFixture {
  protected:
    void SetUp() override { Start(); }
};

TEST_F(HexViews, ShowTheHeaderOverASilverReadOnlyListingInOneFixedPitchFace) {
    for (const ViewDesign& design : kViews) {
        HexView& view = *design.view(Windows());
        SCOPED_TRACE(view.windowTitle().toStdString());
        EXPECT_EQ(view.Label1->text(), kHeader);
        EXPECT_EQ(view.Label1->geometry(), design.label1);
        EXPECT_EQ(view.Memo1->geometry(), design.memo1);
        EXPECT_TRUE(view.Memo1->isReadOnly());
        EXPECT_EQ(view.Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        EXPECT_EQ(view.Memo1->palette().color(QPalette::Base).name(), "#c0c0c0");
        EXPECT_EQ(view.Memo1->palette().color(QPalette::Text).name(), "#000000");
        EXPECT_TRUE(view.Rows().isEmpty());
        for (QWidget* part :
             {static_cast<QWidget*>(view.Label1), static_cast<QWidget*>(view.Memo1)}) {
            const QFontInfo face(part->font());
            EXPECT_EQ(face.family(), "Noto Sans Mono CJK SC");
            EXPECT_EQ(face.pixelSize(), 19);
        }
        // Every character of the header and the rows takes one width (the face's Chinese
        // characters take two, so it does not count as fixed-pitch as a whole): the headings
        // stand over the byte columns, and a five-digit row stands one column to the right.
        const QFontMetricsF metrics(view.Memo1->font());
        const qreal column = metrics.horizontalAdvance(QChar('0'));
        for (const QChar c : QString("XABCDEFabcdef0123456789: "))
            EXPECT_EQ(metrics.horizontalAdvance(c), column) << c.toLatin1();
        EXPECT_EQ(metrics.horizontalAdvance("10000:: "), 8 * column);
    }
}

TEST_F(HexViews, KeepRowsAsGivenInOrderUntilEmptied) {
    const std::vector<std::string> page = {
        "B000:: 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F ",
        "B010:: 10 11 12 13 14 15 16 17 18 19 1A 1B 1C 1D 1E 1F "};
    // A file written with lower-case digits lists them so.
    const std::vector<std::string> file = {
        "10000:: ab cd ef FF FF FF FF FF FF FF FF FF FF FF FF 0a "};
    for (const ViewDesign& design : kViews) {
        HexView& view = *design.view(Windows());
        SCOPED_TRACE(view.windowTitle().toStdString());
        view.AppendRows(page);
        view.AppendRows({});
        view.AppendRows(file);
        const QStringList expected = {QString::fromStdString(page[0]),
                                      QString::fromStdString(page[1]),
                                      QString::fromStdString(file[0])};
        EXPECT_EQ(view.Rows(), expected);
        view.show();  // showing a view changes nothing of its listing
        view.hide();
        EXPECT_EQ(view.Rows(), expected);
        view.ClearRows();
        EXPECT_TRUE(view.Rows().isEmpty());
        view.AppendRows(file);
        EXPECT_EQ(view.Rows(), QStringList{QString::fromStdString(file[0])});
        view.ClearRows();
    }
}

QString Selected(const HexView& view) {
    return view.Memo1->textCursor().selectedText();
}

TEST_F(HexViews, CtrlASelectsTheWholeListingOnlyWithCtrlAloneAndNoMouseButton) {
    const std::vector<std::string> rows = {"0000:: 01 ", "0010:: 02 ", "0020:: 03 "};
    const QString whole =
        QString("0000:: 01 |0010:: 02 |0020:: 03 ").replace('|', QChar::ParagraphSeparator);
    for (const ViewDesign& design : kViews) {
        HexView& view = *design.view(Windows());
        SCOPED_TRACE(view.windowTitle().toStdString());
        view.AppendRows(rows);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        QPlainTextEdit* memo = view.Memo1;
        for (const Qt::KeyboardModifiers held :
             {Qt::ShiftModifier | Qt::ControlModifier, Qt::AltModifier | Qt::ControlModifier,
              Qt::ControlModifier | Qt::MetaModifier, Qt::KeyboardModifiers(Qt::NoModifier),
              Qt::KeyboardModifiers(Qt::ShiftModifier)}) {
            QTest::keyClick(memo, Qt::Key_A, held);
            EXPECT_EQ(Selected(view), "") << held;
            EXPECT_EQ(view.Rows().size(), 3);  // still read-only
        }
        QTest::keyClick(memo, Qt::Key_B, Qt::ControlModifier);
        EXPECT_EQ(Selected(view), "");

        const QPoint inside = memo->viewport()->rect().center();
        QTest::mousePress(memo->viewport(), Qt::LeftButton, {}, inside);
        QTest::keyClick(memo, Qt::Key_A, Qt::ControlModifier);
        EXPECT_EQ(Selected(view), "");
        QTest::mouseRelease(memo->viewport(), Qt::LeftButton, {}, inside);

        QTest::keyClick(memo, Qt::Key_A, Qt::ControlModifier);
        EXPECT_EQ(Selected(view), whole);
        view.hide();
        view.ClearRows();
    }
}

}  // namespace
}  // namespace vortana
