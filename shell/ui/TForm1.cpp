#include "shell/ui/TForm1.h"

#include <QCloseEvent>
#include <QPushButton>
#include <algorithm>
#include <array>
#include <exception>
#include <initializer_list>

#include "comm/qt/QtNotifySink.h"
#include "image/ImageFileName.h"
#include "image/ImageLoader.h"
#include "image/ModelPick.h"
#include "image/ui/TForm2.h"
#include "image/ui/TForm3.h"
#include "image/ui/TForm4.h"
#include "image/ui/TForm5.h"
#include "protocol/ProgressTimers.h"
#include "shell/FileAccess.h"
#include "shell/IniFile.h"
#include "shell/IniText.h"
#include "shell/SessionState.h"
#include "shell/toolkit/ControlDesign.h"
#include "shell/toolkit/Handler.h"
#include "shell/toolkit/Look.h"
#include "shell/toolkit/ScreenCentring.h"
#include "shell/toolkit/SystemToolkit.h"
#include "shell/toolkit/TComboBox.h"
#include "shell/toolkit/TEdit.h"
#include "shell/toolkit/TLabel.h"
#include "shell/toolkit/TRadioGroup.h"
#include "shell/toolkit/TStatusBar.h"
#include "shell/toolkit/TextLines.h"

namespace vortana {
namespace {

constexpr int kClientWidth = 587;
constexpr int kClientHeight = 466;
constexpr int kBasePixels = 16;  // the window's font size
constexpr int kStatusBarHeight = 34;
constexpr int kStatusBarPixels = 19;
constexpr unsigned kProgressIntervalMs = 200;
constexpr std::uint32_t kBaudRate = 38400;

constexpr char kSettingsFile[] = "sysset.ini";
constexpr char kSettingsSection[] = "comx";
constexpr char kPortKey[] = "num";
constexpr char kDefaultPort[] = "COM5";
constexpr char kCatalogueFile[] = "MCUtype.txt";
constexpr char kPortSettingsPrefix[] = "    ";
constexpr char kPortSettingsSuffix[] = "  8  N  1 ,  38400";

// The window's design, control by control: place is left, top, width, height of the client area.
const LabelDesign<TForm1> kLabels[] = {
    {&TForm1::Label1, "Label1", {72, 304, 80, 16}, "操作进度：", 16, Qt::black, false},
    {&TForm1::Label2, "Label2", {40, 152, 105, 21}, "芯片型号：", 21, Qt::black, false},
    {&TForm1::Label3, "Label3", {432, 24, 80, 16}, "选择串口：", 16, Qt::black, false},
    {&TForm1::Label4, "Label4", {40, 192, 118, 21}, "Flash地址：", 21, Qt::black, false},
    {&TForm1::Label5, "Label5", {40, 232, 105, 21}, "烧写文件：", 21, Qt::black, false},
    {&TForm1::Label6, "Label6", {432, 56, 80, 16}, "烧写次数：", 16, Qt::black, false},
    {&TForm1::Label7, "Label7", {224, 280, 87, 56}, "0 %", 56, kBlue, true},
    {&TForm1::Label8, "Label8", {496, 360, 80, 16}, "查看缓冲区", 16, kGrey, false},
    {&TForm1::Label9, "Label9", {416, 312, 48, 16}, "0.0 秒", 16, kGrey, false},
    {&TForm1::Label10, "Label10", {153, 256, 10, 19}, "", 19, kGrey, false},
};

const EditDesign<TForm1> kEdits[] = {
    {&TForm1::Edit1, "Edit1", {152, 144, 265, 29}, 20, true, 0, "", Qt::black, kSilver, nullptr},
    {&TForm1::Edit2, "Edit2", {152, 182, 265, 29}, 21, true, 0, "", Qt::black, kSilver, nullptr},
    {&TForm1::Edit3, "Edit3", {152, 220, 265, 33}, 20, true, 0, "", Qt::black, kSilver, nullptr},
    {&TForm1::Edit4,
     "Edit4",
     {512, 48, 57, 24},
     16,
     false,
     4,
     "0000",
     Qt::white,
     Qt::black,
     nullptr},
};

struct ButtonDesign {
    QPushButton* TForm1::*control;
    const char* name;
    QRect place;
    const char* caption;
    int pixels;
};

const ButtonDesign kButtons[] = {
    {&TForm1::Button8, "Button8", {432, 80, 137, 41}, "设  置", 19},
    {&TForm1::Button1, "Button1", {432, 144, 137, 25}, "选 择 型 号", 16},
    {&TForm1::Button2, "Button2", {432, 224, 137, 25}, "加 载 文 件", 16},
    {&TForm1::Button3, "Button3", {64, 352, 75, 25}, "擦  除", 16},
    {&TForm1::Button4, "Button4", {181, 352, 75, 25}, "编  程", 16},
    {&TForm1::Button5, "Button5", {298, 352, 75, 25}, "校  验", 16},
    {&TForm1::Button7, "Button7", {416, 352, 75, 25}, "读  出", 16},
    {&TForm1::Button6, "Button6", {112, 400, 329, 25}, "擦 除 、 编 程 、 校 验", 16},
};

// Every group starts at item 0. The same index means yes in RadioGroup4 and RadioGroup5 and no in
// RadioGroup3: their items stand in opposite orders.
struct RadioGroupDesign {
    TRadioGroup* TForm1::*control;
    const char* name;
    QRect place;
    const char* caption;
    std::array<const char*, 2> items;
    int columns;
    int pixels;
    QColor colour;
};

const RadioGroupDesign kRadioGroups[] = {
    {&TForm1::RadioGroup1,
     "RadioGroup1",
     {16, 8, 89, 113},
     "烧写方式",
     {"在线", "离线"},
     1,
     16,
     Qt::black},
    {&TForm1::RadioGroup2,
     "RadioGroup2",
     {120, 8, 105, 113},
     "供电方式",
     {"输出5V", "输出3.3V"},
     1,
     16,
     Qt::black},
    {&TForm1::RadioGroup4,
     "RadioGroup4",
     {240, 8, 81, 113},
     "擦除使能",
     {"是", "否"},
     1,
     16,
     Qt::black},
    {&TForm1::RadioGroup5,
     "RadioGroup5",
     {336, 8, 81, 113},
     "校验使能",
     {"是", "否"},
     1,
     16,
     Qt::black},
    {&TForm1::RadioGroup3,
     "RadioGroup3",
     {432, 176, 137, 41},
     "是否烧入序列号？",
     {"否", "是"},
     2,
     12,
     kBlue},
};

const QStringList kPortNames = {"COM1", "COM2", "COM3", "COM4", "COM5",
                                "COM6", "COM7", "COM8", "COM9"};
constexpr QRect kComboBox1Place{512, 16, 57, 24};

// The command buttons, held disabled while an operation waits for the device: a reply would
// otherwise be taken for the next command's, and a second download header breaks a download.
constexpr QPushButton* TForm1::*kCommandButtons[] = {
    &TForm1::Button1, &TForm1::Button2, &TForm1::Button3, &TForm1::Button4,
    &TForm1::Button5, &TForm1::Button6, &TForm1::Button7, &TForm1::Button8};

bool IsCommandButton(const TForm1& form, const QWidget* control) {
    return std::ranges::any_of(
        kCommandButtons, [&](QPushButton* TForm1::*button) { return form.*button == control; });
}

constexpr int kOfflineItem = 1;        // RadioGroup1's "离线"
constexpr int kSerialNumbersItem = 1;  // RadioGroup3's "是"

// What else an event does besides enabling and disabling controls.
enum RuleExtra : unsigned {
    kNothingElse = 0,
    kEmptyInfoBoxes = 1,      // Edit1, Edit2 and Edit3 emptied
    kSerialQuestionToNo = 2,  // RadioGroup3 set to "否" first, which runs its handler on a change
    kResetPort = 4,           // port closed first and opened again last
};

// A control the rules enable and disable, bound by its member as the design tables bind theirs.
class RuledControl {
  public:
    constexpr RuledControl(QPushButton* TForm1::*button) : button_(button) {}
    constexpr RuledControl(TRadioGroup* TForm1::*group) : group_(group) {}
    QWidget* In(const TForm1& form) const {
        return button_ != nullptr ? static_cast<QWidget*>(form.*button_) : form.*group_;
    }

