// Bikes, shoes and horse mode of the running and cycling units: hand-worked area bytes, and round
// trips through every export against simulated units of each type it serves, on a stand-in IrDA
// stack.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/scaled_clock.h"
#include "prvc/bikes_prvc.h"
#include "prvc/shoes.h"
#include "quibra/quibra.h"
#include "support/comm_params.h"
#include "support/module_fixture.h"
#include "support/prvc_unit.h"
#include "unit.h"

namespace quibra::testing {
namespace {

using Bytes = std::vector<uint8_t>;
using Ids = std::vector<int32_t>;

class GearTest : public PrvcUnitTest {
 protected:
  // An identified unit of the type, its request log cleared.
  sim::Unit& attach(int32_t type, int32_t variant = 0) {
    line_.attach(type, variant);
    CommParams p = LinkParams(1, type);
    EXPECT_EQ(fnQuibra_ReadMonitorInfo(&p, &info_), 1);
    line_.unit().clear_requests();
    return line_.unit();
  }

  // The messages the unit received, the restore (sent again while unanswered) counted once.
  Ids ids() {
    Ids out;
    for (const auto& r : line_.unit().requests()) {
      if (out.empty() || out.back() != r.id || r.id != 9088) out.push_back(r.id);
    }
    return out;
  }

  MonitorInfo info_{};
};

PrvcBikeSettings Bikes() {
  PrvcBikeSettings r{};
  r.BikeInUse = 2;
  const char* names[] = {"Road", "Trail", ""};  // the empty one becomes "Bike"
  for (int32_t b = 0; b < 3; ++b) {
    std::strcpy(r.Bikes[b].Name, names[b]);
    r.Bikes[b].WheelSize = 2105 - 50 * b;
    r.Bikes[b].SpeedSensor = 1;
    r.Bikes[b].PowerSensor = b % 2;
  }
  r.Bikes[1].WheelSize = 999;  // becomes 2105
  return r;
}

PrvcShoeSettings Shoes() {
  PrvcShoeSettings r{};
  r.ShoeInUse = 7;  // becomes 1
  const char* names[] = {"Road", "Trail", "Race"};
  for (int32_t s = 0; s < 3; ++s) {
    std::strcpy(r.Shoes[s].Name, names[s]);
    r.Shoes[s].Calibration = 950 + 25 * s;
    r.Shoes[s].StrideSensor = s % 2;
  }
  return r;
}

TEST(GearAreas, PackedByHandKeepingTheUnitsOwnBits) {
  // The unit's general byte holds the horse mode and bits of its own; the bytes after each
  // bike's sensors are its own too.
  Bytes area(prvc::BikeAreaBytes(2), 0xF8);
  PrvcBikeSettings bikes = Bikes();
  ASSERT_TRUE(prvc::CheckBikes(bikes, 2));
  EXPECT_EQ(bikes.Bikes[1].WheelSize, 2105);
  EXPECT_EQ(bikes.Bikes[2].Name[0], '\0');  // past the unit's bikes: not looked at
  prvc::PackBikes(bikes, 2, area);
  // Bike 2 in use under the unit's bits; "Road" marked on its last letter, spaces marked; 2105
  // mm; speed and (bike 1) power over the unit's bits 3-7; its three bytes untouched.
  const Bytes expected = {0xF9, 28,   51,   37,   0xA8, 0x8A, 0x8A, 0x8A, 0x8A, 0x8A, 0x8A,
                          0x39, 0x08, 0xF9, 0xF8, 0xF8, 0xF8, 30,   54,   37,   45,   0xB0,
                          0x8A, 0x8A, 0x8A, 0x8A, 0x8A, 0x39, 0x08, 0xFD, 0xF8, 0xF8, 0xF8};
  EXPECT_EQ(area, expected);
  PrvcBikeSettings back{};
  prvc::UnpackBikes(area, 2, back);
  bikes.Bikes[2] = PrvcBike{};
  EXPECT_EQ(std::memcmp(&back, &bikes, sizeof back), 0);

  Bytes shoes_area(prvc::ShoeAreaBytes(3), 0);
  PrvcShoeSettings shoes = Shoes();
  ASSERT_TRUE(prvc::CheckShoes(shoes, 3));
  prvc::PackShoes(shoes, 3, shoes_area);
  EXPECT_EQ(shoes_area[0], 0);  // shoe 1 in use
  EXPECT_EQ(Bytes(shoes_area.begin() + 11, shoes_area.begin() + 15), (Bytes{0xB6, 0x03, 0, 0}));
  EXPECT_EQ(Bytes(shoes_area.begin() + 25, shoes_area.begin() + 28), (Bytes{0xCF, 0x03, 1}));
  EXPECT_EQ(shoes_area[29 + 3], 0x80 | 41);  // "Race" ends on its marked e

  // A sensor flag of 2 and a name the unit cannot show are refused with 104.
  bikes.Bikes[0].CadenceSensor = 2;
  EXPECT_FALSE(prvc::CheckBikes(bikes, 2));
  EXPECT_EQ(fnQuibra_GetErrorCode(), 104);
  std::strcpy(shoes.Shoes[2].Name, "a;b");
  EXPECT_FALSE(prvc::CheckShoes(shoes, 3));
}

using Transfer = int32_t(QUIBRA_CALL*)(CommParams*, PrvcBikeSettings*);
using ShoeTransfer = int32_t(QUIBRA_CALL*)(CommParams*, PrvcShoeSettings*);

TEST_F(GearTest, BikesRoundTripThroughEachExportOnTheTypesItServes) {
  const struct {
    int32_t type;
    Transfer send;
    Transfer read;
    int32_t bikes;
  } rows[] = {
      {33, fnQuibra_SendBikesSettings_PRVC_eq, fnQuibra_PRVC_ReadBikeSettings, 2},
      {35, fnQuibra_SendBikesSettings_PRVC_eq, fnQuibra_PRVC_ReadBikeSettings, 3},
      {38, fnQuibra_SendBikesSettingsPR9W, fnQuibra_ReadBikeSettingsPR9W, 2},
      {34, fnQuibra_WriteBikesGeneral_VC8Z, fnQuibra_ReadBikesGeneral_VC8Z, 3},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.type);
    sim::Unit& unit = attach(row.type, 5);  // a variant that keeps a state byte
    CommParams p = LinkParams(1, row.type);
    PrvcBikeSettings factory{};
    ASSERT_EQ(row.read(&p, &factory), 1);
    EXPECT_STREQ(factory.Bikes[row.bikes - 1].Name, ("Bike " + std::to_string(row.bikes)).c_str());
    EXPECT_EQ(factory.Bikes[0].WheelSize, 2105);
    unit.clear_requests();
    PrvcBikeSettings sent = Bikes();
    ASSERT_EQ(row.send(&p, &sent), 1);
    // The area read, written, then the state byte copied and the memory restored.
    EXPECT_EQ(ids(), (Ids{9090, 9089, 9090, 9089, 9088}));
    PrvcBikeSettings read{};
    ASSERT_EQ(row.read(&p, &read), 1);
    for (int32_t b = row.bikes; b < 3; ++b)
      sent.Bikes[b] = PrvcBike{};  // past the unit's bikes: neither sent nor read
    EXPECT_EQ(std::memcmp(&read, &sent, sizeof read), 0);

    // Refused before anything is sent: a type no bike pair serves, a name the unit cannot
    // show. A unit whose answer to the write is lost fails the send; it keeps what it took
    // and is not told to restore its memory.
    unit.clear_requests();
    CommParams other = LinkParams(1, 36);  // a running unit
    EXPECT_EQ(row.send(&other, &sent), 0);
    EXPECT_EQ(fnQuibra_GetErrorCode(), 105);
    EXPECT_EQ(row.read(&other, &read), 0);
    std::strcpy(sent.Bikes[0].Name, "a;b");
    EXPECT_EQ(row.send(&p, &sent), 0);
    EXPECT_EQ(fnQuibra_GetErrorCode(), 104);
    EXPECT_TRUE(unit.requests().empty());
    std::strcpy(sent.Bikes[0].Name, "Gravel");
    unit.queue_fault(sim::Fault{sim::FaultKind::NoAnswer, 9089, true});
    EXPECT_EQ(row.send(&p, &sent), 0);
    EXPECT_EQ(ids().back(), 9089);
    EXPECT_EQ(line_.count(9088), 0u);
    unit.clear_faults();
    ASSERT_EQ(row.read(&p, &read), 1);
    EXPECT_STREQ(read.Bikes[0].Name, "Gravel");
  }
}

TEST_F(GearTest, ShoesRoundTripThroughEachExportOnTheTypesItServes) {
  const struct {
    int32_t type;
    ShoeTransfer send;
    ShoeTransfer read;
    int32_t shoes;
  } rows[] = {
      {36, fnQuibra_SendShoeSettings, fnQuibra_ReadShoesSettings, 2},
      {37, fnQuibra_SendShoeSettings, fnQuibra_ReadShoesSettings, 2},
      {38, fnQuibra_SendShoeSettingsPR9W, fnQuibra_ReadShoesSettingsPR9W, 3},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.type);
    sim::Unit& unit = attach(row.type);
    CommParams p = LinkParams(1, row.type);
    PrvcShoeSettings sent = Shoes();
    ASSERT_EQ(row.send(&p, &sent), 1);
    const int32_t area = unit.identification().area(sim::Area::Display) + 400;
    Bytes expected(prvc::ShoeAreaBytes(row.shoes));
    prvc::PackShoes(sent, row.shoes, expected);
    EXPECT_EQ(unit.memory(area, static_cast<int32_t>(expected.size())), expected);
    PrvcShoeSettings read{};
    ASSERT_EQ(row.read(&p, &read), 1);
    for (int32_t s = row.shoes; s < 3; ++s)
      sent.Shoes[s] = PrvcShoe{};
    EXPECT_EQ(std::memcmp(&read, &sent, sizeof read), 0);

    unit.clear_requests();
    CommParams cycling = LinkParams(1, 35);
    EXPECT_EQ(row.send(&cycling, &sent), 0);
    EXPECT_EQ(fnQuibra_GetErrorCode(), 105);
    sent.Shoes[0].StrideSensor = -1;
    EXPECT_EQ(row.send(&p, &sent), 0);
    EXPECT_EQ(fnQuibra_GetErrorCode(), 104);
    EXPECT_TRUE(unit.requests().empty());
  }
}

