#include "settings/logo_transfer.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "frame/comm_params.h"
#include "frame/module.h"
#include "platform/registry.h"
#include "protocol/logo_layout.h"
#include "protocol/message_ids.h"
#include "protocol/message_image.h"
#include "prvc/unit_memory.h"
#include "settings/logo_outdoor.h"
#include "settings/logo_packing.h"
#include "settings/transfer_pattern.h"
#include "sound/pipcast.h"
#include "transfer/send_unit_message.h"

namespace quibra::settings {
namespace {

// The unit plays the first part of a two-part logo before it listens for the second.
constexpr uint32_t kBetweenPartsMs = 1500;

// The older units whose logo image can be read back (message 9016), and the columns it holds:
// one byte each from image index 6 on.
constexpr int32_t kImageReadTypes[] = {11, 12, 13, 22};
constexpr int32_t kImageColumns = 47;
constexpr int32_t kFirstReceivedByte = 6;

// The running and cycling units keep their logo slots in memory, 193 bytes each: a leading byte,
// then three bytes per column (bits 16..21 in the low six bits of the first, then 8..15, 0..7).
constexpr int32_t kFirstPrvcType = 33;
constexpr int32_t kLastPrvcType = 38;
constexpr int32_t kPrvcColumns = 64;
constexpr int32_t kSlotBytes = 193;
constexpr uint32_t kMemoryPauseMs = 300;
constexpr int64_t kLastAddress = 0xFFFFFF;  // the units address 24 bits

// Where the logo slots begin, past the memory base the identification gives.
struct LogoArea {
  int32_t type;
  int32_t offset;
};
constexpr LogoArea kLogoAreas[] = {{34, 9291}, {38, 9291}};
constexpr int32_t kDefaultLogoAreaOffset = 8946;

// Second-part sound names are numbered from here; the search stops somewhere sane.
constexpr int32_t kFirstPartNumber = 2;
constexpr int32_t kLastPartNumber = 99999;

int32_t LogoAreaOffset(int32_t type) {
  for (const LogoArea& area : kLogoAreas) {
    if (area.type == type) return area.offset;
  }
  return kDefaultLogoAreaOffset;
}

bool IsPrvcType(int32_t type) {
  return type >= kFirstPrvcType && type <= kLastPrvcType;
}

bool ReadsLogoImage(int32_t type) {
  for (const int32_t t : kImageReadTypes) {
    if (t == type) return true;
  }
  return false;
}

bool FileExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::path(path), error);
}

bool SetFilePath(CommParams& params, const std::string& path) {
  if (path.size() + 1 > sizeof params.FilePath) return false;
  std::memset(params.FilePath, 0, sizeof params.FilePath);
  std::memcpy(params.FilePath, path.data(), path.size());
  return true;
}

int32_t SendOverInfrared(CommParams& params, int32_t type) {
  if (IsOutdoorLogoType(type)) {
    for (const int32_t part : kOutdoorLogoParts) {
      if (!Delivered(transfer::SendUnitMessage(params, protocol::msg::kOutdoorLogoWrite, part)))
        return 0;
    }
    return 1;
  }
  // The units whose logo message is their identification message (28, 29, 31, 32) take the
  // logo by sound; over infrared the exchange is that message with the type as parameter.
  return Delivered(transfer::SendUnitMessage(params, protocol::LogoMessage(type), type)) ? 1 : 0;
}

