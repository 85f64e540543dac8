// Desktop: the services of the desktop that the windows use and that tests stand in for: the
// information box, the standard error box, the file-open and file-save dialogs, the message beep,
// the screen size and the executable's directory.
//
// The program uses QtDesktop; tests pass a recording stand-in that answers as a user would.
// Every window and toolkit control is given the one Desktop at construction and keeps a
// reference; the Desktop must outlive them. User-interface thread only.
//
// Uncaught errors: HandleException is the one place where an error that a handler left uncaught
// ends up (through RunHandler, Handler.h). It shows the standard error box, one at a time: an
// error raised while the box is open (a timer tick or a reply handled by its nested event loop)
// is dropped, so a repeating fault cannot stack boxes without end.
#pragma once

#include <QSize>
#include <QString>
#include <optional>
#include <string>
#include <string_view>

class QWidget;

namespace vortana {

// The caption of every box the program shows, and the application's title.
inline constexpr char kApplicationTitle[] = "VORTANA Programer";

// The text of the standard error box for an error message: the message followed by a full stop,
// unless it is empty or already ends in a full stop or a character that sorts below it (control
// characters, the blank and !"#$%&'()*+,-). The comparison is by code point, so every non-ASCII
// last character ("。", "！" and the like included) sorts above the full stop and gets one.
std::string StandardErrorText(std::string_view message);

class Desktop {
  public:
    virtual ~Desktop() = default;

    // The information box: caption kApplicationTitle, the text, no icon, one OK button, centred on
    // the screen, modal; returns when the user has closed it.
    virtual void ShowMessage(const QString& text) = 0;

    // The file-open dialog, modal over `parent`, opening where `lastName` lies: the chosen file's
    // full path, or nothing when the user cancelled. No filter, no default extension.
    virtual std::optional<QString> ChooseOpenFile(QWidget* parent, const QString& lastName) = 0;

    // The file-save dialog, modal over `parent`: the full path the user chose (an existing file
    // only once the user has agreed to replace it), or nothing when the user cancelled.
    virtual std::optional<QString> ChooseSaveFile(QWidget* parent) = 0;

    virtual void MessageBeep() = 0;        // the platform's message beep
    virtual QSize ScreenSize() const = 0;  // for centring windows
    // The folder of sysset.ini and MCUtype.txt, ending in '/': the executable's directory, or the
    // user's configuration folder when the program may not write beside itself
    // (SettingsFolder.h). Throws EFileError when that folder cannot be made.
    virtual std::string ExeDir() const = 0;

    // Shows `message` (UTF-8) in the standard error box, unless a box is already open. Never
    // throws.
    void HandleException(std::string_view message) noexcept;
    bool ErrorBoxOpen() const { return errorBoxOpen_; }

  protected:
    // The standard error box: caption kApplicationTitle, error icon, `text` (already with its
    // full stop), one OK button, modal.
    virtual void ShowErrorBox(const QString& text) = 0;

  private:
    bool errorBoxOpen_ = false;
};

}  // namespace vortana
