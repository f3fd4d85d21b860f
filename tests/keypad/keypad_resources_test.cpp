// The keypad's keys as resource data, and the framework's dialogs carrying them as a large set
// of extra controls: found by id at their places, dispatching their commands.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QRect>
#include <set>
#include <string>
#include <vector>

#include "keypad/keypad_dialog.h"
#include "keypad/rules/keypad_key.h"
#include "tests/ui/counting_dialog.h"
#include "ui/dialog.h"
#include "ui/dialog_template.h"

namespace {

QRect Rect(const TControlTemplate& c) {
  return {c.x, c.y, c.w, c.h};
}

TEST(KeypadKeys, IdsRunFrom101To203WithUniqueLabels) {
  const auto& keys = KeypadKeys();
  ASSERT_EQ(keys.size(), 103u);
  std::set<std::string> labels;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    EXPECT_EQ(keys[i].id, 101 + static_cast<int>(i));
    EXPECT_TRUE(labels.insert(keys[i].label).second) << keys[i].label;
  }
}

TEST(KeypadKeys, KeysStandWhereTheKeypadPutsThem) {
  struct TRow {
    int id;
    const char* label;
    int x, y;
  };
  const TRow rows[] = {
      {101, "H", 24, 39},    {107, "Fr", 24, 129},  {108, "Be", 39, 54},   {113, "Ra", 39, 129},
      {114, "Sc", 54, 84},   {121, "Rf", 69, 129},  {125, "Ha", 84, 129},  {133, "Ns", 114, 129},
      {141, "Mt", 144, 129}, {144, "Pt", 159, 114}, {146, "Ag", 174, 99},  {150, "Hg", 189, 114},
      {151, "B", 204, 54},   {160, "Pb", 219, 114}, {166, "O", 249, 54},   {172, "Cl", 264, 69},
      {175, "At", 264, 114}, {176, "He", 279, 39},  {181, "Rn", 279, 114}, {182, "1+", 55, 36},
      {186, "5+", 115, 36},  {187, "1-", 130, 36},  {191, "5-", 190, 36},  {192, "+", 57, 60},
      {193, "->", 72, 60},   {194, "(", 87, 60},    {195, ")", 102, 60},   {196, "2", 129, 52},
      {199, "5", 174, 52},   {200, "6", 129, 67},   {203, "9", 174, 67},
  };
  for (const TRow& row : rows) {
    const TKeypadKey& key = KeypadKeys().at(row.id - 101);
    EXPECT_EQ(key.label, row.label) << row.id;
    EXPECT_EQ(key.x, row.x) << row.label;
    EXPECT_EQ(key.y, row.y) << row.label;
  }
}

TEST(DialogTemplates, KeypadDialogsCarryTheirKeysAndButtons) {
  struct TRow {
    const char* name;
    bool plusArrow;
    std::vector<std::pair<int, const char*>> buttons;  // id, text
  };
  const TRow rows[] = {
      {"607", true, {{1, "&Check"}, {205, "&Restart"}, {206, "&Undo"}, {2, "Quit"}}},
      {"608",
       false,
       {{1, "&OK"}, {205, "&Restart"}, {206, "&Undo"}, {207, "&Delete"}, {2, "&Answer"}}},
      {"609", false, {{1, "&OK"}, {205, "&Restart"}, {206, "&Undo"}, {2, "&Answer"}}},
      {"610", true, {{1, "&OK"}, {205, "&Restart"}, {206, "&Undo"}, {2, "Cancel"}}},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    const TDialogTemplate* t = FindDialogTemplate(row.name);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->w, 330);
    // The template holds the command buttons; the dialog adds the keys.
    TDialogTemplate complete = *t;
    for (const TControlTemplate& key : TKeypadDialog::KeyControls(row.plusArrow))
      complete.controls.push_back(key);
    for (const TKeypadKey& key : KeypadKeys()) {
      EXPECT_EQ(t->FindControl(key.id), nullptr) << key.label;
      const TControlTemplate* c = complete.FindControl(key.id);
      if (!row.plusArrow && (key.id == 192 || key.id == 193)) {
        EXPECT_EQ(c, nullptr) << key.label;
        continue;
      }
      ASSERT_NE(c, nullptr) << key.label;
      EXPECT_EQ(c->text, key.label);
      EXPECT_EQ(Rect(*c), QRect(key.x, key.y, 14, 14));
    }
    for (auto [id, text] : row.buttons) {
      const TControlTemplate* c = t->FindControl(id);
      ASSERT_NE(c, nullptr) << id;
      EXPECT_EQ(c->text, text);
      EXPECT_EQ(c->y, 232);
      EXPECT_EQ(c->w, 50);
      EXPECT_EQ(c->kind == TControlTemplate::DefPushButton, id == 1) << id;
    }
    EXPECT_EQ(t->FindControl(1)->glyph, 20);
    EXPECT_EQ(t->FindControl(2)->glyph, 24);
  }
}

