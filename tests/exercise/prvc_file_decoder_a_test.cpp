// The exercise files of types 33, 35, 36 and 37, laid out byte by byte: every position and value
// below is worked out by hand from the file layout, not by the simulator's encoder.
#include <map>

#include "quibra/quibra.h"
#include "support/exercise_expectations.h"
#include "support/exercise_memory_fixture.h"

namespace quibra::testing {
namespace {

class FileDecoderA : public ExerciseMemoryTest {
 protected:
  // Bytes 5 (version), 22..23 (a valid date) and 30 (summary present) as most files have them.
  Bytes File(int32_t version, int32_t sensors, int32_t options) {
    return {{5, static_cast<uint8_t>(version)},
            {19, static_cast<uint8_t>(sensors)},
            {20, static_cast<uint8_t>(options)},
            {22, 0x6F},
            {23, 0x34},
            {30, 1}};
  }
  static void Put16(Bytes& b, int32_t at, int32_t value) {
    b[at] = static_cast<uint8_t>(value & 0xFF);
    b[at + 1] = static_cast<uint8_t>(value >> 8);
  }
  // One data page of `kind` at `at`, its payload from at + 1.
  static void Page(Bytes& b, int32_t at, int32_t kind, std::initializer_list<int> payload) {
    b[at] = static_cast<uint8_t>(kind);
    int32_t p = at + 1;
    for (const int v : payload)
      b[p++] = static_cast<uint8_t>(v);
  }
  int32_t Decode(int32_t type, const Bytes& b, int32_t count, int32_t mode = 0) {
    Load(b, count);
    m().unit.type = type;
    return fnQuibra_AnalyzeFile(0, mode);
  }
  static int32_t Sample(int32_t channel, int32_t i) { return fnQuibra_GetHRMSamples(channel, i); }
};

TEST_F(FileDecoderA, Type33HeaderSpeedTripAndAPartlyUsedPage) {
  Bytes b = File(3, 0x88, 0x00);  // speed, trip total; 1 s
  Put16(b, 16, 0x1234);
  b[21] = 5;
  b[24] = 0x30, b[25] = 0x45, b[26] = 0x09;  // 09:45:30
  // 1 h 5 min 20.7 s: tenths 7 = 3 (bits 6..7 of 27) + 4 x 1 (bits 6..7 of 28).
  b[27] = 0xD4, b[28] = 0x45, b[29] = 1;
  b[31] = 2, b[32] = 3;
  Put16(b, 33, 1000);
  b[36] = 7, b[37] = 55, b[38] = 48, b[39] = 9, b[40] = 8, b[41] = 76;
  Put16(b, 42, 10);
  b[47] = 0x80;  // bit 7 is not part of the lap count
  Put16(b, 53, 2560), Put16(b, 55, 5120);
  b[57] = 0x0D, b[58] = 2, b[59] = 1;                   // 3.25 + 128 + 16384
  b[60] = 0x56, b[61] = 0x34, b[62] = 0x12, b[63] = 1;  // trip 1123456: its fourth byte at 63
  b[85] = 9, b[86] = 0x12, b[87] = 0x03;                // group 9, 4 bytes on for the trip
  b[101] = 2;                                           // group 11
  b[103] = 11, b[113] = 21;                             // group 12
  b[114] = 0x05, b[115] = 0x01, b[142] = 0x02;
  // Data directory at 144: one sample page of which 4 bytes count; 65535 R-R pages are none.
  b[144] = 1, b[148] = 0xFF, b[149] = 0xFF, b[150] = 4;
  Page(b, 153, 0, {120, 20, 0x10, 0x00, 99, 98, 97, 96});
  ASSERT_EQ(Decode(33, b, 408), 1);
  ExpectParams({{5, 33}, {153, 0x1234}, {152, 5}, {9, 20260315}, {10, 351300}, {11, 3920700}});
  ExpectParams({{40, 3920}, {36, 1}, {37, 2}, {35, 3}, {80, 1000}, {91, 1000}, {134, 7}});
  ExpectParams({{26, 55}, {89, 48}, {148, 9}, {149, 8}, {150, 76}, {81, 120}, {151, 1000}});
  ExpectParams({{44, 100}, {43, 200}, {38, 165}, {169, 1651525}, {45, 11235}, {145, 9}});
  ExpectParams({{144, 780}, {167, 2}, {115, 11}, {165, 21}, {125, 650}, {159, 1200}});
  ExpectParams({{12, 1}, {7, 32}, {146, 0}});
  ExpectFlags({{3, 1}, {8, 1}, {21, 1}, {13, 0}});
  ASSERT_EQ(fnQuibra_GetNbrOfHRMSamples(), 1);
  EXPECT_EQ(Sample(1, 0), 120);
  EXPECT_EQ(Sample(2, 0), 100);  // 20 half km/h
}

// Without the speed group the trip total starts the summary, and the later groups follow it.
TEST_F(FileDecoderA, Type33TripWithoutSpeedStartsAt53) {
  Bytes b = File(3, 0x80, 0x00);
  b[53] = 0x99, b[54] = 0x99, b[55] = 0x99, b[56] = 0x00;
  b[78] = 4;  // group 9 after 2 + 2 + 17 bytes of groups 4..6
  b[94] = 6;  // group 11
  ASSERT_EQ(Decode(33, b, 200), 1);
  ExpectParams({{45, 10000}, {145, 4}, {167, 6}, {7, 16}});
  ExpectFlags({{3, 0}, {8, 0}});
}

// A type 35 recording R-R intervals and nothing else keeps them as samples of interval 238;
// analysis mode 2 decodes one with speed the same way and leaves the speed out.
TEST_F(FileDecoderA, RrCapableExercises) {
  Bytes b = File(5, 0x00, 0x04);
  b[145] = 1, b[149] = 6;  // directory at 141: one R-R page, 6 bytes used
  Page(b, 150, 2, {0x20, 0x03, 0x00, 0x00, 0x84, 0x03});
  ASSERT_EQ(Decode(35, b, 405), 1);
  ExpectParams({{12, 238}, {7, 16}, {146, 1}});
  ExpectFlags({{3, 0}});
  ASSERT_EQ(fnQuibra_GetNbrOfHRMSamples(), 2);  // the gap (0) is not an interval
  EXPECT_EQ(Sample(1, 0), 800);
  EXPECT_EQ(Sample(1, 1), 900);

  // With speed the summary is 7 bytes longer: directory at 148, one sample and one R-R page.
  b = File(5, 0x08, 0x04);
  b[28] = 1;                                  // 1 min
  b[148] = 1, b[152] = 1;                     // one sample page
  b[154] = 3, b[156] = 4;                     // 3 bytes of samples, 4 of R-R intervals
  Page(b, 157, 0, {10, 0, 0});                // speed 5 km/h and its distance, no heart-rate byte
  Page(b, 413, 2, {0xF4, 0x01, 0xF4, 0x01});  // two beats of 500 ms: 120 bpm
  ASSERT_EQ(Decode(35, b, 668), 1);
  ExpectParams({{12, 1}, {7, 32}});
  ExpectFlags({{3, 1}, {8, 1}});
  ASSERT_EQ(fnQuibra_GetNbrOfHRMSamples(), 1);
  EXPECT_EQ(Sample(1, 0), 120);
  EXPECT_EQ(Sample(2, 0), 50);
  ASSERT_EQ(Decode(35, b, 668, 2), 1);
  ExpectParams({{12, 238}, {7, 16}});
  ExpectFlags({{3, 0}, {8, 0}});
  ASSERT_EQ(fnQuibra_GetNbrOfHRMSamples(), 2);
  EXPECT_EQ(Sample(1, 1), 500);
}

// From 1 s, the first marker switches to 5 s (records of the same size) and the second to 15 s,
// where the speed takes 16 bits. The store keeps 1 s: the records stand for 5 and 15 samples.
TEST_F(FileDecoderA, MarkersSwitchToCoarserIntervals) {
  Bytes b = File(1, 0x08, 0x00);
  b[27] = 21;  // 21 s
  b[117] = 1, b[123] = 21;
  Page(b, 126, 0, {100, 10,  0,   0,   255, 255, 255,  255,  110, 20, 0,
                   0,   255, 255, 255, 255, 120, 0x40, 0x01, 0,   0});
  ASSERT_EQ(Decode(36, b, 381), 1);
  ASSERT_EQ(fnQuibra_GetNbrOfHRMSamples(), 21);
  EXPECT_EQ(Sample(1, 0), 100);
  EXPECT_EQ(Sample(2, 0), 50);
  for (int32_t i = 1; i <= 5; ++i) {
    EXPECT_EQ(Sample(1, i), 110);
    EXPECT_EQ(Sample(2, i), 100);
  }
  for (int32_t i = 6; i <= 20; ++i) {
    EXPECT_EQ(Sample(1, i), 120);
    EXPECT_EQ(Sample(2, i), 200);  // 320 sixteenths of km/h
  }
  ExpectParams({{12, 1}, {142, 1000}});  // an unset scale counts as 1.0

  // Samples stop at the length plus two samples of the stored interval: 15 s keeps 17.
  b[27] = 15;
  ASSERT_EQ(Decode(36, b, 381), 1);
  EXPECT_EQ(fnQuibra_GetNbrOfHRMSamples(), 17);
}

// A type 37 lap scales speeds and distance by parameter 142 (1.2); bit 7 of its hour byte marks
// the lap kind. The lap area closes the file.
TEST_F(FileDecoderA, Type37LapWithScaleAndKind) {
  Bytes b = File(4, 0x0A, 0x00);  // speed, cadence
  b[28] = 10;                     // 10 min
  b[47] = 1;
  b[59] = 1;                                    // distance 16384
  b[62] = 80, b[63] = 85;                       // cadence summary
  Put16(b, 93, 1200);                           // the scale
  b[95] = 3;                                    // group 11 (version 4)
  b[147] = 0x9E, b[148] = 0x02, b[149] = 0x80;  // 2:30.2, lap kind bit
  b[150] = 140, b[151] = 130, b[152] = 160;
  Put16(b, 153, 2560), Put16(b, 155, 1280);
  b[158] = 0x10;  // distance 1024
  Put16(b, 160, 100);
  b[162] = 88, b[163] = 210;
  ASSERT_EQ(Decode(37, b, 163), 1);
  ExpectParams({{142, 1200}, {38, 197}, {169, 1966080}, {104, 80}, {103, 85}, {167, 3}});
  ExpectFlags({{10, 1}, {13, 1}, {22, 0}});
  ASSERT_EQ(fnQuibra_GetNbrOfIntTimes(), 1);
  ExpectLap(0, {{601, 1502}, {648, 2}, {607, 140}, {609, 130}, {610, 160}, {611, 120}});
  ExpectLap(0, {{612, 60}, {604, 1229}, {651, 120}, {613, 88}, {614, 199}, {659, 1}});

  // Cadence bytes of at most 1: the rider had no sensor; the scale falls back to 1.0.
  b[62] = 1, b[63] = 0;
  ASSERT_EQ(Decode(37, b, 163), 1);
  ExpectParams({{142, 1000}});
  ExpectFlags({{10, 0}, {22, 1}});
  ExpectLap(0, {{611, 100}, {613, 0}});
}

TEST_F(FileDecoderA, ExtraValuesFillChannels10To12) {
  Bytes b = File(1, 0x1A, 0x00);  // speed, extra values; cadence is ignored with them
  b[27] = 10;
  b[117] = 1, b[123] = 12;
  Page(b, 126, 0, {90, 8, 0, 0, 0x10, 0x27, 0x53, 7, 0x01, 0x00, 0x6A, 2});
  ASSERT_EQ(Decode(36, b, 381), 1);
  ExpectFlags({{23, 1}, {10, 0}, {3, 1}});
  ASSERT_EQ(fnQuibra_GetNbrOfHRMSamples(), 1);
  EXPECT_EQ(Sample(1, 0), 90);
  EXPECT_EQ(Sample(10, 0), 2655361);
  EXPECT_EQ(Sample(11, 0), 7206608);
  EXPECT_EQ(Sample(12, 0), 85);
}

// Before version 4 a type 37 file has no group 11 and no distance after the sample speed; its
// cadence byte without speed takes its place in the record but is not shown.
TEST_F(FileDecoderA, Type37BeforeVersion4) {
  Bytes b = File(3, 0x02, 0x00);
  b[27] = 10;
  b[89] = 13;  // group 12 after its unused byte at 88 (group 11 absent)
  b[130] = 1, b[136] = 4;
  Page(b, 139, 0, {100, 70, 101, 71});
  ASSERT_EQ(Decode(37, b, 394), 1);
  ExpectParams({{167, 1}, {115, 13}});
  ExpectFlags({{10, 0}});
  ASSERT_EQ(fnQuibra_GetNbrOfHRMSamples(), 2);
  EXPECT_EQ(Sample(1, 1), 101);
  EXPECT_EQ(Sample(3, 1), 0);
}

// Pages counted past the end of the file: the file was cut short, nothing is decoded.
TEST_F(FileDecoderA, TruncatedFileIsRefused) {
  Bytes b = File(1, 0x00, 0x00);
  b[110] = 2, b[116] = 10;  // directory at 110: two pages, one in the file
  EXPECT_EQ(Decode(36, b, 381), 0);
  EXPECT_EQ(fnQuibra_GetNbrOfHRMSamples(), 0);
  EXPECT_EQ(fnQuibra_GetRecParam(9), 0);
}

}  // namespace
}  // namespace quibra::testing
