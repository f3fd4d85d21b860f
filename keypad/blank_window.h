#pragma once
#include "keypad/pello_window.h"

// A panel showing one substance; owners may append words and further lines after it.
class TBlankWindow : public TPelloWindow {
  Q_OBJECT

 public:
  TBlankWindow(QWidget* parent, const TFormula* substance, std::string word = {})
      : TPelloWindow(parent, substance, std::move(word)) {}

  // One line: copies of the substance's symbols, or empty when there is no substance.
  void RefreshLines() override;
};
