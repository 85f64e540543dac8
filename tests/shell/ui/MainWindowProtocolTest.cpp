// The main window's protocol wiring: what its command buttons put on the line and do to its
// timers and controls, what its receive handler and timer handlers show. The port is the slave
// of a pseudo-terminal whose master the test reads; replies are handed to the receive handler
// and timer ticks to the tick handlers directly, one at a time. The dispatcher's own rules are
// tested without a window; here only what the window makes of them.
#include <QPushButton>
#include <QTest>

#include "harness/Pty.h"
#include "harness/ui/Modal.h"
#include "image/ui/TForm3.h"
#include "shell/toolkit/TEdit.h"
#include "shell/toolkit/TLabel.h"
#include "shell/toolkit/TRadioGroup.h"
#include "shell/toolkit/TStatusBar.h"
#include "shell/ui/TForm1.h"
#include "tests/support/ShellFixture.h"

namespace vortana {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

const QString kTimeOut = "本次操作超时失败，编程器无响应，请检查供电是否正常！";
const QString kPortClosed = "串口未打开，请重新选择串口！";
const QString kLineLost = "串口连接已断开，请检查连接线后重新选择串口！";

std::string Hex(const Bytes& bytes) {
    std::string text;
    for (std::uint8_t byte : bytes) {
        char cell[4];
        std::snprintf(cell, sizeof cell, text.empty() ? "%02X" : " %02X", byte);
        text += cell;
    }
    return text;
}

// The number of bytes written out as "68 01 00 16".
std::size_t BytesIn(std::string_view hex) {
    return (hex.size() + 1) / 3;
}

class MainWindowProtocol : public ShellFixture {
  protected:
    // A model with flash 4000 to FFFF, 48 KiB, without an additional window.
    void SetUp() override {
        state_->FlashStart = "4000";
        state_->FlashEnd = "FFFF";
        state_->FlashSizeK = "48";
        state_->ModelCode = "0x00";
        state_->ImageSize = 48 * 1024;
        PutFile("sysset.ini", "[comx]\nnum=" + pty_.SlavePath() + "\n");
        Start();
        ASSERT_TRUE(Form1().Comm1.IsOpen());
    }

    void Click(QPushButton* TForm1::*button) {
        (Form1().*button)->setEnabled(true);
        QTest::mouseClick(Form1().*button, Qt::LeftButton);
    }
    // What the window put on the line: `count` bytes, and nothing after them.
    Bytes Sent(std::size_t count) {
        Bytes bytes = pty_.Read(count);
        const Bytes more = pty_.ReadUntilQuiet(100ms);
        bytes.insert(bytes.end(), more.begin(), more.end());
        return bytes;
    }
    std::string SentHex(std::size_t count) { return Hex(Sent(count)); }
    void Reply(const Bytes& bytes) {
        Form1().Comm1ReceiveData(&Form1().Comm1, bytes.data(),
                                 static_cast<std::uint16_t>(bytes.size()));
    }
    void Ticks(void (TForm1::*handler)(), int count) {
        for (int tick = 0; tick < count; ++tick)
            (Form1().*handler)();
    }
    // Enabled state of Button1 to Button8 as a text of 0/1.
    QString Buttons() {
        QString enabled;
        for (QPushButton* button :
             {Form1().Button1, Form1().Button2, Form1().Button3, Form1().Button4, Form1().Button5,
              Form1().Button6, Form1().Button7, Form1().Button8})
            enabled += button->isEnabled() ? u'1' : u'0';
        return enabled;
    }
    QString Progress() { return Form1().Label7->Caption(); }
    QString Elapsed() { return Form1().Label9->Caption(); }

