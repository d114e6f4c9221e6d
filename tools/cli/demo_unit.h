// The exercises the demo's simulated unit holds: a run, a ride with speed, cadence and altitude,
// and an interval session, laid out as a type-22 unit sends its exercise memory.
#pragma once

#include <cstdint>
#include <vector>

namespace quibra::cli {

std::vector<uint8_t> DemoExerciseMemory(int32_t type, uint8_t product_code, int32_t version);

}  // namespace quibra::cli