  private:
    QPushButton* TForm1::*button_ = nullptr;
    TRadioGroup* TForm1::*group_ = nullptr;
};

// The one table of the main window's enabling rules; no other code enables or disables controls.
struct ButtonRule {
    ButtonEvent event;
    std::initializer_list<RuledControl> enabled;
    std::initializer_list<RuledControl> disabled;
    unsigned extra;
};

const ButtonRule kButtonRules[] = {
    {ButtonEvent::StartUp,
     {&TForm1::Button8},
     {&TForm1::Button1, &TForm1::Button2, &TForm1::Button3, &TForm1::Button4, &TForm1::Button5,
      &TForm1::Button6, &TForm1::Button7, &TForm1::RadioGroup3},
     kNothingElse},
    {ButtonEvent::SettingsSent, {&TForm1::Button1}, {}, kEmptyInfoBoxes},
    {ButtonEvent::ModelChosen,
     {&TForm1::Button2, &TForm1::Button3, &TForm1::Button7},
     {&TForm1::Button4, &TForm1::Button5, &TForm1::Button6},
     kNothingElse},
    {ButtonEvent::LoadGivenUp,
     {},
     {&TForm1::Button1, &TForm1::Button2, &TForm1::Button3, &TForm1::Button4, &TForm1::Button5,
      &TForm1::Button6, &TForm1::Button7},
     kEmptyInfoBoxes | kResetPort},
    {ButtonEvent::DownloadAccepted,
     {&TForm1::Button4, &TForm1::Button5, &TForm1::Button6},
     {},
     kNothingElse},
    {ButtonEvent::OfflineChosen, {&TForm1::RadioGroup3}, {}, kSerialQuestionToNo},
    {ButtonEvent::OnlineChosen, {}, {&TForm1::RadioGroup3}, kSerialQuestionToNo},
};

}  // namespace

TForm1::TForm1(FormContext context)
    : Comm1(MakeQtNotifySink()),
      OpenDialog1(context.Desk, this),
      Timer1(context.Desk, kProgressIntervalMs, false),
      Timer2(context.Desk, kElapsedTickMs, false),
      context_(context),
      centring_(new ScreenCentring(*this, HalfTheSpareRoom)),
      dispatcher_(context.State, *this) {
    SetUpForm(*this, "VORTANA编程界面 V5.0---Telmaris", kClientWidth, kClientHeight,
              FormFrame::Main, SongFont(kBasePixels));
    setObjectName("Form1");
    // Comm1 as designed; the properties not named keep the component's defaults, which are the
    // design's values too.
    Comm1.SetCommName(kDefaultPort);
    Comm1.SetBaudRate(kBaudRate);
    Comm1.SetDtrControl(TDtrControl::DtrDisable);
    Comm1.SetRtsControl(TRtsControl::RtsDisable);
    Comm1.SetOutx_XonXoffFlow(false);
    Comm1.SetInx_XonXoffFlow(false);
    CreateControls();
    ApplyButtonRule(ButtonEvent::StartUp);
    ConnectHandlers();
    RunHandler(context_.Desk, [this] { FormCreate(); });
}

TForm1::~TForm1() {
    Comm1.ClosePort();
}

void TForm1::CreateControls() {
    Desktop& desk = context_.Desk;
    CreateLabels<TForm1>(desk, *this, kLabels);
    CreateEdits<TForm1>(desk, *this, kEdits);
    for (const ButtonDesign& design : kButtons) {
        auto* button = new QPushButton(QString::fromUtf8(design.caption), this);
        button->setObjectName(design.name);
        button->setGeometry(design.place);
        button->setFont(SongFont(design.pixels));
        this->*design.control = button;
    }
    for (const RadioGroupDesign& design : kRadioGroups) {
        QStringList items;
        for (const char* item : design.items)
            items.append(QString::fromUtf8(item));
        auto* group =
            new TRadioGroup(desk, QString::fromUtf8(design.caption), items, design.columns, this);
        group->setObjectName(design.name);
        group->setGeometry(design.place);
        group->setFont(SongFont(design.pixels));
        SetTextColour(*group, design.colour);
        group->SetItemIndex(0);  // no handler is connected yet
        this->*design.control = group;
    }
    ComboBox1 = new TComboBox(desk, kPortNames, this);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setGeometry(kComboBox1Place);
    ComboBox1->SetColours(Qt::white, Qt::black);
    ComboBox1->SetText(kDefaultPort);

    StatusBar1 = new TStatusBar(2, this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setFont(SongFont(kStatusBarPixels));
    StatusBar1->setGeometry(0, kClientHeight - kStatusBarHeight, kClientWidth, kStatusBarHeight);
}

void TForm1::ConnectHandlers() {
    Desktop& desk = context_.Desk;
    ComboBox1->OnChange = [this] { ComboBox1Change(); };
    ComboBox1->OnDropDown = [this] { ComboBox1DropDown(); };
    ConnectHandler(desk, Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    Edit3->OnClick = [this] { Edit3Click(); };
    Label8->OnClick = [this] { Label8Click(); };
    Edit4->OnKeyPress = [this](QChar& key) { Edit4KeyPress(key); };
    RadioGroup1->OnClick = [this] { RadioGroup1Click(); };
    RadioGroup3->OnClick = [this] { RadioGroup3Click(); };
    for (auto [button, handler] :
         {std::pair{Button8, &TForm1::Button8Click}, std::pair{Button2, &TForm1::Button2Click},
          std::pair{Button3, &TForm1::Button3Click}, std::pair{Button4, &TForm1::Button4Click},
          std::pair{Button5, &TForm1::Button5Click}, std::pair{Button6, &TForm1::Button6Click},
          std::pair{Button7, &TForm1::Button7Click}})
        ConnectHandler(desk, button, &QPushButton::clicked, this, handler);
    // The serial component raises its events from the Qt event loop: through the adapter, so a
    // reply that cannot be handled shows the standard error box instead of unwinding into Qt.
    Comm1.OnReceiveData = [this](TComm* sender, const void* buffer, std::uint16_t length) {
        RunHandler(context_.Desk, [&] { Comm1ReceiveData(sender, buffer, length); });
    };
    Comm1.OnRequestHangup = [this](TComm* sender) {
        RunHandler(context_.Desk, [&] { Comm1RequestHangup(sender); });
    };
    Timer1.OnTimer = [this] { Timer1Timer(); };
    Timer2.OnTimer = [this] { Timer2Timer(); };
}

void TForm1::ApplyButtonRule(ButtonEvent event) {
    for (const ButtonRule& rule : kButtonRules) {
        if (rule.event != event)
            continue;
        if (rule.extra & kResetPort)
            Comm1.ClosePort();
        if (rule.extra & kSerialQuestionToNo)
            RadioGroup3->SetItemIndex(0);
        if (rule.extra & kEmptyInfoBoxes) {
            for (TEdit* box : {Edit1, Edit2, Edit3})
                box->SetText(QString());
        }
        for (const RuledControl& control : rule.enabled)
            EnableByRule(control.In(*this), true);
        for (const RuledControl& control : rule.disabled)
            EnableByRule(control.In(*this), false);
        // Reopening starts the worker threads afresh; only a failure is worth telling.
        if (rule.extra & kResetPort)
            OpenPort();
    }
}

void TForm1::EnableByRule(QWidget* control, bool enabled) {
    ruleEnabled_[control] = enabled;
    ShowEnabled(control);
}

void TForm1::ShowEnabled(QWidget* control) {
    const bool held = commandButtonsHeld_ && IsCommandButton(*this, control);
    control->setEnabled(ruleEnabled_[control] && !held);
}

void TForm1::HoldCommandButtons(bool held) {
    commandButtonsHeld_ = held;
    for (QPushButton* TForm1::*button : kCommandButtons)
        ShowEnabled(this->*button);
}

QString TForm1::PortSettingsText(const QString& name) {
    return kPortSettingsPrefix + name + kPortSettingsSuffix;
}

std::string TForm1::SettingsPath() const {
    return context_.State.ExeDir + kSettingsFile;
}

void TForm1::SetPort(const QString& name) {
    Comm1.SetCommName(name.toStdString());
    Comm1.SetBaudRate(kBaudRate);
    Comm1.SetByteSize(TByteSize::_8);
    Comm1.SetParity(TParity::None);
    Comm1.SetStopBits(TStopBits::_1);
    StatusBar1->SetPanelText(0, PortSettingsText(name));
}

bool TForm1::OpenPort() {
    try {
        Comm1.OpenPort();
        return true;
    } catch (const ECommsError& error) {
        TellPortFailed(error.Reason());
        return false;
    }
}

void TForm1::TellPortFailed(PortFailure reason) {
    // The designed text stays; why the port is not open, and what to do about it, is the
    // panel's hint.
    StatusBar1->SetPanelText(1, kPortFailedText);
    StatusBar1->SetPanelHint(1, QString::fromUtf8(PortFailureHintChinese(reason)));
}

void TForm1::OpenPortTellingHow() {
    if (OpenPort()) {
        StatusBar1->SetPanelText(1, kPortOpenedText);
        StatusBar1->SetPanelHint(1, QString());
    }
}

void TForm1::FormCreate() {
    context_.State.ProgressPercent = 0;
    Label7->SetCaption("0 %");

    centring_->Centre(context_.Desk.ScreenSize());
    StatusBar1->SetPanelWidth(0, width() / 2);

    context_.State.ExeDir = context_.Desk.ExeDir();
    const QString port = QString::fromStdString(
        IniFile(SettingsPath()).ReadString(kSettingsSection, kPortKey, kDefaultPort));
    ComboBox1->SetText(port);
    SetPort(port);
    OpenPortTellingHow();
}

void TForm1::FormClose() {
    Comm1.ClosePort();
}

void TForm1::ComboBox1Change() {
    const QString port = ComboBox1->Text();
    Comm1.ClosePort();
    SetPort(port);
    // Remembered before the open attempt, so that a name that cannot be opened is kept as well.
    // A settings file that cannot be written does not stop the change: the port is opened, and
    // then the standard error box tells why the name is not remembered.
    std::exception_ptr notRemembered;
    try {
        IniFile(SettingsPath()).WriteString(kSettingsSection, kPortKey, port.toStdString());
    } catch (const EFileError&) {
        notRemembered = std::current_exception();
    } catch (const EIniValueError&) {
        notRemembered = std::current_exception();
    }
    OpenPortTellingHow();
    if (notRemembered)
        std::rethrow_exception(notRemembered);
}

void TForm1::ComboBox1DropDown() {
    // The designed COM items first, then the serial devices present now, by the short names the
    // box takes, each with what USB tells of it.
    QStringList names = kPortNames;
    QStringList hints(kPortNames.size(), QString());
    for (const PortInfo& port : DiscoverPorts(PortRoots)) {
        names.append(QString::fromStdString(port.name));
        hints.append(QString::fromStdString(port.Hint()));
    }
    ComboBox1->SetItems(names, hints);
}

void TForm1::Button1Click() {
    TForm2& list = *context_.Windows.Form2;
    list.OnModelPicked = [this](const ModelPick& pick) { TakeModel(pick); };
    // Read first: a catalogue that cannot be read changes nothing, not even the list's place.
    const std::string catalogue = ReadFileBytes(context_.State.ExeDir + kCatalogueFile);
    if (listCentring_ == nullptr)
        listCentring_ = new ScreenCentring(list, HalfScreenLessHalfWindow);
    listCentring_->Centre(context_.Desk.ScreenSize());
    list.SetLines(SplitTextLines(DecodeLocalText(catalogue)));
    list.exec();
}

void TForm1::TakeModel(const ModelPick& pick) {
    Edit1->SetText(QString::fromStdString(pick.Edit1));
    Edit2->SetText(QString::fromStdString(pick.Edit2));
    ApplyButtonRule(ButtonEvent::ModelChosen);
}

void TForm1::Edit3Click() {
    context_.Windows.Form4->exec();
}

void TForm1::Label8Click() {
    context_.Windows.Form3->exec();
}

void TForm1::Edit4KeyPress(QChar& Key) {
    FilterDigitKey(context_.Desk, Key);
}

void TForm1::RadioGroup1Click() {
    ApplyButtonRule(RadioGroup1->ItemIndex() == kOfflineItem ? ButtonEvent::OfflineChosen
                                                             : ButtonEvent::OnlineChosen);
}

void TForm1::RadioGroup3Click() {
    TForm5& dialog = *context_.Windows.Form5;
    if (RadioGroup3->ItemIndex() == kSerialNumbersItem)
        dialog.AskForSerialNumbers();
    else
        dialog.ForgetSerialNumbers();
}

void TForm1::Button8Click() {
    dispatcher_.Button8Click({.RadioGroup1 = RadioGroup1->ItemIndex(),
                              .RadioGroup2 = RadioGroup2->ItemIndex(),
                              .RadioGroup4 = RadioGroup4->ItemIndex(),
                              .RadioGroup5 = RadioGroup5->ItemIndex(),
                              .Edit4 = Edit4->Text().toStdString()});
}

void TForm1::Button2Click() {
    // The header goes first, whatever the user then does with the file dialog: the device is
    // told about the model before a file is even chosen. On a closed port nothing happens.
    if (!dispatcher_.StartDownload())
        return;
    if (!OpenDialog1.Execute()) {
        ApplyButtonRule(ButtonEvent::LoadGivenUp);
        return;
    }
    const QString path = OpenDialog1.FileName();
    const ImageFileName file = ImageFileName::FromPath(path.toStdString());
    Edit3->SetText(QString::fromStdString(file.edit3Text));
    Edit3->SetHint(QString::fromStdString(file.edit3Hint));
    // A file that cannot be read ends the handler here with the standard error box; the window
    // keeps its state, so the user may simply try again.
    const std::string bytes = ReadFileBytes(LocalPath(path));

    TForm4& view = *context_.Windows.Form4;
    view.ClearRows();
    const ImageLoadOutcome outcome = LoadImage(bytes, context_.State);
    if (outcome.failure) {
        ShowMessage(outcome.failure->message);
        ApplyButtonRule(ButtonEvent::LoadGivenUp);
        return;
    }
    Label10->SetCaption(QString::fromStdString(outcome.checkSumText));
    view.setWindowTitle(QString::fromStdString(file.name));
    view.AppendRows(outcome.listingRows);
    dispatcher_.SendFirstBlock();
}

void TForm1::Button3Click() {
    dispatcher_.Button3Click();
}

void TForm1::Button4Click() {
    dispatcher_.Button4Click();
}

void TForm1::Button5Click() {
    dispatcher_.Button5Click();
}

void TForm1::Button6Click() {
    dispatcher_.Button6Click();
}

void TForm1::Button7Click() {
    dispatcher_.Button7Click();
}

void TForm1::Comm1ReceiveData(TComm*, const void* Buffer, std::uint16_t BufferLength) {
    dispatcher_.Comm1ReceiveData(Buffer, BufferLength);
}

void TForm1::Comm1RequestHangup(TComm*) {
    Comm1.ClosePort();
    TellPortFailed(PortFailure::Missing);  // the line went away: an adapter pulled out, say
    dispatcher_.Comm1RequestHangup();
}

void TForm1::Timer1Timer() {
    dispatcher_.Timer1Timer();
}

void TForm1::Timer2Timer() {
    dispatcher_.Timer2Timer();
}

bool TForm1::PortOpen() const {
    return Comm1.IsOpen();
}

void TForm1::SendBytes(std::span<const std::uint8_t> bytes) {
    Comm1.SendBytes(bytes.data(), static_cast<std::uint16_t>(bytes.size()));
}

void TForm1::ShowMessage(const std::string& text) {
    context_.Desk.ShowMessage(QString::fromStdString(text));
}

void TForm1::SetProgressLabel(const std::string& text) {
    Label7->SetCaption(QString::fromStdString(text));
}

void TForm1::SetElapsedLabel(const std::string& text) {
    Label9->SetCaption(QString::fromStdString(text));
}

void TForm1::SetTimer1Interval(std::uint32_t ms) {
    Timer1.SetInterval(ms);
}

void TForm1::SetTimer1Enabled(bool enabled) {
    Timer1.SetEnabled(enabled);
}

void TForm1::SetTimer2Enabled(bool enabled) {
    Timer2.SetEnabled(enabled);
    HoldCommandButtons(enabled);
}

void TForm1::ClearReadOut() {
    context_.Windows.Form3->ClearRows();
}

void TForm1::AppendReadOutRows(std::span<const std::string> rows) {
    context_.Windows.Form3->AppendRows(rows);
}

void TForm1::SettingsSent() {
    ApplyButtonRule(ButtonEvent::SettingsSent);
}

void TForm1::DownloadAccepted() {
    ApplyButtonRule(ButtonEvent::DownloadAccepted);
}

void TForm1::closeEvent(QCloseEvent* event) {
    RunHandler(context_.Desk, [this] { FormClose(); });
    event->accept();
}

}  // namespace vortana
