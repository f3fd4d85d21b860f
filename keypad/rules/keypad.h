#pragma once
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "model/equation.h"
#include "model/formula.h"

// The formula keypad's rules: what each key appends, which keys are enabled afterwards, undo
// and restart, in equation mode (a whole TEquation) or single-formula mode (one TFormula).
// It draws nothing and owns no buttons: a dialog reflects Keys() onto its buttons and routes
// presses to Press().
//
// The key states live in the model's flags (TEquation's seven in equation mode, TFormula's
// five in single-formula mode), so an undo restores the buttons together with the symbols.
//
// Beyond the usual enabling rules the keypad keeps every answer within what the text form holds:
//  - a formula text never exceeds kMaxFormulaText characters, parentheses included (charge
//    characters are not part of the text). While "(" is open, room is kept for ")" and the digit
//    that must follow it, so an element key is offered only if its letters, ")" and a digit
//    still fit (so inside parentheses a one-letter element may be on while two-letter ones are
//    off), and a subscript only if it, ")" and a digit fit;
//  - "(" is offered only if "(", an element, ")" and a digit still fit;
//  - in equation mode a side holds at most Config::maxFormulasPerSide formulas: "+" is off on a
//    full side ("->" stays possible from the reactant side).
// Called directly, an operation still never makes a formula text longer than nine characters
// or a side longer than its limit: it then ends after pushing its undo copy, like a key that
// finds no current formula.
class TKeypad {
 public:
  // Key ids, as the dialogs' buttons carry them.
  static constexpr int kFirstElement = 101;
  static constexpr int kLastElement = 181;
  static constexpr int kFirstCharge = 182;
  static constexpr int kLastCharge = 191;
  static constexpr int kPlus = 192;
  static constexpr int kArrow = 193;
  static constexpr int kOpenParen = 194;
  static constexpr int kCloseParen = 195;
  static constexpr int kFirstSubscript = 196;
  static constexpr int kLastSubscript = 203;
  static constexpr int kRestart = 205;
  static constexpr int kUndo = 206;
  static constexpr int kMaxFormulaText = 9;

  // Enabled state of each key group; Restart and Undo are always enabled.
  struct KeyStates {
    bool elements = false;
    bool subscripts = false;
    bool charges = false;
    bool openParen = false;
    bool closeParen = false;
    bool plus = false;
    bool arrow = false;
    bool operator==(const KeyStates&) const = default;
  };

  // What differs between the dialogs that carry a keypad.
  struct Config {
    bool hasPlusAndArrow = true;          // the "+" and "->" keys exist
    bool openParenAfterSeparator = true;  // "(" is on right after "+" and "->"
    int maxFormulasPerSide = 5;
  };
  static Config AnswerDialogConfig() { return {true, true, 5}; }
  static Config NewQuestionDialogConfig() { return {true, false, 5}; }
  static Config SubstanceDialogConfig() { return {false, true, 5}; }

  explicit TKeypad(Config config = AnswerDialogConfig()) : config_(config) {}
  TKeypad(const TKeypad&) = delete;
  TKeypad& operator=(const TKeypad&) = delete;

  // Called after every change, so the dialog can refresh its buttons and repaint.
  void SetChangeHandler(std::function<void()> handler) { changed_ = std::move(handler); }
  // Restart in equation mode makes a new equation; this hands it to whoever shows it (the
  // TAnswerWindow), which then destroys the old one. Without a handler the shown equation is
  // reset in place instead.
  void SetReplaceEquationHandler(std::function<void(std::unique_ptr<TEquation>)> handler) {
    replaceEquation_ = std::move(handler);
  }

  // A new equation in the opening state: one empty reactant, element keys and "(" on.
  static std::unique_ptr<TEquation> MakeOpeningEquation();
  // Equation mode over equation (not owned), which is reset to the opening state.
  void OpenEquation(TEquation* equation);
  // Single-formula mode over formula (not owned): its symbols are removed, keys as at opening.
  void OpenFormula(TFormula* formula);

  bool IsEquationMode() const { return equation_ != nullptr; }
  TEquation* Equation() const { return equation_; }
  TFormula* Formula() const { return formula_; }
  // The formula that keys append to, or null.
  TFormula* CurrentFormula() const;
  KeyStates Keys() const;
  bool IsEnabled(int keyId) const;
  std::size_t UndoDepth() const;

  // The label of a key id ("Na", "2+", "->", "&Undo"), empty for an unknown id.
  static std::string_view Label(int keyId);

  // Everything the keys change: the shown equation (or formula) and the undo list. Typing puts
  // this back when a pasted text is refused part way, so that a paste keys all or nothing.
  struct SavedState {
    std::unique_ptr<TEquation> equation;
    std::unique_ptr<TFormula> formula;
    std::vector<std::unique_ptr<TEquation>> equationUndo;
    std::vector<std::unique_ptr<TFormula>> formulaUndo;
  };
  SavedState Save() const;
  // Puts back a state saved from the equation or formula shown now.
  void Restore(const SavedState& state);

  // A user's press: routed to its operation with the label, ignored for a disabled key.
  void Press(int keyId, std::string_view label);
  void Press(int keyId) { Press(keyId, Label(keyId)); }

  void AddElement(std::string_view text);
  void AddSubscript(std::string_view text);
  void AddCharge(std::string_view text);
  void AddOpenParen();
  void AddCloseParen();
  void AddPlus();
  void AddArrow();
  void CmRestart();
  void CmUndo();

 private:
  void PushUndo();
  // The current formula if text of length extra may still be appended to it, else null.
  TFormula* FormulaWithRoom(std::size_t extra) const;
  // Whether an element of so many letters fits, keeping room for ")" and its digit.
  bool ElementFits(std::size_t letters) const;
  void AfterElementOrSubscript(const TFormula& formula);
  bool PlusPossible() const;
  bool ArrowPossible() const;
  void SetKeys(const KeyStates& keys);
  void Changed();

  Config config_;
  TEquation* equation_ = nullptr;
  TFormula* formula_ = nullptr;
  std::vector<std::unique_ptr<TEquation>> equationUndo_;
  std::vector<std::unique_ptr<TFormula>> formulaUndo_;
  std::function<void()> changed_;
  std::function<void(std::unique_ptr<TEquation>)> replaceEquation_;
};
