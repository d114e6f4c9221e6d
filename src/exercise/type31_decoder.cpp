#include <array>

#include "exercise/exercise_checks.h"
#include "exercise/field_readers.h"
#include "exercise/single_model_decoders.h"

namespace quibra::exercise {
namespace {

constexpr int32_t kRec = 0;
constexpr int32_t kExerciseCount = 8;
constexpr int32_t kFirstExercise = 103;
constexpr int32_t kFixedSize = 44;  // an exercise is this plus 12 bytes per lap
constexpr int32_t kLapSize = 12;
constexpr int32_t kLapCount = 31;
constexpr int32_t kFirstLap = 45;

// Offsets from the exercise start of the 16-bit summary values, and their parameters.
struct Field {
  int32_t offset;
  int32_t param;
};
constexpr std::array<Field, 5> kWords = {{{17, 80}, {17, 91}, {19, 38}, {21, 43}, {23, 44}}};
constexpr std::array<Field, 7> kBytes = {
    {{6, 36}, {7, 37}, {25, 103}, {26, 104}, {38, 134}, {39, 14}, {40, 13}}};
constexpr std::array<Field, 4> kTriples = {{{8, 70}, {11, 69}, {14, 71}, {35, 10}}};

}  // namespace

int32_t DecodeType31Exercise(const MemoryReader& m, ExerciseStore& s, int32_t /*monitor_type*/,
                             int32_t index, ImageMode /*mode*/) {
  const int32_t count_byte = m.byte(kExerciseCount);
  const int32_t exercises = (count_byte & 15) != 0 ? 1 : count_byte >> 4;
  // An index past the exercises names none (it once fell back to the first, which made a caller
  // stepping through them decode it again for ever).
  if (index < 0 || index >= exercises) return 0;
  int32_t b = kFirstExercise;
  for (int32_t n = 0; n < index; ++n)
    b += kFixedSize + kLapSize * m.byte(b + kLapCount);
  if (b + kFixedSize - 1 > m.count()) return 0;  // byte 43 is the last of an exercise without laps

  const int32_t options = m.byte(b + 1);
  s.SetExerciseParam(kRec, 131, options & 3);
  s.SetExerciseParam(kRec, 133, (options >> 2) & 1);
  s.SetExerciseParam(kRec, 8, (options >> 3) & 1);
  const int32_t hundredths = codec::BcdToBin(m.byte(b + 2));
  s.SetExerciseParam(kRec, 11, (TimeTriple(m, b + 3) * 10 + hundredths) * 10);
  for (const auto& f : kWords)
    s.SetExerciseParam(kRec, f.param, m.u16(b + f.offset));
  for (const auto& f : kBytes)
    s.SetExerciseParam(kRec, f.param, m.byte(b + f.offset));
  for (const auto& f : kTriples)
    s.SetExerciseParam(kRec, f.param, TimeTriple(m, b + f.offset));
  const int32_t d = m.u16(b + 33);
  int32_t year = 2000 + (d >> 9);
  if (year >= 2090) year -= 100;
  // The unit keeps no start time: the date alone is checked.
  if (const auto bad = CheckStart(year, (d >> 5) & 15, d & 31, 0, 0, 0))
    return RejectExercise(index, *bad);
  s.SetExerciseParam(kRec, 9, year * 10000 + ((d >> 5) & 15) * 100 + (d & 31));
  s.SetExerciseFlag(kRec, 21, 1);
  s.SetExerciseParam(kRec, 83, 1);
  s.SetExerciseParam(kRec, 40, s.GetExerciseParam(kRec, 11) / 1000);

  const int32_t laps = m.byte(b + kLapCount);
  for (int32_t i = 0; i < laps; ++i) {
    const int32_t at = b + kFirstLap + kLapSize * i;
    if (at + kLapSize - 1 > m.count()) break;  // a lap count beyond the image
    const int32_t index_in_store = s.GetLapCount(kRec);
    if (s.InitLap(kRec, index_in_store, true, false) != 1) break;
    const auto set = [&](int32_t field, int32_t value) {
      s.SetLapField(kRec, index_in_store, field, value, true);
    };
    const int32_t kind = m.byte(at);
    set(648, kind + 1);
    set(653, kind);
    set(601, PackedLapTime(m, at + 1));
    set(607, m.byte(at + 4));
    set(609, m.byte(at + 5));
    set(611, m.u16(at + 6));
    set(613, m.byte(at + 8));
    set(614, m.byte(at + 9));
    set(604, m.u16(at + 10) * 100);
    set(659, i + 1);
    if (s.IncrementLapCount(kRec) == 1) s.SetExerciseFlag(kRec, 13, 1);
  }
  return 1;
}

}  // namespace quibra::exercise
