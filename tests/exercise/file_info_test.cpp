// The exercise listing and the sport exercise name against exercise memories laid out by hand.
#include <cstring>
#include <map>
#include <string>

#include "quibra/quibra.h"
#include "support/exercise_memory_fixture.h"

namespace quibra::testing {
namespace {

using Bytes = std::map<int32_t, uint8_t>;
constexpr int32_t E = 4;  // the first exercise of a single-exercise image

class FileInfoTest : public quibra::testing::ExerciseMemoryTest {
 protected:
  ExeFileInfo Info(int32_t index, int32_t expected_result = 1) {
    ExeFileInfo info;
    std::memset(&info, 0xA5, sizeof info);  // the export must clear what the caller left
    info.Size = 0;                          // but Size, which bounds what it may touch
    EXPECT_EQ(fnQuibra_GetExeFileInfo(index, &info), expected_result);
    EXPECT_EQ(info.Size, 76u);
    return info;
  }
};

// A type-22 exercise of 140 bytes: "Run 10 " started 3:30:45 PM on a 12-hour clock, 21 Oct 2007,
// 1:34:12 long, extended laps, sensor byte 0x1E, 60 s interval, marker bit set.
Bytes Type22(uint8_t version) {
  return {{3, 19},        {4, version},   {E + 1, 140},   {E + 2, 0x80},  {E + 3, 5},
          {E + 4, 28},    {E + 5, 57},    {E + 6, 50},    {E + 7, 10},    {E + 8, 1},
          {E + 9, 0},     {E + 10, 10},   {E + 11, 0x45}, {E + 12, 0x30}, {E + 13, 0x83},
          {E + 14, 0xA1}, {E + 15, 0x07}, {E + 16, 0x5A}, {E + 17, 0x12}, {E + 18, 0x34},
          {E + 19, 0x01}, {E + 26, 0x80}, {E + 27, 0x1E}, {E + 28, 0x02}};
}

TEST_F(FileInfoTest, KSeriesHeaderWithSensorByte) {
  Load(Type22(3), E + 139);
  const ExeFileInfo info = Info(0);
  EXPECT_EQ(m().unit.type, 22);  // exercise 0 names the unit
  EXPECT_EQ(info.StartTime, 15 * 3600 + 30 * 60 + 45);
  EXPECT_EQ(info.StartDate, 20071021);
  EXPECT_EQ(info.Duration, 3600 + 34 * 60 + 12);
  EXPECT_EQ(info.TwelveHour, 1);
  EXPECT_EQ(info.Interval, 60);
  EXPECT_EQ(info.MarkerBit, 1);
  EXPECT_EQ(info.ExtendedLaps, 1);
  EXPECT_STREQ(info.Name, "Run 10 ");
  // Version 3 with speed sensor code 1 ignores the cadence and power bits.
  EXPECT_EQ(info.Speed, 1);
  EXPECT_EQ(info.Altitude, 1);
  EXPECT_EQ(info.Cadence, 0);
  EXPECT_EQ(info.Power, 0);
  EXPECT_EQ(info.SensorCode, 1);
  EXPECT_EQ(info.RRFlag, 0);
  EXPECT_EQ(info.FifthSensor, 0);
  EXPECT_EQ(info.HeaderValue, 0);

  Load(Type22(2), E + 139);
  const ExeFileInfo early = Info(0);
  EXPECT_EQ(early.Cadence, 1);
  EXPECT_EQ(early.Power, 1);
}

TEST_F(FileInfoTest, KSeriesNamesIntervalsAndMarker) {
  // Type 13 (product code 51), exercise kind 8: "BasicSet"; interval code 3 is R-R recording;
  // a 24-hour start; the interval sits at byte 27 without a sensor byte.
  Bytes b = {{3, 51},        {E + 1, 130},   {E + 2, 0x80},  {E + 3, 8},
             {E + 11, 0x05}, {E + 12, 0x04}, {E + 13, 0x23}, {E + 14, 0x01},
             {E + 15, 0x95}, {E + 16, 0x0C}, {E + 27, 0x03}};
  Load(b, E + 129);
  ExeFileInfo info = Info(0);
  EXPECT_EQ(m().unit.type, 13);
  EXPECT_STREQ(info.Name, "BasicSet");
  EXPECT_EQ(info.Interval, 238);
  EXPECT_EQ(info.StartTime, 23 * 3600 + 4 * 60 + 5);
  EXPECT_EQ(info.StartDate, 19951201);
  EXPECT_EQ(info.TwelveHour, 0);
  EXPECT_EQ(info.MarkerBit, 1);
  EXPECT_EQ(info.Speed, 0);

  // Type 11 (product code 17) of version 1: kind 0 is "BasicUse", the marker bit is not kept,
  // code 3 is 5 s; 12 AM is hour 0.
  b = {{3, 17},    {4, 1},         {E + 1, 90},    {E + 2, 0x80},
       {E + 3, 0}, {E + 13, 0x12}, {E + 14, 0x81}, {E + 27, 0x03}};
  Load(b, E + 89);
  info = Info(0);
  EXPECT_STREQ(info.Name, "BasicUse");
  EXPECT_EQ(info.MarkerBit, 0);
  EXPECT_EQ(info.Interval, 5);
  EXPECT_EQ(info.StartTime, 0);
  EXPECT_EQ(info.TwelveHour, 1);
  b[4] = 2;  // version 2 keeps it
  Load(b, E + 89);
  EXPECT_EQ(Info(0).MarkerBit, 1);
}

TEST_F(FileInfoTest, OutdoorHeaderAndTheChain) {
  // Two type-21 exercises (product code 102) of 80 bytes each; the second is listed.
  const int32_t e2 = E + 80;
  Bytes b = {{3, 102},       {E + 1, 80},     {e2 + 1, 80},    {e2 + 3, 0x9F},
             {e2 + 4, 0x3F}, {e2 + 5, 0x58},  {e2 + 6, 0x59},  {e2 + 7, 0x23},
             {e2 + 12, 3},   {e2 + 13, 0x00}, {e2 + 14, 0x00}, {e2 + 15, 0x02}};
  Load(b, E + 159);
  Info(0);  // names the unit
  ASSERT_EQ(m().unit.type, 21);
  const ExeFileInfo info = Info(1);
  EXPECT_EQ(info.StartDate, 20311231);
  EXPECT_EQ(info.StartTime, 86398);
  EXPECT_EQ(info.Duration, 7200);
  EXPECT_EQ(info.Interval, 300);
  EXPECT_EQ(info.MarkerBit, 0);
  EXPECT_EQ(info.Name[0], '\0');
  EXPECT_EQ(info.Speed, 0);

  // A third exercise is not there; the record is still cleared and sized.
  const ExeFileInfo missing = Info(2, 0);
  EXPECT_EQ(missing.StartDate, 0);
  EXPECT_EQ(missing.Name[0], '\0');
  EXPECT_EQ(fnQuibra_GetExeFileInfo(0, nullptr), 0);
}

TEST_F(FileInfoTest, OtherFamiliesAreNotListed) {
  Load({{3, 30}, {E + 1, 100}}, 200);
  Info(0, 0);
  EXPECT_EQ(m().unit.type, 30);
}

TEST_F(FileInfoTest, SportExeNameStopsAtTheEndMark) {
  // "Bike" with the end mark on the e: 12, 45, 47, 0x80 | 41.
  Load({{23, 12}, {24, 45}, {25, 47}, {26, 0x80 | 41}, {27, 28}}, 40);
  char buffer[9] = "########";
  EXPECT_EQ(fnQuibra_SportExeName(buffer, 0), 4);
  EXPECT_EQ(std::string(buffer), "Bike####");

  Load({{23, 0x80 | 11}, {24, 12}}, 40);
  std::strcpy(buffer, "########");
  EXPECT_EQ(fnQuibra_SportExeName(buffer, 0), 1);
  EXPECT_EQ(std::string(buffer), "A#######");

  // No end mark: eight characters and no terminator; unknown codes read as blanks.
  Load({{23, 11},
        {24, 12},
        {25, 13},
        {26, 14},
        {27, 120},
        {28, 16},
        {29, 17},
        {30, 18},
        {31, 0x80 | 19}},
       40);
  char wide[10] = "#########";
  EXPECT_EQ(fnQuibra_SportExeName(wide, 0), 8);
  EXPECT_EQ(std::string(wide), "ABCD FGH#");
  EXPECT_EQ(fnQuibra_SportExeName(nullptr, 0), 0);
}

}  // namespace
}  // namespace quibra::testing
