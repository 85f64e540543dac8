#include <gtest/gtest.h>
#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "harness/ui/FakeDesktop.h"
#include "harness/ui/Modal.h"
#include "shell/Convert.h"
#include "shell/FileAccess.h"
#include "shell/toolkit/Handler.h"
#include "shell/toolkit/QtDesktop.h"
#include "shell/toolkit/TComboBox.h"
#include "shell/toolkit/TEdit.h"
#include "shell/toolkit/TLabel.h"
#include "shell/toolkit/TRadioGroup.h"
#include "shell/toolkit/TStatusBar.h"
#include "shell/toolkit/TTimer.h"
#include "shell/toolkit/TextLines.h"

namespace vortana {
namespace {

constexpr int kPatienceMs = 5000;  // how long a test waits for something that must happen

// A user's click on the round indicator of a radio group's item (only the indicator and the
// caption take clicks, not the whole cell).
void ClickItem(TRadioGroup& group, int index) {
    QRadioButton* item = group.Item(index);
    QTest::mouseClick(item, Qt::LeftButton, Qt::NoModifier, QPoint(6, item->height() / 2));
}

TEST(StandardErrorText, AddsAFullStopUnlessTheTextEndsAtOrBelowOne) {
    const std::pair<const char*, const char*> cases[] = {
        {"'1a' is not a valid integer value", "'1a' is not a valid integer value."},
        {"Done.", "Done."},
        {"trailing blank ", "trailing blank "},
        {"Stop!", "Stop!"},
        {"a,", "a,"},
        {"minus-", "minus-"},   // '-' sorts below '.'
        {"slash/", "slash/."},  // '/' sorts above it
        {"digit 0", "digit 0."},
        {"line\n", "line\n"},
        {"", ""},
        {"文件打开错误", "文件打开错误."},  // non-ASCII sorts above '.'
        {"完成。", "完成。."},
        {"好！", "好！."},
    };
    for (const auto& [message, shown] : cases)
        EXPECT_EQ(StandardErrorText(message), shown) << message;
}

TEST(HandlerAdapter, StopsTheHandlerAndShowsItsErrorOnce) {
    FakeDesktop desktop;
    int reached = 0;
    RunHandler(desktop, [&] {
        ++reached;
        StrToInt("12x");
        ++reached;
    });
    EXPECT_EQ(reached, 1);
    RunHandler(desktop, [] { ReadFileBytes("/nonexistent/MCUtype.txt"); });
    RunHandler(desktop, [] { throw 42; });
    RunHandler(desktop, [] {});
    EXPECT_EQ(desktop.Errors,
              QStringList({"'12x' is not a valid integer value.",
                           "Cannot open file \"/nonexistent/MCUtype.txt\". No such file or "
                           "directory.",
                           "Unknown error."}));
}

TEST(HandlerAdapter, ShowsOneErrorBoxAtATime) {
    FakeDesktop desktop;
    int nestedRuns = 0;
    desktop.WhileErrorBoxOpen = [&] {
        // A tick handled by the box's nested loop fails as well: it stops, and no box stacks up.
        RunHandler(desktop, [&] {
            ++nestedRuns;
            throw EConvertError("second");
        });
        EXPECT_TRUE(desktop.ErrorBoxOpen());
    };
    RunHandler(desktop, [] { throw EConvertError("first"); });
    EXPECT_EQ(nestedRuns, 1);
    EXPECT_EQ(desktop.Errors, QStringList({"first."}));
    EXPECT_FALSE(desktop.ErrorBoxOpen());

    desktop.WhileErrorBoxOpen = nullptr;
    RunHandler(desktop, [] { throw EConvertError("third"); });
    EXPECT_EQ(desktop.Errors, QStringList({"first.", "third."}));
}

class RadioGroupTest : public testing::Test {
  protected:
    RadioGroupTest() : group_(desktop_, "供电方式", {"输出5V", "输出3.3V", "关"}, 1, nullptr) {
        group_.resize(105, 113);
        group_.show();
        group_.OnClick = [this] { clicks_.push_back(group_.ItemIndex()); };
    }

