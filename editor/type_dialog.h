#pragma once
#include <string>
#include <string_view>

#include "model/type_flags.h"
#include "ui/dialog.h"

class QLabel;

// "Reaction Type": picks exactly one type for a reaction, shown with its question. Opens with
// the caller's flags as the selection; OK writes the selection back, Cancel writes nothing.
class TTypeDialog : public TDialog {
  Q_OBJECT

 public:
  // question: the text to show (UTF-8).
  TTypeDialog(QWidget* parent, TTypeFlags* flags, std::string_view question);

  QLabel* QuestionStatic() const { return questionStatic_; }

 protected:
  void SetupWindow() override;
  void CmOk() override;

 private:
  TTypeFlags* flags_;
  std::string question_;
  QLabel* questionStatic_ = nullptr;
};
