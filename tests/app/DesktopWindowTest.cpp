// What a Linux desktop user expects of the window: today's file types in the open dialog
// and in dropped folders, keys for the common commands, several rows at once, the row
// menu's folder entries after a batch, the notification of a batch that ended in the
// background, and the log kept as the engine indented it.
#include "WindowTestSupport.h"

#include "MediaInfo.h"
#include "dialogs/LogWindow.h"
#include "dialogs/Notifier.h"
#include "list/SourceList.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFontInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSet>
#include <QSignalSpy>
#include <QToolButton>
#include <QUrl>

#include <algorithm>

namespace tavrin::test {
namespace {

// Takes the URLs the desktop would be asked to open.
class TUrlCatcher : public QObject {
    Q_OBJECT
public:
    TUrlCatcher() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "Open"); }
    ~TUrlCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QStringList Opened;
public slots:
    void Open(const QUrl& url) { Opened << url.toLocalFile(); }
};

class TRecordedNotifier final : public TNotifier {
public:
    explicit TRecordedNotifier(QStringList& shown) : shown_(shown) {}
    void Notify(const QString& title, const QString& text) override { shown_ << title + ": " + text; }

private:
    QStringList& shown_;
};

void WriteText(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(3000, 'z'));
}

void Drop(TForm1& form, const QStringList& paths)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Find<QTreeWidget>(form, "ListView1")->viewport(), &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Find<QTreeWidget>(form, "ListView1")->viewport(), &drop);
}

QStringList Captions(const TForm1& form)
{
    QStringList captions;
    for (int row = 0; row < form.List().RowCount(); ++row)
        captions << QFileInfo(form.List().Cell(row, scFileName)).fileName();
    return captions;
}

class DesktopWindowTest : public WindowTest {
protected:
    void Activate(QWidget& window)
    {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : form.get(), static_cast<Qt::Key>(key), modifiers);
        QApplication::processEvents();
    }
};

// Files of the kinds cameras, phones and downloads make, written by the ffmpeg CLI; each
// must be listed from a dropped folder and probed (no "Error").
TEST_F(DesktopWindowTest, TodaysFileTypesAreOfferedAndAFolderOfThemIsProbed)
{
    const QString video = "-f lavfi -i testsrc2=size=160x120:rate=25:duration=1.2 ";
    const QString tone = "-f lavfi -i sine=frequency=440:sample_rate=48000:duration=1.2 ";
    const struct {
        const char* Name;
        QString Arguments;
        bool HasPicture;
    } kinds[] = {
        {"a.mkv", video + tone + "-c:v mpeg4 -c:a mp2", true},
        {"b.webm", video + tone + "-c:v libvpx -deadline realtime -c:a libopus", true},
        {"c.ts", video + tone + "-c:v mpeg2video -c:a mp2", true},
        {"d.m2ts", video + tone + "-c:v mpeg2video -c:a ac3 -f mpegts", true},
        {"e.mts", video + tone + "-c:v libx264 -preset ultrafast -c:a ac3 -f mpegts", true},
        {"f.mod", video + tone + "-c:v mpeg2video -c:a mp2 -f vob", true},
        {"g.m4v", video + "-c:v mpeg4 -f mp4", true},
        {"h.mxf", video + "-c:v mpeg2video -r 25", true},
        {"i.flac", tone + "-c:a flac", false},
        {"j.opus", tone + "-c:a libopus", false},
        {"k.amr", "-f lavfi -i sine=sample_rate=8000:duration=1.2 -ac 1 -c:a libopencore_amrnb -f amr", false},
        {"l.mka", tone + "-c:a flac -f matroska", false},
    };
    const QString folder = Path("camera");
    QDir().mkpath(folder);
    QStringList expected;
    for (const auto& kind : kinds) {
        const QString path = folder + "/" + kind.Name;
        ASSERT_EQ(Shell(("ffmpeg -hide_banner -loglevel error -nostats -y " + kind.Arguments + " '" +
                         path + "'").toStdString()),
                  0)
            << kind.Name;
        expected << kind.Name;
    }
    WriteText(folder + "/notes.txt");

    Drop(*form, {folder});
    ASSERT_EQ(Captions(*form), expected);
    for (int row = 0; row < form->List().RowCount(); ++row) {
        const auto& kind = kinds[row];
        EXPECT_EQ(form->List().Cell(row, scProgress), "") << kind.Name;
        EXPECT_EQ(form->List().Cell(row, scDuration), "00:00:01") << kind.Name;
        EXPECT_EQ(form->List().Cell(row, scVideoSize), kind.HasPicture ? "160x120" : " ") << kind.Name;
    }

    // The open dialog offers them too, and at its end every file whatever its name.
    AddFiles({});
    EXPECT_TRUE(dialogs.LastFilter.contains("*.mkv *.mka *.webm *.ts *.m2ts *.mts"));
    EXPECT_TRUE(dialogs.LastFilter.endsWith(";;All Files (*)"));
}

