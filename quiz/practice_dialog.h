#pragma once
#include <functional>
#include <string>

#include "ui/dialog.h"

// "Practice": the line saying why these questions, a note when they were chosen from the copy
// kept on this computer, and how many to ask (5 to 20), the line made again when the number
// changes. Start closes it with kOk.
class TPracticeDialog : public TDialog {
  Q_OBJECT

 public:
  static constexpr int kWhy = 101;
  static constexpr int kCount = 103;
  static constexpr int kNote = 104;
  static constexpr int kCounts[] = {5, 10, 15, 20};

  // why gives the line for a number of questions.
  TPracticeDialog(QWidget* parent, std::function<std::string(int)> why, int count,
                  std::string note);

  int Count() const { return count_; }
  std::string WhyShown() const;

 protected:
  void SetupWindow() override;

 private:
  void ShowWhy();

  std::function<std::string(int)> why_;
  int count_;
  std::string note_;
};
