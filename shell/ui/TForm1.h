// TForm1: the main window. It carries every control the user works with, the serial component
// Comm1 (its notifications come through the Qt event loop), the file-open dialog and the two
// timers, and runs the start-up, port choice and window opening handlers. The command, receive
// and timer handlers read the controls and hand over to the protocol's Dispatcher, which writes
// the window back through the OperationHost this window implements.
//
// The controls are owned by the window (Qt parent) and live as long as it does. Their enabled
// state changes only through ApplyButtonRule, the one table of which events enable and disable
// what; while an operation waits for the device (Timer2 runs) the command buttons Button1 to
// Button8 are held disabled on top of it, and released to what the rules have said meanwhile.
// User-interface thread only.
#pragma once

#include <QWidget>
#include <map>
#include <string>

#include "comm/PortDiscovery.h"
#include "comm/TComm.h"
#include "protocol/Dispatcher.h"
#include "protocol/OperationHost.h"
#include "shell/toolkit/TOpenDialog.h"
#include "shell/toolkit/TTimer.h"
#include "shell/ui/Forms.h"

class QPushButton;

namespace vortana {

struct ModelPick;
class ScreenCentring;
class TComboBox;
class TEdit;
class TLabel;
class TRadioGroup;
class TStatusBar;

// The texts of status panel 1 after an attempt to open the port.
inline constexpr char kPortOpenedText[] = "打 开 串 口 成 功 ,通 讯 正 常";
inline constexpr char kPortFailedText[] = "打 开 串 口 失 败,请 重 新 选 择 串 口 ";

// The events after which the main window's controls change their enabled state.
enum class ButtonEvent {
    StartUp,           // the window as designed
    SettingsSent,      // Button8Click sent the settings command
    ModelChosen,       // a line of the model list was picked
    LoadGivenUp,       // no file chosen, a record checksum error or an address that does not fit
    DownloadAccepted,  // the device accepted the downloaded image
    OfflineChosen,     // RadioGroup1 changed to "离线"
    OnlineChosen,      // RadioGroup1 changed to "在线"
};

class TForm1 : public QWidget, private OperationHost {
  public:
    explicit TForm1(FormContext context);
    ~TForm1() override;

    // Enables and disables the controls as `event` requires, with what goes with it: emptied
    // model, address and file boxes; the serial-number question set back to "否"; the port
    // closed and opened again (a failure shown in status panel 1, success not).
    void ApplyButtonRule(ButtonEvent event);

    // The window's half of the device protocol. The load-file handler starts a download through
    // it; a test can download an image it built itself.
    Dispatcher& Protocol() { return dispatcher_; }

    // Status panel 0 for the port `name`: four blanks, the name and the line settings.
    static QString PortSettingsText(const QString& name);

    // Handlers.
    void FormCreate();
    void FormClose();
    void ComboBox1Change();
    void ComboBox1DropDown();  // the port list is about to open
    void Button1Click();
    void Edit3Click();
    void Label8Click();
    void Edit4KeyPress(QChar& Key);
    void RadioGroup1Click();  // programming mode
    void RadioGroup3Click();  // serial numbers or not
    void Button8Click();      // settings
    void Button2Click();      // load a file and download it
    void Button3Click();      // erase
    void Button4Click();      // program
    void Button5Click();      // verify
    void Button6Click();      // erase, program and verify
    void Button7Click();      // read-out
    void Comm1ReceiveData(TComm* Sender, const void* Buffer, std::uint16_t BufferLength);
    // The line has gone (the other end hung up, or a read failed): the port is closed and the
    // user told so; choosing the port again opens it afresh.
    void Comm1RequestHangup(TComm* Sender);
    void Timer1Timer();  // progress
    void Timer2Timer();  // elapsed time and time-out

    // Controls, by their system names.
    TLabel* Label1;
    TLabel* Label2;
    TLabel* Label3;
    TLabel* Label4;
    TLabel* Label5;
    TLabel* Label6;
    TLabel* Label7;
    TLabel* Label8;
    TLabel* Label9;
    TLabel* Label10;
    TEdit* Edit1;
    TEdit* Edit2;
    TEdit* Edit3;
    TEdit* Edit4;
    TComboBox* ComboBox1;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* Button4;
    QPushButton* Button5;
    QPushButton* Button6;
    QPushButton* Button7;
    QPushButton* Button8;
    TRadioGroup* RadioGroup1;
    TRadioGroup* RadioGroup2;
    TRadioGroup* RadioGroup3;
    TRadioGroup* RadioGroup4;
    TRadioGroup* RadioGroup5;
    TStatusBar* StatusBar1;
    TComm Comm1;  // closed whenever the window is not open, and before it is destroyed
    TOpenDialog OpenDialog1;
    TTimer Timer1;  // progress
    TTimer Timer2;  // elapsed time and time-out
    // Where the port list looks for the serial devices present: the machine's own sysfs and /dev,
    // unless a test gives a tree of its own.
    PortDiscoveryRoots PortRoots;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void CreateControls();
    void ConnectHandlers();
    std::string SettingsPath() const;
    // Comm1 set to the port `name` at 38400 baud, 8 data bits, no parity, 1 stop bit, and status
    // panel 0 telling so.
    void SetPort(const QString& name);
    // Opens Comm1; a failure is told in status panel 1, its reason as the panel's hint. False
    // when the port could not be opened.
    bool OpenPort();
    void OpenPortTellingHow();                // and status panel 1 says so on success too
    void TellPortFailed(PortFailure reason);  // in status panel 1, the reason as its hint
    // A line of the model list was taken: model and address boxes, then the buttons' rule.
    void TakeModel(const ModelPick& pick);
    // The control `name` enabled or not as a rule says, and as shown while the command buttons
    // are held.
    void EnableByRule(QWidget* control, bool enabled);
    void ShowEnabled(QWidget* control);
    void HoldCommandButtons(bool held);

    // OperationHost: the dispatcher's view of this window.
    bool PortOpen() const override;
    void SendBytes(std::span<const std::uint8_t> bytes) override;
    void ShowMessage(const std::string& text) override;
    void SetProgressLabel(const std::string& text) override;
    void SetElapsedLabel(const std::string& text) override;
    void SetTimer1Interval(std::uint32_t ms) override;
    void SetTimer1Enabled(bool enabled) override;
    void SetTimer2Enabled(bool enabled) override;
    void ClearReadOut() override;
    void AppendReadOutRows(std::span<const std::string> rows) override;
    void SettingsSent() override;
    void DownloadAccepted() override;

    FormContext context_;
    ScreenCentring* centring_;                // of this window, owned by it
    ScreenCentring* listCentring_ = nullptr;  // of the model list, owned by it; made at first use
    Dispatcher dispatcher_;
    std::map<const QWidget*, bool> ruleEnabled_;  // by control, as the rules last set it
    bool commandButtonsHeld_ = false;
};

}  // namespace vortana
