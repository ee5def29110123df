// A picture of the window in the middle of a batch, for the README.
#pragma once

#include <QImage>

namespace tavrin {

class TForm1;

// Puts sample rows into the window as a batch shows them: one "Done", one "Fail", one
// converting and one waiting, with the progress bar and status bar to match.
void StageSampleBatch(TForm1& form);
// The window as it is drawn now.
QImage RenderWindowPicture(TForm1& form);

}  // namespace tavrin
