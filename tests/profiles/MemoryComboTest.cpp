// The in-memory combo keeps the selection rules the profile code relies on.
#include "MemoryCombo.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

TEST(MemoryCombo, AddingDoesNotSelectAndBadIndexesClearTheSelection)
{
    TMemoryCombo combo;
    combo.Add("a");
    combo.Add("b");
    EXPECT_EQ(combo.ItemIndex(), -1);
    EXPECT_EQ(combo.Text(), "");
    combo.SetItemIndex(1);
    EXPECT_EQ(combo.Text(), "b");
    combo.SetItemIndex(2);
    EXPECT_EQ(combo.ItemIndex(), -1);
    EXPECT_EQ(combo.ItemText(5), "");
    combo.SetItemIndex(0);
    combo.Clear();
    EXPECT_EQ(combo.Count(), 0);
    EXPECT_EQ(combo.ItemIndex(), -1);
}

}  // namespace
}  // namespace tavrin
