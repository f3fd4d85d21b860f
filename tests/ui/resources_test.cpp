// The resource data: dialog templates, menus and accelerators (the keypad's keys are tested
// with the keypad).
#include <gtest/gtest.h>

#include <QRect>
#include <set>
#include <string>

#include "ui/accelerator_table.h"
#include "ui/dialog_template.h"
#include "ui/help_topic.h"
#include "ui/menu_resource.h"
#include "ui/resources/resource_ids.h"

namespace {

QRect Rect(const TControlTemplate& c) {
  return {c.x, c.y, c.w, c.h};
}

TEST(DialogTemplates, FoundByNameIgnoringCase) {
  for (const char* name : {"601", "605", "606", "607", "608", "609", "610", "SPLITITDIALOG",
                           "splititdialog", "CHANGECHARGE", "changecharge"})
    EXPECT_NE(FindDialogTemplate(name), nullptr) << name;
  EXPECT_EQ(FindDialogTemplate("611"), nullptr);
  EXPECT_EQ(FindDialogTemplate(""), nullptr);
}

// Each named id finds the resource declared under it, and a template a help page; every
// template declared has a name in the table.
TEST(ResourceIds, EveryTemplateAndMenuIsFoundByItsName) {
  std::set<std::string> named;
  for (const char* id :
       {TemplateId::kType, TemplateId::kChange, TemplateId::kSelect, TemplateId::kResult,
        TemplateId::kAnswer, TemplateId::kEditSubstance, TemplateId::kAddSubstance,
        TemplateId::kNewQuestion, TemplateId::kSplitIt, TemplateId::kChangeCharge,
        TemplateId::kHeading, TemplateId::kAssign, TemplateId::kTeacherAssignments,
        TemplateId::kStudentAssignments, TemplateId::kPractice}) {
    const TDialogTemplate* dialog = FindDialogTemplate(id);
    ASSERT_NE(dialog, nullptr) << id;
    EXPECT_EQ(dialog->name, id);
    EXPECT_FALSE(HelpTopicOf(id).empty()) << id;
    named.insert(id);
  }
  EXPECT_EQ(named.size(), DialogTemplates().size());
  for (const char* menu : {MenuId::kQuiz, MenuId::kEditor})
    EXPECT_EQ(FindMenuResource(menu)->name, menu);
  EXPECT_EQ(FindAcceleratorTable(AcceleratorsId::kMain)->name, AcceleratorsId::kMain);
}

// Overlapping controls would hide keys from the user; every template must lay out cleanly.
TEST(DialogTemplates, ControlsInsideTheDialogAndApartFromEachOther) {
  for (const TDialogTemplate& t : DialogTemplates()) {
    SCOPED_TRACE(t.name);
    const QRect bounds(0, 0, t.w, t.h);
    for (std::size_t i = 0; i < t.controls.size(); ++i) {
      const TControlTemplate& a = t.controls[i];
      EXPECT_TRUE(bounds.contains(Rect(a))) << a.id << " " << a.text;
      if (a.kind == TControlTemplate::GroupBox) continue;  // a frame around others
      for (std::size_t j = i + 1; j < t.controls.size(); ++j) {
        const TControlTemplate& b = t.controls[j];
        if (b.kind == TControlTemplate::GroupBox) continue;
        // A drop-down list's height is that of its opened list; it only opens over others.
        QRect ra = Rect(a), rb = Rect(b);
        if (a.kind == TControlTemplate::ComboDropList) ra.setHeight(12);
        if (b.kind == TControlTemplate::ComboDropList) rb.setHeight(12);
        EXPECT_FALSE(ra.intersects(rb))
            << a.text << " (" << a.id << ") overlaps " << b.text << " (" << b.id << ")";
      }
    }
  }
}

TEST(DialogTemplates, CaptionsAndSizes) {
  struct TRow {
    const char* name;
    const char* caption;
    int w, h;
  };
  const TRow rows[] = {
      {"601", "Reaction Type", 207, 147},
      {"605", "Select Reaction Types", 170, 133},
      {"606", "Sorry, you are incorrect", 319, 168},
      {"607", "Click on the buttons below to construct your answer.", 330, 252},
      {"608", "Click on the buttons to change the formula.", 330, 252},
      {"609", "Click on the buttons to change the formula.", 330, 252},
      {"610", "Create or edit a new question and answer.", 330, 253},
      {"SPLITITDIALOG", "Dissociate the substance below.", 318, 167},
      {"CHANGECHARGE", "Incorrect Oxidation Number", 240, 120},
  };
  for (const TRow& row : rows) {
    const TDialogTemplate* t = FindDialogTemplate(row.name);
    ASSERT_NE(t, nullptr) << row.name;
    EXPECT_EQ(t->caption, row.caption);
    EXPECT_EQ(t->w, row.w) << row.name;
    EXPECT_EQ(t->h, row.h) << row.name;
  }
}

std::vector<std::pair<int, std::string>> Commands(const TMenuResource& menu) {
  std::vector<std::pair<int, std::string>> commands;
  for (const TMenuItem& item : menu.items) {
    if (!item.IsPopup()) commands.emplace_back(item.id, item.text);
    for (const TMenuItem& entry : item.popup)
      if (!entry.separator) commands.emplace_back(entry.id, entry.text);
  }
  return commands;
}

TEST(Menus, QuizAndEditorMenus) {
  const TMenuResource* quiz = FindMenuResource("2");
  ASSERT_NE(quiz, nullptr);
  std::vector<std::pair<int, std::string>> quizCommands = {
      {301, "&Start...\tF3"},   {305, "&Practice...\tF8"}, {303, "&Assignments...\tF7"},
      {302, "&Results...\tF5"}, {24340, "E&xit"},          {401, "&Edit Reactions"},
      {901, "&Help Index"},     {902, "&Using Help"}};
  EXPECT_EQ(Commands(*quiz), quizCommands);

  const TMenuResource* editor = FindMenuResource("menu_1");
  ASSERT_NE(editor, nullptr);
  std::vector<std::pair<int, std::string>> editorCommands = {
      {155, "&Print Quiz"},        {304, "&Assign...\tF6"},   {305, "Assign &Practice...\tF8"},
      {303, "Assi&gnments...\tF7"},
      {24340, "E&xit...\tAlt-X"},  {201, "&Add...\tInsert"},  {202, "&Change...\tF4"},
      {203, "&Delete...\tDelete"}, {501, "&Start Reactions"}, {502, "&Display"},
      {901, "Help &Index"},        {902, "&Using Help"}};
  EXPECT_EQ(Commands(*editor), editorCommands);
  EXPECT_EQ(FindMenuResource("3"), nullptr);
}

TEST(Menus, AcceleratorTable) {
  const TAcceleratorTable* table = FindAcceleratorTable("ACCELERATORS_1");
  ASSERT_NE(table, nullptr);
  std::vector<std::pair<QString, int>> entries;
  for (const TAccelerator& a : table->entries)
    entries.emplace_back(a.keys.toString(QKeySequence::PortableText), a.id);
  std::vector<std::pair<QString, int>> expected = {{"Alt+X", 24340}, {"F3", 301}, {"F8", 305},
                                                   {"F5", 302},      {"F6", 304}, {"F7", 303},
                                                   {"Ins", 201},     {"F4", 202}, {"Del", 203}};
  EXPECT_EQ(entries, expected);
}

}  // namespace
