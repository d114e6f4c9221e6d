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

}  // namespace quibra::sim::file_layout

namespace quibra::sim {

Bytes EncodeFileExercise(const FileExercise& e) {
  return e.type == 34 || e.type == 38 ? EncodeFileExerciseB(e) : EncodeFileExerciseA(e);
}

}  // namespace quibra::sim
