// Conversions between the measurement units of the wrist units and the applications.
#pragma once

#include <cstdint>

namespace quibra::exercise {

// Unit codes, grouped by family (weight 0..3, temperature 10..11, length 20..28, speed and
// pace 30..41, energy 50..51).
enum UnitCode : int32_t {
  kPound = 0,
  kKilogram = 1,
  kOunce = 2,
  kGram = 3,
  kCelsius = 10,
  kFahrenheit = 11,
  kMetre = 20,
  kFoot = 21,
  kKilometre = 22,
  kMile = 23,
  kYard = 24,
  kInch = 25,
  kFeetOfPair = 26,    // whole feet of a feet-and-inches pair (target only)
  kInchesOfPair = 27,  // inches of that pair (target only)
  kCentimetre = 28,
  kKmPerHour = 30,
  kMilesPerHour = 31,
  kMetresPerSecond = 32,
  kYardsPerSecond = 33,
  kMinPerKm = 34,
  kMinPerMile = 35,
  kSecPer100m = 36,
  kSecPer100yd = 37,
  kSecPerMarathon = 38,
  kMetresPerMinute = 39,
  kYardsPerMinute = 40,
  kSecPer500m = 41,
  kKilojoule = 50,
  kKilocalorie = 51,
};

// Converts value from one unit code to another of the same family. When the codes are equal,
// of different families or unknown, the value comes back unchanged. Weights, speeds and paces
// are taken as positive; a zero divisor in a speed or pace gives 0. Callers round the result.
double ConvertUnit(double value, int32_t from_code, int32_t to_code);

}  // namespace quibra::exercise