    FakeDesktop desktop_;
    TRadioGroup group_;
    std::vector<int> clicks_;
};

TEST_F(RadioGroupTest, SettingAnotherIndexFromCodeRunsTheHandlerAsAClickDoes) {
    EXPECT_EQ(group_.ItemIndex(), -1);
    group_.SetItemIndex(0);
    group_.SetItemIndex(0);  // no change, no click
    group_.SetItemIndex(2);
    EXPECT_EQ(clicks_, std::vector<int>({0, 2}));
    EXPECT_TRUE(group_.Item(2)->isChecked());
    EXPECT_FALSE(group_.Item(0)->isChecked());

    group_.SetItemIndex(-1);
    EXPECT_EQ(clicks_, std::vector<int>({0, 2, -1}));
    for (int i = 0; i < group_.Count(); ++i)
        EXPECT_FALSE(group_.Item(i)->isChecked()) << i;
}

TEST_F(RadioGroupTest, AUserClickRunsTheHandlerOnlyWhenTheSelectionChanges) {
    group_.SetItemIndex(0);
    clicks_.clear();
    ClickItem(group_, 1);
    ClickItem(group_, 1);  // already selected
    ClickItem(group_, 0);
    EXPECT_EQ(clicks_, std::vector<int>({1, 0}));
    EXPECT_EQ(group_.ItemIndex(), 0);
}

TEST_F(RadioGroupTest, AnErrorGoesToTheCodeThatSetTheIndexOrToTheBoxAfterAClick) {
    group_.OnClick = [] { StrToInt(""); };
    EXPECT_THROW(group_.SetItemIndex(1), EConvertError);
    EXPECT_TRUE(desktop_.Errors.isEmpty());
    ClickItem(group_, 2);
    EXPECT_EQ(desktop_.Errors, QStringList({"'' is not a valid integer value."}));
    EXPECT_EQ(group_.ItemIndex(), 2);
}

TEST(RadioGroupLayout, FillsColumnsTopToBottomThenLeftToRight) {
    FakeDesktop desktop;
    TRadioGroup twoColumns(desktop, "是否烧入序列号？", {"否", "是"}, 2, nullptr);
    twoColumns.resize(137, 41);
    twoColumns.show();
    EXPECT_EQ(twoColumns.Item(0)->y(), twoColumns.Item(1)->y());
    EXPECT_LT(twoColumns.Item(0)->x() + twoColumns.Item(0)->width(), twoColumns.Item(1)->x() + 1);

    TRadioGroup oneColumn(desktop, "烧写方式", {"在线", "离线"}, 1, nullptr);
    oneColumn.resize(89, 113);
    oneColumn.show();
    EXPECT_EQ(oneColumn.Item(0)->x(), oneColumn.Item(1)->x());
    EXPECT_GE(oneColumn.Item(1)->y(), oneColumn.Item(0)->y() + oneColumn.Item(0)->height());
    EXPECT_LE(oneColumn.Item(1)->geometry().bottom(), 113);
}

class ComboBoxTest : public testing::Test {
  protected:
    ComboBoxTest() : combo_(desktop_, {"COM1", "COM2", "COM3"}, nullptr) {
        combo_.OnChange = [this] { texts_.append(combo_.Text()); };
        combo_.SetText("COM5");
    }

