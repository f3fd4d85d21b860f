#pragma once

// Common base of the model's objects; it only gives them a virtual destructor.
class TStreamableBase {
 public:
  virtual ~TStreamableBase() = default;
};
