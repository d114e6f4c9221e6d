#include <array>

#include "exercise/exercise_checks.h"
#include "exercise/field_readers.h"
#include "exercise/single_model_decoders.h"

namespace quibra::exercise {
namespace {

constexpr int32_t kRec = 0;
constexpr int32_t kFirstExercise = 359;
constexpr int32_t kExerciseSize = 37;

struct Field {
  int32_t offset;
  int32_t param;
};
// Time triples in 1/10 s, and the two stored in ms.
constexpr std::array<Field, 4> kTriples = {{{4, 10}, {13, 68}, {16, 67}, {19, 66}}};
constexpr std::array<Field, 2> kMsTriples = {{{7, 11}, {10, 154}}};
constexpr std::array<Field, 5> kBytes = {{{22, 20}, {23, 19}, {24, 36}, {25, 37}, {28, 108}}};
constexpr std::array<Field, 5> kWords = {{{26, 80}, {26, 91}, {29, 38}, {31, 44}, {33, 43}}};
constexpr std::array<Field, 2> kLateBytes = {{{35, 104}, {36, 103}}};

}  // namespace

int32_t DecodeType32Exercise(const MemoryReader& m, ExerciseStore& s, int32_t /*monitor_type*/,
                             int32_t index, ImageMode /*mode*/) {
  if (index < 0) return 0;
  const int32_t b = kFirstExercise + kExerciseSize * index;
  if (b + kExerciseSize - 1 > m.count()) return 0;
  const int32_t options = m.byte(b);
  s.SetExerciseFlag(kRec, 8, (options & 0x08) == 0 ? 1 : 0);
  const int32_t limits = options & 3;
  s.SetExerciseParam(kRec, 132, limits == 1 ? 0 : limits);
  s.SetExerciseFlag(kRec, 10, (options >> 4) & 1);
  s.SetExerciseParam(kRec, 8, (options >> 5) & 1);
  s.SetExerciseParam(kRec, 131, (options >> 1) & 3);
  s.SetExerciseParam(kRec, 133, ((options >> 2) & 1) + 1);
  int32_t year = 2000 + m.byte(b + 3);
  if (year > 2089) year -= 100;
  // The unit keeps no start time: the date alone is checked.
  if (const auto bad = CheckStart(year, m.byte(b + 2), m.byte(b + 1), 0, 0, 0))
    return RejectExercise(index, *bad);
  s.SetExerciseParam(kRec, 9, year * 10000 + m.byte(b + 2) * 100 + m.byte(b + 1));
  for (const auto& f : kTriples)
    s.SetExerciseParam(kRec, f.param, TimeTriple(m, b + f.offset));
  for (const auto& f : kMsTriples) {
    s.SetExerciseParam(kRec, f.param, TimeTriple(m, b + f.offset) * 100);
  }
  for (const auto& f : kBytes)
    s.SetExerciseParam(kRec, f.param, m.byte(b + f.offset));
  for (const auto& f : kWords)
    s.SetExerciseParam(kRec, f.param, m.u16(b + f.offset));
  for (const auto& f : kLateBytes)
    s.SetExerciseParam(kRec, f.param, m.byte(b + f.offset));
  s.SetExerciseFlag(kRec, 9, 1);
  s.SetExerciseFlag(kRec, 21, 1);
  s.SetExerciseParam(kRec, 40, s.GetExerciseParam(kRec, 11) / 1000);
  return 1;
}

}  // namespace quibra::exercise
