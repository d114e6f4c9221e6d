// The service parameters of a unit's clock and display: the default hour mode (block 42), the
// clock's time correction (block 43) and the LCD contrast (block 44). Where they go depends on
// the unit type: a block write (9007) for the oldest units, a paged block write (9035), whose
// page byte depends on the unit family, for types 19..21, 28..31 and 41, and a direct memory
// write (9089) for the running and cycling units, which reports the outcome in a message box.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace quibra::settings {

// The captions of the message boxes that report a direct memory write: the name of the export
// that asked for it, as applications of these units show it.
inline constexpr const char* kHourModeCaption = "fnQuibra_SetDefaultHourModeEx";
inline constexpr const char* kTimeCorrectionCaption = "fnQuibra_SetTimeCorrectionValueEx";
inline constexpr const char* kContrastCaption = "fnQuibra_SetLCDContrastEx";
inline constexpr const char* kFactoryDataCaption = "fnQuibra_WriteFactoryEEPROMDataPRVCeq";

// Each returns 1 / 0; an argument out of range gives 0 with nothing sent. With the factory
// flag the factory-default command follows the write (after 750 ms, or the given delay for the
// time correction; a delay of 0 means 750) and its result is returned.
int32_t SetDefaultHourMode(int32_t link_type, int32_t mode, int32_t variant, int32_t monitor_type,
                           int32_t factory_defaults);
int32_t SetTimeCorrectionValue(int32_t link_type, int32_t value, int32_t monitor_type,
                               int32_t factory_defaults, int32_t delay_ms);
int32_t SetLCDContrast(int32_t link_type, int32_t level, int32_t monitor_type,
                       int32_t factory_defaults);

// Writes count bytes into the factory data area of a running or cycling unit (types 33..38)
// over IrDA, with the outcome in a message box captioned with the export's name. 1 / 0.
int32_t WriteFactoryEEPROMData(const uint8_t* bytes, int32_t count, int32_t monitor_type);

// The second half of a direct memory write, once the link is up: selects the type, writes the
// bytes at the offset into the type's factory data area with 9089 and shows "Success!" or
// "Failed!" under the caption. 1 / 0.
int32_t WriteFactoryBytesAndReport(int32_t monitor_type, int32_t offset,
                                   std::span<const uint8_t> bytes, const std::string& caption);

}  // namespace quibra::settings
