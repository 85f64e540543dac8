// The fault matrix: the main window against the device simulator when things go wrong. Every
// fault the simulator can commit, in every operation where it matters, and the troubles around
// the device: the line going away in the middle of an operation or before it, a file that
// cannot be read, a catalogue line that is refused, a settings folder or file that cannot be
// written, a burst of 65535 bytes of noise on the line. Each row names what the user sees and what
// holds afterwards; every row also checks that nothing was lost (the settings file and its folder,
// the loaded image, its checksum and listing, the read-out listing, the chosen model) and that the
// program goes on: the same operation without the fault then does what it should, on a port
// chosen again when the device has gone.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <list>
#include <optional>
#include <ostream>
#include <set>
#include <string_view>

#include "harness/SRecordFiles.h"
#include "image/ui/TForm3.h"
#include "image/ui/TForm4.h"
#include "shell/toolkit/TComboBox.h"
#include "shell/toolkit/TEdit.h"
#include "shell/toolkit/TLabel.h"
#include "shell/toolkit/TStatusBar.h"
#include "sim/PtyLink.h"
#include "tests/e2e/WindowWithDevice.h"
#include "tests/support/ReadOnlyPath.h"

namespace vortana {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

enum class Operation {
    Settings,
    Erase,
    Program,
    Verify,
    EraseProgramVerify,
    ReadOut,
    Download,     // the load button, file chosen, through to the device's verdict
    ModelChoice,  // a catalogue line double-clicked in the model list
    PortChoice,   // a new port pasted into ComboBox1
};
constexpr const char* kOperationNames[] = {"Settings", "Erase",       "Program",
                                           "Verify",   "EPV",         "ReadOut",
                                           "Download", "ModelChoice", "PortChoice"};

// What holds once the operation has ended or given up.
enum class After {
    Complete,  // "100 %", both timers stopped
    Stopped,   // both timers stopped, the progress below 100 %
    TimedOut,  // no reply taken: "120.0 秒" and the time-out, the progress below 100 %
    Untimed,   // no timer started: the timers and the progress as they were
    LineLost,  // the port closed and status panel 1 saying so, both timers stopped
};

struct Shown {
    enum Kind { Nothing, Message, ErrorBox } kind;
    // "{dir}" stands for the executable's folder, "{refused}" for the system's reason a write
    // into a read-only path is refused with
    const char* text;
};
constexpr Shown kNothing{Shown::Nothing, nullptr};
constexpr Shown Message(const char* text) {
    return {Shown::Message, text};
}
constexpr Shown Error(const char* text) {
    return {Shown::ErrorBox, text};
}

struct Row {
    const char* fault;  // a simulator fault as --fault takes it, a trouble of kTroubles, or ""
    Operation operation;
    Shown shown;  // every box the user sees, until the operation has ended or timed out
    After after;
    // The read-out view's pages, listed from the flash start on: a digit d is the chip's page d,
    // N the next 4096 bytes of the noise that came. nullptr: the view keeps its rows.
    const char* listing = nullptr;
};

void PrintTo(const Row& row, std::ostream* out) {
    *out << '"' << row.fault << "\" in " << kOperationNames[static_cast<int>(row.operation)];
}

constexpr char kTimeOut[] = "本次操作超时失败，编程器无响应，请检查供电是否正常！";
constexpr char kSettingsDone[] = "设置成功!请重新 选择型号及加载文件";
constexpr char kSettingsFailed[] = "设置失败,可能是目标已供电或连接线问题";
constexpr char kDownloadDone[] = "文件加载成功，长度是 0400";  // 16 KiB / 16
constexpr char kLineLost[] = "串口连接已断开，请检查连接线后重新选择串口！";
constexpr char kPortClosed[] = "串口未打开，请重新选择串口！";

using enum Operation;
using enum After;

const Row kMatrix[] = {
    // fault, operation, what the user sees, what holds after, the read-out listing
    {"silence", Settings, kNothing, Untimed},
    {"silence", Erase, Message(kTimeOut), TimedOut},
    {"silence", Program, Message(kTimeOut), TimedOut},
    {"silence", Verify, Message(kTimeOut), TimedOut},
    {"silence", EraseProgramVerify, Message(kTimeOut), TimedOut},
    {"silence", ReadOut, Message(kTimeOut), TimedOut, ""},
    {"silence", Download, Message(kTimeOut), TimedOut},

    {"late=1000", Settings, Message(kSettingsDone), Untimed},
    {"late=1000", Erase, Message("擦 除 成 功！"), Complete},
    {"late=1000", Program, Message("编 程 成 功"), Complete},
    {"late=1000", Verify, Message("校 验 成 功!"), Complete},
    {"late=1000", EraseProgramVerify, Message("擦除、编程、校验 成功!"), Complete},
    {"late=1000", ReadOut, kNothing, Complete, "1234"},
    {"late=1000", Download, Message(kDownloadDone), Complete},

    // Noise holds no status the front end acts on.
    {"garbage", Settings, Message(kSettingsFailed), Untimed},
    {"garbage", Erase, Message("擦 除 失 败"), Stopped},
    {"garbage", Program, kNothing, Stopped},
    {"garbage", Verify, kNothing, Stopped},
    {"garbage", EraseProgramVerify, kNothing, Stopped},
    {"garbage", ReadOut, kNothing, Complete, "N234"},
    {"garbage", Download, Message(kTimeOut), TimedOut},  // the block request lost

    // Three bytes hold no status: the status of the reply before must not be taken for one.
    {"short", Settings, kNothing, Untimed},
    {"short", Erase, Message(kTimeOut), TimedOut},
    {"short", Program, Message(kTimeOut), TimedOut},
    {"short", Verify, Message(kTimeOut), TimedOut},
    {"short", EraseProgramVerify, Message(kTimeOut), TimedOut},
    {"short", ReadOut, Message(kTimeOut), TimedOut, "234"},
    {"short", Download, Message(kTimeOut), TimedOut},

    {"wrong-status", Settings, Message(kSettingsFailed), Untimed},
    {"wrong-status", Erase, Message("擦 除 失 败"), Stopped},
    {"wrong-status", Program, kNothing, Stopped},
    {"wrong-status", Verify, kNothing, Stopped},
    {"wrong-status", EraseProgramVerify, kNothing, Stopped},
    {"wrong-status", Download, Message(kTimeOut), TimedOut},

    {"split-page", ReadOut, kNothing, Complete, "1234"},
    {"double-page", ReadOut, kNothing, Complete, "1234"},
    {"block-out-of-range", Download, Message("文 件 加 载 失 败"), Stopped},

    // The line goes away in the middle of an operation, or before it; the port is chosen again
    // afterwards, a fresh device on it (with no image to program or verify). The settings start
    // no timer: only the status panel tells.
    {"hang-up", Download, Message(kLineLost), LineLost},
    {"simulator-stops", Download, Message(kLineLost), LineLost},
    {"drop-line", Settings, kNothing, LineLost},
    {"drop-line", Erase, Message(kLineLost), LineLost},
    {"drop-line", ReadOut, Message(kLineLost), LineLost, ""},
    {"unplugged", Erase, Message(kPortClosed), Untimed},
    {"unplugged", Download, Message(kPortClosed), Untimed},

    {"noise-burst", Settings, Message(kSettingsFailed), Untimed},
    {"noise-burst", ReadOut, kNothing, Complete, "NNNNNNNNNNNNNNN"},
    {"unreadable-file", Download,
     Error("Cannot read file \"{dir}unreadable.s19\". Is a directory."), Untimed},
    {"refused-line", ModelChoice, Message("型号容量“128K”超过两位数，请检查 MCUtype.txt！"),
     Untimed},
    // The file is rewritten in place; where it cannot be, the box comes once the port is open.
    {"read-only-folder", PortChoice, kNothing, Untimed},
    {"read-only-settings", PortChoice, Error("Cannot write file \"{dir}sysset.ini\". {refused}."),
     Untimed},
};

// What each operation does without a fault, in the order of Operation: the follow-up of every
// row of the matrix.
const Row kWithoutFault[] = {
    {"", Settings, Message(kSettingsDone), Untimed},
    {"", Erase, Message("擦 除 成 功！"), Complete},
    {"", Program, Message("编 程 成 功"), Complete},
    {"", Verify, Message("校 验 成 功!"), Complete},
    {"", EraseProgramVerify, Message("擦除、编程、校验 成功!"), Complete},
    {"", ReadOut, kNothing, Complete, "1234"},
    {"", Download, Message(kDownloadDone), Complete},
    {"", ModelChoice, kNothing, Untimed},
    {"", PortChoice, kNothing, Untimed},
};

const Row& WithoutFault(Operation operation) {
    return kWithoutFault[static_cast<int>(operation)];
}

constexpr std::uint32_t kFlashStart = 0xC000;
constexpr std::size_t kImageBytes = 0x4000;
constexpr std::size_t kPageBytes = 4096;
constexpr std::size_t kNoiseBurst = 65535;  // the most one receive event carries
// Longer than the reader's 100 ms gap between bursts and the device's 200 ms between pages:
// when no byte came for this long, the device has said what it had to say.
constexpr auto kQuiet = 600ms;
constexpr int kTwoMinutesOfTicks = 1200;
constexpr unsigned kLateForever = 600000;  // ms: an answer held back until the device stops

const std::string kCatalogue =
    "01 VT8A-C16             C000 - FFFF         16K       0x00\r\n"
    "02 VT8X-C128            0000 - FFFF         128K      0x00\r\n";
constexpr int kGoodLine = 0;
constexpr int kRefusedLine = 1;
constexpr char kImageFile[] = "image.s19";
constexpr char kUnreadableFile[] = "unreadable.s19";  // a folder
constexpr char kPortsFolder[] = "ports/";             // links to the simulators' lines

// What must not be lost, as it stands.
struct Snapshot {
    std::string settingsFile;
    std::set<std::string> files;  // the names in the executable's folder
    std::vector<std::uint8_t> imageBlocks;
    QStringList imageRows;  // the file-buffer view
    QString checkSum;       // Label10
    QStringList readOutRows;
    QString progress;                // Label7
    std::pair<bool, bool> timers;    // Timer1 and Timer2 enabled
    std::vector<std::string> model;  // the session's model fields
    QStringList modelBoxes;          // Edit1, Edit2
};

class FaultMatrix : public WindowWithDevice, public testing::WithParamInterface<Row> {
  public:
    // The troubles' steps (kTroubles).
    void HoldTheFirstAnswer() { sim_->InjectFault({sim::FaultKind::Late, kLateForever}); }
    void StopTheDeviceAfterBlock0() {
        ASSERT_TRUE(sim_->WaitUntil(
            [&](const sim::DeviceState& s) {
                return s.frames.size() > framesBefore_ && s.blocks.size() == 1;
            },
            5s));
        sim_->Stop();
    }
    void Unplug() {
        sim_->Stop();
        ASSERT_TRUE(EventuallyHolds([&] { return !Form1().Comm1.IsOpen(); }));
    }
    void SilenceTheDevice() { sim_->InjectFault({sim::FaultKind::Silence}); }
    void SendANoiseBurst() {
        ASSERT_TRUE(sim_->WaitUntil(
            [&](const sim::DeviceState& s) { return s.frames.size() > framesBefore_; }, 5s));
        sim_->SendRaw(sim::Noise(kNoiseBurst));
    }
    void ChooseAFolderAsTheFile() { fileToLoad_ = QString::fromStdString(PathOf(kUnreadableFile)); }
    void PickTheRefusedLine() { lineToPick_ = kRefusedLine; }
    void MakeTheFolderReadOnly() { readOnly_.emplace_back(desktop_.Dir); }
    void MakeTheSettingsReadOnly() {
        MakeTheFolderReadOnly();
        readOnly_.emplace_back(PathOf("sysset.ini"));
        settingsWritable_ = false;
        desktop_.WhileErrorBoxOpen = [this] { EXPECT_TRUE(Form1().Comm1.IsOpen()); };
    }

