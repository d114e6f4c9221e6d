// The byte forms of the totals, odometers, display identifiers and LoadGauge entries, checked
// against bytes worked out by hand.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "prvc/totals.h"
#include "prvc/unit_date.h"
#include "quibra/quibra.h"
#include "support/module_fixture.h"

namespace quibra::testing {
namespace {

using Bytes = std::vector<uint8_t>;

class AreaCodecsTest : public ModuleTest {};

TEST_F(AreaCodecsTest, TotalsOfAType36Unit) {
  // 100 h 5 min 7 s; counters 12345678, 1234 (four digits), 99; reset dates 2007-01-01,
  // 2024-12-31 (day 31, month 12: 0x9F, 0x31), 2003-01-01 and 2099-12-31.
  TotalsPRVC t{};
  t.TotalTime = 100 * 3600 + 5 * 60 + 7;
  t.TotalTimeDate = 20070101;
  t.Counter6 = 12345678;
  t.Counter6Date = 20241231;
  t.Counter8 = 1234;
  t.Counter8Date = 20030101;
  t.Counter10 = 99;
  t.Counter10Date = 20991231;
  t.Counter12 = 1;
  t.Counter12Date = 20070101;
  t.Counter13 = 2;
  t.Counter13Date = 20070101;
  t.Counter30 = 5;  // not kept by type 36: neither written nor read
  const Bytes expected = {0x07, 0x05, 0x00, 0x01, 0x21, 0x0E, 0x78, 0x56, 0x34, 0x12, 0x9F, 0x31,
                          0x34, 0x12, 0x21, 0x06, 0x99, 0x00, 0x00, 0x00, 0x9F, 0xC7, 0x01, 0x00,
                          0x00, 0x00, 0x21, 0x0E, 0x02, 0x00, 0x00, 0x00, 0x21, 0x0E};
  const auto bytes = prvc::EncodeTotals(36, t);
  ASSERT_TRUE(bytes.has_value());
  EXPECT_EQ(*bytes, expected);
  TotalsPRVC back{};
  ASSERT_TRUE(prvc::DecodeTotals(36, expected, back));
  t.MonitorType = 36;
  t.Counter30 = 0;
  EXPECT_EQ(0, std::memcmp(&back, &t, sizeof t));

  // Out of range: nothing is encoded.
  TotalsPRVC wrong = t;
  wrong.Counter8 = 10000;  // five digits in a four-digit counter
  EXPECT_FALSE(prvc::EncodeTotals(36, wrong).has_value());
  wrong = t;
  wrong.Counter8Date = 20021231;
  EXPECT_FALSE(prvc::EncodeTotals(36, wrong).has_value());
  wrong = t;
  wrong.TotalTime = -1;
  EXPECT_FALSE(prvc::EncodeTotals(36, wrong).has_value());
  EXPECT_FALSE(prvc::EncodeTotals(22, t).has_value());
}

TEST_F(AreaCodecsTest, UnitDates) {
  EXPECT_EQ(prvc::DecodeUnitDate(0x21, 0x0E), 20070101);
  const prvc::UnitDateBytes d = prvc::EncodeUnitDate(20240229);
  EXPECT_EQ(Bytes({d.first, d.second}), Bytes({0x5D, 0x30}));
  // A reset date of 0x00 0x00 (day 0) or 2002-12-31 reads as today.
  Bytes area(87, 0);
  area[4] = 0x9F;  // 2002-12-31: day 31, month 12, year 2
  area[5] = 0x05;
  TotalsPRVC t{};
  ASSERT_TRUE(prvc::DecodeTotals(38, area, t));
  const int32_t today = t.Counter6Date;
  EXPECT_GT(today, 20240000);
  EXPECT_EQ(t.TotalTimeDate, today);
  EXPECT_EQ(t.Counter32Date, today);
  EXPECT_FALSE(prvc::DecodeTotals(38, Bytes(86, 0), t));  // too short for a type 38 area
}

TEST_F(AreaCodecsTest, OdometerInTheAreaImages) {
  OdometerSettings o{16, 123456, 999999, 22};
  ASSERT_EQ(fnQuibra_PackOdometer(21, &o), 1);
  EXPECT_EQ(Bytes({static_cast<uint8_t>(fnKx2GetEEPROMData(7)),
                   static_cast<uint8_t>(fnKx2GetEEPROMData(8)),
                   static_cast<uint8_t>(fnKx2GetEEPROMData(9))}),
            Bytes({0x56, 0x34, 0x12}));
  EXPECT_EQ(m().unit.type.load(), 22);  // the area layouts of the record's type
  o.Bike2 = 1000000;
  EXPECT_EQ(fnQuibra_PackOdometer(22, &o), 0);
  EXPECT_EQ(fnQuibra_PackOdometer(23, &o), 0);
  // The read answer brings the odometer from index 8 on.
  m().banks.set_scratch(8, 0x21);
  m().banks.set_scratch(9, 0x43);
  m().banks.set_scratch(10, 0x65);
  OdometerSettings read{};
  ASSERT_EQ(fnQuibra_UnPackOdometer(22, &read), 1);
  EXPECT_EQ(read.Size, 16);
  EXPECT_EQ(read.Bike2, 654321);
  EXPECT_EQ(read.Bike1, 0);
  EXPECT_EQ(fnQuibra_UnPackOdometer(20, &read), 0);
}

TEST_F(AreaCodecsTest, DisplayIdentifiers) {
  struct Case {
    int32_t code, type, class1, library;
  };
  const Case cases[] = {
      {16, 34, 0, 105}, {0, 34, 1, 1},    {0, 34, 0, 101}, {44, 34, 0, -1}, {8, 34, 1, -1},
      {8, 35, 1, 7},    {7, 35, 1, 8},    {8, 35, 0, 110}, {0, 36, 1, 0},   {0, 38, 0, 0},
      {21, 38, 0, 117}, {36, 34, 0, 141}, {99, 33, 0, 0},  {1, 22, 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.code << " on " << c.type);
    EXPECT_EQ(fnQuibra_GetOrvekDisplayID(c.code, c.type, c.class1), c.library);
  }
  EXPECT_EQ(fnQuibra_GetMonitorDisplayID(105, 34, 0), 16);
  EXPECT_EQ(fnQuibra_GetMonitorDisplayID(7, 35, 0), 8);
  EXPECT_EQ(fnQuibra_GetMonitorDisplayID(138, 38, 0), 34);
  EXPECT_EQ(fnQuibra_GetMonitorDisplayID(138, 34, 0), 0);
  EXPECT_EQ(fnQuibra_GetMonitorDisplayID(142, 38, 0), 0);
  EXPECT_EQ(fnQuibra_GetMonitorDisplayID(1, 32, 0), 0);
}

TEST_F(AreaCodecsTest, LoadGaugeEntries) {
  auto& values = m().gauges.values;
  // Type 22: entry 1 at values 6..11, date 2007-06-15 and rating 3 in BCD and nibbles.
  const uint8_t type22[] = {0x15, 0x07, 0x36, 60, 120, 150};
  std::copy(std::begin(type22), std::end(type22), values.begin() + 6);
  LoadGaugeResult r{};
  EXPECT_EQ(fnQuibra_GetLoadGaugeResult(1, 22, &r), 1);
  EXPECT_EQ(r.Size, 24);
  EXPECT_EQ(r.TestDate, 20070615);
  EXPECT_EQ(r.Rating, 3);
  EXPECT_EQ(r.HeartRate3, 150);
  EXPECT_EQ(fnQuibra_GetLoadGaugeResult(0, 22, &r), 0);  // all zeros
  EXPECT_EQ(r.Rating, 0);
  // Newer units: result 0 is the entry the order table names; the date in the two-byte form.
  const uint8_t newer[] = {0x21, 0x0E, 9, 15, 240, 100};
  std::copy(std::begin(newer), std::end(newer), values.begin() + 5 * 6);
  values[96] = 5;
  EXPECT_EQ(fnQuibra_GetLoadGaugeResult(0, 37, &r), 1);
  EXPECT_EQ(r.TestDate, 20070101);
  EXPECT_EQ(r.Rating, 9);
  values[5 * 6 + 3] = 14;  // a heart rate below 15
  EXPECT_EQ(fnQuibra_GetLoadGaugeResult(0, 37, &r), 0);
  values[97] = 16;  // an order value past the table
  EXPECT_EQ(fnQuibra_GetLoadGaugeResult(1, 37, &r), 0);
  r.Rating = 77;
  EXPECT_EQ(fnQuibra_GetLoadGaugeResult(16, 37, &r), 0);
  EXPECT_EQ(fnQuibra_GetLoadGaugeResult(0, 30, &r), 0);
  EXPECT_EQ(r.Rating, 77);  // untouched
}

}  // namespace
}  // namespace quibra::testing
