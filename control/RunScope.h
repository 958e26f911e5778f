#pragma once
// Scope guards for long commands that run inside a button's click: the state they set
// while they run is undone on every way out, a return or an exception.
#include <cstdint>

struct Control;

// Holds a byte flag at one value for the scope and sets it to another when the scope
// ends (or at End, whichever comes first).
class FlagScope {
 public:
  FlagScope(std::uint8_t& flag, std::uint8_t during, std::uint8_t after) : flag_(&flag), after_(after) {
    flag = during;
  }
  ~FlagScope() { End(); }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

  void End() {
    if (flag_ != nullptr) {
      *flag_ = after_;
      flag_ = nullptr;
    }
  }

 private:
  std::uint8_t* flag_;
  std::uint8_t after_;
};

// Keeps a button disabled for the scope and enables it again when the scope ends (or at
// End). A null button is ignored.
class DisabledButtonScope {
 public:
  explicit DisabledButtonScope(Control* button);
  ~DisabledButtonScope() { End(); }
  DisabledButtonScope(const DisabledButtonScope&) = delete;
  DisabledButtonScope& operator=(const DisabledButtonScope&) = delete;

  void End();

 private:
  Control* button_;
};