TEST_F(DesktopWindowTest, ADroppedFolderAddsOnlyWhatIsNotListedYet)
{
    const QString folder = Path("drop");
    QDir().mkpath(folder);
    const QStringList clips = MakeClips({"drop/a.avi", "drop/b.mp4"});
    AddFiles({clips[1]});
    // The same folder twice in one drop, after one of its files was added by hand.
    Drop(*form, {folder, folder + "/"});
    EXPECT_EQ(Captions(*form), QStringList({"b.mp4", "a.avi"}));
    ASSERT_FALSE(MakeClip(folder + "/c.mov", 1.0).empty());
    Drop(*form, {folder});
    EXPECT_EQ(Captions(*form), QStringList({"b.mp4", "a.avi", "c.mov"}));
    // A file dropped on its own is added as chosen, like the same file chosen twice.
    Drop(*form, {clips[0]});
    EXPECT_EQ(Captions(*form), QStringList({"b.mp4", "a.avi", "c.mov", "a.avi"}));
}

TEST_F(DesktopWindowTest, MenusShowMnemonicsAndTheirKeys)
{
    const struct {
        const char* Action;
        const char* Text;
        QKeySequence Keys;
    } entries[] = {
        {"AddFiles1", "&Add Files", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"Convert1", "&Convert", QKeySequence(Qt::CTRL | Qt::Key_Return)},
        {"Exit1", "E&xit", QKeySequence(Qt::CTRL | Qt::Key_Q)},
        {"SetOptions1", "&Set Options", QKeySequence()},
        {"OpenHelpFile1", "Open &Help File", QKeySequence(Qt::Key_F1)},
        {"About1", "&About", QKeySequence()},
        {"DeleteSelectedItem1", "&Remove Selected Item", QKeySequence(QKeySequence::Delete)},
    };
    for (const auto& entry : entries) {
        const QAction* action = Find<QAction>(*form, entry.Action);
        EXPECT_EQ(action->text(), entry.Text) << entry.Action;
        EXPECT_EQ(action->shortcut(), entry.Keys) << entry.Action;
    }
    // Within each menu every entry has its own letter.
    QList<QMenu*> menus = {Find<QMenu>(*form, "PopupListView1"), Find<QMenu>(*form, "PopupMenuSpeaker")};
    for (QAction* top : form->menuBar()->actions())
        menus << top->menu();
    for (const QMenu* menu : menus) {
        QSet<QChar> letters;
        for (const QAction* action : menu->actions()) {
            if (action->isSeparator())
                continue;
            const qsizetype at = action->text().indexOf('&');
            ASSERT_GE(at, 0) << action->text().toStdString();
            const QChar letter = action->text().at(at + 1).toLower();
            EXPECT_FALSE(letters.contains(letter)) << action->text().toStdString();
            letters.insert(letter);
        }
    }
}

