#include "prvc/odometer.h"

#include <array>

#include "codec/bcd.h"
#include "frame/comm_params.h"
#include "frame/module.h"
#include "platform/registry.h"
#include "protocol/message_ids.h"
#include "prvc/unit_info.h"
#include "sound/pipcast.h"
#include "transfer/send_unit_message.h"

namespace quibra::prvc {
namespace {

constexpr int32_t kMaxOdometer = 999999;
constexpr int32_t kOdometerSize = sizeof(OdometerSettings);
// The area write takes the odometer from image index 7 on; the read answer brings it from 8 on.
constexpr int32_t kWriteAt = 7;
constexpr int32_t kReadAt = 8;
constexpr int32_t kOdometerBytes = 3;
constexpr uint32_t kSoundPauseMs = 200;

// The units whose odometers are reached over infrared, and those that take them by sound.
constexpr std::array<int32_t, 3> kInfraredTypes = {12, 22, 23};
constexpr std::array<int32_t, 5> kWritableTypes = {6, 10, 12, 22, 23};
// Type 6 goes by sound only and keeps its odometers where type 10 does: the area table has rows
// for type 10 alone.
constexpr int32_t kSoundOnlyType = 6;
constexpr int32_t kSoundOnlyLayouts = 10;

template <size_t N>
bool OneOf(const std::array<int32_t, N>& values, int32_t value) {
  for (const int32_t v : values) {
    if (v == value) return true;
  }
  return false;
}

bool IsBikeArea(int32_t area) {
  return area == kOdometerBike1 || area == kOdometerBike2;
}

int32_t OdometerOf(int32_t area, const OdometerSettings& record) {
  return area == kOdometerBike1 ? record.Bike1 : record.Bike2;
}

bool InRange(int32_t value) {
  return value >= 0 && value <= kMaxOdometer;
}

bool Delivered(int32_t result) {
  return result == 1;
}

}  // namespace

int32_t PackOdometer(int32_t area, const OdometerSettings& record) {
  if (!IsBikeArea(area) || !InRange(OdometerOf(area, record))) return 0;
  Module& m = module();
  m.unit.type = record.MonitorType == kSoundOnlyType ? kSoundOnlyLayouts : record.MonitorType;
  int32_t value = OdometerOf(area, record);
  for (int32_t i = 0; i < kOdometerBytes; ++i, value /= 100)
    m.banks.set_scratch(kWriteAt + i, static_cast<uint8_t>(codec::BinToBcd(value % 100)));
  return 1;
}

int32_t UnPackOdometer(int32_t area, OdometerSettings& record) {
  if (!IsBikeArea(area)) return 0;
  const protocol::Banks& banks = module().banks;
  int32_t value = 0;
  for (int32_t i = kOdometerBytes - 1; i >= 0; --i)
    value = value * 100 + codec::BcdToBin(banks.scratch(kReadAt + i));
  record.Size = kOdometerSize;
  (area == kOdometerBike1 ? record.Bike1 : record.Bike2) = value;
  return 1;
}

int32_t ReadOdometer(CommParams& params, OdometerSettings& record) {
  frame::SetErrorCode(frame::kErrorTransferStarted);
  frame::ValidateCommParams(params, 1);
  MonitorInfo info{};
  info.Size = QUIBRA_MONITOR_INFO_SIZE;
  if (ReadMonitorInfo(params, info) != 1 || !OneOf(kInfraredTypes, info.MonitorInUse)) return 0;
  OdometerSettings read = record;
  for (const int32_t area : {kOdometerBike1, kOdometerBike2}) {
    if (!Delivered(transfer::SendUnitMessage(params, protocol::msg::kBlockRead, area))) return 0;
    UnPackOdometer(area, read);
  }
  read.MonitorType = info.MonitorInUse;
  record = read;
  return 1;
}

int32_t WriteOdometer(CommParams& params, const OdometerSettings& record) {
  frame::SetErrorCode(frame::kErrorTransferStarted);
  frame::ValidateCommParams(params, 0);
  if (!OneOf(kWritableTypes, record.MonitorType) || !InRange(record.Bike1) ||
      !InRange(record.Bike2)) {
    return 0;
  }
  const bool infrared = params.LinkType == frame::kLinkInfrared;
  if (infrared) {
    // The unit must be the type whose layouts place the odometers: another type keeps other
    // values at those addresses.
    MonitorInfo info{};
    info.Size = QUIBRA_MONITOR_INFO_SIZE;
    if (ReadMonitorInfo(params, info) != 1 || !OneOf(kInfraredTypes, info.MonitorInUse) ||
        info.MonitorInUse != record.MonitorType) {
      return 0;
    }
  }
  module().banks.clear_scratch();
  for (const int32_t area : {kOdometerBike1, kOdometerBike2}) {
    PackOdometer(area, record);
    if (infrared) {
      if (!Delivered(transfer::SendUnitMessage(params, protocol::msg::kBlockWrite, area))) return 0;
    } else {
      if (area == kOdometerBike2) platform::clock().sleep_ms(kSoundPauseMs);
      if (sound::SendBySoundOrDataFile(params, protocol::msg::kBlockWrite, area) == 0) return 0;
    }
  }
  return 1;
}

}  // namespace quibra::prvc
