// The serial-number question of the main window and the dialog behind it: the offline mode
// enables the question, "是" opens the dialog, OK forms the bytes that go into the download
// header, "否" and every mode change clear them.
#include <QApplication>
#include <QFontInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "image/ui/TForm5.h"
#include "shell/toolkit/SystemToolkit.h"
#include "shell/toolkit/TEdit.h"
#include "shell/toolkit/TLabel.h"
#include "shell/toolkit/TRadioGroup.h"
#include "shell/ui/TForm1.h"
#include "tests/support/ShellFixture.h"

namespace vortana {
namespace {

using SerialBytes = std::array<std::uint8_t, 5>;

constexpr int kOnline = 0, kOffline = 1;  // RadioGroup1
constexpr int kNo = 0, kYes = 1;          // RadioGroup3
const QString kRangeMessage = "序号超出范围，最大10位数，请重新设置！";

class SerialNumbers : public ShellFixture {
  protected:
    void SetUp() override {
        Start();
        Form1().show();  // the radio items get their places
    }

    TForm5& Dialog() { return *Windows().Form5; }

    void Choose(TRadioGroup* group, int item) {
        QTest::mouseClick(group->Item(item), Qt::LeftButton);
    }

    // Chooses "是" and, while the dialog is shown, runs `inDialog` on it, then closes it with
    // the close box unless it has closed itself.
    void AnswerYes(const std::function<void(TForm5&)>& inDialog) {
        bool shown = false;
        WhenModalShown([&](QWidget* modal) {
            shown = modal == &Dialog();
            inDialog(Dialog());
        });
        Choose(Form1().RadioGroup3, kYes);
        EXPECT_TRUE(shown);
        EXPECT_FALSE(Dialog().isVisible());
    }

    // Types `start` and `increment` into the emptied boxes and clicks OK.
    static void Enter(TForm5& dialog, const QString& start, const QString& increment) {
        for (auto [box, text] :
             {std::pair{dialog.Edit1, start}, std::pair{dialog.Edit2, increment}}) {
            box->clear();
            QTest::keyClicks(box, text);
        }
        QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    }

    // Whether `action` shows a modal window (which is then closed at once).
    static bool ShowsAModal(const std::function<void()>& action) {
        bool shown = false;
        QTimer::singleShot(0, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                shown = true;
                modal->close();
            }
        });
        action();
        QCoreApplication::processEvents();
        return shown;
    }

    void ExpectCleared() {
        EXPECT_EQ(state_->SerialNumberBytes, SerialBytes{});
        EXPECT_EQ(state_->SerialIncrement, 0);
        EXPECT_EQ(Form1().RadioGroup3->ItemIndex(), kNo);
        EXPECT_FALSE(Dialog().Edit1->isEnabled());
        EXPECT_FALSE(Dialog().Edit2->isEnabled());
        EXPECT_EQ(Dialog().Edit1->Text(), "0");
        EXPECT_EQ(Dialog().Edit2->Text(), "1");
    }
};

struct DialogControl {
    const char* name;
    QRect place;
    const char* text;
    bool enabled;
    const char* colour;
};

TEST_F(SerialNumbers, TheDialogIsBuiltAsDesigned) {
    const DialogControl design[] = {
        {"Label3", {32, 40, 144, 12}, "（注：最大10位阿拉伯数）", true, "#0000ff"},
        {"Label1", {32, 80, 60, 12}, "起始序号：", true, "#000000"},
        {"Edit1", {96, 72, 121, 20}, "0", false, ""},
        {"Label2", {32, 120, 60, 12}, "递增基数：", true, "#000000"},
        {"Edit2", {96, 112, 121, 20}, "1", false, ""},
        {"Button1", {96, 176, 75, 25}, "确  定", true, ""},
    };
    for (const DialogControl& control : design) {
        SCOPED_TRACE(control.name);
        auto* widget = Dialog().findChild<QWidget*>(control.name);
        ASSERT_NE(widget, nullptr);
        QString text;
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            text = label->text();
            EXPECT_EQ(label->palette().color(QPalette::WindowText).name(), control.colour);
            EXPECT_EQ(label->pos(), control.place.topLeft());  // labels may grow to the right
        } else {
            EXPECT_EQ(widget->geometry(), control.place);
        }
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            text = edit->text();
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            text = button->text();
        }
        EXPECT_EQ(text, QString::fromUtf8(control.text));
        EXPECT_EQ(widget->isEnabled(), control.enabled);
        EXPECT_EQ(widget->font().pixelSize(), 12);
        EXPECT_TRUE(SongFamilies().contains(QFontInfo(widget->font()).family()));
    }
    EXPECT_EQ(Dialog().Edit1->maxLength(), 10);
    EXPECT_EQ(Dialog().Edit2->maxLength(), 1);
}

