// The profile code's combo over a QComboBox: adding never selects, out-of-range means no
// selection, and programmatic changes raise no change signal.
#include "util/QtCombo.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace tavrin {
namespace {

TEST(QtCombo, AddKeepsTheSelectionAndSignalsNothing)
{
    QComboBox box;
    TQtCombo combo(box);
    QSignalSpy changes(&box, &QComboBox::currentIndexChanged);

    combo.Add("512 Kbps");
    combo.Add("768 Kbps");
    EXPECT_EQ(combo.Count(), 2);
    EXPECT_EQ(combo.ItemIndex(), -1);
    EXPECT_EQ(combo.Text(), "");

    combo.SetItemIndex(1);
    combo.Add("1024 Kbps");
    EXPECT_EQ(combo.ItemIndex(), 1);
    EXPECT_EQ(combo.Text(), "768 Kbps");
    EXPECT_EQ(changes.count(), 0);
}

TEST(QtCombo, OutOfRangeIndexAndClearLeaveNoSelection)
{
    QComboBox box;
    TQtCombo combo(box);
    combo.Add("Stereo");
    combo.Add("Mono");
    combo.SetItemIndex(0);
    combo.SetItemIndex(2);
    EXPECT_EQ(combo.ItemIndex(), -1);
    EXPECT_EQ(combo.ItemText(2), "");
    EXPECT_EQ(combo.ItemText(-1), "");
    EXPECT_EQ(combo.ItemText(1), "Mono");

    combo.SetItemIndex(1);
    combo.Clear();
    EXPECT_EQ(combo.Count(), 0);
    EXPECT_EQ(combo.ItemIndex(), -1);
    EXPECT_EQ(combo.Text(), "");
}

TEST(QtCombo, TextsKeepTheirBytes)
{
    QComboBox box;
    TQtCombo combo(box);
    combo.Add("320 x 240 (VGA) – wide");
    combo.SetItemIndex(0);
    EXPECT_EQ(combo.Text(), "320 x 240 (VGA) – wide");
    combo.SetDropDownCount(26);
    EXPECT_EQ(box.maxVisibleItems(), 26);
    combo.SetEnabled(false);
    EXPECT_FALSE(combo.Enabled());
}

}  // namespace
}  // namespace tavrin
