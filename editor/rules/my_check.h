#pragma once

// The check box at the left of a listed reaction, with which the teacher marks the questions of
// a printed quiz. The list draws the boxes itself and routes clicks to them, so a listing of
// thousands of reactions needs no widget per row; a box never takes the keyboard focus, which
// stays with the list.
class TMyCheck {
 public:
  // The box's top in list coordinates; the box is size by size at x = 0.
  TMyCheck(int y, int size) : y_(y), size_(size) {}

  int Y() const { return y_; }
  int Size() const { return size_; }
  bool Contains(int x, int y) const { return x >= 0 && x < size_ && y >= y_ && y < y_ + size_; }

  bool GetCheck() const { return checked_; }
  void SetCheck(bool checked) { checked_ = checked; }
  void Toggle() { checked_ = !checked_; }

 private:
  int y_;
  int size_;
  bool checked_ = false;
};
