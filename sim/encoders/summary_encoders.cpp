#include "sim/encoders/summary_encoders.h"

#include <algorithm>

namespace quibra::sim {
namespace {

// Writes fields at 1-based image positions from a base position.
class Image {
 public:
  Image(Bytes& bytes, int32_t base) : bytes_(bytes), base_(base) {}
  void byte(int32_t offset, int32_t v) { PutAt(bytes_, base_ + offset, v); }
  void word(int32_t offset, int32_t v) {
    byte(offset, v);
    byte(offset + 1, v >> 8);
  }
  void triple(int32_t offset, int32_t seconds) {
    grow(offset + 2);
    PutTriple(bytes_, index(offset), seconds);
  }
  void packed_time(int32_t offset, int32_t tenths) {
    grow(offset + 2);
    PutPackedTime(bytes_, index(offset), tenths, Hours::kBinary);
  }

 private:
  size_t index(int32_t offset) const { return static_cast<size_t>(base_ + offset - 1); }
  void grow(int32_t offset) { bytes_.resize(std::max(bytes_.size(), index(offset) + 1), 0); }
  Bytes& bytes_;
  int32_t base_;
};

// Type 30.
constexpr int32_t kT30LapCount = 128;
constexpr int32_t kT30FirstLap = 135;
constexpr int32_t kT30End = 134;  // the summary ends here

// Type 31.
constexpr int32_t kT31Count = 8;
constexpr int32_t kT31First = 103;
constexpr int32_t kT31Fixed = 44;
constexpr int32_t kT31LapSize = 12;
constexpr int32_t kT31FirstLap = 45;

// Type 32.
constexpr int32_t kT32First = 359;
constexpr int32_t kT32Size = 37;

}  // namespace

Bytes Type30Image(const Type30Exercise& x, ImageKind kind, uint8_t product_code, uint8_t version) {
  Bytes bytes;
  Image at(bytes, 0);
  at.byte(kT30End, 0);
  PutIdentity(bytes, kind, product_code, version);
  at.byte(31, (x.time_limits ? 1 : 0) | (x.option131 << 1) | (x.speed ? 0x08 : 0) |
                  ((x.option133 - 1) << 4));
  at.byte(33, (x.day & 31) | ((x.month & 7) << 5));
  at.byte(34, ((x.year - 2000) << 1) | (x.month >> 3));
  at.triple(35, x.hour * 3600 + x.minute * 60 + x.second);
  at.packed_time(38, x.duration_tenths);
  at.byte(41, x.byte36);
  at.byte(42, x.byte37);
  at.byte(43, x.byte134);
  at.word(44, x.total);
  for (size_t i = 0; i < x.words.size(); ++i)
    at.word(46 + 2 * static_cast<int32_t>(i), x.words[i]);
  for (size_t i = 0; i < x.zone_seconds.size(); ++i)
    at.triple(62 + 3 * static_cast<int32_t>(i), x.zone_seconds[i]);
  for (size_t i = 0; i < x.more_seconds.size(); ++i)
    at.triple(89 + 3 * static_cast<int32_t>(i), x.more_seconds[i]);
  for (size_t i = 0; i < x.bytes.size(); ++i)
    at.byte(98 + static_cast<int32_t>(i), x.bytes[i]);
  for (size_t i = 0; i < x.late_seconds.size(); ++i)
    at.triple(108 + 3 * static_cast<int32_t>(i), x.late_seconds[i]);
  at.word(123, x.distance);
  at.word(125, x.pace);
  at.word(133, x.value135);
  const int32_t count = static_cast<int32_t>(x.laps.size());
  at.byte(kT30LapCount, count);
  // The unit keeps the newest lap first.
  const int32_t size = x.speed ? 12 : 6;
  for (int32_t k = 0; k < count; ++k) {
    const Type30Lap& lap = x.laps[static_cast<size_t>(k)];
    Image rec(bytes, kT30FirstLap + (count - 1 - k) * size);
    rec.packed_time(0, lap.tenths);
    rec.byte(3, lap.heart_rate);
    rec.byte(4, lap.average);
    rec.byte(5, lap.maximum);
    if (x.speed) {
      rec.word(6, lap.value);
      rec.word(8, lap.distance);
      rec.word(10, lap.speed);
    }
  }
  return bytes;
}

Bytes Type31Image(const std::vector<Type31Exercise>& exercises, ImageKind kind,
                  uint8_t product_code, uint8_t version) {
  Bytes bytes;
  PutIdentity(bytes, kind, product_code, version);
  PutAt(bytes, kT31Count, static_cast<int32_t>(exercises.size()) << 4);
  int32_t base = kT31First;
  for (const Type31Exercise& x : exercises) {
    // Byte 0 of an exercise is not used: it is the last byte of the laps before it.
    Image at(bytes, base);
    at.byte(kT31Fixed - 1, 0);
    at.byte(1, x.option131 | (x.option133 ? 0x04 : 0) | (x.imperial ? 0x08 : 0));
    const int32_t seconds = x.duration_hundredths / 100;
    at.byte(2, Bcd(x.duration_hundredths % 100));
    at.triple(3, seconds);
    at.byte(6, x.byte36);
    at.byte(7, x.byte37);
    for (size_t i = 0; i < x.zone_seconds.size(); ++i)
      at.triple(8 + 3 * static_cast<int32_t>(i), x.zone_seconds[i]);
    at.word(17, x.total);
    for (size_t i = 0; i < x.words.size(); ++i)
      at.word(19 + 2 * static_cast<int32_t>(i), x.words[i]);
    at.byte(25, x.average_cadence);
    at.byte(26, x.maximum_cadence);
    at.byte(31, static_cast<int32_t>(x.laps.size()));
    at.word(33, (x.day & 31) | ((x.month & 15) << 5) | ((x.year % 100) << 9));
    at.triple(35, x.hour * 3600 + x.minute * 60 + x.second);
    at.byte(38, x.byte134);
    at.byte(39, x.limit_low);
    at.byte(40, x.limit_high);
    for (size_t i = 0; i < x.laps.size(); ++i) {
      const Type31Lap& lap = x.laps[i];
      Image rec(bytes, base + kT31FirstLap + kT31LapSize * static_cast<int32_t>(i));
      rec.byte(0, lap.kind);
      rec.packed_time(1, lap.tenths);
      rec.byte(4, lap.heart_rate);
      rec.byte(5, lap.average);
      rec.word(6, lap.speed);
      rec.byte(8, lap.cadence);
      rec.byte(9, lap.average_cadence);
      rec.word(10, lap.distance);
    }
    base += kT31Fixed + kT31LapSize * static_cast<int32_t>(x.laps.size());
  }
  return bytes;
}

Bytes Type32Image(const std::vector<Type32Exercise>& exercises, ImageKind kind,
                  uint8_t product_code, uint8_t version) {
  Bytes bytes;
  PutIdentity(bytes, kind, product_code, version);
  PutAt(bytes, kT32First - 1, 0);
  for (size_t n = 0; n < exercises.size(); ++n) {
    const Type32Exercise& x = exercises[n];
    Image at(bytes, kT32First + kT32Size * static_cast<int32_t>(n));
    at.byte(0, x.options);
    at.byte(1, x.day);
    at.byte(2, x.month);
    at.byte(3, x.year % 100);
    at.triple(4, x.start_seconds);
    at.triple(7, x.duration_seconds);
    at.triple(10, x.seconds154);
    for (size_t i = 0; i < x.late_seconds.size(); ++i)
      at.triple(13 + 3 * static_cast<int32_t>(i), x.late_seconds[i]);
    for (size_t i = 0; i < x.bytes.size(); ++i)
      at.byte(22 + static_cast<int32_t>(i), x.bytes[i]);
    at.word(26, x.total);
    at.byte(28, x.byte108);
    at.word(29, x.distance);
    at.word(31, x.value44);
    at.word(33, x.value43);
    at.byte(35, x.cadence104);
    at.byte(36, x.cadence103);
  }
  return bytes;
}

}  // namespace quibra::sim
