// Layout B (types 34 and 38), as the table at the top of the library's decoder gives it.
#include <cmath>

#include "sim/encoders/prvc_file_encoder.h"

namespace quibra::sim {
namespace {

using namespace file_layout;

constexpr std::array<int32_t, 5> kIntervals = {1, 2, 5, 15, 60};

void AppendSummary(Bytes& out, const FileExercise& e) {
  Append16(out, e.speed ? e.max_speed : 0);
  Append16(out, e.speed ? e.average_speed : 0);
  AppendDistance(out, e.speed ? e.distance_quarters : 0);
  Append8(out, e.cadence_average);
  Append8(out, e.cadence_max);
  AppendAltitudeSummary(out, e);
  Append16(out, e.power_average);
  Append16(out, e.power_max);
  Append16(out, 0);
  Append16(out, 0);
  Append16(out, e.scale);
  Append8(out, e.byte167);
  AppendZoneGroup(out, e);
}

// Every record carries the 16-bit speed and the distance, whatever the interval.
void AppendSampleB(Bytes& out, const FileExercise& e, const FileSample& s, int32_t) {
  AppendRecord(out, e, s, true, true);
}

// The split time as the unit's clock counts it: the decoder multiplies by the time scale.
void AppendLapB(Bytes& out, const FileExercise& e, const FileLap& l) {
  AppendLap(out, e, l, static_cast<int32_t>(std::lround(l.tenths * 1000.0 / e.scale)),
            {.temperature = true, .power = true});
}

}  // namespace

Bytes EncodeFileExerciseB(const FileExercise& e) {
  // Bit 3 of the interval byte marks an R-R capable unit, bit 4 samples left incomplete.
  return EncodeFile(e, {true, kIntervals, 0x08, 0x10, AppendSummary, AppendSampleB, AppendLapB});
}

}  // namespace quibra::sim
