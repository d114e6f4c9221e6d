// Layout B (types 34 and 38), as the table at the top of the library's decoder gives it.
#include <cmath>

#include "sim/encoders/prvc_file_encoder.h"

namespace quibra::sim {
namespace {

using namespace file_layout;

int32_t IntervalCode(int32_t interval) {
  switch (interval) {
    case 2:
      return 1;
    case 5:
      return 2;
    case 15:
      return 3;
    case 60:
      return 4;
    default:
      return 0;
  }
}

void AppendSummary(Bytes& out, const FileExercise& e) {
  Append16(out, e.speed ? e.max_speed : 0);
  Append16(out, e.speed ? e.average_speed : 0);
  AppendDistance(out, e.speed ? e.distance_quarters : 0);
  Append8(out, e.cadence_average);
  Append8(out, e.cadence_max);
  for (const int32_t a : e.altitudes)
    Append16(out, a + 768);
  for (const int32_t t : e.temperatures)
    Append8(out, t);
  Append16(out, e.ascent_feet);
  Append16(out, e.descent_feet);
  Append16(out, e.power_average);
  Append16(out, e.power_max);
  Append16(out, 0);
  Append16(out, 0);
  Append16(out, e.scale);
  Append8(out, e.byte167);
  AppendZoneGroup(out, e);
}

bool Cadence(const FileExercise& e) {
  return e.cadence && !e.extra;
}

void AppendRecord(Bytes& out, const FileExercise& e, const FileSample& s) {
  if (!e.rr_capable) Append8(out, s.heart_rate);
  if (e.altitude) Append16(out, static_cast<int32_t>(std::lround(s.altitude / 0.3048)));
  if (e.speed) {
    Append16(out, static_cast<int32_t>(std::lround(s.speed * 1.6)));
    Append16(out, s.distance);
  }
  if (Cadence(e)) Append8(out, s.cadence);
  if (e.extra) {
    Append16(out, s.first);
    Append8(out, (s.first >> 16) | s.nibble << 4);
    Append8(out, s.first_byte);
    Append16(out, s.second);
    Append8(out, (s.second >> 16) | s.two_bits << 4 | s.one_bit << 6);
    Append8(out, s.second_byte);
  }
  if (e.power) {
    Append16(out, s.power);
    Append16(out, s.pedalling);
  }
}

// The split time as the unit's clock counts it: the decoder multiplies by the time scale.
void AppendLap(Bytes& out, const FileExercise& e, const FileLap& l) {
  const size_t at = out.size();
  out.resize(at + 3);
  PutPackedTime(out, at, static_cast<int32_t>(std::lround(l.tenths * 1000.0 / e.scale)),
                Hours::kBinary);
  if (l.second_kind) out[at + 2] |= 0x80;
  Append8(out, l.heart_rate);
  Append8(out, l.average);
  Append8(out, l.maximum);
  if (e.speed) {
    Append16(out, l.speed);
    Append16(out, l.average_speed);
    AppendDistance(out, l.distance_quarters);
  }
  if (Cadence(e)) {
    Append8(out, l.cadence);
    Append8(out, l.average_cadence);
  }
  if (e.altitude) {
    Append16(out, l.altitude + 768);
    Append8(out, l.temperature);
    Append16(out, l.ascent_feet);
  }
  if (e.power) {
    Append16(out, l.power);
    Append16(out, l.power_value);
    Append8(out, l.pedal_a);
    Append8(out, l.pedal_b);
  }
}

}  // namespace

Bytes EncodeFileExerciseB(const FileExercise& e) {
  const int32_t first = e.segments.empty() ? 1 : e.segments.front().interval;
  Bytes out;
  AppendFront(out, e, IntervalCode(first) | (e.rr_capable ? 0x08 : 0) | (e.incomplete ? 0x10 : 0));
  AppendSummary(out, e);

  std::array<Bytes, 3> data;
  int32_t interval = first;
  for (const FileSegment& segment : e.segments) {
    while (interval < segment.interval) {
      Bytes marker;
      AppendRecord(marker, e, FileSample{});
      data[0].insert(data[0].end(), marker.size(), 0xFF);
      interval = NextCoarser(interval, true);
    }
    for (const FileSample& s : segment.records)
      AppendRecord(data[0], e, s);
  }
  for (const int32_t ms : e.rr_ms)
    Append16(data[2], ms);
  AppendPagedData(out, data);
  for (auto lap = e.laps.rbegin(); lap != e.laps.rend(); ++lap)
    AppendLap(out, e, *lap);
  return out;
}

}  // namespace quibra::sim
