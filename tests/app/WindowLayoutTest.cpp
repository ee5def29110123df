// The window as built: every control under its designer name, the list's columns, the
// menus, the start-up state of the settings, the volume table, sizes that clip no text and
// room given to the list and the preview, the main menu switched off during a batch, and
// the README picture.
#include "WindowTestSupport.h"

#include "list/SourceList.h"
#include "window/WindowPicture.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QSlider>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace tavrin::test {
namespace {

QStringList ActionTexts(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : QString(action->text()).remove('&'));
    return texts;
}

TEST_F(WindowTest, EveryControlCarriesItsDesignerName)
{
    const std::pair<const char*, const char*> controls[] = {
        {"ButtonAddFile", "QToolButton"},       {"ButtonRemove", "QToolButton"},
        {"ButtonClear", "QToolButton"},         {"ButtonStopConvert", "QToolButton"},
        {"ButtonConvert", "QToolButton"},       {"EditOutputFolder", "QLineEdit"},
        {"ButtonBrowseForFolder", "QToolButton"}, {"ComboOutputFormat", "QComboBox"},
        {"ListView1", "QTreeWidget"},           {"ComboVideoQuality", "QComboBox"},
        {"ComboVideoSize", "QComboBox"},        {"ComboVideoFramerate", "QComboBox"},
        {"ComboAudioQuality", "QComboBox"},     {"ComboAudioChannels", "QComboBox"},
        {"TrackBar1", "QSlider"},               {"LabelVolume", "QLabel"},
        {"ProgressBar1", "QProgressBar"},       {"ButtonStopSmall", "QToolButton"},
        {"StatusBar1", "QStatusBar"},           {"ComboVideoBitrate", "QComboBox"},
        {"ComboAudioBitrate", "QComboBox"},     {"ComboVideoCodec", "QComboBox"},
        {"ComboAudioCodec", "QComboBox"},       {"ComboSamplingRate", "QComboBox"},
        {"ComboLetterBox", "QComboBox"},        {"ComboAspectRatio", "QComboBox"},
        {"TimerConvertAgain", "QTimer"},        {"PanelVideo", "QFrame"},
        {"Image1", "QLabel"},                   {"ButtonPlay", "QToolButton"},
        {"ButtonPause", "QToolButton"},         {"ButtonStop", "QToolButton"},
        {"ButtonVolume", "QToolButton"},        {"ButtonSnapshot", "QToolButton"},
        {"DSTrackBar1", "QSlider"},             {"PopupMenuSpeaker", "QMenu"},
        {"PopupListView1", "QMenu"},            {"MainMenu1", "QMenuBar"},
    };
    for (const auto& [name, className] : controls) {
        const QList<QObject*> found = form->findChildren<QObject*>(QLatin1String(name));
        ASSERT_EQ(found.size(), 1) << name;
        EXPECT_TRUE(found.first()->inherits(className)) << name << " is not a " << className;
    }
    for (const char* hidden : {"ComboVideoBitrate", "ComboAudioBitrate", "ComboVideoCodec",
                               "ComboAudioCodec", "ComboSamplingRate", "ComboLetterBox",
                               "ComboAspectRatio"})
        EXPECT_FALSE(form->findChild<QWidget*>(QLatin1String(hidden))->isVisible()) << hidden;
    EXPECT_EQ(Find<QToolButton>(*form, "ButtonAddFile")->text(), "Add File");
    EXPECT_EQ(Find<QToolButton>(*form, "ButtonRemove")->text(), "Remove File");
    EXPECT_EQ(Find<QToolButton>(*form, "ButtonClear")->text(), "Clear All ");
    EXPECT_EQ(Find<QToolButton>(*form, "ButtonStopConvert")->text(), "Stop");
    EXPECT_EQ(Find<QToolButton>(*form, "ButtonConvert")->text(), "Start");
    EXPECT_EQ(Find<QToolButton>(*form, "ButtonPlay")->toolTip(), "Play");
    EXPECT_EQ(Find<QToolButton>(*form, "ButtonSnapshot")->toolTip(), "Snapshot");
    for (QAbstractButton* button : form->findChildren<QAbstractButton*>()) {
        if (button->objectName().startsWith(QLatin1String("Button"))) {
            EXPECT_FALSE(button->icon().isNull()) << button->objectName().toStdString();
        }
    }
}