    test::Pty pty_;
};

TEST_F(MainWindowProtocol, CommandButtonsSendTheirFrameAndRestartBothTimersAtTheModelsPace) {
    struct Command {
        QPushButton* TForm1::*button;
        CmdKindValue kind;
        const char* frame;
        unsigned period;  // (FFFF - 4000) div 1000, 160, 100, 128, 128
    };
    const Command commands[] = {
        {&TForm1::Button3, kCmdErase, "68 01 00 16", 49},
        {&TForm1::Button4, kCmdProgram, "68 02 00 16", 307},
        {&TForm1::Button5, kCmdVerify, "68 03 00 16", 491},
        {&TForm1::Button6, kCmdEpc, "68 05 00 16", 383},
        {&TForm1::Button7, kCmdReadOut, "68 04 03 40 30 00 16", 383},
    };
    for (const Command& command : commands) {
        SCOPED_TRACE(command.frame);
        Ticks(&TForm1::Timer1Timer, 3);
        Ticks(&TForm1::Timer2Timer, 7);
        Form1().Timer1.SetEnabled(false);
        Form1().Timer2.SetEnabled(false);
        Windows().Form3->AppendRows(std::vector<std::string>{"0000:: 00 "});
        const QString elapsedBefore = Elapsed();

        Click(command.button);
        EXPECT_EQ(SentHex(BytesIn(command.frame)), command.frame);
        EXPECT_EQ(state_->CmdKind, command.kind);
        EXPECT_EQ(Progress(), "0 %");
        EXPECT_EQ(Elapsed(), elapsedBefore);  // the last operation's time until the first tick
        EXPECT_EQ(Form1().Timer1.Interval(), command.period);
        EXPECT_TRUE(Form1().Timer1.Running());
        EXPECT_EQ(Form1().Timer2.Interval(), 100u);
        EXPECT_TRUE(Form1().Timer2.Running());
        EXPECT_EQ(Windows().Form3->Rows().isEmpty(), command.kind == kCmdReadOut);
        // Both counts start again.
        Ticks(&TForm1::Timer1Timer, 1);
        Ticks(&TForm1::Timer2Timer, 1);
        EXPECT_EQ(Progress(), "1 %");
        EXPECT_EQ(Elapsed(), "0.1 秒");
        Windows().Form3->ClearRows();
    }
    EXPECT_TRUE(desktop_.Messages.isEmpty());
}

TEST_F(MainWindowProtocol, SettingsSendTheControlsEmptyTheModelBoxesAndStartNoTimer) {
    struct Settings {
        int mode, supply, erase, verify;
        const char* count;
        const char* frame;
    };
    const Settings settings[] = {
        {1, 1, 1, 1, "9999", "68 06 05 AA 33 99 99 55 16"},
        {0, 0, 0, 1, "100", "68 06 05 55 50 01 00 05 16"},
    };
    for (const Settings& s : settings) {
        SCOPED_TRACE(s.frame);
        Form1().RadioGroup1->SetItemIndex(s.mode);
        Form1().RadioGroup2->SetItemIndex(s.supply);
        Form1().RadioGroup4->SetItemIndex(s.erase);
        Form1().RadioGroup5->SetItemIndex(s.verify);
        Form1().Edit4->SetText(s.count);
        for (TEdit* box : {Form1().Edit1, Form1().Edit2, Form1().Edit3})
            box->SetText("filled");
        QTest::mouseClick(Form1().Button8, Qt::LeftButton);
        EXPECT_EQ(SentHex(9), s.frame);
        EXPECT_EQ(state_->CmdKind, kCmdSettings);
        for (TEdit* box : {Form1().Edit1, Form1().Edit2, Form1().Edit3})
            EXPECT_EQ(box->Text(), "");
        EXPECT_TRUE(Form1().Button1->isEnabled());
        for (QPushButton* other : {Form1().Button2, Form1().Button3, Form1().Button4,
                                   Form1().Button5, Form1().Button6, Form1().Button7})
            EXPECT_FALSE(other->isEnabled());
        EXPECT_FALSE(Form1().Timer1.Enabled());
        EXPECT_FALSE(Form1().Timer2.Enabled());
        EXPECT_EQ(Progress(), "0 %");
    }
    Reply({0x68, 0x06, 0x02, 0x99, 0x16});
    EXPECT_EQ(desktop_.Messages, QStringList{"设置成功!请重新 选择型号及加载文件"});
}

TEST_F(MainWindowProtocol, AnEmptyBurnCountShowsTheStandardErrorAfterTheBoxesWereEmptied) {
    state_->CmdKind = kCmdVerify;
    Form1().Edit4->SetText("");
    for (TEdit* box : {Form1().Edit1, Form1().Edit2, Form1().Edit3})
        box->SetText("filled");
    QTest::mouseClick(Form1().Button8, Qt::LeftButton);
    EXPECT_EQ(desktop_.Errors, QStringList{"'' is not a valid integer value."});
    EXPECT_TRUE(desktop_.Messages.isEmpty());
    for (TEdit* box : {Form1().Edit1, Form1().Edit2, Form1().Edit3})
        EXPECT_EQ(box->Text(), "");
    EXPECT_TRUE(Form1().Button1->isEnabled());
    EXPECT_TRUE(pty_.ReadUntilQuiet(200ms).empty());
    EXPECT_EQ(state_->CmdKind, kCmdVerify);  // the pending operation stays
}

TEST_F(MainWindowProtocol, TimersClimbToNinetyEightHoldAndTimeOutOnceAndALateSuccessShowsAll) {
    Click(&TForm1::Button5);
    SentHex(4);
    Ticks(&TForm1::Timer2Timer, 9);
    EXPECT_EQ(Elapsed(), "0.9 秒");
    Ticks(&TForm1::Timer2Timer, 1);
    EXPECT_EQ(Elapsed(), "1.0 秒");
    Ticks(&TForm1::Timer2Timer, 1189);
    EXPECT_EQ(Elapsed(), "119.9 秒");
    EXPECT_TRUE(desktop_.Messages.isEmpty());
    EXPECT_TRUE(Form1().Timer2.Enabled());
    Ticks(&TForm1::Timer2Timer, 1);
    EXPECT_EQ(Elapsed(), "120.0 秒");
    EXPECT_FALSE(Form1().Timer2.Enabled());
    EXPECT_EQ(desktop_.Messages, QStringList{kTimeOut});

    Ticks(&TForm1::Timer1Timer, 97);
    EXPECT_EQ(Progress(), "97 %");
    Ticks(&TForm1::Timer1Timer, 1);
    EXPECT_EQ(Progress(), "98 %");
    EXPECT_TRUE(Form1().Timer1.Enabled());
    Ticks(&TForm1::Timer1Timer, 1);
    EXPECT_EQ(Progress(), "98 %");
    EXPECT_FALSE(Form1().Timer1.Enabled());

    // The operation is still pending: a late success shows 100 % before its box opens.
    QString progressWhileOpen;
    desktop_.WhileMessageOpen = [&](const QString&) { progressWhileOpen = Progress(); };
    Reply({0x68, 0x03, 0x02, 0x99, 0x16});
    EXPECT_EQ(desktop_.Messages, QStringList({kTimeOut, "校 验 成 功!"}));
    EXPECT_EQ(progressWhileOpen, "100 %");
    EXPECT_EQ(Elapsed(), "120.0 秒");
}

TEST_F(MainWindowProtocol, APeriodOfZeroNeverTicksAndAReversedRangeBarelyMoves) {
    state_->FlashEnd = "43E7";  // 999 bytes: an erase allows 0 ms a percent
    Click(&TForm1::Button3);
    EXPECT_EQ(Form1().Timer1.Interval(), 0u);
    EXPECT_TRUE(Form1().Timer1.Enabled());
    EXPECT_FALSE(Form1().Timer1.Running());
    // The elapsed time goes on in real time meanwhile; the progress does not.
    ASSERT_TRUE(QTest::qWaitFor([&] { return state_->ElapsedTicks >= 3; }, 5000));
    EXPECT_NE(Elapsed(), "0.0 秒");
    EXPECT_EQ(Progress(), "0 %");
    Reply({0x68, 0x01, 0x02, 0x99, 0x16});
    EXPECT_EQ(Progress(), "100 %");
    EXPECT_FALSE(Form1().Timer2.Enabled());

    state_->FlashEnd = "3FFF";  // below the start: the difference wraps
    Click(&TForm1::Button3);
    EXPECT_EQ(Form1().Timer1.Interval(), 0xFFFFFFFFu / 1000);
    EXPECT_TRUE(Form1().Timer1.Running());
    EXPECT_EQ(Progress(), "0 %");
}

TEST_F(MainWindowProtocol, ADownloadTheDeviceAcceptsEnablesProgrammingOnceItsBoxIsClosed) {
    Form1().ApplyButtonRule(ButtonEvent::ModelChosen);
    state_->ImageSize = 16 * 1024;
    for (std::size_t i = 0; i < state_->ImageBlocks.size(); ++i)
        state_->ImageBlocks[i] = static_cast<std::uint8_t>(i * 13 + i / 4102);
    const auto block = [&](std::size_t n) {
        const auto start = state_->ImageBlocks.begin() + n * kImageBlockSize;
        return Bytes(start, start + kImageBlockSize);
    };
    Form1().Protocol().StartDownload();
    EXPECT_EQ(SentHex(12), "68 00 08 10 00 00 00 00 00 00 00 16");
    EXPECT_FALSE(Form1().Timer1.Enabled());
    Form1().Protocol().SendFirstBlock();
    EXPECT_EQ(Sent(kImageBlockSize), block(0));
    EXPECT_EQ(Form1().Timer1.Interval(), 16384u / 300);
    EXPECT_TRUE(Form1().Timer2.Running());

    Reply({0x68, 0x00, 0x03, 0x55, 0x03, 0x16});
    EXPECT_EQ(Sent(kImageBlockSize), block(3));
    EXPECT_TRUE(Form1().Timer2.Running());

    bool enabledWhileOpen = true;
    desktop_.WhileMessageOpen = [&](const QString&) {
        enabledWhileOpen = Form1().Button4->isEnabled();
    };
    Reply({0x68, 0x00, 0x04, 0x99, 0x10, 0x00, 0x16});
    EXPECT_EQ(desktop_.Messages, QStringList{"文件加载成功，长度是 1000"});
    EXPECT_FALSE(enabledWhileOpen);
    for (QPushButton* button : {Form1().Button4, Form1().Button5, Form1().Button6})
        EXPECT_TRUE(button->isEnabled());
    EXPECT_EQ(Progress(), "100 %");
    EXPECT_FALSE(Form1().Timer1.Enabled());
    EXPECT_FALSE(Form1().Timer2.Enabled());
}

TEST_F(MainWindowProtocol, CommandButtonsAreHeldWhileAnOperationWaitsThenShowWhatTheRulesSay) {
    Form1().ApplyButtonRule(ButtonEvent::SettingsSent);
    Form1().ApplyButtonRule(ButtonEvent::ModelChosen);
    QTest::mouseClick(Form1().Button7, Qt::LeftButton);
    SentHex(7);
    EXPECT_EQ(Buttons(), "00000000");
    QTest::mouseClick(Form1().Button3, Qt::LeftButton);
    EXPECT_TRUE(pty_.ReadUntilQuiet(100ms).empty());
    EXPECT_EQ(state_->CmdKind, kCmdReadOut);

    Form1().ApplyButtonRule(ButtonEvent::DownloadAccepted);  // a rule applied meanwhile
    EXPECT_EQ(Buttons(), "00000000");
    Reply({0x68, 0x04, 0x02, 0x00, 0x16});
    EXPECT_EQ(Buttons(), "11111111");
}

TEST_F(MainWindowProtocol, ALoadOnAClosedPortOpensNoFileDialog) {
    Form1().Comm1.ClosePort();
    Click(&TForm1::Button2);
    EXPECT_EQ(desktop_.Messages, QStringList{kPortClosed});
    EXPECT_TRUE(desktop_.FileDialogStarts.isEmpty());
    EXPECT_NE(state_->CmdKind, kCmdDownload);
}

TEST_F(MainWindowProtocol, AHangupClosesThePortAndEndsTheWaitingOperation) {
    Form1().ApplyButtonRule(ButtonEvent::ModelChosen);
    QTest::mouseClick(Form1().Button3, Qt::LeftButton);
    SentHex(4);
    Form1().Comm1.OnRequestHangup(&Form1().Comm1);
    EXPECT_FALSE(Form1().Comm1.IsOpen());
    EXPECT_EQ(Form1().StatusBar1->PanelText(1), kPortFailedText);
    EXPECT_EQ(desktop_.Messages, QStringList{kLineLost});
    EXPECT_FALSE(Form1().Timer1.Enabled() || Form1().Timer2.Enabled());
    EXPECT_TRUE(Form1().Button3->isEnabled());
}

TEST_F(MainWindowProtocol, ReadOutPagesReachTheViewWhileItIsOpenAndABadSizeShowsTheError) {
    Click(&TForm1::Button7);
    SentHex(7);
    const Bytes page(4096, 0xA5);
    qsizetype rowsWhileOpen = -1;
    WhenModalShown([&](QWidget*) {
        Reply(page);
        rowsWhileOpen = Windows().Form3->Rows().size();
    });
    QTest::mouseClick(Form1().Label8, Qt::LeftButton);
    EXPECT_EQ(rowsWhileOpen, 256);
    EXPECT_EQ(Windows().Form3->Rows().front(),
              "4000:: A5 A5 A5 A5 A5 A5 A5 A5 A5 A5 A5 A5 A5 A5 A5 A5 ");

    // Raised from the serial component's event, the error reaches the standard error box.
    state_->FlashSizeK = "4 8";
    Form1().Comm1.OnReceiveData(&Form1().Comm1, page.data(), 4096);
    EXPECT_EQ(desktop_.Errors, QStringList{"'4 8' is not a valid integer value."});
    EXPECT_EQ(Windows().Form3->Rows().size(), 256);
    EXPECT_EQ(state_->ReadPageCount, 2);
}

}  // namespace
}  // namespace vortana
