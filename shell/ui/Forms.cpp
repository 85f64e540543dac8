#include "shell/ui/Forms.h"

#include "image/ui/TForm2.h"
#include "image/ui/TForm3.h"
#include "image/ui/TForm4.h"
#include "image/ui/TForm5.h"
#include "shell/ui/TForm1.h"

namespace vortana {

Forms::Forms(SessionState& state, Desktop& desktop) {
    const FormContext context{{state, desktop}, *this};
    form1_ = std::make_unique<TForm1>(context);
    Form1 = form1_.get();
    form2_ = std::make_unique<TForm2>(context);
    Form2 = form2_.get();
    form3_ = std::make_unique<TForm3>(desktop);
    Form3 = form3_.get();
    form4_ = std::make_unique<TForm4>(desktop);
    Form4 = form4_.get();
    form5_ = std::make_unique<TForm5>(context);
    Form5 = form5_.get();
}

Forms::~Forms() = default;

}  // namespace vortana
