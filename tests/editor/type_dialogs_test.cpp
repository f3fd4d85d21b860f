// The two reaction type dialogs and the flag array they share with their callers.
#include <gtest/gtest.h>

#include <QLabel>

#include "editor/select_dialog.h"
#include "editor/type_dialog.h"
#include "tests/support/driver.h"
#include "ui/check_box.h"
#include "ui/radio_button.h"

namespace {

using Labels = std::vector<std::string_view>;

// Presses the labels in order, then OK.
template <class T>
void PressThenOk(TDialogScript<T>& script, const Labels& labels) {
  for (std::string_view label : labels) script.Press(label);
  script.Press(1);
}

TEST(TypeFromFlags, FirstOfTheFourTypesElseMiscellaneous) {
  const std::pair<TTypeFlags, int32_t> cases[] = {
      {{0, 0, 0, 0, 0}, 4}, {{0, 0, 1, 0, 0}, 2}, {{0, 1, 1, 0, 0}, 1}, {{0, 0, 0, 1, 1}, 3},
      {{0, 0, 0, 0, 1}, 4}, {{0, 0, 0, 2, 0}, 4}, {{1, 0, 0, 0, 0}, 0}};
  for (const auto& [flags, type] : cases) EXPECT_EQ(TypeFromFlags(flags), type);
}

TEST(SelectDialog, OpensUntickedAndWritesWhatIsTickedOnOk) {
  const std::pair<Labels, TTypeFlags> cases[] = {
      {{"Precipitation", "Complex Ion", "Miscellaneous", "Complex Ion"}, {1, 0, 0, 0, 1}},
      {{}, {0, 0, 0, 0, 0}}};
  for (const auto& [presses, expected] : cases) {
    TTypeFlags flags = {1, 1, 1, 0, 1};  // an earlier choice
    TDriver driver;
    auto& script = driver.ExpectDialog<TSelectDialog>().Check([](TSelectDialog& d) {
      for (int id = 101; id <= 105; ++id) EXPECT_FALSE(d.CheckBox(id)->GetCheck()) << id;
    });
    PressThenOk(script, presses);
    TSelectDialog dialog(nullptr, &flags);
    EXPECT_EQ(dialog.Execute(), 1);
    EXPECT_EQ(flags, expected);
  }
}

TEST(TypeDialog, OpensOnTheCallersChoiceAndWritesTheOneChosenOnOk) {
  const std::tuple<TTypeFlags, Labels, TTypeFlags> cases[] = {
      {{0, 0, 0, 0, 0}, {}, {0, 0, 0, 0, 0}},
      {{0, 0, 0, 0, 1}, {}, {0, 0, 0, 0, 1}},
      {{0, 0, 1, 0, 0}, {"Acid/Base", "Complex Ion"}, {0, 0, 0, 1, 0}}};
  for (const auto& [before, presses, after] : cases) {
    TTypeFlags flags = before;
    TDriver driver;
    auto& script = driver.ExpectDialog<TTypeDialog>().Check([&before](TTypeDialog& d) {
      for (int i = 0; i < 5; ++i) EXPECT_EQ(d.RadioButton(101 + i)->GetCheck(), before[i] == 1);
      EXPECT_EQ(d.QuestionStatic()->text(), "Zinc is placed in copper(II) sulfate.");
      EXPECT_EQ(d.QuestionStatic()->geometry(), QRect(10, 10, 300, 35));
    });
    PressThenOk(script, presses);
    TTypeDialog dialog(nullptr, &flags, "Zinc is placed in copper(II) sulfate.");
    EXPECT_EQ(dialog.Execute(), 1);
    EXPECT_EQ(flags, after);
  }
}

TEST(TypeDialogs, CancelLeavesTheArrayAsItWasAfterClickingAround) {
  const TTypeFlags before = {0, 1, 0, 0, 7};
  TTypeFlags flags = before;
  TDriver driver;
  driver.ExpectDialog<TSelectDialog>().Press({"Precipitation", "Redox", "Acid/Base"}).Press(2);
  driver.ExpectDialog<TTypeDialog>().Press({"Redox", "Miscellaneous"}).Press(2);
  TSelectDialog select(nullptr, &flags);
  EXPECT_EQ(select.Execute(), 2);
  TTypeDialog type(nullptr, &flags, "q");
  EXPECT_EQ(type.Execute(), 2);
  EXPECT_EQ(flags, before);
}

}  // namespace