TEST_F(GearTest, HorseModeReadsBackThroughTheIdentification) {
  const struct {
    int32_t type;
    int32_t reported;  // what MonitorInfo.HorseMode gives when it is on
  } rows[] = {{33, 128}, {35, 128}, {34, 1}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.type);
    sim::Unit& unit = attach(row.type);
    CommParams p = LinkParams(1, row.type);
    PrvcBikeSettings bikes = Bikes();
    ASSERT_EQ(fnQuibra_SendBikesSettings_PRVC_eq(&p, &bikes) +
                  fnQuibra_WriteBikesGeneral_VC8Z(&p, &bikes),
              1);
    for (const int32_t on : {1, 0}) {
      ASSERT_EQ(fnQuibra_SetHorseModeVCEQ(&p, on), 1);
      MonitorInfo info{};
      ASSERT_EQ(fnQuibra_ReadMonitorInfo(&p, &info), 1);
      EXPECT_EQ(info.HorseMode, static_cast<uint32_t>(on * row.reported));
      // The bike in use shares the byte and stays.
      const int32_t bike_area = unit.identification().area(sim::Area::Bike);
      EXPECT_EQ(unit.memory(bike_area, 1)[0] & 0x83, on * 0x80 + 1);
    }
    unit.clear_requests();
    EXPECT_EQ(fnQuibra_SetHorseModeVCEQ(&p, 2), 0);
    EXPECT_EQ(fnQuibra_GetErrorCode(), 104);
    CommParams running = LinkParams(1, 38);
    EXPECT_EQ(fnQuibra_SetHorseModeVCEQ(&running, 1), 0);
    EXPECT_EQ(fnQuibra_GetErrorCode(), 105);
    EXPECT_TRUE(unit.requests().empty());
  }
}

}  // namespace
}  // namespace quibra::testing