TEST_F(WindowTest, ListColumnsHaveTheirCaptionsWidthsAndAlignment)
{
    const QStringList captions = {"Video File Name", "Video Size", "FrameRate", "Duration",
                                  "Output",          "Progress",   "Frames"};
    const int widths[] = {310, 90, 80, 60, 65, 57, 60};
    QTreeWidgetItem* header = Find<QTreeWidget>(*form, "ListView1")->headerItem();
    ASSERT_EQ(Find<QTreeWidget>(*form, "ListView1")->columnCount(), captions.size());
    for (int c = 0; c < captions.size(); ++c) {
        EXPECT_EQ(header->text(c), captions[c]);
        // The file name also takes the width the other columns leave.
        if (c == 0)
            EXPECT_GE(Find<QTreeWidget>(*form, "ListView1")->columnWidth(c), widths[c]);
        else
            EXPECT_EQ(Find<QTreeWidget>(*form, "ListView1")->columnWidth(c), widths[c]);
        const int align = header->textAlignment(c) & Qt::AlignHorizontal_Mask;
        EXPECT_EQ(align, c == 0 ? int(Qt::AlignLeft) : int(Qt::AlignHCenter)) << c;
    }
    EXPECT_EQ(Find<QTreeWidget>(*form, "ListView1")->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(Find<QTreeWidget>(*form, "ListView1")->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(Find<QTreeWidget>(*form, "ListView1")->editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(WindowTest, MenusHoldTheirEntriesInOrder)
{
    QMenuBar* bar = form->menuBar();
    QStringList titles;
    for (QAction* entry : bar->actions())
        titles << QString(entry->text()).remove('&');
    EXPECT_EQ(titles, QStringList({"File", "Options", "Help"}));
    EXPECT_EQ(ActionTexts(bar->actions()[0]->menu()), QStringList({"Add Files", "Convert", "Exit"}));
    EXPECT_EQ(ActionTexts(bar->actions()[1]->menu()), QStringList({"Set Options"}));
    EXPECT_EQ(ActionTexts(bar->actions()[2]->menu()), QStringList({"Open Help File", "-", "About"}));
    EXPECT_EQ(ActionTexts(Find<QMenu>(*form, "PopupListView1")),
              QStringList({"Check All Items", "Uncheck All Items", "-", "Remove Selected Item",
                           "Clear All Items", "-", "Play Selected File", "View Log", "-",
                           "Open Output Folder", "Show in Folder", "Remove Finished Rows"}));
    EXPECT_EQ(ActionTexts(Find<QMenu>(*form, "PopupMenuSpeaker")),
              QStringList({"Mute", "Half Volume", "Full Volume"}));
}

TEST_F(WindowTest, StartUpSelectsTheFirstProfileAndTheDefaults)
{
    EXPECT_EQ(form->windowTitle(), "Tavrin Apple TV Converter");
    EXPECT_EQ(Find<QComboBox>(*form, "ComboOutputFormat")->count(), 24);
    EXPECT_EQ(Find<QComboBox>(*form, "ComboOutputFormat")->currentText(), "Apple TV (*.mp4)");
    EXPECT_EQ(form->Settings().OutputExtension(), "MP4");
    EXPECT_EQ(Find<QComboBox>(*form, "ComboVideoQuality")->currentText(), "Normal");
    EXPECT_EQ(Find<QComboBox>(*form, "ComboAudioQuality")->currentText(), "Normal");
    EXPECT_EQ(Find<QComboBox>(*form, "ComboAspectRatio")->currentText(), "Original");
    EXPECT_EQ(Find<QComboBox>(*form, "ComboLetterBox")->currentText(), "None");
    EXPECT_EQ(Find<QComboBox>(*form, "ComboAudioChannels")->currentText(), "Stereo");
    // Showing the window applied the profile: its combos are filled and selected.
    EXPECT_GT(Find<QComboBox>(*form, "ComboVideoSize")->count(), 0);
    EXPECT_GE(Find<QComboBox>(*form, "ComboVideoSize")->currentIndex(), 0);
    EXPECT_GE(Find<QComboBox>(*form, "ComboVideoBitrate")->currentIndex(), 0);
    EXPECT_EQ(Find<QComboBox>(*form, "ComboOutputFormat")->maxVisibleItems(), 26);
    EXPECT_EQ(Find<QLabel>(*form, "StatusPanel0")->text(), "Ready");
    EXPECT_FALSE(Find<QTimer>(*form, "TimerConvertAgain")->isActive());
    EXPECT_EQ(Find<QTimer>(*form, "TimerConvertAgain")->interval(), 200);
    EXPECT_TRUE(Find<QLineEdit>(*form, "EditOutputFolder")->isReadOnly());
    EXPECT_EQ(dialogs.Informations, QStringList());
}

TEST_F(WindowTest, VolumeTrackBarFollowsItsTable)
{
    EXPECT_EQ(Find<QSlider>(*form, "TrackBar1")->value(), 5);
    EXPECT_EQ(Find<QLabel>(*form, "LabelVolume")->text(), "100%");
    EXPECT_EQ(form->Settings().ConversionVolume(), 255);
    const std::tuple<int, const char*, int> steps[] = {
        {0, "0%", 1}, {1, "20%", 50}, {4, "80%", 200}, {6, "120%", 300}, {10, "200%", 600}};
    for (const auto& [position, label, value] : steps) {
        Find<QSlider>(*form, "TrackBar1")->setValue(position);
        EXPECT_EQ(Find<QLabel>(*form, "LabelVolume")->text(), label);
        EXPECT_EQ(form->Settings().ConversionVolume(), value);
    }
}

TEST_F(WindowTest, WindowOpensAtItsDesignedSizeAndClipsNoText)
{
    const int menu = form->menuBar()->height();
    EXPECT_GE(form->width(), 753);
    EXPECT_GE(form->height() - menu, 532);
    // The layouts set the smallest size, which a small screen may need.
    EXPECT_LT(form->minimumSizeHint().height() - menu, 532);
    form->resize(form->minimumSize());
    QApplication::processEvents();
    for (QToolButton* button : form->findChildren<QToolButton*>()) {
        if (button->isVisible()) {
            EXPECT_GE(button->width(), button->sizeHint().width()) << button->objectName().toStdString();
        }
    }
    for (QLabel* label : form->findChildren<QLabel*>()) {
        if (label->isVisible() && !label->text().isEmpty()) {
            EXPECT_GE(label->width(), label->minimumSizeHint().width()) << label->text().toStdString();
        }
    }
    // A combo that adjusts to its contents has room for its longest item at its size hint.
    for (QComboBox* combo : form->findChildren<QComboBox*>()) {
        if (combo->isVisible()) {
            EXPECT_GE(combo->width(), combo->sizeHint().width()) << combo->objectName().toStdString();
        }
    }
}

TEST_F(WindowTest, AGrowingWindowGivesRoomToTheFileNamesTheListAndThePreview)
{
    auto* list = Find<QTreeWidget>(*form, "ListView1");
    const auto* video = Find<QWidget>(*form, "PanelVideo");
    const int nameWidth = list->columnWidth(scFileName);
    const QSize listSize = list->size();
    const QSize videoSize = video->size();
    form->resize(form->width() + 200, form->height() + 400);
    QApplication::processEvents();
    EXPECT_GE(list->columnWidth(scFileName), nameWidth + 180);
    EXPECT_GE(list->height(), listSize.height() + 250);
    EXPECT_GE(list->width(), listSize.width() + 180);
    EXPECT_GT(video->width(), videoSize.width() + 100);
    EXPECT_GT(video->height(), videoSize.height() + 30);
    // The other columns keep their widths, so the file names end at the list's edge.
    int columns = 0;
    for (int c = 0; c < scColumnCount; ++c)
        columns += list->columnWidth(c);
    EXPECT_EQ(columns, list->viewport()->width());
}

TEST_F(WindowTest, SwitchedOffMainMenuKeepsItsLookButDoesNotOpen)
{
    QMenuBar* bar = form->menuBar();
    QAction* file = bar->actions()[0];
    form->SetMainMenuEnabled(false);
    EXPECT_TRUE(file->isEnabled());  // not greyed
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(file).center());
    QApplication::processEvents();
    EXPECT_FALSE(file->menu()->isVisible());

    form->SetMainMenuEnabled(true);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(file).center());
    EXPECT_TRUE(WaitUntil([&] { return file->menu()->isVisible(); }, 2000));
    file->menu()->hide();
}

// The README's picture is taken from a real batch: one row done, one failed, one converting.
TEST_F(WindowTest, PictureShowsARealBatch)
{
    const QString out = Path("out");
    QDir().mkpath(out);
    QStringList files = MakeClips({"done.avi"});
    QFile broken(Path("broken.avi"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write(QByteArray(4000, 'x'));
    broken.close();
    files << Path("broken.avi");
    ASSERT_FALSE(MakeClip(Path("long.avi"), 30.0, 320, 240).empty());
    files << Path("long.avi") << Path("done.avi");

    ASSERT_TRUE(RunSampleBatch(*form, files, out));
    EXPECT_EQ(Progress(0), "Done");
    EXPECT_EQ(Progress(1), "Fail");
    EXPECT_TRUE(Progress(2).endsWith('%')) << Progress(2).toStdString();
    EXPECT_EQ(Progress(3), "");
    EXPECT_EQ(form->List().SelectedRow(), 2);
    EXPECT_TRUE(form->Batch().State().Converting);
    const QImage picture = RenderWindowPicture(*form);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), form->size());
}

}  // namespace
}  // namespace tavrin::test
