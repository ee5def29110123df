// The source file list: a check-box list with grid lines and whole-row selection that takes
// dropped files and folders. Columns are the row caption and its six sub-items.
#pragma once

#include <QStringList>
#include <QTreeWidget>

#include <functional>

namespace tavrin {

// Column of each cell; a sub-item's column is its sub-item index + 1.
enum TSourceColumn {
    scFileName = 0,
    scVideoSize,
    scFrameRate,
    scDuration,
    scOutput,
    scProgress,
    scFrames,
    scColumnCount
};

class TSourceList final : public QTreeWidget {
public:
    explicit TSourceList(QWidget* parent = nullptr);

    // Local paths of files and folders dropped on the list, in the drop's order.
    std::function<void(const QStringList& paths)> OnPathsDropped;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

// Paths of a drop turned into the files to add: a file stays as it is; a folder gives the
// files directly inside it whose extension the source filter lists, sorted by name, leaving
// out those already listed (paths compared cleaned).
QStringList ExpandDroppedPaths(const QStringList& paths, const QStringList& listed = {});
// Lower-case extensions, without the dot, of the source filter's "All Supported Files".
QStringList SourceFileExtensions();

}  // namespace tavrin
