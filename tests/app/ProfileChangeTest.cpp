// Choosing a profile: the rows' "Output" cells and the setting combos follow it, a
// separator entry changes nothing, and the quality combos move the hidden bit rates.
#include "WindowTestSupport.h"

#include "list/SourceList.h"

#include <QComboBox>
#include <QEnterEvent>

namespace tavrin::test {
namespace {

QStringList Items(const QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

void Choose(QComboBox* combo, const QString& text)
{
    const int index = combo->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

TEST_F(WindowTest, ChoosingAProfileRewritesEveryRowsOutputCell)
{
    UseOutputFolder();
    AddFiles(MakeClips({"a.avi", "b.avi"}));
    ASSERT_EQ(form->List().RowCount(), 2);
    EXPECT_EQ(form->List().Cell(0, scOutput), "MP4");

    Choose(Find<QComboBox>(*form, "ComboOutputFormat"), "MP3 - Mpeg Layer3 Audio (*.mp3)");
    EXPECT_EQ(form->Settings().OutputExtension(), "MP3");
    EXPECT_EQ(form->List().Cell(0, scOutput), "MP3");
    EXPECT_EQ(form->List().Cell(1, scOutput), "MP3");
    // Audio-only profiles switch the video controls off ...
    EXPECT_FALSE(Find<QComboBox>(*form, "ComboVideoQuality")->isEnabled());
    EXPECT_FALSE(Find<QComboBox>(*form, "ComboVideoSize")->isEnabled());
    EXPECT_FALSE(Find<QComboBox>(*form, "ComboVideoFramerate")->isEnabled());

    Choose(Find<QComboBox>(*form, "ComboOutputFormat"), "AVI - DivX Video (*.avi)");
    EXPECT_EQ(form->List().Cell(1, scOutput), "AVI");
    // ... and the others back on.
    EXPECT_TRUE(Find<QComboBox>(*form, "ComboVideoQuality")->isEnabled());
    EXPECT_TRUE(Find<QComboBox>(*form, "ComboVideoSize")->isEnabled());
}

TEST_F(WindowTest, ASeparatorEntryGoesBackToTheLastProfileAndChangesNothing)
{
    Choose(Find<QComboBox>(*form, "ComboOutputFormat"), "iPod (*.mp4)");
    const int ipod = Find<QComboBox>(*form, "ComboOutputFormat")->currentIndex();
    const QStringList sizes = Items(Find<QComboBox>(*form, "ComboVideoSize"));
    const QStringList bitrates = Items(Find<QComboBox>(*form, "ComboVideoBitrate"));
    const QString size = Find<QComboBox>(*form, "ComboVideoSize")->currentText();

    const int separator = 9;
    ASSERT_TRUE(Find<QComboBox>(*form, "ComboOutputFormat")->itemText(separator).startsWith("              ----"));
    Find<QComboBox>(*form, "ComboOutputFormat")->setCurrentIndex(separator);
    emit Find<QComboBox>(*form, "ComboOutputFormat")->activated(separator);

    EXPECT_EQ(Find<QComboBox>(*form, "ComboOutputFormat")->currentIndex(), ipod);
    EXPECT_EQ(form->Settings().LastFormatIndex(), ipod);
    EXPECT_EQ(Items(Find<QComboBox>(*form, "ComboVideoSize")), sizes);
    EXPECT_EQ(Items(Find<QComboBox>(*form, "ComboVideoBitrate")), bitrates);
    EXPECT_EQ(Find<QComboBox>(*form, "ComboVideoSize")->currentText(), size);
    EXPECT_EQ(form->Settings().OutputExtension(), "MP4");
}

TEST_F(WindowTest, QualityChoicesMoveTheHiddenBitRatesAndHintThem)
{
    ASSERT_EQ(Find<QComboBox>(*form, "ComboOutputFormat")->currentText(), "Apple TV (*.mp4)");
    Choose(Find<QComboBox>(*form, "ComboVideoQuality"), "Highest");
    EXPECT_EQ(Find<QComboBox>(*form, "ComboVideoBitrate")->currentText().section(' ', 0, 0), "2500");
    Choose(Find<QComboBox>(*form, "ComboAudioQuality"), "Lowest");
    EXPECT_EQ(Find<QComboBox>(*form, "ComboAudioBitrate")->currentText().section(' ', 0, 0), "32");

    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(Find<QComboBox>(*form, "ComboVideoQuality"), &enter);
    EXPECT_EQ(Find<QComboBox>(*form, "ComboVideoQuality")->toolTip(), Find<QComboBox>(*form, "ComboVideoBitrate")->currentText());
    EXPECT_EQ(Find<QComboBox>(*form, "ComboVideoQuality")->toolTipDuration(), 30000);
}

TEST_F(WindowTest, DropDownShowsAsManyEntriesAsTheOptionsSay)
{
    form->Options().DropDownItems = 40;
    form->Settings().ComboOutputFormatDropDown();
    EXPECT_EQ(Find<QComboBox>(*form, "ComboOutputFormat")->maxVisibleItems(), 40);
}

}  // namespace
}  // namespace tavrin::test
