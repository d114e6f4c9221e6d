#include "protocol/logo_layout.h"

#include "protocol/message_ids.h"

namespace quibra::protocol {
namespace {

struct LogoRow {
  int32_t first_type;
  int32_t last_type;
  int32_t length;
  int32_t message;
};

// Types not listed take a 52-byte logo under 9015.
constexpr LogoRow kLogoRows[] = {
    {19, 21, 53, msg::kOutdoorLogoWrite},  // outdoor units
    {25, 27, 99, msg::kLogoWrite},        {28, 29, 52, msg::kIdentify},
    {30, 30, 197, msg::kLogoWrite},       {31, 31, 52, msg::kIdentify},
    {32, 32, 99, msg::kIdentify},         {33, 38, 199, msg::kLogoWrite},
};
constexpr int32_t kDefaultLogoLength = 52;

const LogoRow* find(int32_t type) {
  for (const LogoRow& row : kLogoRows) {
    if (type >= row.first_type && type <= row.last_type) return &row;
  }
  return nullptr;
}

}  // namespace

int32_t LogoLength(int32_t type) {
  const LogoRow* row = find(type);
  return row != nullptr ? row->length : kDefaultLogoLength;
}

int32_t LogoMessage(int32_t type) {
  const LogoRow* row = find(type);
  return row != nullptr ? row->message : msg::kLogoWrite;
}

}  // namespace quibra::protocol
