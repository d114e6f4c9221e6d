#include "settings/logo_packing.h"

#include <array>
#include <iterator>

#include "protocol/catalogue.h"
#include "protocol/logo_layout.h"
#include "protocol/message_ids.h"
#include "protocol/message_image.h"
#include "protocol/seal.h"
#include "settings/image_bytes.h"
#include "settings/logo_outdoor.h"

namespace quibra::settings {
namespace {

// How a logo's columns go into the 9015 image.
enum class Packing : uint8_t {
  OneByte,          // one byte per column, 47 columns
  OneByteMirrored,  // the same, the rows first mirrored top to bottom
  TwoBytes,         // high byte, low byte per column, 47 columns
  ThreeBytes,       // bits 16..21, 8..15, 0..7 per column, 64 columns
  SlotThreeBytes,   // the slot and the column count first, then as ThreeBytes
  OutdoorTwoPart,   // two 9050 images (logo_outdoor.h)
};

struct PackingFormat {
  int32_t bytes_per_column;
  int32_t packed_columns;
  bool slot_header;
  bool mirrored;
};

// Indexed by Packing (the outdoor form has a file of its own).
constexpr PackingFormat kFormats[] = {
    {1, 47, false, false}, {1, 47, false, true}, {2, 47, false, false},
    {3, 64, false, false}, {3, 64, true, false},
};
static_assert(std::size(kFormats) == static_cast<size_t>(Packing::OutdoorTwoPart),
              "one format for every packing into the protocol::msg::kLogoWrite image");

struct LogoDisplay {
  int32_t type;
  int32_t rows;
  int32_t columns;
  Packing packing;
};

// Every type with a logo; any other type has none (0 rows, 0 columns).
constexpr LogoDisplay kDisplays[] = {
    {11, 8, 47, Packing::OneByte},         {12, 8, 47, Packing::OneByte},
    {13, 8, 47, Packing::OneByte},         {14, 8, 47, Packing::OneByte},
    {15, 8, 47, Packing::OneByte},         {16, 8, 44, Packing::OneByte},
    {17, 8, 44, Packing::OneByte},         {19, 15, 47, Packing::OutdoorTwoPart},
    {20, 15, 47, Packing::OutdoorTwoPart}, {21, 15, 47, Packing::OutdoorTwoPart},
    {22, 8, 47, Packing::OneByte},         {23, 8, 47, Packing::OneByte},
    {25, 16, 47, Packing::TwoBytes},       {26, 16, 47, Packing::TwoBytes},
    {27, 16, 47, Packing::TwoBytes},       {28, 8, 47, Packing::OneByte},
    {29, 8, 47, Packing::OneByteMirrored}, {30, 22, 64, Packing::ThreeBytes},
    {31, 8, 47, Packing::OneByteMirrored}, {32, 16, 47, Packing::TwoBytes},
    {33, 22, 64, Packing::SlotThreeBytes}, {34, 22, 64, Packing::SlotThreeBytes},
    {35, 22, 64, Packing::SlotThreeBytes}, {36, 22, 64, Packing::SlotThreeBytes},
    {37, 22, 64, Packing::SlotThreeBytes}, {38, 22, 64, Packing::SlotThreeBytes},
};

constexpr int32_t kFirstPayloadByte = 5;

const LogoDisplay* FindDisplay(int32_t type) {
  for (const LogoDisplay& display : kDisplays) {
    if (display.type == type) return &display;
  }
  return nullptr;
}

uint32_t RowMask(int32_t rows) {
  return rows >= 32 ? 0xFFFFFFFFu : (1u << rows) - 1u;
}

// The caller's columns as checked values; the columns a format packs beyond the display's (the
// 44-column units still fill 47 bytes) are blank.
using Columns = std::array<uint32_t, kMaxLogoColumns>;
Columns CopyColumns(const LogoDisplay& display, const int32_t* columns) {
  Columns copy{};
  for (int32_t c = 0; c < display.columns; ++c)
    copy[static_cast<size_t>(c)] = static_cast<uint32_t>(columns[c]);
  return copy;
}

void PackIntoLogoImage(const LogoDisplay& display, const Columns& columns, int32_t slot) {
  const PackingFormat& format = kFormats[static_cast<size_t>(display.packing)];
  const ImageWriter image(protocol::msg::kLogoWrite, display.type);
  int32_t at = kFirstPayloadByte;
  if (format.slot_header) {
    image.byte(at++, slot);
    image.byte(at++, format.packed_columns);
  }
  for (int32_t c = 0; c < format.packed_columns; ++c) {
    uint32_t value = columns[static_cast<size_t>(c)];
    // Mirrored on a copy: the caller's array is never changed.
    if (format.mirrored) value = MirrorRows(value, display.rows);
    for (int32_t b = format.bytes_per_column - 1; b >= 0; --b)
      image.byte(at++, static_cast<int32_t>((value >> (8 * b)) & 0xFF));
  }
}

}  // namespace

int32_t LogoRowCount(int32_t type) {
  const LogoDisplay* display = FindDisplay(type);
  return display != nullptr ? display->rows : 0;
}

int32_t LogoColumnCount(int32_t type) {
  const LogoDisplay* display = FindDisplay(type);
  return display != nullptr ? display->columns : 0;
}

bool IsOutdoorLogoType(int32_t type) {
  const LogoDisplay* display = FindDisplay(type);
  return display != nullptr && display->packing == Packing::OutdoorTwoPart;
}

bool LogoColumnsFit(int32_t type, const int32_t* columns) {
  const LogoDisplay* display = FindDisplay(type);
  if (display == nullptr || columns == nullptr) return false;
  const uint32_t mask = RowMask(display->rows);
  for (int32_t c = 0; c < display->columns; ++c) {
    // A negative value is out of range as well: as unsigned it exceeds every mask.
    if (static_cast<uint32_t>(columns[c]) > mask) return false;
  }
  return true;
}

uint32_t MirrorRows(uint32_t column, int32_t rows) {
  for (int32_t r = 0; r < rows / 2; ++r) {
    const int32_t s = rows - 1 - r;
    const uint32_t upper = (column >> r) & 1u;
    const uint32_t lower = (column >> s) & 1u;
    if (upper != lower) column ^= (1u << r) | (1u << s);
  }
  return column;
}

bool PrepareLogo(int32_t type, const int32_t* columns, int32_t slot, int32_t mode) {
  if (!LogoColumnsFit(type, columns)) return false;
  const LogoDisplay& display = *FindDisplay(type);
  const Columns copy = CopyColumns(display, columns);
  if (display.packing == Packing::OutdoorTwoPart) {
    PackOutdoorLogo(
        std::span<const uint32_t, kOutdoorLogoColumns>(copy.data(), kOutdoorLogoColumns));
    return true;
  }
  PackIntoLogoImage(display, copy, slot);
  protocol::SealMessageImage(protocol::msg::kLogoWrite, type, mode);
  return true;
}

std::vector<std::vector<uint8_t>> PreparedLogoImages(int32_t type) {
  std::vector<std::vector<uint8_t>> images;
  auto take = [&](int32_t id, int32_t param, int32_t length) {
    std::vector<uint8_t> bytes;
    for (int32_t i = 0; i < length; ++i)
      bytes.push_back(protocol::GetMessageByte(id, param, i));
    images.push_back(std::move(bytes));
  };
  if (IsOutdoorLogoType(type)) {
    for (const int32_t part : kOutdoorLogoParts)
      take(protocol::msg::kOutdoorLogoWrite, part,
           protocol::GetMessageLength(protocol::msg::kOutdoorLogoWrite, part,
                                      protocol::kFieldLength));
    return images;
  }
  take(protocol::msg::kLogoWrite, type, protocol::LogoLength(type) + 2);
  // The logo travels under the logo message and length of its type.
  images.back()[1] = static_cast<uint8_t>(protocol::MessageCode(protocol::LogoMessage(type)));
  images.back()[4] = static_cast<uint8_t>(protocol::LogoLength(type));
  return images;
}

}  // namespace quibra::settings
