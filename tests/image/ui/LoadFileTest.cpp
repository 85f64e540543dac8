// The load-file button's whole course in the main window: the download header before the file
// dialog, the three ways a load is given up, an unreadable file, and a load that lists the image
// and sends block 0. The port is the slave of a pseudo-terminal; the test reads what was sent on
// its master.
#include <QPushButton>
#include <QTest>

#include <numeric>

#include "harness/Pty.h"
#include "harness/SRecordFiles.h"
#include "image/ModelPick.h"
#include "image/ui/TForm4.h"
#include "shell/toolkit/TEdit.h"
#include "shell/toolkit/TLabel.h"
#include "shell/toolkit/TStatusBar.h"
#include "shell/ui/TForm1.h"
#include "tests/support/ShellFixture.h"

namespace vortana {
namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

constexpr std::size_t kImageBytes = 16384;  // the model below: C000 to FFFF
// Its download header: 16 KiB, code 0x00, no serial number.
const Bytes kHeader = {0x68, 0x00, 0x08, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x16};
const Bytes kNothing;

// Enabled state of Button1 to Button8 as a text of 0/1.
QString Buttons(TForm1& form) {
    QString state;
    for (QPushButton* button : {form.Button1, form.Button2, form.Button3, form.Button4,
                                form.Button5, form.Button6, form.Button7, form.Button8})
        state += button->isEnabled() ? u'1' : u'0';
    return state;
}

class LoadFile : public ShellFixture {
  protected:
    // The window with its port open, after the settings command and the pick of a 16 KiB model
    // at C000, and with a listing from an earlier load in the file-buffer view.
    void StartWithModel() {
        RememberPort(pty_.SlavePath());
        Start();
        ASSERT_TRUE(Form1().Comm1.IsOpen());
        Form1().ApplyButtonRule(ButtonEvent::SettingsSent);
        const ModelPickOutcome outcome =
            PickModel("01 VT8A-C16             C000 - FFFF         16K       0x00");
        ASSERT_TRUE(outcome.pick) << outcome.refusal;
        outcome.pick->ApplyTo(*state_);
        Form1().Edit1->SetText(QString::fromStdString(outcome.pick->Edit1));
        Form1().Edit2->SetText(QString::fromStdString(outcome.pick->Edit2));
        Form1().ApplyButtonRule(ButtonEvent::ModelChosen);
        View().setWindowTitle("earlier.s19");
        const std::string earlierRow = "C000:: 00 ";
        View().AppendRows({&earlierRow, 1});
        state_->ImageBlocks.fill(0xA5);
        // The user takes a moment in the file dialog, long enough for the header to go out.
        desktop_.WhileFileDialogOpen = [this] {
            EXPECT_EQ(state_->CmdKind, kCmdDownload);
            sentBeforeDialog_ = pty_.Read(kHeader.size(), 2s);
        };
    }

    TForm4& View() { return *Windows().Form4; }

    // Chooses `name` in the file dialog (nothing: the user cancels) and clicks the load button.
    void Load(const std::optional<std::string>& name) {
        desktop_.FileAnswers.push_back(name ? QString::fromStdString(PathOf(*name)) : QString());
        QTest::mouseClick(Form1().Button2, Qt::LeftButton);
    }

    // What went out on the line since the last look.
    Bytes Sent() { return pty_.ReadUntilQuiet(200ms); }

    bool TimersRun() { return Form1().Timer1.Enabled() || Form1().Timer2.Enabled(); }

    void ExpectGivenUp() {
        EXPECT_EQ(Buttons(Form1()), "00000001");
        for (TEdit* box : {Form1().Edit1, Form1().Edit2, Form1().Edit3})
            EXPECT_EQ(box->Text(), "");
        EXPECT_FALSE(TimersRun());
        EXPECT_EQ(Sent(), kNothing) << "no block goes out";
        EXPECT_EQ(state_->ImageBlocks.front(), 0xA5) << "the blocks stay as they were";
        EXPECT_TRUE(Form1().Comm1.IsOpen()) << "the port is open again";
        EXPECT_EQ(Form1().StatusBar1->PanelText(1), kPortOpenedText);
    }

