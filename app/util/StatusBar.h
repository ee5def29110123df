// The window's status bar: three sunken panels. The batch writes its state in the first
// ("Ready", "Converting", the pace) and the file size in the second; the preview writes its
// messages in the second.
#pragma once

#include <QStatusBar>

#include <array>

class QLabel;

namespace tavrin {

class TStatusBar final : public QStatusBar {
public:
    TStatusBar();

    QLabel* Panel(int index) const { return panels_.at(static_cast<size_t>(index)); }
    // A passing note over the panels, gone after a few seconds or at the next note.
    void Tell(const QString& text);

private:
    std::array<QLabel*, 3> panels_{};
};

}  // namespace tavrin
