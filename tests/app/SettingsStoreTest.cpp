// The stored settings across starts: first run, loading, the rules for bad values, the
// repair of a damaged store, closing versus "Exit", and stores that cannot be written.
#include "SettingsTestSupport.h"

#include "util/SpinEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QToolButton>

#include <cstdlib>

namespace tavrin::test {
namespace {

const QStringList kSeven = {"Output Folder", "ComboOutputFormat", "Overwrite", "DropDownItems",
                            "LetterBox",     "VideoQuality",      "AudioQuality"};

class StoredSettingsTest : public SettingsTest {
protected:
    // The seven values as the file holds them, as text.
    QStringList StoredSeven() const
    {
        QStringList values;
        for (const QString& name : kSeven)
            values << (IsStored(name) ? Stored(name).toString() : QStringLiteral("<missing>"));
        return values;
    }
};

TEST_F(StoredSettingsTest, FirstRunWritesTheDefaultsOfEveryValue)
{
    Start();
    EXPECT_EQ(StoredSeven(), QStringList({"", "0", "0", "26", "0", "2", "2"}));
    EXPECT_EQ(Stored("SimultaneousConversions").toInt(), 1);
    EXPECT_TRUE(dialogs.Informations.isEmpty());

    EXPECT_EQ(Find<QComboBox>(Form1(), "ComboOutputFormat")->currentIndex(), 0);
    EXPECT_GT(Find<QComboBox>(Form1(), "ComboVideoSize")->count(), 0);
    EXPECT_EQ(Find<QComboBox>(Form1(), "ComboVideoQuality")->currentText(), "Normal");
    EXPECT_EQ(Find<QSpinBox>(Form4(), "SpinEdit1")->value(), 26);
    EXPECT_FALSE(Find<QCheckBox>(Form4(), "CheckBoxOverWrite")->isChecked());
    EXPECT_EQ(Form1().Options().SimultaneousConversions, 1);
}

TEST_F(StoredSettingsTest, TheWindowComesBackWhereItWasAndAsLarge)
{
    Start();
    const QRect first = Form1().geometry();
    // Smaller than it opened and moved, so that it still lies on the test's screen.
    const QRect placed(first.topLeft() + QPoint(25, 15), first.size() - QSize(40, 20));
    Form1().setGeometry(placed);
    QApplication::processEvents();
    CloseAndEnd();
    EXPECT_FALSE(Stored("WindowGeometry").toString().isEmpty());
    Start();
    // Within the few pixels the platform's idea of the frame may move it.
    const QRect back = Form1().geometry();
    for (int edge : {back.left() - placed.left(), back.top() - placed.top(),
                     back.right() - placed.right(), back.bottom() - placed.bottom()})
        EXPECT_LE(std::abs(edge), 4) << back.x() << "," << back.y() << " " << back.width() << "x" << back.height();
    // The seven values are complete without it: a store of an older version loads as it is.
    CloseAndEnd();
    Unstore("WindowGeometry");
    Start();
    EXPECT_EQ(StoredSeven(), QStringList({"", "0", "0", "26", "0", "2", "2"}));
    EXPECT_EQ(Form1().size(), first.size());
}

TEST_F(StoredSettingsTest, ACompleteStoreLoadsIntoBothWindowsWithoutBeingRewritten)
{
    StoreAll("/srv/videos", 3, 1, 30, 1, 0, 4);
    Start();
    EXPECT_EQ(Find<QLineEdit>(Form1(), "EditOutputFolder")->text(), "/srv/videos");
    EXPECT_EQ(Find<QComboBox>(Form1(), "ComboOutputFormat")->currentIndex(), 3);
    EXPECT_EQ(Form1().Settings().LastFormatIndex(), 3);  // the window applied the loaded profile
    EXPECT_TRUE(Find<QCheckBox>(Form4(), "CheckBoxOverWrite")->isChecked());
    EXPECT_TRUE(Form1().Options().Overwrite);
    EXPECT_EQ(Find<QSpinBox>(Form4(), "SpinEdit1")->value(), 30);
    EXPECT_EQ(Find<QComboBox>(Form1(), "ComboOutputFormat")->maxVisibleItems(), 30);
    EXPECT_EQ(Find<QComboBox>(Form1(), "ComboLetterBox")->currentIndex(), 1);
    EXPECT_EQ(Find<QComboBox>(Form4(), "ComboLetterBox")->currentIndex(), 1);
    EXPECT_EQ(Find<QComboBox>(Form1(), "ComboVideoQuality")->currentText(), "Highest");
    EXPECT_EQ(Find<QComboBox>(Form1(), "ComboAudioQuality")->currentText(), "Lowest");
    // The extra value is missing: one conversion at a time, and nothing was repaired.
    EXPECT_EQ(Form1().Options().SimultaneousConversions, 1);
    EXPECT_FALSE(IsStored("SimultaneousConversions"));
}

TEST_F(StoredSettingsTest, DropDownItemsAreClampedToTheSpinRange)
{
    StoreAll("", 0, 0, 5, 0, 2, 2);
    Start();
    EXPECT_EQ(Find<QSpinBox>(Form4(), "SpinEdit1")->value(), 26);
    EXPECT_EQ(Form1().Options().DropDownItems, 26);
    EXPECT_EQ(Find<QComboBox>(Form1(), "ComboOutputFormat")->maxVisibleItems(), 26);
    EXPECT_EQ(Stored("DropDownItems").toInt(), 5);  // clamping is not a failed read
    ExitAndEnd();

    Store("DropDownItems", 100);
    Start();
    EXPECT_EQ(Find<QSpinBox>(Form4(), "SpinEdit1")->value(), 47);
    EXPECT_EQ(Find<QComboBox>(Form1(), "ComboOutputFormat")->maxVisibleItems(), 47);
    CloseAndEnd();
    EXPECT_EQ(Stored("DropDownItems").toInt(), 47);
}

TEST_F(StoredSettingsTest, ADeletedVideoQualitySkipsTheRestAndRewritesAllSeven)
{
    StoreAll("/srv/videos", 3, 1, 30, 1, 0, 4);
    Unstore("VideoQuality");
    Start();
    // Read up to "LetterBox", then nothing.
    EXPECT_EQ(Find<QLineEdit>(Form1(), "EditOutputFolder")->text(), "/srv/videos");
    EXPECT_EQ(Find<QComboBox>(Form1(), "ComboOutputFormat")->currentIndex(), 3);
    EXPECT_TRUE(Find<QCheckBox>(Form4(), "CheckBoxOverWrite")->isChecked());
    EXPECT_EQ(Find<QSpinBox>(Form4(), "SpinEdit1")->value(), 30);
    EXPECT_EQ(Find<QComboBox>(Form1(), "ComboLetterBox")->currentIndex(), 1);
    EXPECT_EQ(Find<QComboBox>(Form1(), "ComboVideoQuality")->currentText(), "Normal");
    EXPECT_EQ(Find<QComboBox>(Form1(), "ComboAudioQuality")->currentText(), "Normal");
    // Rewritten at once, before any close.
    EXPECT_EQ(StoredSeven(), QStringList({"/srv/videos", "3", "1", "30", "1", "2", "2"}));
}

TEST_F(StoredSettingsTest, AValueOfTheWrongKindRepairsTheStore)
{
    struct TCase {
        const char* Name;
        QVariant Value;
        QStringList Expected;  // the seven afterwards
    };
    const TCase cases[] = {
        // Not a number: the values before it load, the rest keep their defaults.
        {"DropDownItems", QStringLiteral("many"), {"/srv/videos", "3", "1", "26", "0", "2", "2"}},
        // Not a 32-bit number.
        {"VideoQuality", QStringLiteral("5000000000"), {"/srv/videos", "3", "1", "30", "1", "2", "2"}},
        {"Overwrite", QStringLiteral("yes"), {"/srv/videos", "3", "0", "26", "0", "2", "2"}},
        // A list where text belongs: nothing loads at all.
        {"Output Folder", QStringList({"a", "b"}), {"", "0", "0", "26", "0", "2", "2"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        UseFreshStore();
        StoreAll("/srv/videos", 3, 1, 30, 1, 0, 4);
        Store(c.Name, c.Value);
        Start();
        EXPECT_EQ(StoredSeven(), c.Expected);
        EXPECT_EQ(Stored("Output Folder").typeId(), QMetaType::QString);
        EXPECT_TRUE(dialogs.Informations.isEmpty());
        ExitAndEnd();
    }
}

TEST_F(StoredSettingsTest, NegativeNumbersLeaveTheControlsAsTheyAre)
{
    StoreAll("/srv/videos", -1, -1, -5, -1, -1, -1);
    Start();
    EXPECT_EQ(Find<QComboBox>(Form1(), "ComboOutputFormat")->currentIndex(), 0);
    EXPECT_TRUE(Find<QCheckBox>(Form4(), "CheckBoxOverWrite")->isChecked());  // any non-zero number is set
    EXPECT_EQ(Find<QSpinBox>(Form4(), "SpinEdit1")->value(), 26);
    EXPECT_EQ(Find<QComboBox>(Form1(), "ComboLetterBox")->currentIndex(), 0);
    EXPECT_EQ(Find<QComboBox>(Form1(), "ComboVideoQuality")->currentIndex(), 2);
    EXPECT_EQ(Find<QComboBox>(Form1(), "ComboAudioQuality")->currentIndex(), 2);
    // Ignored values are good reads: nothing is rewritten until the window closes.
    EXPECT_EQ(Stored("ComboOutputFormat").toInt(), -1);
    CloseAndEnd();
    EXPECT_EQ(StoredSeven(), QStringList({"/srv/videos", "0", "1", "26", "0", "2", "2"}));
}

TEST_F(StoredSettingsTest, ClosingTheWindowAndExitBothSave)
{
    Start();
    const QString chosen = dir.filePath("chosen");
    dialogs.FolderToChoose = chosen;
    Find<QToolButton>(Form1(), "ButtonBrowseForFolder")->click();
    ASSERT_EQ(Find<QLineEdit>(Form1(), "EditOutputFolder")->text(), chosen);
    Find<QComboBox>(Form1(), "ComboOutputFormat")->setCurrentIndex(4);
    Form1().Settings().ComboOutputFormatChange();
    const QString profile = Find<QComboBox>(Form1(), "ComboOutputFormat")->currentText();
    Find<QComboBox>(Form1(), "ComboAudioQuality")->setCurrentIndex(0);
    CloseAndEnd();

    Start();
    EXPECT_EQ(Find<QLineEdit>(Form1(), "EditOutputFolder")->text(), chosen);
    EXPECT_EQ(Find<QComboBox>(Form1(), "ComboOutputFormat")->currentText(), profile);
    EXPECT_EQ(Find<QComboBox>(Form1(), "ComboAudioQuality")->currentIndex(), 0);
    EXPECT_GT(Find<QComboBox>(Form1(), "ComboVideoSize")->count(), 0);

    // File -> Exit keeps what was set as the close button does.
    const QString other = dir.filePath("other");
    dialogs.FolderToChoose = other;
    Find<QToolButton>(Form1(), "ButtonBrowseForFolder")->click();
    Find<QComboBox>(Form1(), "ComboAudioQuality")->setCurrentIndex(1);
    ExitAndEnd();
    EXPECT_EQ(Stored("Output Folder").toString(), other);
    Start();
    EXPECT_EQ(Find<QLineEdit>(Form1(), "EditOutputFolder")->text(), other);
    EXPECT_EQ(Find<QComboBox>(Form1(), "ComboAudioQuality")->currentIndex(), 1);
}

// The stored folder was deleted since the last run: the window starts with it, and Start
// says it is gone and offers the browser instead of converting.
TEST_F(StoredSettingsTest, AStoredFolderThatIsGoneIsCaughtAtStart)
{
    const QString gone = dir.filePath("gone");
    StoreAll(gone, 0, 0, 26, 0, 2, 2);
    Start();
    EXPECT_EQ(Find<QLineEdit>(Form1(), "EditOutputFolder")->text(), gone);
    EXPECT_TRUE(dialogs.Informations.isEmpty());

    QFile source(dir.filePath("source.avi"));
    ASSERT_TRUE(source.open(QIODevice::WriteOnly));
    source.write(QByteArray(1000, 'x'));
    source.close();
    Form1().List().AddFilesProcedure({source.fileName()});
    Find<QToolButton>(Form1(), "ButtonConvert")->click();
    ASSERT_EQ(dialogs.Informations.size(), 1);
    EXPECT_TRUE(dialogs.Informations[0].contains("does not exist or has been deleted!"));
    EXPECT_EQ(dialogs.FolderCaptions, QStringList({"Choose the required output folder below :"}));
    EXPECT_FALSE(Form1().Batch().State().Converting);
}

TEST_F(StoredSettingsTest, AStoredProfileTheListDoesNotHaveSelectsTheFirst)
{
    for (int stored : {999, 1}) {  // beyond the list; a separator line
        SCOPED_TRACE(stored);
        UseFreshStore();
        StoreAll("", stored, 0, 26, 0, 2, 2);
        Start();
        EXPECT_EQ(Find<QComboBox>(Form1(), "ComboOutputFormat")->currentIndex(), 0);
        EXPECT_EQ(Form1().Settings().OutputExtension(), "MP4");
        EXPECT_GT(Find<QComboBox>(Form1(), "ComboVideoSize")->count(), 0);
        EXPECT_GT(Find<QComboBox>(Form1(), "ComboVideoBitrate")->count(), 0);
        EXPECT_GT(Find<QComboBox>(Form1(), "ComboAudioCodec")->count(), 0);
        CloseAndEnd();
        EXPECT_EQ(Stored("ComboOutputFormat").toInt(), 0);
    }
}

TEST_F(StoredSettingsTest, AStoreThatCannotBeWrittenFailsSilently)
{
    // A plain file where the settings folder should be: no user, not even root, can write.
    QFile blocker(dir.filePath("blocked"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.write("not a folder");
    blocker.close();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, blocker.fileName() + "/config");

    Start();
    EXPECT_TRUE(dialogs.Informations.isEmpty());
    EXPECT_EQ(Find<QComboBox>(Form1(), "ComboOutputFormat")->currentIndex(), 0);
    EXPECT_GT(Find<QComboBox>(Form1(), "ComboVideoSize")->count(), 0);
    dialogs.FolderToChoose = dir.filePath("chosen");
    Find<QToolButton>(Form1(), "ButtonBrowseForFolder")->click();
    CloseAndEnd();
    EXPECT_TRUE(dialogs.Informations.isEmpty());
    QFile again(blocker.fileName());
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), "not a folder");
}

TEST_F(StoredSettingsTest, SimultaneousConversionsIsAnExtraThatNeverRepairsTheStore)
{
    const int cores = MaxSimultaneousConversions();
    struct TCase {
        QVariant Stored;
        int Expected;
    };
    const TCase cases[] = {
        {QStringLiteral("lots"), 1}, {0, 1}, {-3, 1}, {cores, cores}, {cores + 100, cores}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Stored.toString().toStdString());
        UseFreshStore();
        StoreAll("/srv/videos", 3, 0, 30, 0, 2, 2);
        Store("SimultaneousConversions", c.Stored);
        Start();
        EXPECT_EQ(Form1().Options().SimultaneousConversions, c.Expected);
        EXPECT_EQ(Find<QSpinBox>(Form4(), "SpinEditSimultaneous")->value(), c.Expected);
        EXPECT_EQ(Stored("SimultaneousConversions").toString(), c.Stored.toString());  // no rewrite
        CloseAndEnd();
        EXPECT_EQ(Stored("SimultaneousConversions").toInt(), c.Expected);
    }

    // Kept even when the seven are repaired.
    UseFreshStore();
    StoreAll("", 0, 0, 26, 0, 2, 2);
    Unstore("AudioQuality");
    Store("SimultaneousConversions", cores);
    Start();
    EXPECT_EQ(Stored("AudioQuality").toInt(), 2);
    EXPECT_EQ(Stored("SimultaneousConversions").toInt(), cores);
}

}  // namespace
}  // namespace tavrin::test