    FakeDesktop desktop_;
    TComboBox combo_;
    QStringList texts_;
};

TEST_F(ComboBoxTest, EveryKeystrokeRunsTheHandlerWithTheTextSoFar) {
    EXPECT_EQ(combo_.Text(), "COM5");
    EXPECT_TRUE(texts_.isEmpty());  // set by code

    combo_.lineEdit()->selectAll();
    QTest::keyClick(combo_.lineEdit(), Qt::Key_Backspace);
    QTest::keyClicks(combo_.lineEdit(), "COM1");
    EXPECT_EQ(texts_, QStringList({"", "C", "CO", "COM", "COM1"}));  // never completed to an item
}

TEST_F(ComboBoxTest, PicksRunTheHandlerButEnterAndCodeDoNot) {
    combo_.setCurrentIndex(0);
    combo_.SetText("COM1");
    QTest::keyClick(&combo_, Qt::Key_Down);
    EXPECT_EQ(texts_, QStringList({"COM2"}));

    QTest::keyClick(combo_.lineEdit(), Qt::Key_Return);
    combo_.SetText("COM3");
    EXPECT_EQ(texts_, QStringList({"COM2"}));
    EXPECT_EQ(combo_.count(), 3);  // Enter added no item
}

// Qt takes a focus-out, the list opening among them, for a pick of the item the text names.
TEST(ComboBox, LeavingTheBoxOrOpeningTheListRunsNothingAndAPickFromTheListRuns) {
    FakeDesktop desktop;
    QWidget window;
    auto* combo = new TComboBox(desktop, {"COM1", "COM2", "COM3"}, &window);
    auto* elsewhere = new QLineEdit(&window);
    elsewhere->move(0, 40);
    QStringList texts;
    combo->OnChange = [&] { texts.append(combo->Text()); };
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    combo->SetText("COM2");  // the current item stays COM1, as after start-up
    combo->setFocus();
    QTest::keyClick(combo->lineEdit(), Qt::Key_Tab);
    ASSERT_TRUE(elsewhere->hasFocus());
    combo->setFocus();
    combo->showPopup();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(combo->view()));
    EXPECT_TRUE(texts.isEmpty());

    QAbstractItemView* list = combo->view();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(combo->model()->index(2, 0)).center());
    EXPECT_EQ(texts, QStringList({"COM3"}));
}

TEST(Timer, IntervalZeroNeverTicksAndOthersTickUntilDisabled) {
    FakeDesktop desktop;
    TTimer timer(desktop, 0, true);
    int ticks = 0;
    timer.OnTimer = [&] { ++ticks; };
    EXPECT_FALSE(timer.Running());
    QTest::qWait(50);
    EXPECT_EQ(ticks, 0);

    timer.SetInterval(5);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, kPatienceMs));
    timer.SetEnabled(false);
    const int stoppedAt = ticks;
    QTest::qWait(50);
    EXPECT_EQ(ticks, stoppedAt);
    EXPECT_FALSE(timer.Running());

    TTimer disabled(desktop, 100, false);
    EXPECT_FALSE(disabled.Running());
    EXPECT_EQ(disabled.RemainingMs(), -1);
}

TEST(Timer, OnlyADifferentIntervalRestartsARunningTimer) {
    FakeDesktop desktop;
    TTimer timer(desktop, 2000, true);
    QTest::qWait(300);
    timer.SetInterval(2000);
    timer.SetEnabled(true);
    EXPECT_LE(timer.RemainingMs(), 1750);  // still counting from the start

    timer.SetInterval(4000);
    EXPECT_GT(timer.RemainingMs(), 3750);  // counting afresh
    EXPECT_EQ(timer.Interval(), 4000u);
}

TEST(Timer, AFailingTickShowsTheErrorAndTheTimerGoesOn) {
    FakeDesktop desktop;
    TTimer timer(desktop, 5, true);
    int ticks = 0;
    timer.OnTimer = [&] {
        ++ticks;
        throw EConvertError("tick");
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 2; }, kPatienceMs));
    EXPECT_GE(desktop.Errors.size(), 2);
    EXPECT_EQ(desktop.Errors.front(), "tick.");
}

