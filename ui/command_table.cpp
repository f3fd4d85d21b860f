#include "ui/command_table.h"

#include <utility>

void TCommandTable::Bind(int id, THandler handler) {
  handlers_[id] = std::move(handler);
}

void TCommandTable::BindEnabler(int id, TEnabler enabler) {
  enablers_[id] = std::move(enabler);
}

void TCommandTable::Unbind(int id) {
  handlers_.erase(id);
  enablers_.erase(id);
}

bool TCommandTable::Dispatch(int id) const {
  auto it = handlers_.find(id);
  if (it == handlers_.end() || !it->second) return false;
  // Copy first: a handler may rebind its own id while it runs.
  THandler handler = it->second;
  handler();
  return true;
}

bool TCommandTable::IsEnabled(int id) const {
  if (!Handles(id)) return false;
  auto it = enablers_.find(id);
  return it == enablers_.end() || !it->second || it->second();
}
