#include "settings/logo_outdoor.h"

#include "frame/comm_params.h"
#include "protocol/message_ids.h"
#include "protocol/message_image.h"
#include "protocol/seal.h"
#include "settings/image_bytes.h"
#include "settings/outdoor_messages.h"
#include "settings/transfer_pattern.h"
#include "transfer/send_unit_message.h"

namespace quibra::settings {
namespace {

constexpr int32_t kPartByte = 5;
constexpr int32_t kFirstColumnByte = 6;
// Sub-image 1 carries the upper eight rows, sub-image 0 the lower seven.
constexpr int32_t kLowerRowsShift = 8;
constexpr int32_t kLowerRowsMask = 0x7F;
constexpr int32_t kReadableTypes[] = {20, 21};

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

bool ReadsOutdoorLogo(int32_t type) {
  for (const int32_t t : kReadableTypes) {
    if (t == type) return true;
  }
  return false;
}

int32_t UnPackOutdoorLogo(int32_t* columns) {
  if (columns == nullptr) return 0;
  const ImageReader upper(outdoor::kLogoRead, 1);
  const ImageReader lower(outdoor::kLogoRead, 0);
  const int32_t first = kFirstColumnByte + outdoor::kReadShift;
  for (int32_t c = 0; c < kOutdoorLogoColumns; ++c)
    columns[c] = upper.byte(first + c) | (lower.byte(first + c) & kLowerRowsMask)
                                             << kLowerRowsShift;
  return 1;
}

int32_t ReadOutdoorLogo(CommParams& params, int32_t* columns) {
  frame::SetErrorCode(frame::kErrorTransferStarted);
  frame::ValidateCommParams(params, 1);
  for (const int32_t part : kOutdoorLogoParts) {
    // The request names its part in its first payload byte, which the image keeps from the
    // last write or answer: it is set afresh.
    protocol::SetMessageByte(outdoor::kLogoRead, part, kPartByte, static_cast<uint8_t>(part));
    if (!Delivered(transfer::SendUnitMessage(params, outdoor::kLogoRead, part))) return 0;
  }
  return UnPackOutdoorLogo(columns);
}

}  // namespace quibra::settings
