// The "Additional Options" dialog (shown from the menu, modeless, centred, hidden by
// "Done"), its mirroring into the main window, its spin edits, and the "Help" entries.
#include "SettingsTestSupport.h"

#include "CodecLibraries.h"
#include "dialogs/HelpAndAbout.h"
#include "util/SpinEdit.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QUrl>

namespace tavrin::test {
namespace {

QStringList Items(const QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

// Types into a spin edit and leaves it, as a user would.
void Type(QSpinBox* spin, const QString& text)
{
    spin->findChild<QLineEdit*>()->setText(text);
    spin->interpretText();
}

using OptionsDialogTest = SettingsTest;

TEST_F(OptionsDialogTest, SetOptionsShowsTheDialogBesideTheWindowAndDoneHidesIt)
{
    Start();
    TForm4& dialog = Form4();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.parentWidget(), &Form1());  // kept above its main window
    EXPECT_EQ(dialog.windowTitle(), "Additional Options");
    EXPECT_TRUE(Find<QAction>(Form1(), "SetOptions1")->isEnabled());

    Form1().move(100, 80);
    Find<QAction>(Form1(), "SetOptions1")->trigger();
    QApplication::processEvents();
    ASSERT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.isModal());
    const QPoint offset = dialog.geometry().center() - Form1().geometry().center();
    EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();
    EXPECT_GE(dialog.width(), 390);
    EXPECT_GE(dialog.height(), 351);
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());  // a dialog border

    // The main window stays usable while the dialog is open.
    dialogs.FolderToChoose = dir.filePath("out");
    Find<QToolButton>(Form1(), "ButtonBrowseForFolder")->click();
    EXPECT_EQ(Find<QLineEdit>(Form1(), "EditOutputFolder")->text(), dir.filePath("out"));

    Find<QPushButton>(dialog, "Button1")->click();
    EXPECT_FALSE(dialog.isVisible());
    // Shown again after the window moved: centred on it where it is now.
    Form1().move(300, 200);
    Find<QAction>(Form1(), "SetOptions1")->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(dialog.isVisible());
    const QPoint moved = dialog.geometry().center() - Form1().geometry().center();
    EXPECT_LE(moved.manhattanLength(), 2) << moved.x() << "," << moved.y();
}

TEST_F(OptionsDialogTest, HoldsTheTwoGroupsWithTheirControls)
{
    Start();
    TForm4& dialog = Form4();
    EXPECT_EQ(Find<QGroupBox>(dialog, "GroupAdditionalOptions")->title(), " Additional Options ");
    EXPECT_EQ(Find<QGroupBox>(dialog, "GroupGeneralVideo")->title(), " General Video Settings ");
    EXPECT_EQ(Find<QCheckBox>(dialog, "CheckBoxOverWrite")->text(), "Overwrite Existing File With The Same Name");
    EXPECT_EQ(Find<QSpinBox>(dialog, "SpinEdit1")->minimum(), 26);
    EXPECT_EQ(Find<QSpinBox>(dialog, "SpinEdit1")->maximum(), 47);
    // The developer's setting says what it changes, on the field and on its label.
    const QString hint = Find<QSpinBox>(dialog, "SpinEdit1")->toolTip();
    EXPECT_TRUE(hint.contains("\"Set Output Format\" list")) << hint.toStdString();
    EXPECT_TRUE(hint.contains("nothing in the converted files")) << hint.toStdString();
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->text() == "Drop Down Items in Output Format List") {
            EXPECT_EQ(label->toolTip(), hint);
        }
    }
    EXPECT_EQ(Find<QSpinBox>(dialog, "SpinEditSimultaneous")->minimum(), 1);
    EXPECT_EQ(Find<QSpinBox>(dialog, "SpinEditSimultaneous")->maximum(), MaxSimultaneousConversions());
    EXPECT_EQ(Items(Find<QComboBox>(dialog, "ComboLetterBox")), QStringList({"None", "LetterBox"}));
    EXPECT_EQ(Items(Find<QComboBox>(dialog, "ComboAspectRatio")),
              QStringList({"Original", "4:3 (Standard", "16:9 (Wide Screen)"}));
    // Choices only: no text can be typed that matches no item.
    EXPECT_FALSE(Find<QComboBox>(dialog, "ComboLetterBox")->isEditable());
    EXPECT_FALSE(Find<QComboBox>(dialog, "ComboAspectRatio")->isEditable());
    EXPECT_EQ(Find<QPushButton>(dialog, "Button1")->text(), "Done");

    QStringList labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        labels << label->text();
    for (const char* text : {"Drop Down Items in Output Format List", "Simultaneous conversions",
                             "Video Zoom : ", "Video Aspect Ratio : "})
        EXPECT_TRUE(labels.contains(text)) << text;
}

