// The product-code map: the code a unit reports about itself (byte 6 of its identification
// answer, or the model byte of an exercise image) and the library's monitor-type number for it.
#pragma once

#include <cstdint>

#include "codec/unit_families.h"

namespace quibra::codec {

// The monitor type of a product code, -1 for a code no known unit reports.
int32_t MonitorTypeOfProductCode(int32_t code);

// The identification answer's layout: the newer running and cycling units answer in a layout
// of their own, group A or group B (their families); every other unit in the older layout.
enum class UnitGroup { Older, A, B };
UnitGroup GroupOfType(int32_t type);

// The identification byte (as GetMessageByte numbers it) whose high nibble is the variant.
int32_t VariantByteOfType(int32_t type);

}  // namespace quibra::codec
