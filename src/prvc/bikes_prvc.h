// The bikes of the newer cycling units (and of the running unit of type 38): a name, the wheel
// size and the sensors fitted to each, and which bike is in use, kept in the bike area of the
// unit's memory (the address its identification announces) and moved with the direct memory
// commands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "prvc/gear_area.h"
#include "quibra/records.h"

namespace quibra::prvc {

inline constexpr int32_t kPrvcBikeSettingsSize = sizeof(PrvcBikeSettings);

// The bikes a unit of the type keeps: 2 or 3, 0 for a type without a bike area.
int32_t BikeCount(int32_t type);
// Bytes of the bike area the library owns for a unit keeping `bikes` bikes.
size_t BikeAreaBytes(int32_t bikes);

// Checks the bikes the unit keeps and repairs the record in place; false (with an error code)
// for a name character table 5 lacks or a sensor flag other than 0 or 1.
bool CheckBikes(PrvcBikeSettings& record, int32_t bikes);
// Lays the record into the area as the unit keeps it; bytes the library does not own stay.
void PackBikes(const PrvcBikeSettings& record, int32_t bikes, std::span<uint8_t> area);
// The record from the area: cleared, then the unit's bikes filled in.
void UnpackBikes(std::span<const uint8_t> area, int32_t bikes, PrvcBikeSettings& record);

// Checks the record (0 with nothing sent, error code 104 or 105) and writes it into the bike
// area of the unit of params.MonitorType served by `which`, keeping the unit's other bits (the
// horse mode among them); then the unit takes it. 1 / 0; with ReadFromDataFile 1 at once.
int32_t SendBikesPrvc(GearExport which, CommParams& params, PrvcBikeSettings& record);
// Reads the bike area into the record. 0 with the record untouched for a type `which` does not
// serve (error 105), before a unit was identified, or when the exchange failed.
int32_t ReadBikesPrvc(GearExport which, CommParams& params, PrvcBikeSettings& record);
void ResetBikesPrvc(PrvcBikeSettings& record);

}  // namespace quibra::prvc
