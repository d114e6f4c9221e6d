#include "settings/logo_outdoor.h"

#include "protocol/message_ids.h"
#include "protocol/seal.h"
#include "settings/image_bytes.h"

namespace quibra::settings {
namespace {

constexpr int32_t kPartByte = 5;
constexpr int32_t kFirstColumnByte = 6;
// Sub-image 1 carries the upper eight rows, sub-image 0 the lower seven.
constexpr int32_t kLowerRowsShift = 8;

}  // namespace

void PackOutdoorLogo(std::span<const uint32_t, kOutdoorLogoColumns> columns) {
  for (const int32_t part : kOutdoorLogoParts) {
    const ImageWriter image(protocol::msg::kOutdoorLogoWrite, part);
    const int32_t shift = part == 1 ? 0 : kLowerRowsShift;
    image.byte(kPartByte, part);
    for (int32_t c = 0; c < kOutdoorLogoColumns; ++c)
      image.byte(kFirstColumnByte + c,
                 static_cast<int32_t>(columns[static_cast<size_t>(c)] >> shift));
    protocol::SealMessageImage(protocol::msg::kOutdoorLogoWrite, part, 0);
  }
}

}  // namespace quibra::settings
