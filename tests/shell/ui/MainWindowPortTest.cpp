// The main window with a serial line that opens: the slave of a pseudo-terminal, named by its
// path. Ports that cannot open are paths that do not exist.
#include <QLineEdit>
#include <QTest>

#include "comm/qt/QtNotifySink.h"
#include "harness/Pty.h"
#include "shell/toolkit/TComboBox.h"
#include "shell/toolkit/TStatusBar.h"
#include "shell/ui/TForm1.h"
#include "tests/support/ShellFixture.h"

namespace vortana {
namespace {

constexpr char kMissingPort[] = "/nonexistent/ttyV0";
constexpr char kMissingPort2[] = "/nonexistent/ttyV1";

class MainWindowPort : public ShellFixture {
  protected:
    void Remember(const std::string& port) { PutFile("sysset.ini", "[comx]\nnum=" + port + "\n"); }

    QString Outcome() { return Form1().StatusBar1->PanelText(1); }

    // The user empties the port box and types `text`, one keystroke at a time.
    void Type(const std::string& text) {
        QLineEdit* box = Form1().ComboBox1->lineEdit();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, QString::fromStdString(text));
    }

    test::Pty pty_;
};

TEST_F(MainWindowPort, StartUpOpensTheRememberedPortAt38400_8N1) {
    Remember(pty_.SlavePath());
    Start();
    EXPECT_TRUE(Form1().Comm1.IsOpen());
    EXPECT_EQ(Outcome(), kPortOpenedText);
    EXPECT_EQ(Form1().StatusBar1->PanelText(0),
              QString::fromStdString("    " + pty_.SlavePath() + "  8  N  1 ,  38400"));
    const termios line = pty_.SlaveSettings();
    EXPECT_EQ(cfgetospeed(&line), B38400);
    EXPECT_EQ(line.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_EQ(line.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
}

TEST_F(MainWindowPort, Comm1CarriesItsDesignedProperties) {
    Start();
    // Where the design departs from the component's defaults; the other properties keep them.
    const TComm& comm = Form1().Comm1;
    EXPECT_EQ(comm.CommName(), "COM5");  // nothing remembered
    EXPECT_EQ(comm.BaudRate(), 38400u);
    EXPECT_EQ(comm.DtrControl(), TDtrControl::DtrDisable);
    EXPECT_EQ(comm.RtsControl(), TRtsControl::RtsDisable);
    EXPECT_FALSE(comm.Outx_XonXoffFlow());
    EXPECT_FALSE(comm.Inx_XonXoffFlow());
    TComm defaults(MakeQtNotifySink());
    EXPECT_EQ(comm.TxContinueOnXoff(), defaults.TxContinueOnXoff());
    EXPECT_EQ(comm.ReadIntervalTimeout(), 100u);
}

TEST_F(MainWindowPort, AMissingPortIsToldAndAWorkingOneChosenLaterOpens) {
    Remember(kMissingPort);
    Start();
    EXPECT_FALSE(Form1().Comm1.IsOpen());
    EXPECT_EQ(Outcome(), kPortFailedText);
    EXPECT_TRUE(desktop_.Errors.isEmpty());  // no box either way

    Type(kMissingPort2);  // failing again: still remembered
    EXPECT_EQ(Outcome(), kPortFailedText);
    EXPECT_EQ(FileText("sysset.ini"), "[comx]\nnum=" + std::string(kMissingPort2) + "\n");

    Type(pty_.SlavePath());
    EXPECT_TRUE(Form1().Comm1.IsOpen());
    EXPECT_EQ(Outcome(), kPortOpenedText);
    EXPECT_EQ(FileText("sysset.ini"), "[comx]\nnum=" + pty_.SlavePath() + "\n");
}

TEST_F(MainWindowPort, EveryKeystrokeClosesTheOpenPortAndTriesTheTextSoFar) {
    Remember(pty_.SlavePath());
    Start();
    ASSERT_TRUE(Form1().Comm1.IsOpen());
    QTest::keyClick(Form1().ComboBox1->lineEdit(), Qt::Key_X);  // the path gets a stray letter
    EXPECT_FALSE(Form1().Comm1.IsOpen());
    EXPECT_EQ(Form1().Comm1.CommName(), pty_.SlavePath() + "x");
    EXPECT_EQ(Outcome(), kPortFailedText);
    QTest::keyClick(Form1().ComboBox1->lineEdit(), Qt::Key_Backspace);
    EXPECT_TRUE(Form1().Comm1.IsOpen());
    EXPECT_EQ(Outcome(), kPortOpenedText);
}

TEST_F(MainWindowPort, AGivenUpLoadReopensThePortAndTellsOnlyAFailure) {
    Remember(pty_.SlavePath());
    Start();
    Form1().StatusBar1->SetPanelText(1, "as before");
    Form1().ApplyButtonRule(ButtonEvent::LoadGivenUp);
    EXPECT_TRUE(Form1().Comm1.IsOpen());
    EXPECT_EQ(Outcome(), "as before");

    pty_.CloseMaster();  // the line goes away: the slave's path with it
    Form1().ApplyButtonRule(ButtonEvent::LoadGivenUp);
    EXPECT_FALSE(Form1().Comm1.IsOpen());
    EXPECT_EQ(Outcome(), kPortFailedText);
}

TEST_F(MainWindowPort, ClosingTheMainWindowClosesThePort) {
    Remember(pty_.SlavePath());
    Start();
    Form1().show();
    ASSERT_TRUE(Form1().Comm1.IsOpen());
    Form1().close();
    EXPECT_FALSE(Form1().Comm1.IsOpen());
    // Closed, the line can be opened by its next owner.
    TComm next(MakeQtNotifySink());
    next.SetCommName(pty_.SlavePath());
    EXPECT_NO_THROW(next.OpenPort());
    next.ClosePort();
}

}  // namespace
}  // namespace vortana