class DigitEditTest : public testing::Test {
  protected:
    DigitEditTest() : edit_(desktop_, nullptr) {
        edit_.setMaxLength(4);
        edit_.OnKeyPress = [this](QChar& key) { FilterDigitKey(desktop_, key); };
    }

    FakeDesktop desktop_;
    TEdit edit_;
};

TEST_F(DigitEditTest, TakesDigitsBackspaceAndEnterAndBeepsAtTheRest) {
    QTest::keyClicks(&edit_, "1a2-3 ");
    EXPECT_EQ(edit_.Text(), "123");
    EXPECT_EQ(desktop_.Beeps, 3);

    QTest::keyClick(&edit_, Qt::Key_Backspace);
    QTest::keyClick(&edit_, Qt::Key_Return);
    EXPECT_EQ(edit_.Text(), "12");
    QTest::keyClicks(&edit_, "789");  // the fourth place takes one digit only
    EXPECT_EQ(edit_.Text(), "1278");
    EXPECT_EQ(desktop_.Beeps, 3);

    QTest::keyClick(&edit_, Qt::Key_Left);  // types no character: not filtered
    QTest::keyClick(&edit_, Qt::Key_Delete);
    EXPECT_EQ(edit_.Text(), "127");
    EXPECT_EQ(desktop_.Beeps, 3);
}

TEST_F(DigitEditTest, ARefusedCharacterLeavesTheBoxAsItWas) {
    edit_.SetText("0000");
    edit_.selectAll();
    QTest::keyClick(&edit_, Qt::Key_X);
    EXPECT_EQ(edit_.Text(), "0000");
    EXPECT_EQ(desktop_.Beeps, 1);
}

TEST_F(DigitEditTest, AReplacedKeyIsTypedAndAThrowingHandlerDropsIt) {
    edit_.OnKeyPress = [](QChar& key) {
        if (key == u'q')
            throw EConvertError("no q");
        key = key.toUpper();
    };
    QTest::keyClicks(&edit_, "aqb");
    EXPECT_EQ(edit_.Text(), "AB");
    EXPECT_EQ(desktop_.Errors, QStringList({"no q."}));
}

// The flash-address box holds "B000-BFFF+C000-FFFF=20K" for a model with a window: shown from its
// end, a half-hidden "B" would read as "3000".
TEST(Edit, AReadOnlyBoxShowsATextSetFromCodeFromItsStart) {
    FakeDesktop desktop;
    TEdit edit(desktop, nullptr);
    edit.setReadOnly(true);
    edit.resize(60, 24);
    edit.show();
    edit.SetText("B000-BFFF+C000-FFFF=20K");
    EXPECT_EQ(edit.cursorPosition(), 0);
    const QRect caret = edit.inputMethodQuery(Qt::ImCursorRectangle).toRect();
    EXPECT_LT(caret.center().x(), edit.fontMetrics().horizontalAdvance("B"));
}

TEST(ClickHandlers, RunOnALeftClickOverTheControl) {
    FakeDesktop desktop;
    TEdit edit(desktop, nullptr);
    TLabel label(desktop, nullptr);
    int editClicks = 0;
    int labelClicks = 0;
    edit.OnClick = [&] { ++editClicks; };
    label.OnClick = [&] { ++labelClicks; };
    label.SetDesignedGeometry({0, 0, 80, 16});
    edit.resize(100, 24);
    QTest::mouseClick(&edit, Qt::LeftButton);
    QTest::mouseClick(&edit, Qt::RightButton);
    QTest::mouseClick(&label, Qt::LeftButton);
    EXPECT_EQ(editClicks, 1);
    EXPECT_EQ(labelClicks, 1);
}

TEST(Label, GrowsToItsCaptionButNeverBelowItsDesign) {
    FakeDesktop desktop;
    TLabel label(desktop, nullptr);
    label.SetDesignedGeometry({416, 312, 48, 16});
    label.SetCaption("0.0 秒");
    EXPECT_EQ(label.geometry(), QRect(416, 312, 48, 16));
    label.SetCaption("118.7 秒 and much more text");
    EXPECT_EQ(label.pos(), QPoint(416, 312));
    EXPECT_GE(label.width(), label.fontMetrics().horizontalAdvance(label.Caption()));
    label.SetCaption("");
    EXPECT_EQ(label.width(), 48);
}