    test::Pty pty_;
    Bytes sentBeforeDialog_;
};

TEST_F(LoadFile, SendsTheHeaderBeforeTheDialogAndACancelGivesTheLoadUp) {
    StartWithModel();
    Load(std::nullopt);
    EXPECT_EQ(sentBeforeDialog_, kHeader);
    ExpectGivenUp();
    EXPECT_EQ(View().windowTitle(), "earlier.s19");
    EXPECT_EQ(View().Rows(), QStringList{"C000:: 00 "});
    EXPECT_TRUE(desktop_.Messages.isEmpty());
}

TEST_F(LoadFile, AResetThatCannotReopenThePortSaysSoInStatusPanel1) {
    StartWithModel();
    // The port goes away while the dialog is open: the reset closes it and cannot open it again.
    desktop_.WhileFileDialogOpen = [&] { Form1().Comm1.SetCommName("/nonexistent/ttyV0"); };
    Load(std::nullopt);
    EXPECT_FALSE(Form1().Comm1.IsOpen());
    EXPECT_EQ(Form1().StatusBar1->PanelText(1), kPortFailedText);
    EXPECT_EQ(Buttons(Form1()), "00000001");
}

struct RefusedFile {
    const char* what;
    std::string records;
    QString message;
};

TEST_F(LoadFile, ARefusedFileIsToldThenTheLoadIsGivenUpWithTheViewLeftEmpty) {
    const RefusedFile refused[] = {
        {"checksum", "S00600004844521B\r\nS106C000010203FF\r\nS9030000FC\r\n",
         "文件加载错误，C000地址行校验和错误 33"},
        {"below the start", "S1068000010203B3\r\n", "所选型号跟烧写文件地址不符，请重新选择！"},
        // Address 0000 lets header and end records through, never data.
        {"data at 0000", "S10600000102037C\n", "所选型号跟烧写文件地址不符，请重新选择！"},
        {"count below 3", "S0030000FC\nS102C0003D\nS1068000010203B3\n",
         "文件加载错误，第2行记录长度错误 02"},
    };
    for (const RefusedFile& file : refused) {
        SCOPED_TRACE(file.what);
        StartWithModel();
        PutFile("bad.s19", file.records);
        Load("bad.s19");
        EXPECT_EQ(sentBeforeDialog_, kHeader);
        EXPECT_EQ(desktop_.Messages, QStringList{file.message});
        ExpectGivenUp();
        EXPECT_EQ(View().windowTitle(), "earlier.s19");
        EXPECT_EQ(View().Rows(), QStringList{});
        desktop_.Messages.clear();
        forms_.reset();
        state_ = std::make_unique<SessionState>();
    }
}

TEST_F(LoadFile, AFileThatCannotBeReadShowsTheErrorBoxAndGivesNothingUp) {
    StartWithModel();
    Load("missing.s19");
    EXPECT_EQ(desktop_.Errors,
              QStringList{QString::fromStdString("Cannot open file \"" + PathOf("missing.s19") +
                                                 "\". No such file or directory.")});
    EXPECT_EQ(sentBeforeDialog_, kHeader);
    EXPECT_EQ(Sent(), kNothing);
    EXPECT_EQ(Form1().Edit3->Text(), R"(.\..\missing.s19)");
    EXPECT_EQ(Form1().Edit1->Text(), " VT8A-C16       ");
    EXPECT_EQ(Buttons(Form1()), "11100011");
    EXPECT_EQ(View().Rows(), QStringList{"C000:: 00 "});
    EXPECT_FALSE(TimersRun());
    EXPECT_TRUE(desktop_.Messages.isEmpty());
}

TEST_F(LoadFile, ALoadedFileIsListedAndItsFirstBlockSent) {
    StartWithModel();
    const Bytes data = test::RandomBytes(kImageBytes, 7);
    test::WriteSRecordFile(PathOf("image.s19"), data, 0xC000);
    state_->ElapsedTicks = 55;
    Form1().Label7->SetCaption("100 %");
    Load("image.s19");

    EXPECT_TRUE(desktop_.Messages.isEmpty());
    EXPECT_TRUE(desktop_.Errors.isEmpty());
    EXPECT_EQ(Form1().Edit3->Text(), R"(.\..\image.s19)");
    EXPECT_EQ(Form1().Edit3->toolTip(), QString::fromStdString(PathOf("image.s19")));
    const std::uint32_t sum = std::accumulate(data.begin(), data.end(), 0u);
    EXPECT_EQ(Form1().Label10->Caption(),
              "CheckSum:  0x" + QString::number(sum, 16).rightJustified(8, '0').toUpper());

    EXPECT_EQ(View().windowTitle(), "image.s19");
    const QStringList rows = View().Rows();
    ASSERT_EQ(rows.size(), 1024);
    QString first = "C000:: ";
    for (int i = 0; i < 16; ++i)
        first += QString("%1 ").arg(data[i], 2, 16, QChar('0')).toUpper();
    EXPECT_EQ(rows.front(), first);
    EXPECT_TRUE(rows.back().startsWith("FFF0:: "));

    EXPECT_EQ(Form1().Label7->Caption(), "0 %");
    EXPECT_EQ(state_->ElapsedTicks, 0u);
    EXPECT_EQ(Form1().Timer1.Interval(), kImageBytes / 300);
    EXPECT_TRUE(Form1().Timer1.Enabled());
    EXPECT_TRUE(Form1().Timer2.Enabled());

    // After the header, block 0: number 0, address byte C0, the first 4096 bytes, their sum.
    EXPECT_EQ(sentBeforeDialog_, kHeader);
    const Bytes block = pty_.Read(kImageBlockSize, 2s);
    ASSERT_EQ(block.size(), kImageBlockSize);
    EXPECT_EQ(block[0], 0x00);
    EXPECT_EQ(block[1], 0xC0);
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 4096, block.begin() + 2));
    const std::uint32_t blockSum = std::accumulate(data.begin(), data.begin() + 4096, 0u);
    EXPECT_EQ(Bytes(block.end() - 4, block.end()),
              Bytes({std::uint8_t(blockSum >> 24), std::uint8_t(blockSum >> 16),
                     std::uint8_t(blockSum >> 8), std::uint8_t(blockSum)}));
    EXPECT_EQ(Sent(), kNothing) << "the other blocks wait for the device to ask";
    //                              12345678
    EXPECT_EQ(Buttons(Form1()), "00000000") << "every command waits for the device's answer";
}

}  // namespace
}  // namespace vortana
