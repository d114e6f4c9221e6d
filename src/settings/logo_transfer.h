// Sending a logo to a unit (over infrared, by sound or through the data file) and reading it
// back: from the logo image of the older units, or straight from the memory of the running and
// cycling units.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "quibra/records.h"

namespace quibra::settings {

// Checks the columns against the type's display, packs and delivers them. 0 when the check
// fails (nothing is sent) or a transfer fails.
int32_t SendMonitorLogo(CommParams& params, int32_t type, const int32_t* columns, int32_t slot);

// Reads the logo of a type 11, 12, 13 or 22 unit (47 columns) or of a running or cycling unit
// (33..38, 64 columns, from the slot) into columns. 0 for every other type or a failed transfer.
int32_t ReadMonitorLogo(CommParams& params, int32_t type, int32_t* columns, int32_t slot);

// The 47 columns of a received logo image (one byte each). Returns 1.
int32_t UnPackBitmap(int32_t* columns);

// Reads the 64 columns of logo slot `slot` from the memory of a running or cycling unit of the
// given type. 0 when the exchange fails or the slot lies outside the unit's address range.
int32_t PrvcReadBitmap(CommParams& params, int32_t type, int32_t* columns, int32_t slot);

// The running or cycling unit whose logo the memory read addresses: the record's monitor type
// when it names one, else the unit last detected.
int32_t PrvcLogoType(const CommParams& params);

// The name the second part of a two-part sound upload is written to: the file name of `path`
// followed by 2, or by the first number from 3 up that names no file yet, directory and
// extension kept. Nothing when no such name fits `capacity` characters (terminator included).
std::optional<std::string> SecondPartSoundName(const std::string& path, size_t capacity);

}  // namespace quibra::settings
