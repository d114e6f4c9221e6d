// What the file layouts A and B share: the bytes in front of the header, the fixed header, the
// zone group that ends every summary, and the paged data area.
#include <algorithm>
#include <cmath>

#include "codec/charset.h"
#include "sim/encoders/prvc_file_encoder.h"

namespace quibra::sim::file_layout {
namespace {

constexpr int32_t kNewerUnitTable = 5;
constexpr int32_t kNameLength = 10;
constexpr size_t kPagePayload = 255;
constexpr size_t kHeaderEnd = 52;  // the summary starts at position 53

int32_t IntervalCode(std::span<const int32_t> intervals, int32_t interval) {
  const auto it = std::find(intervals.begin(), intervals.end(), interval);
  return it == intervals.end() ? 0 : static_cast<int32_t>(it - intervals.begin());
}

}  // namespace

int32_t NextCoarser(int32_t current, bool layout_b) {
  if (current == 1) return 5;
  if (current == 2 && layout_b) return 60;
  return current < 15 ? 15 : 60;
}

void Append8(Bytes& out, int32_t v) {
  out.push_back(static_cast<uint8_t>(v & 0xFF));
}

void Append16(Bytes& out, int32_t v) {
  Append8(out, v);
  Append8(out, v >> 8);
}

void AppendDistance(Bytes& out, int32_t quarters) {
  Append8(out, ((quarters >> 2) & 63) << 2 | (quarters & 3));
  Append8(out, (quarters >> 8) & 0xFF);
  Append8(out, (quarters >> 16) & 0xFF);
}

void AppendFront(Bytes& out, const FileExercise& e, int32_t interval_byte) {
  out.assign(kHeaderEnd, 0);
  out[2] = e.product_code;
  out[4] = static_cast<uint8_t>(e.version);
  for (int32_t i = 0; i < kNameLength; ++i) {
    const int32_t ch = i < static_cast<int32_t>(e.name.size()) ? e.name[i] : ' ';
    out[5 + i] =
        static_cast<uint8_t>(codec::CharToDeviceCode(ch, codec::kDeviceSpace, kNewerUnitTable));
  }
  Put16(out, 15, e.header_value);
  const bool cadence = e.cadence && !e.extra;
  Put8(out, 18,
       (e.altitude ? 0x01 : 0) | (cadence ? 0x02 : 0) | (e.power ? 0x04 : 0) |
           (e.speed ? 0x08 : 0) | (e.extra ? 0x10 : 0) | (e.trip ? 0x80 : 0));
  Put8(out, 19, interval_byte);
  Put8(out, 20, e.extra_kind);
  Put8(out, 21, ((e.month & 7) << 5) | e.day);
  Put8(out, 22, ((e.year - 2000) << 1) | (e.month >> 3));
  PutTriple(out, 23, e.start_seconds);
  PutPackedTime(out, 26, e.duration_tenths, Hours::kBinary);
  for (size_t i = 0; i < 3; ++i)
    Put8(out, 29 + i, e.copied[i]);
  Put16(out, 32, e.total);
  Put8(out, 36, e.rest_hr);
  Put8(out, 37, e.vo2max);
  Put8(out, 40, e.temperature);
  Put8(out, 46, static_cast<int32_t>(e.laps.size()));
}

void AppendZoneGroup(Bytes& out, const FileExercise& e) {
  Append8(out, 0);
  for (const int32_t v : e.bytes)
    Append8(out, v);
  for (const int32_t seconds : e.zone_seconds) {
    const size_t at = out.size();
    out.resize(at + 3);
    PutTriple(out, at, seconds);
  }
}

void AppendAltitudeSummary(Bytes& out, const FileExercise& e) {
  for (const int32_t a : e.altitudes)
    Append16(out, a + 768);
  for (const int32_t t : e.temperatures)
    Append8(out, t);
  Append16(out, e.ascent_feet);
  Append16(out, e.descent_feet);
}

void AppendRecord(Bytes& out, const FileExercise& e, const FileSample& s, bool wide_speed,
                  bool distance) {
  if (!e.rr_capable) Append8(out, s.heart_rate);
  if (e.altitude) Append16(out, static_cast<int32_t>(std::lround(s.altitude / 0.3048)));
  if (e.speed) {
    if (wide_speed) {
      Append16(out, static_cast<int32_t>(std::lround(s.speed * 1.6)));
    } else {
      Append8(out, s.speed / 5);
    }
    if (distance) Append16(out, s.distance);
  }
  if (e.cadence && !e.extra) Append8(out, s.cadence);
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

void AppendLap(Bytes& out, const FileExercise& e, const FileLap& l, int32_t ticks,
               const LapShape& shape) {
  const size_t at = out.size();
  out.resize(at + 3);
  PutPackedTime(out, at, ticks, Hours::kBinary);
  if (l.second_kind) out[at + 2] |= 0x80;
  Append8(out, l.heart_rate);
  Append8(out, l.average);
  Append8(out, l.maximum);
  if (e.speed) {
    Append16(out, l.speed);
    Append16(out, l.average_speed);
    AppendDistance(out, l.distance_quarters);
    if (shape.speed_cadence) {
      Append16(out, l.cadence_value);
      Append8(out, l.cadence);
      Append8(out, l.average_cadence);
    }
  }
  if (e.cadence && !e.extra && !shape.speed_cadence) {
    Append8(out, l.cadence);
    Append8(out, l.average_cadence);
  }
  if (e.altitude) {
    Append16(out, l.altitude + 768);
    if (shape.temperature) Append8(out, l.temperature);
    Append16(out, l.ascent_feet);
    if (shape.descent) Append16(out, l.descent_feet);
  }
  if (e.power && shape.power) {
    Append16(out, l.power);
    Append16(out, l.power_value);
    out.resize(out.size() + shape.power_gap, 0);
    Append8(out, l.pedal_a);
    Append8(out, l.pedal_b);
  }
}

void AppendPagedData(Bytes& out, const std::array<Bytes, 3>& data) {
  std::array<size_t, 3> pages{};
  for (size_t k = 0; k < 3; ++k) {
    pages[k] = (data[k].size() + kPagePayload - 1) / kPagePayload;
    Append16(out, static_cast<int32_t>(pages[k]));
  }
  for (size_t k = 0; k < 3; ++k) {
    Append8(out, pages[k] == 0
                     ? 0
                     : static_cast<int32_t>(data[k].size() - (pages[k] - 1) * kPagePayload));
  }
  for (size_t k = 0; k < 3; ++k) {
    for (size_t p = 0; p < pages[k]; ++p) {
      Append8(out, static_cast<int32_t>(k));
      const size_t from = p * kPagePayload;
      const size_t to = std::min(data[k].size(), from + kPagePayload);
      out.insert(out.end(), data[k].begin() + static_cast<std::ptrdiff_t>(from),
                 data[k].begin() + static_cast<std::ptrdiff_t>(to));
      out.resize(out.size() + kPagePayload - (to - from), 0);
    }
  }
}

Bytes EncodeFile(const FileExercise& e, const LayoutParts& parts) {
  const int32_t first = e.segments.empty() ? 1 : e.segments.front().interval;
  Bytes out;
  AppendFront(out, e,
              IntervalCode(parts.intervals, first) | (e.rr_capable ? parts.rr_flag : 0) |
                  (e.incomplete ? parts.incomplete_flag : 0));
  parts.summary(out, e);

  std::array<Bytes, 3> data;
  int32_t interval = first;
  for (const FileSegment& segment : e.segments) {
    while (interval < segment.interval) {
      // A marker is a record of the current interval's size, all bytes 0xFF.
      Bytes marker;
      parts.record(marker, e, FileSample{}, interval);
      data[0].insert(data[0].end(), marker.size(), 0xFF);
      interval = NextCoarser(interval, parts.layout_b);
    }
    for (const FileSample& s : segment.records)
      parts.record(data[0], e, s, interval);
  }
  for (const int32_t ms : e.rr_ms)
    Append16(data[2], ms);
  AppendPagedData(out, data);
  for (auto lap = e.laps.rbegin(); lap != e.laps.rend(); ++lap)
    parts.lap(out, e, *lap);
  return out;
}

}  // namespace quibra::sim::file_layout

namespace quibra::sim {

Bytes EncodeFileExercise(const FileExercise& e) {
  return e.type == 34 || e.type == 38 ? EncodeFileExerciseB(e) : EncodeFileExerciseA(e);
}

}  // namespace quibra::sim
