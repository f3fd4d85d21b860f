#pragma once
#include <string>

// Something the test expects to come up next: a dialog or a message box.
class TExpectation {
 public:
  enum TKind { Dialog, Message };

  explicit TExpectation(TKind kind) : kind_(kind) {}
  virtual ~TExpectation() = default;

  TKind Kind() const { return kind_; }
  virtual std::string Describe() const = 0;

 private:
  TKind kind_;
};