TEST_F(OptionsDialogTest, TheAspectChoiceIsMirroredButNotKeptAndTheLetterBoxIs)
{
    Start();
    TForm4& dialog = Form4();
    // A user choosing with the keyboard: two steps down to "16:9 (Wide Screen)".
    QTest::keyClick(Find<QComboBox>(dialog, "ComboAspectRatio"), Qt::Key_Down);
    QTest::keyClick(Find<QComboBox>(dialog, "ComboAspectRatio"), Qt::Key_Down);
    ASSERT_EQ(Find<QComboBox>(dialog, "ComboAspectRatio")->currentText(), "16:9 (Wide Screen)");
    EXPECT_EQ(Find<QComboBox>(Form1(), "ComboAspectRatio")->currentIndex(), 2);
    QTest::keyClick(Find<QComboBox>(dialog, "ComboLetterBox"), Qt::Key_Down);
    EXPECT_EQ(Find<QComboBox>(Form1(), "ComboLetterBox")->currentIndex(), 1);

    Restart();
    EXPECT_EQ(Find<QComboBox>(Form1(), "ComboAspectRatio")->currentIndex(), 0);
    EXPECT_EQ(Find<QComboBox>(Form4(), "ComboAspectRatio")->currentText(), "Original");
    EXPECT_EQ(Find<QComboBox>(Form1(), "ComboLetterBox")->currentIndex(), 1);
    EXPECT_EQ(Find<QComboBox>(Form4(), "ComboLetterBox")->currentText(), "LetterBox");
}

TEST_F(OptionsDialogTest, TheSpinEditsReachTheWindowAtOnceAndKeepToTheirRange)
{
    Start();
    QSpinBox* spin = Find<QSpinBox>(Form4(), "SpinEdit1");
    Type(spin, "40");
    EXPECT_EQ(Find<QComboBox>(Form1(), "ComboOutputFormat")->maxVisibleItems(), 40);
    EXPECT_EQ(Form1().Options().DropDownItems, 40);
    Type(spin, "5");
    EXPECT_EQ(spin->value(), 26);
    Type(spin, "100");
    EXPECT_EQ(spin->value(), 47);
    EXPECT_EQ(Find<QComboBox>(Form1(), "ComboOutputFormat")->maxVisibleItems(), 47);
    Type(spin, "");
    EXPECT_EQ(spin->value(), 26);
    spin->setValue(3);
    EXPECT_EQ(spin->value(), 26);
    // The window re-reads it when the list drops down.
    Find<QComboBox>(Form1(), "ComboOutputFormat")->setMaxVisibleItems(10);
    Form1().Settings().ComboOutputFormatDropDown();
    EXPECT_EQ(Find<QComboBox>(Form1(), "ComboOutputFormat")->maxVisibleItems(), 26);

    Type(Find<QSpinBox>(Form4(), "SpinEditSimultaneous"), "0");
    EXPECT_EQ(Form1().Options().SimultaneousConversions, 1);
    Type(Find<QSpinBox>(Form4(), "SpinEditSimultaneous"), "999");
    EXPECT_EQ(Form1().Options().SimultaneousConversions, MaxSimultaneousConversions());
    CloseAndEnd();
    EXPECT_EQ(Stored("SimultaneousConversions").toInt(), MaxSimultaneousConversions());
}

