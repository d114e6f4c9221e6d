// The product-code map: the code a unit reports about itself (byte 6 of its identification
// answer, or the model byte of an exercise image) and the library's monitor-type number for it.
#pragma once

#include <cstdint>

namespace quibra::prvc {

// The monitor type of a product code, -1 for a code no known unit reports.
int32_t MonitorTypeOfProductCode(int32_t code);

}  // namespace quibra::prvc
