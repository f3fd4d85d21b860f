#pragma once
#include <utility>

#include "ui/command_table.h"

// The part of a window, dialog or frame that owns a command table. Derived classes bind their
// member functions in their constructors: Bind(201, &TReactWindow::CmAdd).
class TCommandTarget {
 public:
  virtual ~TCommandTarget() = default;

  void Bind(int id, TCommandTable::THandler handler) { commands_.Bind(id, std::move(handler)); }
  template <class C>
  void Bind(int id, void (C::*member)()) {
    commands_.Bind(id, [this, member] { (static_cast<C*>(this)->*member)(); });
  }
  void BindEnabler(int id, TCommandTable::TEnabler enabler) {
    commands_.BindEnabler(id, std::move(enabler));
  }
  template <class C>
  void BindEnabler(int id, bool (C::*member)() const) {
    commands_.BindEnabler(id, [this, member] { return (static_cast<const C*>(this)->*member)(); });
  }

  // Runs the command; false when this target does not handle it.
  virtual bool Dispatch(int id) { return commands_.Dispatch(id); }
  virtual bool Handles(int id) const { return commands_.Handles(id); }
  virtual bool IsCommandEnabled(int id) const { return commands_.IsEnabled(id); }

 protected:
  const TCommandTable& Commands() const { return commands_; }

 private:
  TCommandTable commands_;
};
