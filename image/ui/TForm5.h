// TForm5: the serial-number dialog, where the start number (Edit1, at most ten digits) and the
// increment (Edit2, one digit) are entered; a fixed-size dialog with a close box only that opens
// at its designed screen position.
//
// The main window's serial-number question drives it: "是" runs AskForSerialNumbers (both boxes
// enabled and set to "1", the dialog shown modally), "否" ForgetSerialNumbers (values cleared,
// boxes disabled with "0" and "1"). OK (Button1Click) forms the values and closes the dialog, or
// shows the range message and stays open; a box that holds no number ends it with the standard
// error box. Closing with the close box keeps the values formed before. User-interface thread
// only.
#pragma once

#include <QDialog>

#include "shell/toolkit/WindowContext.h"

class QPushButton;

namespace vortana {

class TEdit;
class TLabel;

class TForm5 : public QDialog {
  public:
    explicit TForm5(WindowContext context);

    void AskForSerialNumbers();
    void ForgetSerialNumbers();

    // Handlers.
    void Edit1KeyPress(QChar& Key);
    void Edit2KeyPress(QChar& Key);
    void Button1Click();  // OK

    // Controls, by their system names.
    TLabel* Label1;
    TLabel* Label2;
    TLabel* Label3;
    TEdit* Edit1;  // start number
    TEdit* Edit2;  // increment
    QPushButton* Button1;

  private:
    void SetFields(bool enabled, const char* start);

    WindowContext context_;
};

}  // namespace vortana
