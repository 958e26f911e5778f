#pragma once
// Scope guards for long commands that run inside a button's click: the state they set
// while they run is undone on every way out, a return or an exception.
#include <cstdint>

struct Control;

// Holds a byte flag at one value for the scope and sets it to another when the scope
// ends (or at End, whichever comes first).
class FlagScope {
public:
    FlagScope(std::uint8_t& flag, std::uint8_t during, std::uint8_t after)
        : flag_(&flag), after_(after) {
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

// The run state of a long command for its scope: active becomes true and the command's
// own byte flag (when given) 1, and its button is disabled. When the scope ends (or at
// End, whichever comes first) the button is enabled again, then the own flag becomes 0
// and active false. A null button is ignored.
class RunScope {
public:
    RunScope(bool& active, Control* button, std::uint8_t* ownFlag = nullptr);
    ~RunScope() { End(); }
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

    void End();

private:
    bool* active_;
    Control* button_;
    std::uint8_t* ownFlag_;
};
