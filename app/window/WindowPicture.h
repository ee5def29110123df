// A picture of the window in the middle of a real batch, for the README and the help page.
#pragma once

#include <QImage>
#include <QStringList>

namespace tavrin {

class TForm1;

// Adds the files to the list, points the output folder at outFolder and presses Start, then
// runs the event loop until a row has ended "Done", one "Fail" and one is converting (at
// least a quarter of it written), with that row selected. False when that does not happen
// within timeoutMs. The batch is left running.
bool RunSampleBatch(TForm1& form, const QStringList& files, const QString& outFolder,
                    int timeoutMs = 120000);
// The window as it is drawn now.
QImage RenderWindowPicture(TForm1& form);

}  // namespace tavrin
