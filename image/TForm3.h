// TForm3: the read-out view, which lists what the device read out of the chip, a fixed-size dialog
// with a close box only that opens at its designed screen position. Its contents come with the work
// that fills it. User-interface thread only.
#pragma once

#include <QDialog>

#include "shell/Forms.h"

namespace vortana {

class TForm3 : public QDialog {
  public:
    explicit TForm3(FormContext context);

  private:
    FormContext context_;
};

}  // namespace vortana