TEST_F(OptionsDialogTest, OverwriteIsWhatTheJobBuilderSees)
{
    Start();
    Find<QCheckBox>(Form4(), "CheckBoxOverWrite")->click();
    EXPECT_TRUE(Form1().Options().Overwrite);
    Restart();
    EXPECT_TRUE(Find<QCheckBox>(Form4(), "CheckBoxOverWrite")->isChecked());
    EXPECT_TRUE(Form1().Options().Overwrite);
    Find<QCheckBox>(Form4(), "CheckBoxOverWrite")->click();
    EXPECT_FALSE(Form1().Options().Overwrite);
}

// Takes the URLs the desktop would be asked to open.
class TUrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> Opened;
public slots:
    void Open(const QUrl& url) { Opened << url; }
};

TEST_F(OptionsDialogTest, OpenHelpFileShowsThePageOrSaysItIsMissing)
{
    Start();
    TUrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "Open");

    Form1().SetHelpFile(dir.filePath("help/index.html"));
    Find<QAction>(Form1(), "OpenHelpFile1")->trigger();
    EXPECT_TRUE(catcher.Opened.isEmpty());
    ASSERT_EQ(dialogs.Informations.size(), 1);
    EXPECT_TRUE(dialogs.Informations[0].contains("help file"));
    EXPECT_TRUE(dialogs.Informations[0].contains(Form1().HelpFile()));

    const QString built = FindHelpFile(QStringLiteral(TAVRIN_CONVERTER_DIR));
    ASSERT_TRUE(QFileInfo::exists(built)) << built.toStdString();
    Form1().SetHelpFile(built);
    Find<QAction>(Form1(), "OpenHelpFile1")->trigger();
    EXPECT_EQ(catcher.Opened, QList<QUrl>({QUrl::fromLocalFile(built)}));
    EXPECT_EQ(dialogs.Informations.size(), 1);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}

TEST_F(OptionsDialogTest, TheHelpPageIsFoundBesideTheProgramOrInItsInstalledPlace)
{
    const QStringList candidates = HelpFileCandidates("/opt/tavrin/bin");
    EXPECT_EQ(candidates, QStringList({"/opt/tavrin/bin/help/index.html",
                                       "/opt/tavrin/share/tavrin-converter/help/index.html"}));
    // Nothing there: the first place is named in the message.
    EXPECT_EQ(FindHelpFile(dir.path()), dir.filePath("help/index.html"));

    QFile page(FindHelpFile(QStringLiteral(TAVRIN_CONVERTER_DIR)));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(page.readAll());
    for (const char* topic : {"Tavrin Apple TV Converter", "Add File", "Apple TV", "Additional Options",
                              "Snapshot", "tavrin-convert", "tavrin-transcode",
                              "Tavrin Apple TV Converter.conf"})
        EXPECT_TRUE(text.contains(topic)) << topic;
}

TEST_F(OptionsDialogTest, AboutShowsTheVersionAndTheLibrariesWithTheirLicences)
{
    Start();
    Find<QAction>(Form1(), "About1")->trigger();
    ASSERT_EQ(dialogs.AboutTexts.size(), 1);
    const QString text = dialogs.AboutTexts[0];
    EXPECT_TRUE(text.contains("Tavrin Apple TV Converter"));
    EXPECT_TRUE(text.contains(QStringLiteral("Version " TAVRIN_PROJECT_VERSION)));
    const auto libraries = CodecLibraryVersions();
    ASSERT_FALSE(libraries.empty());
    for (const TCodecLibraryInfo& library : libraries) {
        EXPECT_TRUE(text.contains(QString::fromStdString(library.Name))) << library.Name;
        EXPECT_TRUE(text.contains(QString::fromStdString(library.Version))) << library.Version;
        EXPECT_TRUE(text.contains(QString::fromStdString(library.License).toHtmlEscaped()))
            << library.License;
    }
    EXPECT_TRUE(text.contains(QString::fromLatin1(qVersion())));
    EXPECT_TRUE(text.contains("LGPL version 3"));
}

}  // namespace
}  // namespace tavrin::test

#include "OptionsDialogTest.moc"
