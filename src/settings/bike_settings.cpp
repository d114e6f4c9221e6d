#include "settings/bike_settings.h"

#include <cstring>

#include "platform/registry.h"
#include "protocol/catalogue.h"
#include "protocol/message_ids.h"
#include "protocol/seal.h"
#include "settings/image_bytes.h"
#include "settings/transfer_pattern.h"
#include "sound/pipcast.h"

namespace quibra::settings {
namespace {

// Both images are reached with parameter 1; neither has sub-images.
constexpr int32_t kImageParam = 1;
constexpr int32_t kReadShift = 1;

// The messages carry the first two bikes of the record; the unit keeps 4 name characters.
constexpr int32_t kMessageBikes = 2;
constexpr size_t kBikeNameChars = 4;
// A device code that table 0 lacks reads as this character.
constexpr char kUnknownNameChar = 10;

using BikeField = int32_t BikeEntry::*;

constexpr BikeField kOptions[] = {&BikeEntry::BikeOption0, &BikeEntry::BikeOption1,
                                  &BikeEntry::BikeOption2, &BikeEntry::BikeOption3};

struct Ranged {
  BikeField field;
  int32_t low;
  int32_t high;
  int32_t fallback;
};
constexpr Ranged kWheelSize = {&BikeEntry::WheelSize, 1000, 3999, 2000};
constexpr Ranged kSettings[] = {{&BikeEntry::BikeSettingA, 200, 399, 300},
                                {&BikeEntry::BikeSettingB, 1000, 1999, 1400},
                                {&BikeEntry::BikeSettingC, 300, 599, 420}};
constexpr int32_t kLastSelection = 3;

// The numbers only the 9108 layout carries. They have no defaults: a value that does not fit
// its bytes fails Prepare rather than go to the unit cut short.
constexpr int32_t kLargestTotal = 999999;
constexpr int32_t kLargestValue16 = 0xFFFF;

// The 9019 image. Per bike b, the first group lies at its index + 7b, the second at its index
// + 5b; the 9020 image carries every byte one index later.
enum Byte9019 : int32_t {
  kOptionByte = 5,  // selection x 16 + the four options in bits 0..3
  kNameByte = 6,
  kWheelByte = 10,  // four digits
  kSettingCByte = 19,
  kMixedByte = 20,     // high nibble A's units, low nibble C's hundreds
  kSettingAByte = 21,  // high nibble A's hundreds, low nibble A's tens
  kSettingBByte = 22,  // four digits
  kSelectionByte = 29,
};
constexpr int32_t kFirstGroupStride = 7;
constexpr int32_t kSecondGroupStride = 5;

// The 9108 image: a flag byte, then per bike the wheel size (2 bytes, low first), the total
// (3 BCD bytes) and the 16-bit value (2 bytes, low first).
enum Byte9108 : int32_t {
  kFlagByte = 5,
  kWheel9108 = 6,
  kTotal9108 = 10,
  kValue9108 = 16,
};
constexpr int kSelectionTwoBit = 0;
constexpr int kSendTwiceBit = 7;
struct BikeBits {
  int option0;
  int option2;
  int value16;
};
constexpr BikeBits kBikeBits[] = {{1, 2, 5}, {3, 4, 6}};

// A selected bike of 2 is the only one the 9108 layout can tell from the first.
constexpr int32_t kSelectionTwo = 2;

constexpr uint32_t kSendTwicePauseMs = 1000;

struct ResetBike {
  const char* name;
  int32_t wheel;
};
constexpr ResetBike kResetBikes[] = {{"Road", 2250}, {"MTB", 2100}, {"Bike", 2100}};
constexpr int32_t kResetSettingA = 304;
constexpr int32_t kResetSettingB = 1473;
constexpr int32_t kResetSettingC = 420;

bool Is9108(const BikeSettings& r) {
  return r.LayoutType == kBikeLayout9108;
}

int32_t WriteMessageOf(const BikeSettings& r) {
  return Is9108(r) ? protocol::msg::kBikesWriteType32 : protocol::msg::kBikesWrite;
}

bool CheckBike(BikeEntry& bike) {
  if (!NameFitsTable0(bike.BikeName, sizeof bike.BikeName)) return false;
  ClearAfterTerminator(bike.BikeName, kBikeNameChars);
  bike.*kWheelSize.field =
      InRangeOr(bike.*kWheelSize.field, kWheelSize.low, kWheelSize.high, kWheelSize.fallback);
  for (BikeField option : kOptions) {
    if (!IsFlag(bike.*option)) return false;
  }
  for (const Ranged& s : kSettings)
    bike.*s.field = InRangeOr(bike.*s.field, s.low, s.high, s.fallback);
  return true;
}

// The checks in order; a failing one returns false at once, leaving the changes made so far.
bool CheckAndComplete(BikeSettings& r) {
  if (r.Size == 0) r.Size = kBikeSettingsSize;
  r.BikeSelection = InRangeOr(r.BikeSelection, 0, kLastSelection, 0);
  for (int32_t b = 0; b < kMessageBikes; ++b) {
    if (!CheckBike(r.Bikes[b])) return false;
  }
  if (Is9108(r)) {
    for (int32_t b = 0; b < kMessageBikes; ++b) {
      if (!InRange(r.Bikes[b].BikeTotal, 0, kLargestTotal) ||
          !InRange(r.Bikes[b].BikeValue16, 0, kLargestValue16)) {
        return false;
      }
    }
  }
  return true;
}

// Zeroes the payload and checksum of a write image before it is packed.
void ClearImage(int32_t message) {
  const int32_t length = protocol::GetMessageLength(message, kImageParam, protocol::kFieldLength);
  for (int32_t i = 5; i < length; ++i)
    protocol::SetMessageByte(message, kImageParam, i, 0);
}

void Pack9019(const BikeSettings& r) {
  const ImageWriter image(protocol::msg::kBikesWrite, kImageParam);
  for (int32_t b = 0; b < kMessageBikes; ++b) {
    const BikeEntry& bike = r.Bikes[b];
    const int32_t first = kFirstGroupStride * b;
    const int32_t second = kSecondGroupStride * b;
    image.byte(kOptionByte + first, r.BikeSelection * 16 + bike.BikeOption0 + bike.BikeOption1 * 2 +
                                        bike.BikeOption2 * 4 + bike.BikeOption3 * 8);
    PackUnitName(image, kNameByte + first, bike.BikeName, kBikeNameChars);
    PackFourDigits(image, kWheelByte + first, bike.WheelSize);
    const int32_t a = bike.BikeSettingA;
    const int32_t c = bike.BikeSettingC;
    image.bcd(kSettingCByte + second, c % 100);
    image.nibbles(kMixedByte + second, a % 10, c / 100 % 10);
    image.nibbles(kSettingAByte + second, a / 100 % 10, a / 10 % 10);
    PackFourDigits(image, kSettingBByte + second, bike.BikeSettingB);
  }
  image.byte(kSelectionByte, r.BikeSelection);
}

void Pack9108(const BikeSettings& r) {
  const ImageWriter image(protocol::msg::kBikesWriteType32, kImageParam);
  int32_t flags = (r.BikeSelection == kSelectionTwo ? 1 : 0) << kSelectionTwoBit;
  flags |= (r.SendTwice != 0 ? 1 : 0) << kSendTwiceBit;
  for (int32_t b = 0; b < kMessageBikes; ++b) {
    const BikeEntry& bike = r.Bikes[b];
    flags |= (bike.BikeOption0 << kBikeBits[b].option0) |
             (bike.BikeOption2 << kBikeBits[b].option2) |
             ((bike.BikeValue16 != 0 ? 1 : 0) << kBikeBits[b].value16);
    image.byte(kWheel9108 + 2 * b, bike.WheelSize);
    image.byte(kWheel9108 + 2 * b + 1, bike.WheelSize >> 8);
    PackSixDigits(image, kTotal9108 + 3 * b, bike.BikeTotal);
    image.byte(kValue9108 + 2 * b, bike.BikeValue16);
    image.byte(kValue9108 + 2 * b + 1, bike.BikeValue16 >> 8);
  }
  image.byte(kFlagByte, flags);
}

constexpr int32_t ReadAt(int32_t write_index) {
  return write_index + kReadShift;
}

// The 9108 image as a data file gave it (one index later than written). The unit does not give
// this layout back, so only the data file brings it; its fields are all the record gets.
void UnPack9108(BikeSettings& r) {
  std::memset(&r, 0, sizeof r);
  r.Size = kBikeSettingsSize;
  r.LayoutType = kBikeLayout9108;
  const ImageReader image(protocol::msg::kBikesWriteType32, kImageParam);
  const int32_t flags = image.byte(ReadAt(kFlagByte));
  r.BikeSelection = ((flags >> kSelectionTwoBit) & 1) != 0 ? kSelectionTwo : 0;
  r.SendTwice = (flags >> kSendTwiceBit) & 1;
  for (int32_t b = 0; b < kMessageBikes; ++b) {
    BikeEntry& bike = r.Bikes[b];
    bike.BikeOption0 = (flags >> kBikeBits[b].option0) & 1;
    bike.BikeOption2 = (flags >> kBikeBits[b].option2) & 1;
    bike.WheelSize =
        image.byte(ReadAt(kWheel9108 + 2 * b)) | image.byte(ReadAt(kWheel9108 + 2 * b + 1)) << 8;
    bike.BikeTotal = UnpackSixDigits(image, ReadAt(kTotal9108 + 3 * b));
    bike.BikeValue16 =
        image.byte(ReadAt(kValue9108 + 2 * b)) | image.byte(ReadAt(kValue9108 + 2 * b + 1)) << 8;
  }
}

// By sound, the 9108 layout with SendTwice set goes once more after a pause, with the flag
// clear in the image; the record keeps the flag.
int32_t SendSecondTime(CommParams& params, BikeSettings& r, Delivery delivery) {
  const bool by_sound = delivery == Delivery::SoundOrDataFile && params.WriteToDataFile == 0;
  if (!by_sound || !Is9108(r) || r.SendTwice == 0) return 1;
  platform::clock().sleep_ms(kSendTwicePauseMs);
  r.SendTwice = 0;
  const bool prepared = PrepareBikeSettings(r);
  r.SendTwice = 1;
  if (!prepared) return 0;
  return sound::SendBySoundOrDataFile(params, protocol::msg::kBikesWriteType32, 0) != 0 ? 1 : 0;
}

}  // namespace

bool PrepareBikeSettings(BikeSettings& record) {
  if (!CheckAndComplete(record)) return false;
  const int32_t message = WriteMessageOf(record);
  ClearImage(message);
  if (Is9108(record)) {
    Pack9108(record);
  } else {
    Pack9019(record);
  }
  protocol::SealMessageImage(message, 0, 0);
  return true;
}

void UnPackBikeSettings(BikeSettings& r) {
  std::memset(&r, 0, sizeof r);
  r.Size = kBikeSettingsSize;
  const ImageReader image(protocol::msg::kBikesRead, kImageParam);
  for (int32_t b = 0; b < kMessageBikes; ++b) {
    BikeEntry& bike = r.Bikes[b];
    const int32_t first = kFirstGroupStride * b;
    const int32_t second = kSecondGroupStride * b;
    const int32_t options = image.byte(ReadAt(kOptionByte + first));
    bike.BikeOption0 = options & 1;
    bike.BikeOption1 = (options >> 1) & 1;
    bike.BikeOption2 = (options >> 2) & 1;
    bike.BikeOption3 = (options & 0x0F) > 7 ? 1 : 0;
    UnpackUnitName(image, ReadAt(kNameByte + first), bike.BikeName, kBikeNameChars,
                   kUnknownNameChar);
    bike.WheelSize = UnpackFourDigits(image, ReadAt(kWheelByte + first));
    const int32_t mixed = ReadAt(kMixedByte + second);
    const int32_t a_digits = ReadAt(kSettingAByte + second);
    bike.BikeSettingC = image.low(mixed) * 100 + image.bcd(ReadAt(kSettingCByte + second));
    bike.BikeSettingA = image.high(a_digits) * 100 + image.low(a_digits) * 10 + image.high(mixed);
    bike.BikeSettingB = UnpackFourDigits(image, ReadAt(kSettingBByte + second));
  }
  r.BikeSelection = image.byte(ReadAt(kSelectionByte));
}

void ResetBikeSettings(BikeSettings& r) {
  std::memset(&r, 0, sizeof r);
  r.Size = kBikeSettingsSize;
  for (size_t b = 0; b < std::size(kResetBikes); ++b) {
    BikeEntry& bike = r.Bikes[b];
    std::memcpy(bike.BikeName, kResetBikes[b].name, std::strlen(kResetBikes[b].name));
    bike.WheelSize = kResetBikes[b].wheel;
    bike.BikeOption1 = 1;
    bike.BikeSettingA = kResetSettingA;
    bike.BikeSettingB = kResetSettingB;
    bike.BikeSettingC = kResetSettingC;
  }
}

int32_t SendBikeSettings(CommParams& params, BikeSettings& record) {
  SendSteps steps;
  steps.write_message = WriteMessageOf(record);
  steps.prepare = [&] { return PrepareBikeSettings(record); };
  // The loaded image is read back by the layout it was asked for, then checked again.
  steps.unpack_loaded = [&] {
    if (steps.write_message == protocol::msg::kBikesWriteType32) {
      UnPack9108(record);
    } else {
      UnPackBikeSettings(record);
    }
    return CheckAndComplete(record) ? 1 : 0;
  };
  steps.after_delivery = [&](Delivery delivery) {
    return SendSecondTime(params, record, delivery);
  };
  return SendSettings(params, steps);
}

int32_t ReadBikeSettings(CommParams& params, BikeSettings& record) {
  return ReadSettings(params, protocol::msg::kBikesRead, 0, [&] { UnPackBikeSettings(record); });
}

}  // namespace quibra::settings
