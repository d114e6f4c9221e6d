// The one wrapper every export goes through: no C++ exception ever crosses the library
// boundary; an exception becomes the export's documented failure result.
#pragma once

#include <utility>

namespace quibra::frame {

template <typename Result, typename Body>
Result Guarded(Result failure, Body&& body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    return failure;
  }
}

}  // namespace quibra::frame
