#pragma once
// Waiting for hardware without freezing the windows: the wait sleeps in the event loop and
// wakes on arriving data, on window events or at its deadline.
#include <functional>

namespace zr730 {

enum class UserInput { Processed, Deferred };

// Sleeps in the event loop until done() holds or ms milliseconds have passed; returns done().
// With UserInput::Deferred the windows keep painting, but keys and clicks wait until later.
bool wait_until(int ms, const std::function<bool()> &done, UserInput input = UserInput::Processed);

} // namespace zr730
