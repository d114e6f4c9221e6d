// The logo of the outdoor units (types 19..21, 15 rows x 47 columns). It does not fit one image:
// it goes out as two images of message 9050, sub-image 1 first, then sub-image 0.
//
// Layout of each sub-image (write image indexes; a read of 9051 carries each byte one index later):
//   byte 5        the sub-image number (1 or 0), so that each image names itself as the other
//                 sub-image messages of this bank do
//   bytes 6..52   one byte per column, left to right: sub-image 1 holds rows 0..7 (bit r = row r),
//                 sub-image 0 holds rows 8..14 (bit r = row r + 8; bit 7 is 0)
// The unit answers a read of each part (message 9051, the same sub-images) with the same bytes
// one index later: the part number at index 6, the columns at 7..53.
#pragma once

#include <cstdint>
#include <span>

#include "quibra/records.h"

namespace quibra::settings {

inline constexpr int32_t kOutdoorLogoColumns = 47;
// The parts in the order they go out; each is the message parameter (the sub-image).
inline constexpr int32_t kOutdoorLogoParts[] = {1, 0};

// Packs checked columns (values below 2^15) into both 9050 images and seals them.
void PackOutdoorLogo(std::span<const uint32_t, kOutdoorLogoColumns> columns);

// The types whose two-part logo can be read back: 20 and 21.
bool ReadsOutdoorLogo(int32_t type);

// Reads both parts of the logo (9051, sub-image 1, then 0) and unpacks them into 47 columns.
// 0 when an exchange fails.
int32_t ReadOutdoorLogo(CommParams& params, int32_t* columns);

// The 47 columns of the two received parts. Returns 1 (0 for a null array).
int32_t UnPackOutdoorLogo(int32_t* columns);

}  // namespace quibra::settings
