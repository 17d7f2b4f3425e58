// The message of what a call throws, for tests that check messages.
#pragma once

#include <exception>
#include <functional>
#include <string>

namespace tamsel::test {

// "" when `f` throws nothing.
inline std::string ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "";
}

}  // namespace tamsel::test
