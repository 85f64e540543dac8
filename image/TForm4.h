// TForm4: the file-buffer view, which lists the image built from the loaded file, a fixed-size
// dialog with a close box only that opens at its designed screen position. Its contents come with
// the work that fills it. User-interface thread only.
#pragma once

#include <QDialog>

#include "shell/Forms.h"

namespace vortana {

class TForm4 : public QDialog {
  public:
    explicit TForm4(FormContext context);

  private:
    FormContext context_;
};

}  // namespace vortana
