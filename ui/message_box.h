#pragma once
#include <functional>
#include <memory>
#include <string>

class QMessageBox;
class QWidget;

// Success: praise for a right answer, the program's green check instead of a warning sign.
enum class MbIcon { Exclamation, Information, Question, Success };
enum class MbButtons { Ok, YesNo, YesNoCancel };

// Button codes a message box returns.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

struct TMessageBoxRequest {
  QWidget* owner;
  std::string text;
  std::string caption;
  MbIcon icon;
  MbButtons buttons;
  // The button Enter presses (IDYES, IDNO, ...); 0 leaves it to the box: the first that agrees.
  int defaultButton = 0;
  // The system's own words about a failure, behind the box's "Show Details..." button.
  std::string details = {};
};

// What a box closed without pressing a button answers (Escape, the close box).
int DismissedAnswer(MbButtons buttons);

// Shows a modal message box owned by owner and returns the button pressed (IDOK, IDCANCEL,
// IDYES, IDNO). Closing a box without pressing a button answers OK for an OK box, No for a
// Yes/No box and Cancel for a Yes/No/Cancel box. A question whose Yes cannot be undone makes
// No its default button, so that Enter does no harm.
int MessageBox(QWidget* owner, const std::string& text, const std::string& caption, MbIcon icon,
               MbButtons buttons = MbButtons::Ok, int defaultButton = 0,
               const std::string& details = {});

// The box MessageBox shows (unless a handler answers instead), built but not yet shown: its
// buttons carry the program's check and cross glyphs.
std::unique_ptr<QMessageBox> MakeMessageBox(const TMessageBoxRequest& request);

// The seam behind MessageBox: whoever is installed answers every message box. An empty
// handler restores the real one. Returns the handler that was installed before.
using TMessageBoxHandler = std::function<int(const TMessageBoxRequest&)>;
TMessageBoxHandler SetMessageBoxHandler(TMessageBoxHandler handler);
