#include "window/WindowPicture.h"

#include "list/ListPart.h"
#include "list/SourceList.h"
#include "settings/SettingsPart.h"
#include "window/MainWindow.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QToolButton>
#include <QTreeWidget>

namespace tavrin {

namespace {

constexpr int kConvertingAtLeast = 25;  // percent of the running row before the picture

// The row converting now, once it is far enough along to show; -1 otherwise.
int ConvertingRow(const TListPart& list)
{
    for (int row = 0; row < list.RowCount(); ++row) {
        QString cell = list.Cell(row, scProgress);
        if (!cell.endsWith(QLatin1Char('%')))
            continue;
        cell.chop(1);
        return cell.toInt() >= kConvertingAtLeast ? row : -1;
    }
    return -1;
}

bool RowEnded(const TListPart& list, const char* status)
{
    for (int row = 0; row < list.RowCount(); ++row)
        if (list.Cell(row, scProgress) == QLatin1String(status))
            return true;
    return false;
}

}  // namespace

bool RunSampleBatch(TForm1& form, const QStringList& files, const QString& outFolder, int timeoutMs)
{
    TListPart& list = form.List();
    list.AddFilesProcedure(files);
    form.Settings().SetOutputFolder(outFolder);
    form.findChild<QToolButton*>(QStringLiteral("ButtonConvert"))->click();
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        const int running = ConvertingRow(list);
        if (running >= 0 && RowEnded(list, "Done") && RowEnded(list, "Fail")) {
            auto* view = form.findChild<QTreeWidget*>(QStringLiteral("ListView1"));
            view->setCurrentItem(list.Row(running));
            return true;
        }
        QThread::msleep(10);
    }
    return false;
}

QImage RenderWindowPicture(TForm1& form)
{
    QApplication::processEvents();
    return form.grab().toImage();
}

}  // namespace tavrin
