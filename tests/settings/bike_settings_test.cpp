// Bike settings: the checks, both layouts against hand-worked bytes, UnPack, Reset, and Send /
// Read against a simulated unit over infrared, by sound and through the data file.
#include "settings/bike_settings.h"

#include <gtest/gtest.h>

#include <cstring>

#include "settings_test_support.h"

namespace quibra::testing {
namespace {

class BikeSettingsTest : public SettingsTest {
 protected:
  // Bike 0 "Road" with a wheel of 2105 mm; bike 1 "Hi" with a wheel (999) and a setting B (2500)
  // out of range. Bike 2 stays empty: the messages do not carry it.
  static BikeSettings Sample() {
    BikeSettings r{};
    r.Size = 160;
    r.BikeSelection = 1;
    BikeEntry& road = r.Bikes[0];
    std::memcpy(road.BikeName, "Road", 4);
    road.WheelSize = 2105;
    road.BikeOption0 = 1;
    road.BikeOption2 = 1;
    road.BikeSettingA = 304;
    road.BikeSettingB = 1473;
    road.BikeSettingC = 420;
    BikeEntry& hi = r.Bikes[1];
    std::memcpy(hi.BikeName, "Hi", 2);
    hi.WheelSize = 999;
    hi.BikeOption1 = 1;
    hi.BikeOption3 = 1;
    hi.BikeSettingA = 250;
    hi.BikeSettingB = 2500;
    hi.BikeSettingC = 305;
    return r;
  }
  // The sample as Prepare completes it.
  static BikeSettings Completed() {
    BikeSettings r = Sample();
    r.Bikes[1].WheelSize = 2000;
    r.Bikes[1].BikeSettingB = 1400;
    return r;
  }
  // The 9108 layout: bike 2 selected, both totals and one 16-bit value.
  static BikeSettings Sample9108() {
    BikeSettings r = Completed();
    r.LayoutType = 32;
    r.BikeSelection = 2;
    r.SendTwice = 1;
    r.Bikes[0].BikeTotal = 123456;
    r.Bikes[1].WheelSize = 2250;
    r.Bikes[1].BikeOption2 = 1;
    r.Bikes[1].BikeTotal = 7;
    r.Bikes[1].BikeValue16 = 0x1234;
    return r;
  }
};

// Bytes 5..29 of the sample's 9019 image, worked out by hand.
const Bytes kSampleImage = {
    0x15,                    // bike 1 in use; bike 0 options 0 and 2
    0x1C, 0x33, 0x25, 0x28,  // "Road"
    0x05, 0x21,              // 2105 mm
    0x1A,                    // bike 1 in use; bike 1 options 1 and 3
    0x12, 0x2D, 0x0A, 0x0A,  // "Hi" and two device spaces
    0x00, 0x20,              // 2000 mm
    0x20, 0x44, 0x30,        // C 420, A 304
    0x73, 0x14,              // B 1473
    0x05, 0x03, 0x25,        // C 305, A 250
    0x00, 0x14,              // B 1400
    0x01,                    // bike 1 in use
};

// Bytes 5..19 of the 9108 sample.
const Bytes kSample9108 = {
    0xD7,  // bike 2; bike 0 options 0 and 2; bike 1 option 2 and value; send twice
    0x39, 0x08, 0xCA, 0x08,  // 2105 and 2250 mm
    0x56, 0x34, 0x12,        // 123456
    0x07, 0x00, 0x00,        // 7
    0x00, 0x00, 0x34, 0x12,  // 0 and 0x1234
};

TEST_F(BikeSettingsTest, PrepareCompletesAndPacksTheHandWorkedImage) {
  BikeSettings r = Sample();
  r.Size = 0;
  ASSERT_EQ(fnQuibra_PrepareBikeSettings(&r), 1);
  EXPECT_EQ(ImageBytes(9019, 1, 5, 29), kSampleImage);
  EXPECT_EQ(SentImage(9019, 1).size(), 32u);
  BikeSettings expected = Completed();
  EXPECT_TRUE(SameRecord(r, expected));

  // A selection out of range goes as bike 0; a zero inside the first four name characters ends
  // the name there.
  r = Sample();
  r.BikeSelection = 7;
  std::memcpy(r.Bikes[0].BikeName, "Ro\0d", 4);
  ASSERT_EQ(fnQuibra_PrepareBikeSettings(&r), 1);
  EXPECT_EQ(r.BikeSelection, 0);
  EXPECT_EQ(std::memcmp(r.Bikes[0].BikeName, "Ro\0\0", 4), 0);
  EXPECT_EQ(ImageBytes(9019, 1, 5, 9), (Bytes{0x05, 0x1C, 0x33, 0x0A, 0x0A}));
  EXPECT_EQ(ImageBytes(9019, 1, 12, 12), Bytes{0x0A});
  EXPECT_EQ(ImageBytes(9019, 1, 29, 29), Bytes{0x00});
}

TEST_F(BikeSettingsTest, EveryFailingCheckLeavesTheImageUntouched) {
  BikeSettings good = Sample();
  ASSERT_EQ(fnQuibra_PrepareBikeSettings(&good), 1);
  const Bytes before = SentImage(9019, 1);
  struct Case {
    const char* what;
    void (*spoil)(BikeSettings&);
  };
  const Case cases[] = {
      {"option 2 of bike 0 is 2", [](BikeSettings& r) { r.Bikes[0].BikeOption2 = 2; }},
      {"option 0 of bike 1 is -1", [](BikeSettings& r) { r.Bikes[1].BikeOption0 = -1; }},
      {"option 3 of bike 1 is 5", [](BikeSettings& r) { r.Bikes[1].BikeOption3 = 5; }},
      {"underscore in a name", [](BikeSettings& r) { r.Bikes[1].BikeName[1] = '_'; }},
      {"underscore beyond the kept four",
       [](BikeSettings& r) { std::memcpy(r.Bikes[0].BikeName, "Road_", 5); }},
      {"9108: total above 999999",
       [](BikeSettings& r) {
         r.LayoutType = 32;
         r.Bikes[1].BikeTotal = 1000000;
       }},
      {"9108: value above 16 bits",
       [](BikeSettings& r) {
         r.LayoutType = 32;
         r.Bikes[0].BikeValue16 = 0x10000;
       }},
  };
  for (const Case& c : cases) {
    BikeSettings r = Sample();
    c.spoil(r);
    EXPECT_EQ(fnQuibra_PrepareBikeSettings(&r), 0) << c.what;
    EXPECT_EQ(SentImage(9019, 1), before) << c.what;
  }
  // Bike 2 is not sent, so it is not checked either.
  BikeSettings r = Sample();
  r.Bikes[2].BikeOption0 = 9;
  r.Bikes[2].BikeName[0] = '_';
  EXPECT_EQ(fnQuibra_PrepareBikeSettings(&r), 1);
}

TEST_F(BikeSettingsTest, UnPackReadsTheImageOneIndexLater) {
  // The read image of the sample, shifted by hand, with an unknown device code (0x7F) in the
  // last place of bike 1's name and the third place of bike 0's.
  Bytes image = kSampleImage;
  image[3] = 0x7F;
  image[11] = 0x7F;
  for (size_t i = 0; i < image.size(); ++i)
    protocol::SetMessageByte(9020, 1, static_cast<int32_t>(i) + 6, image[i]);
  BikeSettings r;
  std::memset(&r, 0x55, sizeof r);
  EXPECT_EQ(fnQuibra_UnPackBikeSettings(&r), 1);
  BikeSettings expected = Completed();
  expected.Bikes[0].BikeName[2] = '\n';
  expected.Bikes[1].BikeName[2] = ' ';  // a space before an unknown character stays
  expected.Bikes[1].BikeName[3] = '\n';
  EXPECT_TRUE(SameRecord(r, expected));
}

TEST_F(BikeSettingsTest, ResetGivesThreeBikesThatPassTheChecks) {
  BikeSettings r;
  std::memset(&r, 0x66, sizeof r);
  EXPECT_EQ(fnQuibra_ResetBikeSettings(&r), &r);
  EXPECT_EQ(r.Size, 160);
  EXPECT_EQ(r.LayoutType, 0);
  EXPECT_EQ(r.BikeSelection, 0);
  EXPECT_EQ(r.SendTwice, 0);
  const char* names[] = {"Road\0\0\0\0", "MTB\0\0\0\0\0", "Bike\0\0\0\0"};
  const int32_t wheels[] = {2250, 2100, 2100};
  for (int b = 0; b < 3; ++b) {
    const BikeEntry& bike = r.Bikes[b];
    EXPECT_EQ(std::memcmp(bike.BikeName, names[b], 8), 0) << b;
    EXPECT_EQ(bike.WheelSize, wheels[b]) << b;
    EXPECT_EQ(bike.BikeOption0 + bike.BikeOption2 + bike.BikeOption3, 0) << b;
    EXPECT_EQ(bike.BikeOption1, 1) << b;
    EXPECT_EQ(bike.BikeTotal + bike.BikeValue16, 0) << b;
    EXPECT_EQ(bike.BikeSettingA, 304) << b;
    EXPECT_EQ(bike.BikeSettingB, 1473) << b;
    EXPECT_EQ(bike.BikeSettingC, 420) << b;
  }
  ASSERT_EQ(fnQuibra_PrepareBikeSettings(&r), 1);
  EXPECT_EQ(ImageBytes(9019, 1, 12, 18), (Bytes{0x02, 0x17, 0x1E, 0x0C, 0x0A, 0x00, 0x21}));
}

TEST_F(BikeSettingsTest, TheShortLayoutPacksFlagsWheelsAndTotals) {
  BikeSettings r = Sample9108();
  ASSERT_EQ(fnQuibra_PrepareBikeSettings(&r), 1);
  EXPECT_EQ(ImageBytes(9108, 1, 5, 19), kSample9108);
  EXPECT_EQ(SentImage(9108, 1).size(), 22u);
  // Bike 1 is not selected by the flag byte: only bike 2 is.
  r.BikeSelection = 1;
  r.SendTwice = 0;
  r.Bikes[1].BikeValue16 = 0;
  ASSERT_EQ(fnQuibra_PrepareBikeSettings(&r), 1);
  EXPECT_EQ(ImageBytes(9108, 1, 5, 5), Bytes{0x16});
  EXPECT_EQ(ImageBytes(9108, 1, 18, 19), (Bytes{0x00, 0x00}));
}

TEST_F(BikeSettingsTest, SendThenReadThroughASimulatedUnit) {
  ASSERT_TRUE(start_unit(22));
  BikeSettings sent = Sample();
  CommParams p = infrared();
  ASSERT_EQ(fnQuibra_SendBikesSettings(&p, &sent), 1);
  EXPECT_EQ(last_write(9019).payload, kSampleImage);

  // The unit keeps 9019 and 9020 as one area: the read gives back what the write sent.
  BikeSettings got;
  std::memset(&got, 0x55, sizeof got);
  ASSERT_EQ(fnQuibra_ReadBikesSettings(&p, &got), 1);
  EXPECT_EQ(fnQuibra_GetErrorCode(), -1);
  EXPECT_TRUE(SameRecord(got, Completed()));
  EXPECT_EQ(ImageBytes(9020, 1, 6, 30), kSampleImage);
}

TEST_F(BikeSettingsTest, ByDataFileInBothLayouts) {
  BikeSettings sent = Sample();
  CommParams p = write_file();
  ASSERT_EQ(fnQuibra_SendBikesSettings(&p, &sent), 1);
  BikeSettings loaded{};
  p = read_file();
  ASSERT_EQ(fnQuibra_SendBikesSettings(&p, &loaded), 1);
  EXPECT_TRUE(SameRecord(loaded, Completed()));

  // The short layout comes back from the data file by its own layout.
  sent = Sample9108();
  p = write_file();
  ASSERT_EQ(fnQuibra_SendBikesSettings(&p, &sent), 1);
  EXPECT_TRUE(speaker_.heard.empty());
  loaded = BikeSettings{};
  loaded.LayoutType = 32;
  p = read_file();
  ASSERT_EQ(fnQuibra_SendBikesSettings(&p, &loaded), 1);
  EXPECT_EQ(loaded.LayoutType, 32);
  EXPECT_EQ(loaded.BikeSelection, 2);
  EXPECT_EQ(loaded.SendTwice, 1);
  EXPECT_EQ(loaded.Bikes[0].WheelSize, 2105);
  EXPECT_EQ(loaded.Bikes[0].BikeOption0, 1);
  EXPECT_EQ(loaded.Bikes[0].BikeTotal, 123456);
  EXPECT_EQ(loaded.Bikes[1].BikeOption2, 1);
  EXPECT_EQ(loaded.Bikes[1].BikeTotal, 7);
  EXPECT_EQ(loaded.Bikes[1].BikeValue16, 0x1234);
  EXPECT_EQ(loaded.Bikes[1].BikeSettingB, 1400);  // not in the layout: checked to its default
}

TEST_F(BikeSettingsTest, TheShortLayoutGoesTwiceBySoundWhenAsked) {
  BikeSettings r = Sample9108();
  CommParams p = sound();
  ASSERT_EQ(fnQuibra_SendBikesSettings(&p, &r), 1);
  ASSERT_EQ(speaker_.heard.size(), 2u);
  EXPECT_EQ(Bytes(speaker_.heard[0].begin() + 7, speaker_.heard[0].end() - 4), kSample9108);
  Bytes second = kSample9108;
  second[0] = 0x57;  // the flag clear
  EXPECT_EQ(Bytes(speaker_.heard[1].begin() + 7, speaker_.heard[1].end() - 4), second);
  EXPECT_EQ(speaker_.heard[1], Padded(SentImage(9108, 1)));
  EXPECT_EQ(r.SendTwice, 1);

  // Without the flag, or in the longer layout, once.
  r.SendTwice = 0;
  ASSERT_EQ(fnQuibra_SendBikesSettings(&p, &r), 1);
  EXPECT_EQ(speaker_.heard.size(), 3u);
  r = Sample();
  r.SendTwice = 1;
  ASSERT_EQ(fnQuibra_SendBikesSettings(&p, &r), 1);
  EXPECT_EQ(speaker_.heard.size(), 4u);

  // A failing check sends nothing.
  r = Sample9108();
  r.Bikes[0].BikeOption1 = 3;
  EXPECT_EQ(fnQuibra_SendBikesSettings(&p, &r), 0);
  EXPECT_EQ(speaker_.heard.size(), 4u);
}

}  // namespace
}  // namespace quibra::testing
