#pragma once
#include <functional>
#include <map>

// Maps command ids to handlers and, optionally, to enablers that say whether the command is
// available now (a menu greys an item whose enabler says no). An id nobody binds does nothing.
class TCommandTable {
 public:
  using THandler = std::function<void()>;
  using TEnabler = std::function<bool()>;

  void Bind(int id, THandler handler);
  void BindEnabler(int id, TEnabler enabler);
  void Unbind(int id);

  bool Handles(int id) const { return handlers_.contains(id); }
  // Runs the handler bound to id; false when none is bound.
  bool Dispatch(int id) const;
  // True when id is bound and its enabler (if any) allows it.
  bool IsEnabled(int id) const;

 private:
  std::map<int, THandler> handlers_;
  std::map<int, TEnabler> enablers_;
};
