#include <string>
#include <vector>

#include "model/reaction.h"
#include "ui/dialog_template.h"
#include "ui/resources/resource_ids.h"

namespace {

using C = TControlTemplate;

// The reaction types' names as the type dialogs show them, from the one list of them.
std::string TypeName(ReactionType type) {
  return std::string(ReactionTypeName(type));
}

constexpr int kCheckGlyph = 20;
constexpr int kCrossGlyph = 24;

C Control(C::TKind kind, int id, std::string text, int x, int y, int w, int h, unsigned style = 0) {
  C control;
  control.id = id;
  control.kind = kind;
  control.text = std::move(text);
  control.x = x;
  control.y = y;
  control.w = w;
  control.h = h;
  control.style = style;
  return control;
}
C Button(int id, std::string text, int x, int y, int w, int h, int glyph = 0) {
  C control = Control(C::PushButton, id, std::move(text), x, y, w, h);
  control.glyph = glyph;
  return control;
}
C DefButton(int id, std::string text, int x, int y, int w, int h, int glyph = 0) {
  C control = Control(C::DefPushButton, id, std::move(text), x, y, w, h);
  control.glyph = glyph;
  return control;
}
C EditBox(int id, int x, int y, int w, int h, unsigned style, int textLimit = 0) {
  C control = Control(C::Edit, id, "", x, y, w, h, style);
  control.textLimit = textLimit;
  return control;
}
C Label(std::string text, int x, int y, int w, int h) {
  return Control(C::Static, -1, std::move(text), x, y, w, h);
}

TDialogTemplate TypeDialog() {
  return {.name = TemplateId::kType,
          .caption = "Reaction Type",
          .font = "MS Sans Serif",
          .pointSize = 8,
          .x = 102,
          .y = 73,
          .w = 207,
          .h = 147,
          .controls = {
              Control(C::AutoRadio, 101, TypeName(Precipitation), 73, 40, 60, 12, C::TabStop),
              Control(C::AutoRadio, 102, TypeName(AcidBase), 73, 55, 60, 12),
              Control(C::AutoRadio, 103, TypeName(Redox), 73, 69, 60, 12),
              Control(C::AutoRadio, 104, TypeName(ComplexIon), 73, 84, 60, 12),
              Control(C::AutoRadio, 105, TypeName(Miscellaneous), 73, 99, 60, 12),
              Control(C::GroupBox, 106, "Select Reaction Type", 57, 30, 95, 90),
              DefButton(1, "OK", 10, 126, 50, 16, kCheckGlyph),
              Button(2, "Cancel", 147, 126, 50, 16, kCrossGlyph),
          }};
}

TDialogTemplate SelectDialog() {
  return {.name = TemplateId::kSelect,
          .caption = "Select Reaction Types",
          .font = "MS Sans Serif",
          .pointSize = 8,
          .x = 85,
          .y = 94,
          .w = 170,
          .h = 133,
          .controls = {
              Control(C::CheckBox, 101, TypeName(Precipitation), 52, 14, 54, 12, C::TabStop),
              Control(C::CheckBox, 102, TypeName(AcidBase), 52, 28, 47, 12, C::TabStop),
              Control(C::CheckBox, 103, TypeName(Redox), 52, 43, 60, 12, C::TabStop),
              Control(C::CheckBox, 104, TypeName(ComplexIon), 52, 58, 60, 12, C::TabStop),
              Control(C::CheckBox, 105, TypeName(Miscellaneous), 52, 72, 58, 12, C::TabStop),
              Control(C::GroupBox, 106, "Select Reaction Types:", 29, 5, 103, 83),
              Label("You may select more than one type of reaction.", 7, 91, 155, 11),
              DefButton(1, "OK", 16, 108, 50, 16, kCheckGlyph),
              Button(2, "Cancel", 102, 108, 50, 16, kCrossGlyph),
          }};
}

TDialogTemplate ResultDialog() {
  // Everything but the button is made at run time, in pixels.
  return {.name = TemplateId::kResult,
          .caption = "Sorry, you are incorrect",
          .font = "MS Sans Serif",
          .pointSize = 8,
          .x = 71,
          .y = 48,
          .w = 319,
          .h = 168,
          .controls = {DefButton(1, "OK", 136, 144, 50, 16, kCheckGlyph)}};
}

// The four keypad dialogs: their command buttons here; each dialog adds its keys from the key
// table when it is made.
TDialogTemplate KeypadDialog(std::string name, std::string caption, int h,
                             std::vector<C> commands) {
  return {.name = std::move(name),
          .caption = std::move(caption),
          .font = "MS Sans Serif",
          .pointSize = 8,
          .x = 35,
          .y = 39,
          .w = 330,
          .h = h,
          .controls = std::move(commands)};
}

TDialogTemplate AnswerDialog() {
  return KeypadDialog(TemplateId::kAnswer, "Click on the buttons below to construct your answer.",
                      252,
                      {
                          DefButton(1, "&Check", 12, 232, 50, 16, kCheckGlyph),
                          Button(205, "&Restart", 92, 232, 50, 16),
                          Button(206, "&Undo", 180, 232, 50, 16),
                          Button(2, "Quit", 268, 232, 50, 16, kCrossGlyph),
                      });
}

TDialogTemplate EditSubstanceDialog() {
  return KeypadDialog(TemplateId::kEditSubstance, "Click on the buttons to change the formula.",
                      252,
                      {
                          DefButton(1, "&OK", 12, 232, 50, 16, kCheckGlyph),
                          Button(205, "&Restart", 80, 232, 50, 16),
                          Button(206, "&Undo", 144, 232, 50, 16),
                          Button(207, "&Delete", 204, 232, 50, 16),
                          Button(2, "&Answer", 268, 232, 50, 16, kCrossGlyph),
                      });
}

TDialogTemplate AddSubstanceDialog() {
  return KeypadDialog(TemplateId::kAddSubstance, "Click on the buttons to change the formula.", 252,
                      {
                          DefButton(1, "&OK", 12, 232, 50, 16, kCheckGlyph),
                          Button(205, "&Restart", 100, 232, 50, 16),
                          Button(206, "&Undo", 188, 232, 50, 16),
                          Button(2, "&Answer", 268, 232, 50, 16, kCrossGlyph),
                      });
}

TDialogTemplate NewQuestionDialog() {
  return KeypadDialog(
      TemplateId::kNewQuestion, "Create or edit a new question and answer.", 253,
      {
          Control(C::Edit, 207, "", 32, 16, 260, 12, C::Border | C::AutoHScroll | C::TabStop),
          DefButton(1, "&OK", 12, 232, 50, 16, kCheckGlyph),
          Button(205, "&Restart", 92, 232, 50, 16),
          Button(206, "&Undo", 180, 232, 50, 16),
          Button(2, "Cancel", 268, 232, 50, 16, kCrossGlyph),
      });
}

TDialogTemplate SplitItDialog() {
  // No font of its own: the system font.
  return {.name = TemplateId::kSplitIt,
          .caption = "Dissociate the substance below.",
          .font = "",
          .pointSize = 0,
          .x = 0,
          .y = 0,
          .w = 318,
          .h = 167,
          .controls = {
              DefButton(1, "OK", 16, 140, 50, 16, kCheckGlyph),
              Button(104, "&Dissociate", 92, 140, 50, 16),
              Button(101, "&Skip", 164, 140, 50, 16),
              Button(2, "&Answer", 244, 140, 50, 16, kCrossGlyph),
              Label("Species #1:", 20, 70, 40, 8),
              Label("Species #2:", 200, 70, 40, 8),
              Control(C::ComboDropList, 102, "", 96, 108, 20, 48, C::VScroll),
              Control(C::ComboDropList, 103, "", 276, 108, 20, 48, C::VScroll),
              Label("Select Oxidation Number of Species #1:", 16, 104, 76, 16),
              Label("Select Oxidation Number of Species #2:", 200, 104, 76, 16),
          }};
}

TDialogTemplate ChangeChargeDialog() {
  return {.name = TemplateId::kChangeCharge,
          .caption = "Incorrect Oxidation Number",
          .font = "MS Sans Serif",
          .pointSize = 8,
          .x = 0,
          .y = 0,
          .w = 240,
          .h = 120,
          .controls = {
              Control(C::ComboDropList, 102, "", 100, 56, 32, 60, C::VScroll),
              DefButton(1, "OK", 20, 92, 50, 16, kCheckGlyph),
              Button(2, "&Answer", 168, 92, 50, 16, kCrossGlyph),
          }};
}

TDialogTemplate ChangeDialog() {
  return {.name = TemplateId::kChange,
          .caption = "Change/Delete Reaction",
          .font = "MS Sans Serif",
          .pointSize = 8,
          .x = 58,
          .y = 54,
          .w = 194,
          .h = 119,
          .controls = {
              Label("Enter the number of the reaction you want to change or delete below:", 45, 22,
                    108, 27),
              EditBox(101, 87, 52, 18, 12, C::Border | C::TabStop, 4),
              DefButton(1, "OK", 12, 96, 50, 16, kCheckGlyph),
              Button(2, "Cancel", 129, 96, 50, 16, kCrossGlyph),
          }};
}

TDialogTemplate HeadingDialog() {
  return {
      .name = TemplateId::kHeading,
      .caption = "Edit Quiz Heading",
      .font = "Courier",
      .pointSize = 10,
      .x = 57,
      .y = 93,
      .w = 250,
      .h = 112,
      .controls = {
          EditBox(101, 3, 10, 244, 25, C::Multiline | C::Border | C::TabStop | C::WordWrap, 120),
          Label("Change the quiz heading above as needed.", 53, 48, 161, 9),
          DefButton(1, "OK", 33, 88, 43, 16, kCheckGlyph),
          Button(2, "Cancel", 172, 88, 43, 16, kCrossGlyph),
      }};
}

// The due date's control and the lists of assignments are made at run time, in the room the
// templates leave for them.
TDialogTemplate AssignDialog() {
  return {.name = TemplateId::kAssign,
          .caption = "Assign",
          .font = "MS Sans Serif",
          .pointSize = 8,
          .x = 60,
          .y = 50,
          .w = 220,
          .h = 136,
          .controls = {
              Control(C::Static, 106, "&Title:", 8, 10, 36, 9),
              EditBox(101, 48, 8, 164, 12, C::Border | C::TabStop | C::AutoHScroll, 80),
              Control(C::Static, 107, "&Due:", 8, 28, 36, 9),
              Control(C::GroupBox, 108, "Each student gets the questions", 8, 46, 204, 40),
              Control(C::AutoRadio, 103, "in the &listed order", 16, 58, 180, 12, C::TabStop),
              Control(C::AutoRadio, 104, "&shuffled, in an order of her own", 16, 71, 180, 12),
              Control(C::Static, 105, "", 8, 92, 204, 18),
              DefButton(1, "OK", 30, 114, 50, 16, kCheckGlyph),
              Button(2, "Cancel", 140, 114, 50, 16, kCrossGlyph),
          }};
}

TDialogTemplate TeacherAssignmentsDialog() {
  return {.name = TemplateId::kTeacherAssignments,
          .caption = "Your Assignments",
          .font = "MS Sans Serif",
          .pointSize = 8,
          .x = 40,
          .y = 30,
          .w = 320,
          .h = 172,
          .controls = {
              Control(C::Static, 104, "", 8, 6, 304, 9),
              Button(101, "&Change...", 8, 148, 60, 16),
              Button(102, "&Withdraw...", 76, 148, 60, 16),
              DefButton(2, "Close", 252, 148, 60, 16),
          }};
}

TDialogTemplate StudentAssignmentsDialog() {
  return {.name = TemplateId::kStudentAssignments,
          .caption = "Assignments",
          .font = "MS Sans Serif",
          .pointSize = 8,
          .x = 40,
          .y = 30,
          .w = 320,
          .h = 172,
          .controls = {
              Control(C::Static, 103, "", 8, 6, 304, 18),
              DefButton(1, "&Start", 8, 148, 60, 16, kCheckGlyph),
              Button(2, "Close", 252, 148, 60, 16),
          }};
}

// Why these questions, and how many: the plan is made again when the number changes.
TDialogTemplate PracticeDialog() {
  return {.name = TemplateId::kPractice,
          .caption = "Practice",
          .font = "MS Sans Serif",
          .pointSize = 8,
          .x = 40,
          .y = 30,
          .w = 240,
          .h = 120,
          .controls = {
              Control(C::Static, 101, "", 8, 6, 224, 18),
              Control(C::Static, 102, "Questions:", 8, 30, 46, 9),
              Control(C::ComboDropList, 103, "", 56, 28, 32, 14, C::VScroll | C::TabStop),
              Control(C::Static, 104, "", 8, 48, 224, 44),
              DefButton(1, "&Start", 30, 98, 50, 16, kCheckGlyph),
              Button(2, "Cancel", 160, 98, 50, 16, kCrossGlyph),
          }};
}

}  // namespace

const std::vector<TDialogTemplate>& DialogTemplates() {
  static const std::vector<TDialogTemplate> templates = {
      TypeDialog(),
      SelectDialog(),
      ResultDialog(),
      AnswerDialog(),
      EditSubstanceDialog(),
      AddSubstanceDialog(),
      NewQuestionDialog(),
      SplitItDialog(),
      ChangeChargeDialog(),
      ChangeDialog(),
      HeadingDialog(),
      AssignDialog(),
      TeacherAssignmentsDialog(),
      StudentAssignmentsDialog(),
      PracticeDialog(),
  };
  return templates;
}
