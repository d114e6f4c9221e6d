// Waits for the engine's collective status to become final (10, 20 or 30), in real time: the
// engine's own pauses may be scaled, the wait for its thread is not. -1 when it never does.
#pragma once

#include <chrono>
#include <cstdint>
#include <thread>

#include "quibra/quibra.h"

namespace quibra::testing {

inline int32_t WaitFinalStatus(int timeout_ms = 30000) {
  for (int waited = 0; waited < timeout_ms; waited += 2) {
    const int32_t s = fnQuibra_GetCurrentMessageStatus();
    if (s == 10 || s == 20 || s == 30) return s;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return -1;
}

}  // namespace quibra::testing
