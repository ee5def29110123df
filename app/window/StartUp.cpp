#include "window/StartUp.h"

#include "options/OptionsDialog.h"
#include "window/MainWindow.h"

namespace tavrin {

TConverterWindows::TConverterWindows(TDialogs& dialogs)
    : form1_(std::make_unique<TForm1>(dialogs))
{
    // The about box is made when it is asked for; the options dialog now, so the stored
    // settings replace the window's defaults before it is shown.
    if (form1_->Created()) {
        form4_ = new TForm4(*form1_, form1_->Settings(), form1_->Options());
        form1_->AttachOptionsDialog(*form4_);
    }
}

TConverterWindows::~TConverterWindows() = default;

bool TConverterWindows::Created() const
{
    return form1_->Created() && form4_ != nullptr;
}

}  // namespace tavrin
