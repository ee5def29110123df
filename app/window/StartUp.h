// The program's windows, created in start-up order: the main window (which loads the codec
// libraries and sets its defaults), then the options dialog, which loads the stored
// settings into both. The caller shows the main window last.
#pragma once

#include <memory>

namespace tavrin {

class TDialogs;
class TForm1;
class TForm4;

class TConverterWindows {
public:
    explicit TConverterWindows(TDialogs& dialogs);
    ~TConverterWindows();

    // False when the codec libraries could not be loaded; there is no options dialog then.
    bool Created() const;
    TForm1& Form1() { return *form1_; }
    TForm4& Form4() { return *form4_; }

private:
    std::unique_ptr<TForm1> form1_;
    TForm4* form4_ = nullptr;  // a child of the main window
};

}  // namespace tavrin
