#include "exercise/unit_conversion.h"

#include <cmath>

namespace quibra::exercise {
namespace {

// Weight and length go through a base unit (kilograms, kilometres). The factors out of the base
// are not always the exact inverses of the factors into it (feet, miles): the units' own
// constants are kept as they are.
struct Linear {
  int32_t code;
  double into_base_mul;
  double into_base_div;
  double out_of_base_mul;
  double out_of_base_div;
};

constexpr Linear kWeights[] = {
    {kPound, 0.4536, 1, 1, 0.4536},
    {kKilogram, 1, 1, 1, 1},
    {kOunce, 0.028349, 1, 1, 0.028349},
    {kGram, 1, 1000, 1000, 1},
};

constexpr Linear kLengths[] = {
    {kMetre, 1, 1000, 1000, 1},
    {kFoot, 0.3048, 1000, 3.28084 * 1000, 1},
    {kKilometre, 1, 1, 1, 1},
    {kMile, 1.609344, 1, 0.6213712, 1},
    {kYard, 0.9144, 1000, 1000, 0.9144},
    {kInch, 0.0254, 1000, 1000, 0.0254},
    {kCentimetre, 1, 100000, 100000, 1},
};

// Speed and pace: the input becomes a distance d (km) covered in a time t (s). Each of d and t
// is either a constant or a constant times the value.
struct PaceInput {
  int32_t code;
  double distance;
  bool distance_per_value;
  double time;
  bool time_per_value;
};

constexpr PaceInput kPaceInputs[] = {
    {kKmPerHour, 1, true, 3600, false},
    {kMilesPerHour, 1.609344, true, 3600, false},
    {kMetresPerSecond, 1.0 / 1000, true, 1, false},
    {kYardsPerSecond, 0.9144 / 1000, true, 1, false},
    {kMinPerKm, 1, false, 60, true},
    {kMinPerMile, 1.609344, false, 60, true},
    {kSecPer100m, 0.1, false, 1, true},
    {kSecPer100yd, 0.09144, false, 1, true},
    {kSecPerMarathon, 42.195, false, 1, true},
    {kMetresPerMinute, 1.0 / 1000, true, 60, false},
    {kYardsPerMinute, 0.9144 / 1000, true, 60, false},
    {kSecPer500m, 0.5, false, 1, true},
};

// The output from (d, t): the distance in the target's own measure D = d * mul / div, the time
// in the target's own measure T = t / time_div; a speed is D / T, a pace T / D.
struct PaceOutput {
  int32_t code;
  bool is_pace;
  double distance_mul;
  double distance_div;
  double time_div;
};

constexpr PaceOutput kPaceOutputs[] = {
    {kKmPerHour, false, 1, 1, 3600},
    {kMilesPerHour, false, 0.6213712, 1, 3600},
    {kMetresPerSecond, false, 1000, 1, 1},
    {kYardsPerSecond, false, 1000, 0.9144, 1},
    {kMinPerKm, true, 1, 1, 60},
    {kMinPerMile, true, 0.6213712, 1, 60},
    {kSecPer100m, true, 1000, 100, 1},
    {kSecPer100yd, true, 1000, 0.9144 * 100, 1},
    {kSecPerMarathon, true, 1, 42.195, 1},
    {kMetresPerMinute, false, 1000, 1, 60},
    {kYardsPerMinute, false, 1000, 0.9144, 60},
    {kSecPer500m, true, 1000, 500, 1},
};

constexpr double kFeetPerMetre = 3.28084;
constexpr double kMetresPerFoot = 0.3048;
constexpr double kCmPerInch = 2.54;
constexpr double kKjPerKcal = 4.1868;
constexpr double kCelsiusPerFahrenheit = 0.5555556;

template <typename Row, size_t N>
const Row* Find(const Row (&rows)[N], int32_t code) {
  for (const Row& row : rows) {
    if (row.code == code) return &row;
  }
  return nullptr;
}

template <size_t N>
bool ConvertLinear(const Linear (&rows)[N], double value, int32_t from, int32_t to,
                   double& result) {
  const Linear* in = Find(rows, from);
  const Linear* out = Find(rows, to);
  if (in == nullptr || out == nullptr) return false;
  const double base = value * in->into_base_mul / in->into_base_div;
  result = base * out->out_of_base_mul / out->out_of_base_div;
  return true;
}

// Height as a feet-and-inches pair: whole feet, then the inches left over, rounded; 12 inches
// carry into the feet.
bool ConvertToFeetAndInches(double value, int32_t from, int32_t to, double& result) {
  const Linear* in = Find(kLengths, from);
  if (in == nullptr) return false;
  const double metres = value * in->into_base_mul / in->into_base_div * 1000;
  double feet = std::trunc(metres * kFeetPerMetre);
  double inches = std::round((metres - feet * kMetresPerFoot) * 100 / kCmPerInch);
  if (inches == 12) {
    inches = 0;
    feet += 1;
  }
  result = to == kFeetOfPair ? feet : inches;
  return true;
}

bool ConvertPace(double value, int32_t from, int32_t to, double& result) {
  const PaceInput* in = Find(kPaceInputs, from);
  const PaceOutput* out = Find(kPaceOutputs, to);
  if (in == nullptr || out == nullptr) return false;
  const double v = std::fabs(value);
  const double d = in->distance_per_value ? in->distance * v : in->distance;
  const double t = in->time_per_value ? in->time * v : in->time;
  const double distance = d * out->distance_mul / out->distance_div;
  const double time = t / out->time_div;
  const double divisor = out->is_pace ? distance : time;
  if (divisor == 0) {
    result = 0;
  } else {
    result = out->is_pace ? time / distance : distance / time;
  }
  return true;
}

}  // namespace

// The whole conversion runs in double precision; callers round the result. The pair codes 26
// and 27 are only targets: as a source they are unknown, so the value comes back unchanged.
double ConvertUnit(double value, int32_t from_code, int32_t to_code) {
  if (from_code == to_code) return value;
  double result = value;
  if (ConvertLinear(kWeights, std::fabs(value), from_code, to_code, result)) return result;
  if (ConvertLinear(kLengths, value, from_code, to_code, result)) return result;
  if (to_code == kFeetOfPair || to_code == kInchesOfPair) {
    if (ConvertToFeetAndInches(value, from_code, to_code, result)) return result;
    return value;
  }
  if (ConvertPace(value, from_code, to_code, result)) return result;
  if (from_code == kFahrenheit && to_code == kCelsius) return (value - 32) * kCelsiusPerFahrenheit;
  if (from_code == kCelsius && to_code == kFahrenheit) return 1.8 * value + 32;
  if (from_code == kKilocalorie && to_code == kKilojoule) return value * kKjPerKcal;
  if (from_code == kKilojoule && to_code == kKilocalorie) return value / kKjPerKcal;
  return value;
}

}  // namespace quibra::exercise
