#include "window/WindowPicture.h"

#include "list/SourceList.h"
#include "window/MainWindow.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTreeWidgetItem>

#include <array>

namespace tavrin {

namespace {

struct TSampleRow {
    const char* Path;
    const char* Size;
    const char* Rate;
    const char* Duration;
    const char* Progress;
    const char* Frames;
};

constexpr std::array<TSampleRow, 4> kSampleRows{{
    {"/home/sam/Videos/beach-holiday.mov", "1280x720", "29.97", "00:03:12", "Done", "4800"},
    {"/home/sam/Videos/old-phone-clip.3gp", "176x144", "15", "00:00:41", "Fail", " "},
    {"/home/sam/Videos/birthday-party.avi", "640x480", "25", "00:12:40", "45%", "8550"},
    {"/home/sam/Videos/concert-encore.mkv", "1920x1080", "23.98", "00:05:03", "", ""},
}};

// Reaches the widgets by their designer names, as a user would see them, not through the
// parts' handlers: no engine runs for the picture.
template <typename Widget>
Widget* Find(TForm1& form, const char* name)
{
    return form.findChild<Widget*>(QLatin1String(name));
}

}  // namespace

void StageSampleBatch(TForm1& form)
{
    auto* list = Find<QTreeWidget>(form, "ListView1");
    list->clear();
    for (const TSampleRow& sample : kSampleRows) {
        auto* row = new QTreeWidgetItem;
        row->setCheckState(scFileName, Qt::Checked);
        const char* cells[] = {sample.Path, sample.Size,     sample.Rate,  sample.Duration,
                               "MP4",       sample.Progress, sample.Frames};
        for (int column = 0; column < scColumnCount; ++column)
            row->setText(column, QString::fromUtf8(cells[column]));
        list->addTopLevelItem(row);
    }
    list->setCurrentItem(list->topLevelItem(2));
    Find<QLineEdit>(form, "EditOutputFolder")->setText(QStringLiteral("/home/sam/Videos/Apple TV"));
    Find<QProgressBar>(form, "ProgressBar1")->setValue(45);
    Find<QLabel>(form, "StatusPanel0")->setText(QStringLiteral("2.7x real time, 00:02:31 left"));
    Find<QLabel>(form, "StatusPanel1")->setText(QStringLiteral("File Size : 24310 KBytes"));
}

QImage RenderWindowPicture(TForm1& form)
{
    QApplication::processEvents();
    return form.grab().toImage();
}

}  // namespace tavrin
