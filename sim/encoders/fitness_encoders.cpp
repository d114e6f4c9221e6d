#include "sim/encoders/fitness_encoders.h"

#include <algorithm>
#include <stdexcept>

#include "codec/charset.h"

namespace quibra::sim {
namespace {

constexpr uint8_t kUnnamed = 0x80;
constexpr size_t kNameBytes = 8;

void PutDate(Bytes& out, size_t at, int32_t year, int32_t month, int32_t day) {
  Put8(out, at, day);
  Put8(out, at + 1, month);
  Put8(out, at + 2, year - 2000);
}

void PutSummary(Bytes& out, size_t at, const J9Exercise& e) {
  if (e.name.empty()) {
    out[at] = kUnnamed;
  } else {
    for (size_t i = 0; i < kNameBytes; ++i) {
      const int32_t c = i < e.name.size() ? static_cast<unsigned char>(e.name[i]) : ' ';
      out[at + i] = static_cast<uint8_t>(codec::CharToDeviceCode(c, codec::kDeviceSpace, 0));
    }
  }
  PutDate(out, at + 8, e.year, e.month, e.day);
  PutTriple(out, at + 11, e.start_seconds);
  PutTriple(out, at + 14, e.duration_seconds);
  Put8(out, at + 17, e.byte17);
  Put8(out, at + 18, e.byte18);
  Put16(out, at + 19, e.total);
  Put8(out, at + 21, e.byte21);
  Put8(out, at + 22, e.option);
  for (size_t z = 0; z < e.zone_seconds.size(); ++z)
    PutTriple(out, at + 23 + 3 * z, e.zone_seconds[z]);
  Put8(out, at + 35, e.byte35);
  Put8(out, at + 36, e.byte36);
}

}  // namespace

Bytes J9Memory(const J9Contents& c) {
  if (c.exercises.size() > kJ9MostExercises || c.fitness_tests.size() > kJ9MostFitnessTests ||
      c.relaxation_tests.size() > kJ9MostRelaxationTests) {
    throw std::invalid_argument("more than the J9 unit keeps");
  }
  Bytes out(kJ9MemoryBytes, 0);
  std::copy(c.user.begin(), c.user.end(), out.begin() + kJ9UserAt);
  std::copy(c.programme.begin(), c.programme.end(), out.begin() + kJ9ProgrammeAt);
  Put8(out, kJ9FileCountAt, static_cast<int32_t>(c.exercises.size()));
  Put8(out, kJ9RelaxationCountAt, static_cast<int32_t>(c.relaxation_tests.size()));
  for (size_t n = 0; n < c.exercises.size(); ++n)
    PutSummary(out, kJ9SummariesAt + kJ9SummaryBytes * n, c.exercises[n]);
  for (size_t i = 0; i < c.fitness_tests.size(); ++i) {
    const J9Test& t = c.fitness_tests[i];
    const size_t at = kJ9FitnessTestsAt + 4 * i;
    PutDate(out, at, t.year, t.month, t.day);
    Put8(out, at + 3, t.value);
  }
  for (size_t i = 0; i < c.relaxation_tests.size(); ++i) {
    const J9Test& t = c.relaxation_tests[i];
    const size_t at = kJ9RelaxationAt + kJ9RelaxationBytes * i;
    PutDate(out, at, t.year, t.month, t.day);
    Put8(out, at + 11, t.value);
  }
  return out;
}

}  // namespace quibra::sim
