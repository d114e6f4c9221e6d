// Byte access to the image of one settings message, and the small conversions every settings
// group shares: BCD bytes, nibble pairs, rounding, range rules and the 7-character names the
// older units keep in the device code of character table 0.
#pragma once

#include <cstddef>
#include <cstdint>

#include "codec/bcd.h"
#include "protocol/message_image.h"

namespace quibra::settings {

// Writes the image of a message from index 5 on (Prepare's side).
class ImageWriter {
 public:
  ImageWriter(int32_t id, int32_t param) : id_(id), param_(param) {}
  // Stores the low byte of the value.
  void byte(int32_t index, int32_t value) const {
    protocol::SetMessageByte(id_, param_, index, static_cast<uint8_t>(value & 0xFF));
  }
  void bcd(int32_t index, int32_t value) const { byte(index, codec::BinToBcd(value)); }
  void nibbles(int32_t index, int32_t high, int32_t low) const {
    byte(index, ((high & 0x0F) << 4) | (low & 0x0F));
  }
  int32_t id() const { return id_; }
  int32_t param() const { return param_; }

 private:
  int32_t id_;
  int32_t param_;
};

// Reads a received image, whose payload lies one index later than the written one.
class ImageReader {
 public:
  ImageReader(int32_t id, int32_t param) : id_(id), param_(param) {}
  int32_t byte(int32_t index) const { return protocol::GetMessageByte(id_, param_, index); }
  int32_t bcd(int32_t index) const { return codec::BcdToBin(byte(index)); }
  int32_t high(int32_t index) const { return byte(index) >> 4; }
  int32_t low(int32_t index) const { return byte(index) & 0x0F; }
  bool bit(int32_t index, int bit_number) const { return ((byte(index) >> bit_number) & 1) != 0; }

 private:
  int32_t id_;
  int32_t param_;
};

// Rounds as the units' conversions do: add one half, then drop the fraction.
constexpr int32_t RoundHalfUp(double value) {
  // A caller's value converted to another unit may leave the 32-bit range: it saturates, as the
  // range checks after it then replace it (a conversion outside the range would be undefined).
  const double rounded = value + 0.5;
  if (!(rounded > -2147483648.0)) return INT32_MIN;
  if (rounded >= 2147483648.0) return INT32_MAX;
  return static_cast<int32_t>(rounded);
}

constexpr bool IsFlag(int32_t value) {
  return value == 0 || value == 1;
}

constexpr bool InRange(int32_t value, int32_t low, int32_t high) {
  return value >= low && value <= high;
}

// A value kept when in range, else the fallback.
constexpr int32_t InRangeOr(int32_t value, int32_t low, int32_t high, int32_t fallback) {
  return InRange(value, low, high) ? value : fallback;
}

// Heart-rate limits given in percent of a base rate go to the unit as beats per minute.
constexpr int32_t PercentToHeartRate(int32_t percent, int32_t base) {
  return RoundHalfUp(static_cast<double>(percent) * base / 100.0);
}

// An upper and a lower heart-rate limit. In the percent mode both must lie in 50..100 and the
// base in 100..240, else the pair fails; otherwise a limit outside 30..240 takes its default.
// The lower limit must then lie below the upper one (or equal it, where allowed).
struct LimitRule {
  bool percent;
  int32_t base;
  int32_t upper_default;
  int32_t lower_default;
  bool equal_allowed;
};
inline bool CheckLimitPair(int32_t& upper, int32_t& lower, const LimitRule& rule) {
  if (rule.percent) {
    if (!InRange(rule.base, 100, 240) || !InRange(upper, 50, 100) || !InRange(lower, 50, 100)) {
      return false;
    }
  } else {
    upper = InRangeOr(upper, 30, 240, rule.upper_default);
    lower = InRangeOr(lower, 30, 240, rule.lower_default);
  }
  return rule.equal_allowed ? lower <= upper : lower < upper;
}

// Four decimal digits in two bytes: the tens and units, then the thousands and hundreds, each
// pair as BCD (tens or thousands in the high nibble).
inline void PackFourDigits(const ImageWriter& image, int32_t index, int32_t value) {
  image.bcd(index, value % 100);
  image.bcd(index + 1, value / 100 % 100);
}
inline int32_t UnpackFourDigits(const ImageReader& image, int32_t index) {
  return image.bcd(index + 1) * 100 + image.bcd(index);
}

// Up to six decimal digits in three BCD bytes, the lowest pair first.
inline void PackSixDigits(const ImageWriter& image, int32_t index, int32_t value) {
  for (int32_t i = 0; i < 3; ++i, value /= 100)
    image.bcd(index + i, value % 100);
}
inline int32_t UnpackSixDigits(const ImageReader& image, int32_t index) {
  return (image.bcd(index + 2) * 100 + image.bcd(index + 1)) * 100 + image.bcd(index);
}

// Durations go as a seconds byte and a whole-minutes byte, both BCD.
inline void PackMinutesSeconds(const ImageWriter& image, int32_t index, int32_t seconds) {
  image.bcd(index, seconds % 60);
  image.bcd(index + 1, seconds / 60);
}
inline int32_t UnpackMinutesSeconds(const ImageReader& image, int32_t index) {
  return image.bcd(index + 1) * 60 + image.bcd(index);
}

// The units keep 7 characters of a name.
inline constexpr size_t kUnitNameChars = 7;

// True when every character of the name, up to its terminator or the field's end, is in
// character table 0. The field need not be terminated.
bool NameFitsTable0(const char* name, size_t field_size);
// The same for any character table.
bool TextFitsTable(const char* text, size_t field_size, int32_t table);

// Zeroes every character after the first zero among the first `count` (7 for profile and set
// names).
void ClearAfterTerminator(char* name, size_t count = kUnitNameChars);

// Packs the first `count` bytes of the name at index first.. in table 0's device code; a
// character the table lacks (a zero among them) becomes the device space.
void PackUnitName(const ImageWriter& image, int32_t first, const char* name,
                  size_t count = kUnitNameChars);

// Unpacks `count` device codes into name[0..count-1] (a code the table lacks becomes
// `unknown`), then clears the trailing spaces from the last character down to the second.
void UnpackUnitName(const ImageReader& image, int32_t first, char* name,
                    size_t count = kUnitNameChars, char unknown = '\0');

}  // namespace quibra::settings
