// Choosing a profile: the rows' "Output" cells and the setting combos follow it, a
// separator entry changes nothing, and the quality combos move the hidden bit rates.
#include "WindowTestSupport.h"

#include "SourceList.h"

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
    ASSERT_EQ(form->RowCount(), 2);
    EXPECT_EQ(form->Cell(0, scOutput), "MP4");

    Choose(form->ComboOutputFormat, "MP3 - Mpeg Layer3 Audio (*.mp3)");
    EXPECT_EQ(form->OutputExtension, "MP3");
    EXPECT_EQ(form->Cell(0, scOutput), "MP3");
    EXPECT_EQ(form->Cell(1, scOutput), "MP3");
    // Audio-only profiles switch the video controls off ...
    EXPECT_FALSE(form->ComboVideoQuality->isEnabled());
    EXPECT_FALSE(form->ComboVideoSize->isEnabled());
    EXPECT_FALSE(form->ComboVideoFramerate->isEnabled());

    Choose(form->ComboOutputFormat, "AVI - DivX Video (*.avi)");
    EXPECT_EQ(form->Cell(1, scOutput), "AVI");
    // ... and the others back on.
    EXPECT_TRUE(form->ComboVideoQuality->isEnabled());
    EXPECT_TRUE(form->ComboVideoSize->isEnabled());
}

TEST_F(WindowTest, ASeparatorEntryGoesBackToTheLastProfileAndChangesNothing)
{
    Choose(form->ComboOutputFormat, "iPod (*.mp4)");
    const int ipod = form->ComboOutputFormat->currentIndex();
    const QStringList sizes = Items(form->ComboVideoSize);
    const QStringList bitrates = Items(form->ComboVideoBitrate);
    const QString size = form->ComboVideoSize->currentText();

    const int separator = 9;
    ASSERT_TRUE(form->ComboOutputFormat->itemText(separator).startsWith("              ----"));
    form->ComboOutputFormat->setCurrentIndex(separator);
    emit form->ComboOutputFormat->activated(separator);

    EXPECT_EQ(form->ComboOutputFormat->currentIndex(), ipod);
    EXPECT_EQ(form->LastFormatIndex, ipod);
    EXPECT_EQ(Items(form->ComboVideoSize), sizes);
    EXPECT_EQ(Items(form->ComboVideoBitrate), bitrates);
    EXPECT_EQ(form->ComboVideoSize->currentText(), size);
    EXPECT_EQ(form->OutputExtension, "MP4");
}

TEST_F(WindowTest, QualityChoicesMoveTheHiddenBitRatesAndHintThem)
{
    ASSERT_EQ(form->ComboOutputFormat->currentText(), "Apple TV (*.mp4)");
    Choose(form->ComboVideoQuality, "Highest");
    EXPECT_EQ(form->ComboVideoBitrate->currentText().section(' ', 0, 0), "2500");
    Choose(form->ComboAudioQuality, "Lowest");
    EXPECT_EQ(form->ComboAudioBitrate->currentText().section(' ', 0, 0), "32");

    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(form->ComboVideoQuality, &enter);
    EXPECT_EQ(form->ComboVideoQuality->toolTip(), form->ComboVideoBitrate->currentText());
    EXPECT_EQ(form->ComboVideoQuality->toolTipDuration(), 30000);
}

TEST_F(WindowTest, DropDownShowsAsManyEntriesAsTheOptionsSay)
{
    form->Options.DropDownItems = 40;
    form->ComboOutputFormatDropDown();
    EXPECT_EQ(form->ComboOutputFormat->maxVisibleItems(), 40);
}

}  // namespace
}  // namespace tavrin::test
