#pragma once
#include <QKeySequence>
#include <string>
#include <string_view>
#include <vector>

struct TAccelerator {
  QKeySequence keys;
  int id;
};

struct TAcceleratorTable {
  std::string name;
  std::vector<TAccelerator> entries;
};

// The accelerator table of that name (an AcceleratorsId); case is ignored. Null when unknown.
const TAcceleratorTable* FindAcceleratorTable(std::string_view name);