TEST_F(SerialNumbers, OfflineYesOkFormsTheBytesAndNoClearsThem) {
    EXPECT_FALSE(Form1().RadioGroup3->isEnabled());
    Choose(Form1().RadioGroup1, kOffline);
    EXPECT_TRUE(Form1().RadioGroup3->isEnabled());
    EXPECT_EQ(Form1().RadioGroup3->ItemIndex(), kNo);

    AnswerYes([&](TForm5& dialog) {
        EXPECT_EQ(dialog.pos(), QPoint(515, 265));
        EXPECT_EQ(dialog.Edit1->Text(), "1");
        EXPECT_EQ(dialog.Edit2->Text(), "1");
        EXPECT_TRUE(dialog.Edit1->isEnabled());
        EXPECT_TRUE(dialog.Edit2->isEnabled());
        Enter(dialog, "1234567890", "3");
        EXPECT_FALSE(dialog.isVisible()) << "OK closes the dialog";
    });
    EXPECT_EQ(state_->SerialNumberBytes, (SerialBytes{90, 78, 56, 34, 12}));
    EXPECT_EQ(state_->SerialIncrement, 3);
    EXPECT_EQ(Form1().RadioGroup3->ItemIndex(), kYes);
    EXPECT_FALSE(ShowsAModal([&] { Choose(Form1().RadioGroup3, kYes); }))
        << "choosing the selected item again is no change";

    Choose(Form1().RadioGroup3, kNo);
    ExpectCleared();
    EXPECT_EQ(state_->SerialNumberStart, 1234567890) << "the start number is a work value";

    AnswerYes([&](TForm5& dialog) {
        EXPECT_EQ(dialog.Edit1->Text(), "1") << "opened afresh";
        Enter(dialog, "9999999999", "9");
    });
    EXPECT_EQ(state_->SerialNumberBytes, (SerialBytes{99, 99, 99, 99, 99}));
    Choose(Form1().RadioGroup1, kOnline);
    ExpectCleared();
    EXPECT_FALSE(Form1().RadioGroup3->isEnabled());
}

TEST_F(SerialNumbers, TheBoxesTakeDigitsOnlyUpToTheirLengths) {
    Choose(Form1().RadioGroup1, kOffline);
    AnswerYes([&](TForm5& dialog) {
        QTest::keyClicks(dialog.Edit1, "2a3-4567890123");
        QTest::keyClicks(dialog.Edit2, "x5");
        EXPECT_EQ(dialog.Edit1->Text(), "1234567890");
        EXPECT_EQ(dialog.Edit2->Text(), "1");
        EXPECT_EQ(desktop_.Beeps, 3);
        QTest::keyClick(dialog.Edit2, Qt::Key_Backspace);
        QTest::keyClicks(dialog.Edit2, "0");
        QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    });
    EXPECT_EQ(state_->SerialNumberBytes, (SerialBytes{90, 78, 56, 34, 12}));
    EXPECT_EQ(state_->SerialIncrement, 0);
}

TEST_F(SerialNumbers, TextThatIsNoNumberOrOutOfRangeKeepsTheDialogOpenAndFormsNothing) {
    Choose(Form1().RadioGroup1, kOffline);
    AnswerYes([&](TForm5& dialog) {
        // Pasted text passes no key filter: a sign, an empty box.
        dialog.Edit1->SetText("-5");
        QTest::mouseClick(dialog.Button1, Qt::LeftButton);
        EXPECT_EQ(desktop_.Messages, QStringList{kRangeMessage});
        EXPECT_TRUE(dialog.isVisible());
        dialog.Edit1->SetText("");
        QTest::mouseClick(dialog.Button1, Qt::LeftButton);
        EXPECT_EQ(desktop_.Errors, QStringList{"'' is not a valid integer value."});
        EXPECT_TRUE(dialog.isVisible());
        dialog.Edit1->SetText("65");
        dialog.Edit2->SetText("");
        QTest::mouseClick(dialog.Button1, Qt::LeftButton);
        EXPECT_EQ(desktop_.Errors.size(), 2);
        EXPECT_TRUE(dialog.isVisible());
    });  // then closed with the close box, which forms nothing
    EXPECT_EQ(state_->SerialNumberBytes, SerialBytes{});
    EXPECT_EQ(state_->SerialIncrement, 1) << "the increment is taken before the range check";
    EXPECT_EQ(state_->SerialNumberStart, 65) << "taken before the increment failed";
    EXPECT_EQ(Form1().RadioGroup3->ItemIndex(), kYes);
}

}  // namespace
}  // namespace vortana
