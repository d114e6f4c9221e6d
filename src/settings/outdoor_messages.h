// The messages of the outdoor units (types 19..21), by what they carry. A read's answer lands in
// the same image as its write (the same bank), each byte one index later than the write put it.
#pragma once

#include <cstdint>

namespace quibra::settings::outdoor {

enum Message : int32_t {
  kWatchWrite = 9040,
  // The watch read answers into the image that the older units' watch read (9002) uses.
  kWatchRead = 9041,
  kUserWrite = 9042,
  kUserRead = 9043,
  kCalibWrite = 9044,  // one route point per sub-image 0..19
  kCalibRead = 9045,
  kSeasonRead = 9046,
  kSeasonClear = 9047,
  kTestsRead = 9048,
  kTestsClear = 9049,
  kLogoWrite = 9050,  // two parts, sub-images 1 and 0
  kLogoRead = 9051,
  kReminderWrite = 9052,  // one reminder per sub-image 1..5
  kReminderRead = 9053,
  kInfoTextWrite = 9055,
};

// Payload bytes of a written image start at index 5, of a received one at index 6.
inline constexpr int32_t kReadShift = 1;

}  // namespace quibra::settings::outdoor
