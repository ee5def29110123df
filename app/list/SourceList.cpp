#include "list/SourceList.h"

#include "SourceFilter.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QMimeData>
#include <QPainter>
#include <QSet>
#include <QStyledItemDelegate>
#include <QUrl>

#include <algorithm>
#include <array>

namespace tavrin {

namespace {

struct TColumnLook {
    const char* Caption;
    int Width;
    Qt::Alignment Align;
};

constexpr std::array<TColumnLook, scColumnCount> kColumns{{
    {"Video File Name", 310, Qt::AlignLeft | Qt::AlignVCenter},
    {"Video Size", 90, Qt::AlignCenter},
    {"FrameRate", 80, Qt::AlignCenter},
    {"Duration", 60, Qt::AlignCenter},
    {"Output", 65, Qt::AlignCenter},
    {"Progress", 57, Qt::AlignCenter},
    {"Frames", 60, Qt::AlignCenter},
}};

// Draws the cell borders a report list shows as grid lines.
class TGridDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem cell(option);
        cell.displayAlignment = kColumns[static_cast<size_t>(index.column())].Align;
        QStyledItemDelegate::paint(painter, cell, index);
        painter->save();
        painter->setPen(option.palette.color(QPalette::Midlight));
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        painter->restore();
    }
};

QStringList LocalPaths(const QMimeData* data)
{
    QStringList paths;
    if (data == nullptr || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    return paths;
}

}  // namespace

TSourceList::TSourceList(QWidget* parent) : QTreeWidget(parent)
{
    setColumnCount(scColumnCount);
    QStringList captions;
    for (const TColumnLook& column : kColumns)
        captions << QString::fromLatin1(column.Caption);
    setHeaderLabels(captions);
    for (int c = 0; c < scColumnCount; ++c) {
        setColumnWidth(c, kColumns[static_cast<size_t>(c)].Width);
        headerItem()->setTextAlignment(c, kColumns[static_cast<size_t>(c)].Align);
    }
    header()->setStretchLastSection(false);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    // A long path loses its middle, not the file name at its end.
    setTextElideMode(Qt::ElideMiddle);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegate(new TGridDelegate(this));
    setAcceptDrops(true);
    setDropIndicatorShown(false);
    setContextMenuPolicy(Qt::CustomContextMenu);
}

// The file name takes whatever width the other columns leave, never less than designed.
void TSourceList::resizeEvent(QResizeEvent* event)
{
    QTreeWidget::resizeEvent(event);
    int others = 0;
    for (int c = scVideoSize; c < scColumnCount; ++c)
        others += columnWidth(c);
    setColumnWidth(scFileName, std::max(kColumns[scFileName].Width, viewport()->width() - others));
}

void TSourceList::dragEnterEvent(QDragEnterEvent* event)
{
    if (!LocalPaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void TSourceList::dragMoveEvent(QDragMoveEvent* event)
{
    if (!LocalPaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void TSourceList::dropEvent(QDropEvent* event)
{
    const QStringList paths = LocalPaths(event->mimeData());
    if (paths.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    if (OnPathsDropped)
        OnPathsDropped(paths);
}

QStringList SourceFileExtensions()
{
    const QString filter = QString::fromStdString(SourceFileFilter());
    const QString allSupported = filter.section(QLatin1Char('|'), 1, 1);
    QStringList extensions;
    for (QString pattern : allSupported.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        pattern = pattern.trimmed();
        if (pattern.startsWith(QLatin1String("*.")))
            extensions << pattern.mid(2).toLower();
    }
    return extensions;
}

QStringList ExpandDroppedPaths(const QStringList& paths, const QStringList& listed)
{
    const QStringList extensions = SourceFileExtensions();
    QSet<QString> known;
    for (const QString& path : listed)
        known.insert(QDir::cleanPath(path));
    QStringList files;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (!info.isDir()) {
            files << path;
            continue;
        }
        const QFileInfoList entries =
            QDir(path).entryInfoList(QDir::Files | QDir::Readable, QDir::Name);
        for (const QFileInfo& entry : entries) {
            const QString file = QDir::cleanPath(entry.filePath());
            if (extensions.contains(entry.suffix().toLower()) && !known.contains(file)) {
                known.insert(file);
                files << entry.filePath();
            }
        }
    }
    return files;
}

}  // namespace tavrin