TEST(StatusBar, TheLastPanelTakesWhatIsLeft) {
    TStatusBar bar(2, nullptr);
    bar.resize(587, 34);
    bar.show();
    bar.SetPanelWidth(0, 293);
    bar.SetPanelText(0, "    COM5  8  N  1 ,  38400");
    EXPECT_EQ(bar.PanelText(0), "    COM5  8  N  1 ,  38400");
    EXPECT_EQ(bar.Panel(0)->x(), 0);
    EXPECT_LE(bar.Panel(0)->geometry().right(), 293);
    EXPECT_GE(bar.Panel(1)->x(), 293);
    EXPECT_EQ(bar.Panel(1)->geometry().right(), 586);
    bar.resize(400, 34);
    EXPECT_EQ(bar.Panel(1)->geometry().right(), 399);
}

TEST(TextLines, DecodesUtf8OrGbk) {
    EXPECT_EQ(DecodeLocalText("\xE8\x8A\xAF\xE7\x89\x87 8000"), "芯片 8000");  // UTF-8
    EXPECT_EQ(DecodeLocalText("\xD0\xCD\xBA\xC5 8000"), "型号 8000");          // GBK
    EXPECT_EQ(DecodeLocalText("\xEF\xBB\xBF"
                              "A"),
              "A");  // BOM dropped
    EXPECT_EQ(DecodeLocalText(""), "");
}

TEST(TextLines, SplitsAtEveryKindOfLineEnd) {
    EXPECT_EQ(SplitTextLines("a\r\nb\nc\rd"), QStringList({"a", "b", "c", "d"}));
    EXPECT_EQ(SplitTextLines("a\r\n"), QStringList({"a"}));
    EXPECT_EQ(SplitTextLines("a\n\n"), QStringList({"a", ""}));
    EXPECT_EQ(SplitTextLines("\n"), QStringList({""}));
    EXPECT_EQ(SplitTextLines(""), QStringList());
}

}  // namespace
}  // namespace vortana

namespace vortana {
namespace {

// The boxes of the running program: what they look like, and that ticks go on while one is open.
TEST(QtDesktopBoxes, AreModalCaptionedAndLetTimersTick) {
    QtDesktop desktop;
    TTimer timer(desktop, 5, true);
    int ticks = 0;
    timer.OnTimer = [&] { ++ticks; };
    struct Seen {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        int buttons;
        bool ticked;
    };
    std::vector<Seen> seen;
    const auto look = [&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        const int before = ticks;
        const bool ticked = QTest::qWaitFor([&] { return ticks > before + 2; }, kPatienceMs);
        seen.push_back({box->windowTitle(), box->text(), box->icon(),
                        static_cast<int>(box->buttons().size()), ticked});
    };
    WhenModalShown(look);
    desktop.ShowMessage("校 验 成 功!");
    WhenModalShown(look);
    RunHandler(desktop, [] { StrToInt("x"); });
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].title, "VORTANA Programer");
    EXPECT_EQ(seen[0].text, "校 验 成 功!");
    EXPECT_EQ(seen[0].icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen[0].buttons, 1);
    EXPECT_TRUE(seen[0].ticked);
    EXPECT_EQ(seen[1].title, "VORTANA Programer");
    EXPECT_EQ(seen[1].text, "'x' is not a valid integer value.");
    EXPECT_EQ(seen[1].icon, QMessageBox::Critical);
    EXPECT_EQ(seen[1].buttons, 1);
    EXPECT_TRUE(seen[1].ticked);
}

}  // namespace
}  // namespace vortana