int32_t SendBySound(CommParams& params, int32_t type) {
  if (!IsOutdoorLogoType(type)) {
    return sound::SendBySoundOrDataFile(params, protocol::msg::kLogoWrite, type) != 0 ? 1 : 0;
  }
  const int32_t first = kOutdoorLogoParts[0];
  const int32_t second = kOutdoorLogoParts[1];
  if (sound::SendBySoundOrDataFile(params, protocol::msg::kOutdoorLogoWrite, first) == 0) return 0;
  platform::clock().sleep_ms(kBetweenPartsMs);
  // A kept wave file that is not played would be overwritten by the second part: that one gets
  // a file of its own, and the caller learns its name from FilePath. (Without a path each part
  // gets a temporary name of its own anyway.)
  const size_t path_length = strnlen(params.FilePath, sizeof params.FilePath);
  if (params.SoundFileOnly != 0 && params.KeepSoundFile != 0 && path_length > 0) {
    const std::optional<std::string> name =
        SecondPartSoundName(std::string(params.FilePath, path_length), sizeof params.FilePath);
    if (!name || !SetFilePath(params, *name)) {
      frame::SetErrorCode(frame::kErrorFile);
      return 0;
    }
  }
  return sound::SendBySoundOrDataFile(params, protocol::msg::kOutdoorLogoWrite, second) != 0 ? 1
                                                                                             : 0;
}

}  // namespace

int32_t SendMonitorLogo(CommParams& params, int32_t type, const int32_t* columns, int32_t slot) {
  frame::ValidateCommParams(params, 0);
  if (!PrepareLogo(type, columns, slot, static_cast<int32_t>(params.LinkType))) return 0;
  if (params.LinkType == frame::kLinkInfrared) return SendOverInfrared(params, type);
  return SendBySound(params, type);
}

int32_t UnPackBitmap(int32_t* columns) {
  if (columns == nullptr) return 0;
  for (int32_t c = 0; c < kImageColumns; ++c)
    columns[c] = protocol::GetMessageByte(protocol::msg::kLogoWrite, 0, kFirstReceivedByte + c);
  return 1;
}

int32_t ReadMonitorLogo(CommParams& params, int32_t type, int32_t* columns, int32_t slot) {
  if (columns == nullptr) return 0;
  if (ReadsLogoImage(type)) {
    return ReadSettings(params, protocol::msg::kLogoRead, 0, [&] { UnPackBitmap(columns); });
  }
  if (IsPrvcType(type)) return PrvcReadBitmap(params, type, columns, slot);
  if (ReadsOutdoorLogo(type)) return ReadOutdoorLogo(params, columns);
  // Every other type has no logo to read.
  return 0;
}

int32_t PrvcLogoType(const CommParams& params) {
  const auto named = static_cast<int32_t>(params.MonitorType);
  return IsPrvcType(named) ? named : module().unit.type.load();
}

int32_t PrvcReadBitmap(CommParams& params, int32_t type, int32_t* columns, int32_t slot) {
  frame::SetErrorCode(frame::kErrorTransferStarted);
  if (columns == nullptr || slot < 0) return 0;
  const int64_t address =
      int64_t{module().memory_map.base} + LogoAreaOffset(type) + int64_t{slot} * kSlotBytes;
  if (address < 0 || address > kLastAddress) return 0;
  std::array<uint8_t, kSlotBytes> bytes{};
  if (!prvc::ReadUnitMemory(params, static_cast<int32_t>(address), 0, bytes, kMemoryPauseMs)) {
    return 0;
  }
  for (int32_t c = 0; c < kPrvcColumns; ++c) {
    const size_t at = 1 + 3 * static_cast<size_t>(c);  // past the leading byte
    columns[c] = (bytes[at] & 0x3F) << 16 | bytes[at + 1] << 8 | bytes[at + 2];
  }
  return 1;
}

std::optional<std::string> SecondPartSoundName(const std::string& path, size_t capacity) {
  const size_t separator = path.find_last_of("/\\");
  const size_t name_start = separator == std::string::npos ? 0 : separator + 1;
  size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot < name_start) dot = path.size();
  const std::string stem = path.substr(0, dot);
  const std::string extension = path.substr(dot);
  for (int32_t n = kFirstPartNumber; n <= kLastPartNumber; ++n) {
    std::string candidate = stem + std::to_string(n) + extension;
    if (candidate.size() + 1 > capacity) return std::nullopt;
    if (!FileExists(candidate)) return candidate;
  }
  return std::nullopt;
}

}  // namespace quibra::settings
