#include "exercise/unit_conversion.h"

#include <gtest/gtest.h>

namespace quibra::exercise {
namespace {

constexpr double kTol = 1e-6;

TEST(UnitConversionTest, Weight) {
  EXPECT_NEAR(ConvertUnit(100, kPound, kKilogram), 45.36, kTol);
  EXPECT_NEAR(ConvertUnit(-100, kPound, kKilogram), 45.36, kTol);  // taken positive
  EXPECT_NEAR(ConvertUnit(1, kKilogram, kGram), 1000, kTol);
  EXPECT_NEAR(ConvertUnit(1, kOunce, kGram), 28.349, kTol);
  EXPECT_NEAR(ConvertUnit(45.36, kKilogram, kPound), 100, kTol);
}

TEST(UnitConversionTest, TemperatureAndEnergy) {
  EXPECT_NEAR(ConvertUnit(212, kFahrenheit, kCelsius), 100.0000080, kTol);
  EXPECT_NEAR(ConvertUnit(100, kCelsius, kFahrenheit), 212, kTol);
  EXPECT_NEAR(ConvertUnit(-40, kCelsius, kFahrenheit), -40, kTol);
  EXPECT_NEAR(ConvertUnit(100, kKilocalorie, kKilojoule), 418.68, kTol);
  EXPECT_NEAR(ConvertUnit(418.68, kKilojoule, kKilocalorie), 100, kTol);
}

TEST(UnitConversionTest, Length) {
  EXPECT_NEAR(ConvertUnit(1, kMile, kKilometre), 1.609344, kTol);
  EXPECT_NEAR(ConvertUnit(1, kKilometre, kFoot), 3280.84, kTol);
  EXPECT_NEAR(ConvertUnit(5000, kMetre, kMile), 3.106856, kTol);
  EXPECT_NEAR(ConvertUnit(100, kYard, kMetre), 91.44, kTol);
  EXPECT_NEAR(ConvertUnit(12, kInch, kCentimetre), 30.48, kTol);
  EXPECT_NEAR(ConvertUnit(1, kKilometre, kYard), 1093.6132983, kTol);
  EXPECT_NEAR(ConvertUnit(1000, kFoot, kMetre), 304.8, kTol);
}

TEST(UnitConversionTest, FeetAndInchesPair) {
  // 1.8186 m is 5 ft 11.6 in; the inches round to 12 and carry into the feet.
  EXPECT_EQ(ConvertUnit(1.8186, kMetre, kFeetOfPair), 6);
  EXPECT_EQ(ConvertUnit(1.8186, kMetre, kInchesOfPair), 0);
  // 180 cm: 5.905 ft -> 5 ft, (1.8 - 1.524) m = 10.87 in -> 11.
  EXPECT_EQ(ConvertUnit(180, kCentimetre, kFeetOfPair), 5);
  EXPECT_EQ(ConvertUnit(180, kCentimetre, kInchesOfPair), 11);
  // The pair codes are targets only.
  EXPECT_EQ(ConvertUnit(5, kFeetOfPair, kMetre), 5);
  EXPECT_EQ(ConvertUnit(5, kInchesOfPair, kCentimetre), 5);
}

TEST(UnitConversionTest, SpeedAndPace) {
  EXPECT_NEAR(ConvertUnit(10, kMinPerKm, kKmPerHour), 6, kTol);
  EXPECT_EQ(ConvertUnit(0, kKmPerHour, kMinPerKm), 0);  // zero divisor
  EXPECT_EQ(ConvertUnit(0, kMinPerKm, kKmPerHour), 0);
  EXPECT_NEAR(ConvertUnit(36, kKmPerHour, kMetresPerSecond), 10, kTol);
  EXPECT_NEAR(ConvertUnit(-36, kKmPerHour, kMetresPerSecond), 10, kTol);
  EXPECT_NEAR(ConvertUnit(10, kMetresPerSecond, kKmPerHour), 36, kTol);
  EXPECT_NEAR(ConvertUnit(5, kMinPerKm, kMinPerMile), 5 / 0.6213712, kTol);
  EXPECT_NEAR(ConvertUnit(90, kSecPer100m, kMinPerKm), 15, kTol);
  EXPECT_NEAR(ConvertUnit(12, kKmPerHour, kSecPerMarathon), 12658.5, kTol);
  EXPECT_NEAR(ConvertUnit(120, kSecPer500m, kSecPer100m), 24, kTol);
  EXPECT_NEAR(ConvertUnit(200, kMetresPerMinute, kKmPerHour), 12, kTol);
  EXPECT_NEAR(ConvertUnit(1, kYardsPerSecond, kMetresPerSecond), 0.9144, kTol);
  EXPECT_NEAR(ConvertUnit(60, kSecPer100yd, kYardsPerMinute), 100, kTol);
  EXPECT_NEAR(ConvertUnit(10, kMilesPerHour, kKmPerHour), 16.09344, kTol);
}

TEST(UnitConversionTest, UnchangedWhenNothingToConvert) {
  EXPECT_EQ(ConvertUnit(-7, kKilogram, kKilogram), -7);
  EXPECT_EQ(ConvertUnit(5, kPound, kMetre), 5);  // different families
  EXPECT_EQ(ConvertUnit(5, kCelsius, kKilojoule), 5);
  EXPECT_EQ(ConvertUnit(5, 99, kKilogram), 5);  // unknown code
  EXPECT_EQ(ConvertUnit(5, kKmPerHour, 42), 5);
}

}  // namespace
}  // namespace quibra::exercise
