#include <array>

#include "exercise/exercise_checks.h"
#include "exercise/field_readers.h"
#include "exercise/single_model_decoders.h"

namespace quibra::exercise {
namespace {

constexpr int32_t kRec = 0;
constexpr int32_t kOptions = 31;
constexpr int32_t kDate = 33;
constexpr int32_t kStart = 35;
constexpr int32_t kDuration = 38;
constexpr int32_t kPace = 125;
constexpr int32_t kLapCount = 128;
constexpr int32_t kFirstLap = 135;
constexpr int32_t kShortLap = 6;
constexpr int32_t kLongLap = 12;

enum class Kind { kByte, kWord, kWordTimes10, kTriple };
struct Field {
  int32_t position;
  Kind kind;
  int32_t param;
};

// The summary fields, position by position.
constexpr std::array<Field, 43> kFields = {{
    {41, Kind::kByte, 36},     {42, Kind::kByte, 37},         {43, Kind::kByte, 134},
    {44, Kind::kWord, 80},     {44, Kind::kWord, 91},         {46, Kind::kWord, 14},
    {48, Kind::kWord, 13},     {50, Kind::kWord, 16},         {52, Kind::kWord, 15},
    {54, Kind::kWord, 18},     {56, Kind::kWord, 17},         {58, Kind::kWord, 111},
    {60, Kind::kWord, 110},    {62, Kind::kTriple, 71},       {65, Kind::kTriple, 70},
    {68, Kind::kTriple, 69},   {71, Kind::kTriple, 74},       {74, Kind::kTriple, 73},
    {77, Kind::kTriple, 72},   {80, Kind::kTriple, 77},       {83, Kind::kTriple, 76},
    {86, Kind::kTriple, 75},   {89, Kind::kTriple, 114},      {92, Kind::kTriple, 113},
    {95, Kind::kTriple, 112},  {98, Kind::kByte, 115},        {99, Kind::kByte, 116},
    {100, Kind::kByte, 117},   {101, Kind::kByte, 118},       {102, Kind::kByte, 119},
    {103, Kind::kByte, 120},   {104, Kind::kByte, 121},       {105, Kind::kByte, 122},
    {106, Kind::kByte, 123},   {107, Kind::kByte, 124},       {108, Kind::kTriple, 125},
    {111, Kind::kTriple, 126}, {114, Kind::kTriple, 127},     {117, Kind::kTriple, 128},
    {120, Kind::kTriple, 129}, {123, Kind::kWordTimes10, 38}, {125, Kind::kWord, 130},
    {133, Kind::kWord, 135},
}};

int32_t Read(const MemoryReader& m, const Field& f) {
  switch (f.kind) {
    case Kind::kByte:
      return m.byte(f.position);
    case Kind::kWord:
      return m.u16(f.position);
    case Kind::kWordTimes10:
      return m.u16(f.position) * 10;
    case Kind::kTriple:
      return TimeTriple(m, f.position);
  }
  return 0;
}

}  // namespace

int32_t DecodeType30Exercise(const MemoryReader& m, ExerciseStore& s, int32_t /*monitor_type*/,
                             int32_t index, ImageMode /*mode*/) {
  // The unit keeps one exercise: any other index names none, so that a caller stepping through
  // the exercises comes to an end.
  if (index != 0 || m.count() < kFirstLap - 1) return 0;
  if (const auto bad = CheckStart(
          2000 + (m.byte(kDate + 1) >> 1), (m.byte(kDate) >> 5) + 8 * (m.byte(kDate + 1) & 1),
          m.byte(kDate) & 31, codec::BcdToBin(m.byte(kStart + 2) & 0x7F),
          codec::BcdToBin(m.byte(kStart + 1)), codec::BcdToBin(m.byte(kStart)))) {
    return RejectExercise(index, *bad);
  }
  const int32_t options = m.byte(kOptions);
  const bool speed = (options & 0x08) != 0;
  s.SetExerciseParam(kRec, 132, options & 1);
  s.SetExerciseParam(kRec, 131, (options >> 1) & 3);
  s.SetExerciseParam(kRec, 133, ((options >> 4) & 3) + 1);
  s.SetExerciseFlag(kRec, 8, speed ? 1 : 0);
  const int32_t b33 = m.byte(kDate);
  const int32_t b34 = m.byte(kDate + 1);
  s.SetExerciseParam(kRec, 9,
                     (2000 + (b34 >> 1)) * 10000 + ((b33 >> 5) + 8 * (b34 & 1)) * 100 + (b33 & 31));
  s.SetExerciseParam(kRec, 10, BcdTimeTriple(m, kStart));
  s.SetExerciseParam(kRec, 11, PackedLapTime(m, kDuration) * 100);
  for (const auto& f : kFields)
    s.SetExerciseParam(kRec, f.param, Read(m, f));
  const int32_t pace = m.u16(kPace);
  if (pace != 0) s.SetExerciseParam(kRec, 44, 3600 / pace);
  const int32_t seconds = s.GetExerciseParam(kRec, 11) / 1000;
  s.SetExerciseParam(kRec, 40, seconds);
  s.SetExerciseParam(
      kRec, 43,
      seconds == 0 ? 0 : TruncateToInt32(s.GetExerciseParam(kRec, 38) / (seconds / 3600.0)));
  s.SetExerciseFlag(kRec, 21, 1);

  // Laps are stored newest first in the image; the store gets them oldest first.
  const int32_t size = speed ? kLongLap : kShortLap;
  const int32_t count = m.byte(kLapCount);
  for (int32_t i = count - 1; i >= 0; --i) {
    const int32_t at = kFirstLap + i * size;
    if (at + size - 1 > m.count()) continue;  // a lap count beyond the image
    const int32_t index = s.GetLapCount(kRec);
    if (s.InitLap(kRec, index, true, false) != 1) break;
    const auto set = [&](int32_t field, int32_t value) {
      s.SetLapField(kRec, index, field, value, true);
    };
    set(601, PackedLapTime(m, at));
    set(607, m.byte(at + 3));
    set(609, m.byte(at + 4));
    set(610, m.byte(at + 5));
    if (speed) {
      set(649, m.u16(at + 6));
      set(604, m.u16(at + 8) * 10);
      set(612, m.u16(at + 10));
    }
    set(659, count - i);
    if (s.IncrementLapCount(kRec) == 1) s.SetExerciseFlag(kRec, 13, 1);
  }
  return 1;
}

}  // namespace quibra::exercise
