// TForm5: the serial-number dialog, where the start number and increment are entered, a fixed-size
// dialog with a close box only that opens at its designed screen position. Its contents come with
// the work that fills it. User-interface thread only.
#pragma once

#include <QDialog>

#include "shell/Forms.h"

namespace vortana {

class TForm5 : public QDialog {
  public:
    explicit TForm5(FormContext context);

  private:
    FormContext context_;
};

}  // namespace vortana