TEST_F(DesktopWindowTest, KeysReachTheirCommandsButNotDuringABatch)
{
    TUrlCatcher desktop;
    WriteText(Path("index.html"));
    form->SetHelpFile(Path("index.html"));
    Activate(*form);
    Find<QTreeWidget>(*form, "ListView1")->setFocus();
    Key(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(dialogs.Informations, QStringList({"Please Add Files To Convert!"}));
    Key(Qt::Key_F1);
    EXPECT_EQ(desktop.Opened, QStringList({form->HelpFile()}));
    Key(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(dialogs.OpenCount, 1);

    // A running batch switches the main menu off, and with it its keys.
    form->SetMainMenuEnabled(false);
    QSignalSpy exits(Find<QAction>(*form, "Exit1"), &QAction::triggered);
    for (const auto& [key, modifiers] : std::initializer_list<std::pair<int, Qt::KeyboardModifiers>>{
             {Qt::Key_O, Qt::ControlModifier}, {Qt::Key_Return, Qt::ControlModifier},
             {Qt::Key_F1, Qt::NoModifier}, {Qt::Key_Q, Qt::ControlModifier}})
        Key(key, modifiers);
    EXPECT_EQ(dialogs.OpenCount, 1);
    EXPECT_EQ(dialogs.Informations.size(), 1);
    EXPECT_EQ(desktop.Opened.size(), 1);
    EXPECT_EQ(exits.count(), 0);
}

TEST_F(DesktopWindowTest, CtrlQQuitsAsExitDoes)
{
    Activate(*form);
    QSignalSpy exits(Find<QAction>(*form, "Exit1"), &QAction::triggered);
    Key(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(exits.count(), 1);
}

TEST_F(DesktopWindowTest, SeveralRowsAreSelectedCheckedAndRemovedTogether)
{
    QStringList files;
    for (const char* name : {"a.avi", "b.avi", "c.avi", "d.avi", "e.avi"}) {
        WriteText(Path(name));
        files << Path(name);
    }
    AddFiles(files);
    Activate(*form);
    auto* list = Find<QTreeWidget>(*form, "ListView1");
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::ExtendedSelection);

    Key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(form->List().SelectedRows(), QList<int>({0, 1, 2, 3, 4}));
    EXPECT_EQ(QApplication::focusWidget(), list);

    list->clearSelection();
    for (int row : {0, 2, 3})
        form->List().Row(row)->setSelected(true);
    // Unchecking one selected row unchecks the others; the rest keep their mark.
    form->List().Row(2)->setCheckState(scFileName, Qt::Unchecked);
    const Qt::CheckState marks[] = {Qt::Unchecked, Qt::Checked, Qt::Unchecked, Qt::Unchecked, Qt::Checked};
    for (int row = 0; row < 5; ++row)
        EXPECT_EQ(form->List().Row(row)->checkState(scFileName), marks[row]) << row;
    form->List().Row(3)->setCheckState(scFileName, Qt::Checked);
    EXPECT_EQ(form->List().Row(0)->checkState(scFileName), Qt::Checked);

    // Delete on the list removes every selected row.
    list->setFocus();
    Key(Qt::Key_Delete);
    EXPECT_EQ(Captions(*form), QStringList({"b.avi", "e.avi"}));
}

// A real batch: two clips convert, a text file fails; the window is in the background when
// it ends.
TEST_F(DesktopWindowTest, AfterABatchTheRowMenuOpensFoldersAndTheDesktopIsTold)
{
    QStringList shown;
    form->SetNotifier(std::make_unique<TRecordedNotifier>(shown));
    const QString out = UseOutputFolder();
    QDir().mkpath(Path("sources"));
    const QStringList clips = MakeClips({"sources/one.avi", "sources/two.avi"});
    WriteText(Path("sources/three.avi"));
    AddFiles(clips + QStringList{Path("sources/three.avi")});

    QWidget elsewhere;
    Activate(elsewhere);
    ASSERT_FALSE(form->isActiveWindow());
    Find<QToolButton>(*form, "ButtonConvert")->click();
    ASSERT_TRUE(WaitUntil([&] { return dialogs.Shown("2 files converted, 1 failed") == 1; }));
    EXPECT_EQ(shown, QStringList({"Some Conversions Failed: 2 files converted, 1 failed."}));
    ASSERT_EQ(Progress(0), "Done");
    ASSERT_EQ(Progress(2), "Fail");

    TUrlCatcher desktop;
    Find<QAction>(*form, "OpenOutputFolder1")->trigger();
    auto* list = Find<QTreeWidget>(*form, "ListView1");
    for (int row : {1, 2}) {
        list->setCurrentItem(form->List().Row(row));
        Find<QAction>(*form, "ShowInFolder1")->trigger();
    }
    // The converted row shows its file's folder, the failed one its source's.
    EXPECT_EQ(desktop.Opened, QStringList({out, out, Path("sources")}));
    EXPECT_EQ(form->List().RowOutput(1), QDir(out).filePath("two.mp4"));

    Find<QAction>(*form, "RemoveFinishedRows1")->trigger();
    EXPECT_EQ(Captions(*form), QStringList({"three.avi"}));

    // While the person looks at the window, the box is enough.
    Activate(*form);
    form->NotifyBatchEnd();
    EXPECT_EQ(shown.size(), 1);
    // Without a folder there is nothing to open.
    Find<QLineEdit>(*form, "EditOutputFolder")->clear();
    Find<QAction>(*form, "OpenOutputFolder1")->trigger();
    EXPECT_EQ(desktop.Opened.size(), 3);
    EXPECT_EQ(dialogs.Informations.last(), "Please select an output folder!");
}

TEST_F(DesktopWindowTest, TheLogKeepsItsIndentationInAFixedWidthFont)
{
    EXPECT_EQ(LogLine("  Stream #0:0: Video: mpeg4\r\n"), "  Stream #0:0: Video: mpeg4");
    EXPECT_EQ(LogLine(" \t\n"), "");
    UseOutputFolder();
    AddFiles(MakeClips({"clip.avi"}));
    Find<QToolButton>(*form, "ButtonConvert")->click();
    ASSERT_TRUE(WaitUntil([&] { return dialogs.Shown("All Conversions Completed") == 1; }));
    const QStringList log = form->List().RowLog(0);
    const auto indented = std::find_if(log.begin(), log.end(),
                                       [](const QString& line) { return line.startsWith("  "); });
    ASSERT_NE(indented, log.end()) << log.join('\n').toStdString();

    QDialog* window = ShowLogWindow(form.get(), Path("clip.avi"), log);
    auto* text = window->findChild<QPlainTextEdit*>("LogText");
    EXPECT_TRUE(text->toPlainText().split('\n').contains(*indented));
    EXPECT_TRUE(QFontInfo(text->font()).fixedPitch());
    window->close();
}

TEST_F(DesktopWindowTest, TheOutputFolderReadsInNormalText)
{
    auto* edit = Find<QLineEdit>(*form, "EditOutputFolder");
    EXPECT_TRUE(edit->isEnabled());
    EXPECT_TRUE(edit->isReadOnly());
}

}  // namespace
}  // namespace tavrin::test

#include "DesktopWindowTest.moc"
