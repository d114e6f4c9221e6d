// The batch requests 8000..8008: one request reads or writes a run of messages in a row. The
// rows, the requests' row ranges and which settings rows a unit type takes are data here.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace quibra::protocol {

inline constexpr int kBatchRows = 121;
inline constexpr int kLastSettingsRow = 75;  // rows 1..75 write settings, 76..121 read

struct BatchRow {
  int16_t message;
  int8_t param;
};

// Row 1..121; rows outside give message 0.
BatchRow GetBatchRow(int row);

struct BatchRequest {
  int32_t request;
  int32_t first_message;
  int first_row;
  int last_row;
};

// The range of a batch request, or nothing for ids that are not one (8002 is not).
std::optional<BatchRequest> FindBatchRequest(int32_t request, bool irda_sockets);

// Which settings rows (1..75) a unit type takes; all false for types without settings rows.
std::array<bool, kLastSettingsRow + 1> SelectSettingsRows(int32_t type, bool irda_sockets);

// The unit type of a device code from the identification answer, or nothing when unknown.
std::optional<int32_t> UnitTypeOfDeviceCode(int32_t code);

}  // namespace quibra::protocol