  protected:
    // Settings sent, a model picked from the catalogue and a 16 KiB S-record file downloaded
    // into a device whose chip already holds it; a read-out listing stands in the view.
    void StartSession();
    // Runs `row`'s operation with its fault and checks what the user saw and what holds after.
    void RunRow(const Row& row);

    std::list<test::ReadOnlyPath> readOnly_;
    bool settingsWritable_ = true;
    QString fileToLoad_;
    int lineToPick_ = kGoodLine;

  private:
    sim::SimConfig DeviceConfig() const;
    void CountReceiveEvents();
    void StartOperation(Operation operation);
    void Press(QPushButton* button);
    void ChooseFreshDevice();
    void Paste(const std::string& text);
    // Runs the event loop until no byte has come for kQuiet.
    void Settle();
    // The user waits until the elapsed-time timer gives up.
    void WaitForTheTimeOut();
    // Whether the boxes `row` expects were shown and its operation has ended as it expects.
    bool Ended(const Row& row);
    Snapshot TakeSnapshot();
    QStringList ExpectedListing(std::string_view pages) const;
    void CheckShown(const Shown& shown);
    void CheckAfter(After after, const Snapshot& before);
    void CheckNothingLost(const Row& row, const Snapshot& before);

    const Bytes image_ = test::RandomBytes(kImageBytes, 41);
    std::vector<std::unique_ptr<sim::PtyLink>> links_;
    Clock::time_point lastEvent_;
    std::size_t framesBefore_ = 0;
};

// The troubles that are no fault of the simulator's: what is done before the operation starts,
// and what once it has (or nothing).
struct Trouble {
    const char* name;
    void (FaultMatrix::*arm)();
    void (FaultMatrix::*during)();
};

const Trouble kTroubles[] = {
    {"simulator-stops", &FaultMatrix::HoldTheFirstAnswer, &FaultMatrix::StopTheDeviceAfterBlock0},
    {"unplugged", &FaultMatrix::Unplug, nullptr},
    {"noise-burst", &FaultMatrix::SilenceTheDevice, &FaultMatrix::SendANoiseBurst},
    {"unreadable-file", &FaultMatrix::ChooseAFolderAsTheFile, nullptr},
    {"refused-line", &FaultMatrix::PickTheRefusedLine, nullptr},
    {"read-only-folder", &FaultMatrix::MakeTheFolderReadOnly, nullptr},
    {"read-only-settings", &FaultMatrix::MakeTheSettingsReadOnly, nullptr},
};

sim::SimConfig FaultMatrix::DeviceConfig() const {
    sim::SimConfig config = sim::SimConfig::Immediate();
    config.fill = Bytes(kFlashStart, 0xFF);
    config.fill.insert(config.fill.end(), image_.begin(), image_.end());
    return config;
}

void FaultMatrix::StartSession() {
    PutFile("MCUtype.txt", kCatalogue);
    test::WriteSRecordFile(PathOf(kImageFile), image_, kFlashStart);
    std::filesystem::create_directory(PathOf(kUnreadableFile));
    std::filesystem::create_directory(PathOf(kPortsFolder));
    fileToLoad_ = QString::fromStdString(PathOf(kImageFile));
    ASSERT_NO_FATAL_FAILURE(StartWithDevice(DeviceConfig()));
    CountReceiveEvents();

    Press(Form1().Button8);
    ASSERT_EQ(NthMessage(1), kSettingsDone);
    PickCatalogueLine(kGoodLine);
    ASSERT_TRUE(Form1().Button2->isEnabled());
    desktop_.FileAnswers.push_back(fileToLoad_);
    Press(Form1().Button2);
    ASSERT_EQ(NthMessage(2), kDownloadDone);
    Windows().Form3->AppendRows(std::vector<std::string>{"0000:: 00 "});
}

void FaultMatrix::CountReceiveEvents() {
    const TReceiveDataEvent handler = Form1().Comm1.OnReceiveData;
    Form1().Comm1.OnReceiveData = [this, handler](TComm* sender, const void* buffer,
                                                  std::uint16_t length) {
        lastEvent_ = Clock::now();
        handler(sender, buffer, length);
    };
}

void FaultMatrix::RunRow(const Row& row) {
    const Snapshot before = TakeSnapshot();
    desktop_.Messages.clear();
    desktop_.Errors.clear();
    const Trouble* trouble = nullptr;
    if (*row.fault != '\0') {
        for (const Trouble& candidate : kTroubles) {
            if (std::string_view(row.fault) == candidate.name)
                trouble = &candidate;
        }
        if (trouble != nullptr) {
            (this->*trouble->arm)();
        } else {
            std::string error;
            const std::optional<sim::Fault> fault = sim::ParseFault(row.fault, error);
            ASSERT_TRUE(fault) << error;
            sim_->InjectFault(*fault);
        }
    }
    StartOperation(row.operation);
    if (trouble != nullptr && trouble->during != nullptr)
        (this->*trouble->during)();
    Settle();
    if (row.after == After::TimedOut)
        WaitForTheTimeOut();
    EventuallyHolds([&] { return Ended(row); });
    Settle();

    CheckShown(row.shown);
    CheckAfter(row.after, before);
    CheckNothingLost(row, before);
}

void FaultMatrix::StartOperation(Operation operation) {
    framesBefore_ = sim_->State().frames.size();
    lastEvent_ = Clock::now();
    static QPushButton* TForm1::*const kButtons[] = {
        &TForm1::Button8, &TForm1::Button3, &TForm1::Button4,
        &TForm1::Button5, &TForm1::Button6, &TForm1::Button7,
    };
    switch (operation) {
        case Operation::Download:
            desktop_.FileAnswers.push_back(fileToLoad_);
            Press(Form1().Button2);
            return;
        case Operation::ModelChoice:
            PickCatalogueLine(lineToPick_);
            return;
        case Operation::PortChoice:
            ChooseFreshDevice();
            return;
        default:
            Press(Form1().*kButtons[static_cast<int>(operation)]);
    }
}

void FaultMatrix::Press(QPushButton* button) {
    EXPECT_TRUE(button->isEnabled()) << button->objectName().toStdString();
    QTest::mouseClick(button, Qt::LeftButton);
}

// A new device on a new line, reached through a link of its own, pasted in as its port.
void FaultMatrix::ChooseFreshDevice() {
    sim_ = std::make_unique<sim::Simulator>(DeviceConfig());
    const std::string link = PathOf(kPortsFolder) + std::to_string(links_.size() + 1);
    links_.push_back(std::make_unique<sim::PtyLink>(link, sim_->StartOnPty()));
    Paste(link);
}

// One edit, so the port box's change handler runs once, with the whole name.
void FaultMatrix::Paste(const std::string& text) {
    QLineEdit* box = Form1().ComboBox1->lineEdit();
    QApplication::clipboard()->setText(QString::fromStdString(text));
    box->selectAll();
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
}

void FaultMatrix::Settle() {
    EXPECT_TRUE(EventuallyHolds([&] { return Clock::now() - lastEvent_ >= kQuiet; }))
        << "the line never went quiet";
}

void FaultMatrix::WaitForTheTimeOut() {
    for (int tick = 0; tick < kTwoMinutesOfTicks && Form1().Timer2.Enabled(); ++tick)
        Form1().Timer2Timer();
}

bool FaultMatrix::Ended(const Row& row) {
    const qsizetype boxes = row.shown.kind == Shown::Nothing ? 0 : 1;
    if (desktop_.Messages.size() + desktop_.Errors.size() < boxes)
        return false;
    switch (row.after) {
        case After::Complete:
            return Form1().Label7->Caption() == "100 %";
        case After::Stopped:
            return !Form1().Timer2.Enabled();
        case After::LineLost:
            return !Form1().Comm1.IsOpen();
        case After::TimedOut:
        case After::Untimed:
            break;
    }
    return true;
}

Snapshot FaultMatrix::TakeSnapshot() {
    Snapshot snapshot;
    snapshot.settingsFile = FileText("sysset.ini");
    for (const auto& entry : std::filesystem::directory_iterator(desktop_.Dir))
        snapshot.files.insert(entry.path().filename().string());
    snapshot.imageBlocks.assign(state_->ImageBlocks.begin(), state_->ImageBlocks.end());
    snapshot.imageRows = Windows().Form4->Rows();
    snapshot.checkSum = Form1().Label10->Caption();
    snapshot.readOutRows = Windows().Form3->Rows();
    snapshot.progress = Form1().Label7->Caption();
    snapshot.timers = {Form1().Timer1.Enabled(), Form1().Timer2.Enabled()};
    const SessionState& s = *state_;
    snapshot.model = {s.ModelName,
                      s.FlashStart,
                      s.FlashEnd,
                      s.FlashSizeText,
                      s.ModelCode,
                      s.FlashSizeK,
                      std::to_string(s.ImageSize)};
    snapshot.modelBoxes = {Form1().Edit1->Text(), Form1().Edit2->Text()};
    return snapshot;
}

QStringList FaultMatrix::ExpectedListing(std::string_view pages) const {
    const sim::DeviceState device = sim_->State();
    Bytes bytes;
    std::size_t noiseTaken = 0;
    for (const char page : pages) {
        if (page == 'N') {
            noiseTaken += kPageBytes;
            const Bytes noise = sim::Noise(noiseTaken);
            bytes.insert(bytes.end(), noise.end() - kPageBytes, noise.end());
        } else {
            const auto address =
                static_cast<std::uint32_t>(kFlashStart + (page - '1') * kPageBytes);
            const Bytes chip = device.chip.Read(address, kPageBytes);
            bytes.insert(bytes.end(), chip.begin(), chip.end());
        }
    }
    return ListingRows(bytes, kFlashStart);
}

void FaultMatrix::CheckShown(const Shown& shown) {
    QStringList messages;
    QStringList errors;
    if (shown.kind != Shown::Nothing) {
        QString text = QString::fromUtf8(shown.text);
        text.replace("{dir}", QString::fromStdString(desktop_.Dir));
        text.replace("{refused}", std::strerror(test::ReadOnlyPath::RefusalError()));
        (shown.kind == Shown::Message ? messages : errors).append(text);
    }
    EXPECT_EQ(desktop_.Messages, messages);
    EXPECT_EQ(desktop_.Errors, errors);
}

void FaultMatrix::CheckAfter(After after, const Snapshot& before) {
    const QString progress = Form1().Label7->Caption();
    const bool timer1 = Form1().Timer1.Enabled();
    const bool timer2 = Form1().Timer2.Enabled();
    switch (after) {
        case After::Complete:
            EXPECT_EQ(progress, "100 %");
            EXPECT_FALSE(timer1 || timer2);
            return;
        case After::Stopped:
            EXPECT_NE(progress, "100 %");
            EXPECT_FALSE(timer1 || timer2);
            return;
        case After::TimedOut:
            EXPECT_NE(progress, "100 %");
            EXPECT_EQ(Form1().Label9->Caption(), "120.0 秒");
            EXPECT_FALSE(timer2);
            return;
        case After::LineLost:
            EXPECT_FALSE(Form1().Comm1.IsOpen());
            EXPECT_EQ(Form1().StatusBar1->PanelText(1), kPortFailedText);
            EXPECT_FALSE(timer1 || timer2);
            return;
        case After::Untimed:
            // The progress timer may still be climbing to 98 % after a time-out.
            EXPECT_EQ(std::pair(timer1, timer2), before.timers);
            if (!before.timers.first) {
                EXPECT_EQ(progress, before.progress);
            }
            return;
    }
}

void FaultMatrix::CheckNothingLost(const Row& row, const Snapshot& before) {
    const Snapshot now = TakeSnapshot();
    EXPECT_EQ(now.files, before.files) << "a file was left beside the others";
    if (row.operation == Operation::PortChoice && settingsWritable_) {
        const std::string port = Form1().ComboBox1->Text().toStdString();
        EXPECT_EQ(now.settingsFile, "[comx]\nnum=" + port + "\n");
    } else {
        EXPECT_EQ(now.settingsFile, before.settingsFile);
    }
    EXPECT_EQ(now.imageBlocks, before.imageBlocks);
    EXPECT_EQ(now.imageRows, before.imageRows);
    EXPECT_EQ(now.checkSum, before.checkSum);
    EXPECT_EQ(now.model, before.model);
    // The settings command empties the model boxes: the model must be chosen again.
    EXPECT_EQ(now.modelBoxes,
              (row.operation == Operation::Settings ? QStringList{QString(), QString()}
                                                    : before.modelBoxes));
    if (row.listing != nullptr)
        EXPECT_EQ(now.readOutRows, ExpectedListing(row.listing));
    else
        EXPECT_EQ(now.readOutRows, before.readOutRows);
    if (row.operation == Operation::PortChoice) {
        EXPECT_TRUE(Form1().Comm1.IsOpen());
        EXPECT_EQ(Form1().StatusBar1->PanelText(1), kPortOpenedText);
    }
}

std::string RowName(const testing::TestParamInfo<Row>& info) {
    std::string name = std::string(info.param.fault) + "_in_" +
                       kOperationNames[static_cast<int>(info.param.operation)];
    for (char& c : name) {
        if (std::isalnum(static_cast<unsigned char>(c)) == 0)
            c = '_';
    }
    return name;
}

TEST_P(FaultMatrix, WhatTheUserSeesAndThatTheProgramGoesOn) {
    ASSERT_NO_FATAL_FAILURE(StartSession());
    const Row& row = GetParam();
    {
        SCOPED_TRACE("with the fault");
        RunRow(row);
    }
    readOnly_.clear();
    settingsWritable_ = true;
    desktop_.WhileErrorBoxOpen = nullptr;
    fileToLoad_ = QString::fromStdString(PathOf(kImageFile));
    lineToPick_ = kGoodLine;
    if (!sim_->Serving()) {
        SCOPED_TRACE("the port chosen again, the device gone");
        RunRow(WithoutFault(Operation::PortChoice));
    }
    SCOPED_TRACE("the same operation without the fault");
    RunRow(WithoutFault(row.operation));
    if (row.operation == Operation::PortChoice)
        RunRow(WithoutFault(Operation::Settings));  // the chosen line works
}

INSTANTIATE_TEST_SUITE_P(Matrix, FaultMatrix, testing::ValuesIn(kMatrix), RowName);

}  // namespace
}  // namespace vortana
