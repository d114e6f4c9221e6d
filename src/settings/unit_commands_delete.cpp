// The file-delete command (9012): which file, named by the start of its exercise, or all files.
#include <array>

#include "codec/bcd.h"
#include "codec/dates.h"
#include "codec/time_text.h"
#include "exercise/exercise_download.h"
#include "exercise/file_info.h"
#include "frame/comm_params.h"
#include "frame/module.h"
#include "protocol/message_ids.h"
#include "protocol/seal.h"
#include "settings/file_date.h"
#include "settings/image_bytes.h"
#include "settings/service_blocks.h"
#include "settings/unit_commands.h"
#include "sound/pipcast.h"
#include "transfer/send_unit_message.h"

namespace quibra::settings {
namespace {

constexpr int32_t kAllFiles = -1;
constexpr int32_t kRecordOnly = -2;
constexpr uint8_t kAllFilesMarker = 255;
constexpr uint8_t kOneFileMarker = 254;
constexpr int32_t kMarkerAt = 5;
constexpr uint8_t kPmBit = 128;
constexpr uint8_t kTwelveHourBit = 128;
constexpr uint8_t kPackedDateEnd = 255;
constexpr int32_t kSecondsPerDay = 86400;

// The outdoor units and the running and cycling units name a file by a packed two-byte date;
// the file-based units among them list their files through the unit itself.
constexpr int32_t kPackedDateTypes[] = {20, 21, 33, 34, 35, 36, 37, 38};
constexpr int32_t kFileBasedFirst = 33;
constexpr int32_t kFileBasedLast = 38;

bool PacksDate(int32_t type) {
  for (const int32_t t : kPackedDateTypes) {
    if (t == type) return true;
  }
  return false;
}

uint8_t Bcd(int32_t value) {
  return static_cast<uint8_t>(codec::BinToBcd(value));
}

// The six bytes that follow the marker.
std::array<uint8_t, 6> IdentificationBytes(const FileIdentification& id, int32_t type) {
  const int32_t hours = id.seconds / 3600;
  const int32_t minutes = id.seconds / 60 % 60;
  const int32_t seconds = id.seconds % 60;
  if (PacksDate(type)) {
    const std::array<uint8_t, 2> date = PackFileDate(id.date);
    return {date[0], date[1], Bcd(seconds), Bcd(minutes), Bcd(hours), kPackedDateEnd};
  }
  int32_t shown_hours = hours;
  uint8_t pm = 0;
  if (id.twelve_hour) pm = codec::To12Hour(shown_hours) ? kPmBit : 0;
  const codec::DateParts d = codec::SplitDate(id.date);
  int32_t year = d.year - 1900;
  if (year >= 100) year -= 100;
  if (id.date == 0) year = 0;  // no file named yet (all files): the date fields stay zero
  return {Bcd(seconds),
          Bcd(minutes),
          static_cast<uint8_t>(Bcd(shown_hours) + pm),
          static_cast<uint8_t>(Bcd(d.day) + (id.twelve_hour ? kTwelveHourBit : 0)),
          Bcd(year),
          static_cast<uint8_t>(d.month)};
}

// The identification of file n of the memory: from the downloaded memory for the older units,
// from the unit itself for the file-based ones.
bool IdentifyFile(CommParams& params, int32_t file, FileIdentification& out) {
  ExeFileInfo info{};
  const bool file_based =
      params.MonitorType >= kFileBasedFirst && params.MonitorType <= kFileBasedLast;
  const int32_t found = file_based ? exercise::GetExeFileInfoEx(params.ParentWindow, file, info)
                                   : exercise::GetExeFileInfo(file, info);
  if (found != 1) return false;
  out = {info.StartDate, info.StartTime, info.TwelveHour != 0};
  return true;
}

}  // namespace

int32_t SendFileDeleteCommand(CommParams& params, int32_t file, int32_t date, int32_t seconds,
                              int32_t twelve_hour) {
  frame::ValidateCommParams(params, 0);
  if (file < kRecordOnly) return 0;
  FileIdentification& target = module().service.delete_target;
  if (file == kRecordOnly) {
    if (seconds < 0 || seconds >= kSecondsPerDay) {
      frame::SetErrorCode(frame::kErrorTimeOfDay);
      return 0;
    }
    if (!codec::IsValidDate(date)) {
      frame::SetErrorCode(frame::kErrorDate);
      return 0;
    }
    target = {date, seconds, twelve_hour != 0};
    return 1;
  }
  if (file >= 0) {
    FileIdentification found;
    if (!IdentifyFile(params, file, found)) return 0;
    // A file header with a time outside the day names no file: refuse rather than send it.
    if (found.seconds < 0 || found.seconds >= kSecondsPerDay) return 0;
    target = found;
  }
  const ImageWriter image(protocol::msg::kFileDelete, 0);
  image.byte(kMarkerAt, file == kAllFiles ? kAllFilesMarker : kOneFileMarker);
  const std::array<uint8_t, 6> bytes = IdentificationBytes(target, params.MonitorType);
  for (size_t i = 0; i < bytes.size(); ++i)
    image.byte(kMarkerAt + 1 + static_cast<int32_t>(i), bytes[i]);
  protocol::SealMessageImage(protocol::msg::kFileDelete, 0, 0);
  if (params.LinkType == frame::kLinkInfrared)
    return Delivered(transfer::SendUnitMessage(params, protocol::msg::kFileDelete, 0)) ? 1 : 0;
  return sound::SendBySoundOrDataFile(params, protocol::msg::kFileDelete, 0) != 0 ? 1 : 0;
}

}  // namespace quibra::settings
