#pragma once
#include <memory>
#include <vector>

#include "model/streamable_base.h"

// One entry of the quiz run's eligibility list, belonging to the reaction of the same index.
class TTaken : public TStreamableBase {
 public:
  explicit TTaken(bool isTaken = false) : taken(isTaken) {}

  // Not to be asked again in this quiz run: asked already, or of a type not chosen.
  bool taken;
};

using TTakenList = std::vector<std::unique_ptr<TTaken>>;