TEST(DialogFromTemplate, ExtraControlsFollowTheTemplatesAndAreFoundByIdAtTheirPlaces) {
  TDialog dialog(nullptr, "607", TKeypadDialog::KeyControls(true));
  EXPECT_EQ(dialog.windowTitle(), "Click on the buttons below to construct your answer.");
  for (const TKeypadKey& key : KeypadKeys()) {
    QPushButton* button = dialog.Button(key.id);
    ASSERT_NE(button, nullptr) << key.label;
    EXPECT_EQ(button->text().toStdString(), key.label);
    EXPECT_EQ(button->geometry(), dialog.MapDialogRect(QRect(key.x, key.y, 14, 14))) << key.label;
  }
  EXPECT_EQ(dialog.Button(1)->text(), "&Check");
  EXPECT_TRUE(dialog.Button(1)->isDefault());
  EXPECT_FALSE(dialog.Button(2)->isDefault());
  EXPECT_EQ(dialog.Button(2)->geometry(), dialog.MapDialogRect(QRect(268, 232, 50, 16)));
  EXPECT_EQ(dialog.Control(207), nullptr);
  EXPECT_EQ(dialog.Control(-1), nullptr);
  EXPECT_EQ(dialog.TemplateControls().front(), dialog.Button(1));
  EXPECT_EQ(dialog.TemplateControls().back(), dialog.Button(203));
}

TEST(DialogCommands, ButtonsDispatchTheirIdsAndUnboundIdsDoNothing) {
  TCountingDialog dialog("607", TKeypadDialog::KeyControls(true));
  dialog.Button(146)->click();
  dialog.Button(205)->click();
  dialog.Button(101)->click();  // nobody binds H
  EXPECT_EQ(dialog.commands, (std::vector<int>{146, 205}));
  EXPECT_FALSE(dialog.Dispatch(101));
  EXPECT_FALSE(dialog.Dispatch(9999));
  EXPECT_FALSE(dialog.IsClosed());
  EXPECT_TRUE(dialog.Dispatch(146));
}

TEST(DialogCommands, DisabledButtonDoesNothing) {
  TCountingDialog dialog("607", TKeypadDialog::KeyControls(true));
  dialog.EnableButton(146, false);
  EXPECT_FALSE(dialog.IsButtonEnabled(146));
  dialog.Button(146)->click();
  EXPECT_TRUE(dialog.commands.empty());
  dialog.EnableButton(146, true);
  EXPECT_TRUE(dialog.IsButtonEnabled(146));
  EXPECT_FALSE(dialog.IsButtonEnabled(4711));
}

TEST(DialogCommands, OkAndCancelCloseWithOneAndTwo) {
  TCountingDialog ok("607", TKeypadDialog::KeyControls(true));
  ok.Button(1)->click();
  EXPECT_TRUE(ok.IsClosed());
  EXPECT_EQ(ok.result(), 1);
  EXPECT_EQ(ok.oks, 1);

  TCountingDialog cancel("607", TKeypadDialog::KeyControls(true));
  cancel.Button(2)->click();
  EXPECT_EQ(cancel.result(), 2);
  EXPECT_EQ(cancel.oks, 0);
}

}  // namespace
