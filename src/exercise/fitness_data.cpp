#include "exercise/fitness_data.h"

#include <algorithm>
#include <cstring>
#include <span>

#include "codec/charset.h"
#include "codec/dates.h"
#include "exercise/analysis.h"
#include "exercise/exercise_locator.h"
#include "exercise/field_readers.h"
#include "exercise/record_store.h"
#include "exercise/usage_counters.h"
#include "frame/module.h"

namespace quibra::exercise {
namespace {

constexpr int32_t kRec = 0;
constexpr int32_t kDataType = 7;
constexpr int32_t kLeadBlocks = 8;
constexpr int32_t kFileCount = 9;
constexpr int32_t kSummaryStart = 47;
constexpr int32_t kLeadBlockSize = 15;
constexpr int32_t kShortSummary = 43;
constexpr int32_t kLongSummary = 44;
constexpr size_t kNameLength = 8;
constexpr char kUnnamed[] = "Exercise";

// Summary fields (offsets from the summary's start) that go to the store as they stand.
struct SummaryField {
  int32_t offset;
  int32_t param;
};
constexpr SummaryField kSummaryBytes[] = {{17, 36}, {18, 37}, {21, 108}, {35, 20}, {36, 19}};
constexpr SummaryField kSummaryWords[] = {{19, 80}, {19, 91}};
constexpr SummaryField kSummaryTimes[] = {{23, 67}, {26, 70}, {29, 73}, {32, 76}};
constexpr int32_t kSummaryDay = 8;
constexpr int32_t kSummaryStartTime = 11;
constexpr int32_t kSummaryDuration = 14;
constexpr int32_t kSummaryOption = 22;
constexpr int32_t kSummaryLast = 43;  // only in the 44-byte summaries

// Test records: J9 and type 26 keep 47 of 4 bytes (day, month, year - 2000, value) from
// position 8; type 30 keeps 16 from position 12, newest first from the index in position 76;
// type 32 keeps a ring of 47 from position 170 whose newest index is position 358.
constexpr int32_t kTestSlots = 47;
constexpr int32_t kTestStart = 8;
constexpr int32_t kType30Slots = 16;
constexpr int32_t kType30Start = 12;
constexpr int32_t kType30Newest = 76;
constexpr int32_t kType32Start = 170;
constexpr int32_t kType32Newest = 358;
constexpr int32_t kTestValue = 3;
constexpr int32_t kRelaxationSize = 13;
constexpr int32_t kRelaxationValue = 11;

// Programme summary positions.
constexpr int32_t kProgramWords[] = {8, 10, 12, 14, 16};
constexpr int32_t kProgramByte = 158;
constexpr int32_t kProgramMoreWords[] = {159, 161};
constexpr int32_t kProgramRates[] = {163, 165, 167};
constexpr int32_t kProgramRunState = 181;
constexpr int64_t kRateScale = 512;

MemoryReader Memory() {
  return MemoryReader(module().exercise_memory);
}

int32_t SummarySize(const MemoryReader& m) {
  return (m.byte(kDataType) >> 4) == 0 ? kShortSummary : kLongSummary;
}

// Where summary n starts, or 0 when it does not lie within the image.
int32_t SummaryAt(const MemoryReader& m, int32_t n) {
  if (n < 0 || n > 255) return 0;
  const int32_t size = SummarySize(m);
  const int32_t at = kSummaryStart + kLeadBlockSize * m.byte(kLeadBlocks) + n * size;
  return at + kShortSummary - 1 <= m.count() ? at : 0;
}

// day (bits 0..6), month (bits 0..3), year - 2000: yyyymmdd, or 0 when it is not a date.
int32_t TestDate(const MemoryReader& m, int32_t at) {
  const int32_t date =
      codec::MakeDate(m.byte(at) & 0x7F, m.byte(at + 1) & 0x0F, 2000 + m.byte(at + 2));
  return codec::IsValidDate(date) ? date : 0;
}

int32_t CountValidDates(const MemoryReader& m, int32_t first, int32_t slots) {
  int32_t count = 0;
  for (int32_t k = 0; k < slots; ++k)
    count += TestDate(m, first + 4 * k) != 0 ? 1 : 0;
  return count;
}

// The position of fitness test i of the unit type, or 0 when the type keeps no tests there.
int32_t TestRecord(const MemoryReader& m, int32_t type, int32_t i) {
  if (i < 0) return 0;
  switch (type) {
    case 30: {
      // Newest first: test 0 is the slot the index names, older ones count back round the ring.
      if (i >= kType30Slots) return 0;
      const int32_t newest = m.byte(kType30Newest) & 0x0F;
      const int32_t k = (newest - i + kType30Slots) % kType30Slots;
      return kType30Start + 4 * k;
    }
    case 32: {
      if (i >= kTestSlots) return 0;
      // Until the ring is full the tests lie in the order they were made; once it is full
      // (every slot dated) the oldest is the one after the newest.
      const bool wrapped = CountValidDates(m, kType32Start, kTestSlots) == kTestSlots;
      const int32_t first = wrapped ? (m.byte(kType32Newest) + 1) % kTestSlots : 0;
      return kType32Start + 4 * ((first + i) % kTestSlots);
    }
    case 24:
    case 25:
    case 26:
    case 27:
      return i < kTestSlots ? kTestStart + 4 * i : 0;
    default:
      return -1;
  }
}

int32_t RelaxationRecord(int32_t i) {
  if (i < 0 || i >= module().j9.relaxation_count) return 0;
  return kTestStart + kRelaxationSize * i;
}

// Eight device codes of table 0 into a terminated text, blanks and terminators cut from the
// end (the first character stays).
int32_t DeviceName(const MemoryReader& m, int32_t at, char* buffer) {
  size_t length = kNameLength;
  for (size_t i = 0; i < kNameLength; ++i) {
    const int32_t code = m.byte(at + static_cast<int32_t>(i));
    buffer[i] = static_cast<char>(codec::DeviceCodeToChar(code, 0, 0));
  }
  while (length > 1 && (buffer[length - 1] == ' ' || buffer[length - 1] == '\0'))
    --length;
  buffer[length] = '\0';
  return static_cast<int32_t>(std::strlen(buffer));
}

int32_t Scaled(int32_t value, int32_t factor) {
  return static_cast<int32_t>(static_cast<int64_t>(value) * factor / kRateScale);
}

}  // namespace

int32_t GetFitnessDataType() {
  RefreshUnitFromSingleImage();
  const MemoryReader m = Memory();
  switch (module().unit.type.load()) {
    case 6:
    case 9:
    case 10:
    case 31:
      return 2;
    case 32:
      return 5;
    default:
      return m.byte(kDataType) & 0x0F;
  }
}

int32_t GetFitnessFileCount() {
  RefreshUnitFromSingleImage();
  const MemoryReader m = Memory();
  switch (module().unit.type.load()) {
    case 6:
    case 9:
    case 10:
    case 30:
      return 1;
    case 31: {
      const int32_t b = m.byte(kLeadBlocks);
      return (b & 0x0F) != 0 ? 1 : b >> 4;
    }
    default:
      return m.byte(kFileCount);
  }
}

int32_t DecodeFitnessExercise(const MemoryReader& m, ExerciseStore& s, int32_t /*monitor_type*/,
                              int32_t index, ImageMode /*mode*/) {
  const int32_t r = SummaryAt(m, index);
  if (r == 0) return 0;
  int32_t year = 2000 + m.byte(r + kSummaryDay + 2);
  if (year > 2089) year -= 100;
  s.SetExerciseParam(
      kRec, 9,
      codec::MakeDate(m.byte(r + kSummaryDay) & 0x7F, m.byte(r + kSummaryDay + 1) & 0x0F, year));
  s.SetExerciseParam(kRec, 10, TimeTriple(m, r + kSummaryStartTime));
  s.SetExerciseParam(kRec, 11, TimeTriple(m, r + kSummaryDuration) * 100);
  for (const SummaryField& f : kSummaryBytes)
    s.SetExerciseParam(kRec, f.param, m.byte(r + f.offset));
  for (const SummaryField& f : kSummaryWords)
    s.SetExerciseParam(kRec, f.param, m.u16(r + f.offset));
  for (const SummaryField& f : kSummaryTimes)
    s.SetExerciseParam(kRec, f.param, TimeTriple(m, r + f.offset));
  const int32_t option = m.byte(r + kSummaryOption);
  s.SetExerciseParam(kRec, 109, (option & 0x04) != 0 ? 2 : option & 1);
  if ((m.byte(kDataType) & 1) != 0) s.SetExerciseParam(kRec, 134, m.byte(r + kSummaryLast));
  return 1;
}

int32_t AnalyzeFitnessFile(int32_t n) {
  Module& mod = module();
  ExerciseStore& store = mod.exercise_store;
  store.ResetExerciseRecord(kRec);
  store.SetExerciseParam(kRec, kParamMonitorType, mod.unit.type.load());
  return DecodeFitnessExercise(Memory(), store, mod.unit.type.load(), n,
                               ImageMode::kSingleExercise);
}

int32_t GetFitnessExeName(char* buffer, int32_t n) {
  if (buffer == nullptr) return 0;
  const MemoryReader m = Memory();
  const int32_t r = SummaryAt(m, n);
  if (r == 0) {
    buffer[0] = '\0';
    return 0;
  }
  if ((m.byte(r) & 0x80) != 0) {
    std::memcpy(buffer, kUnnamed, sizeof kUnnamed);
    return static_cast<int32_t>(sizeof kUnnamed - 1);
  }
  return DeviceName(m, r, buffer);
}

int32_t GetFitnessTestCount() {
  const MemoryReader m = Memory();
  switch (module().unit.type.load()) {
    case 30:
      return CountValidDates(m, kType30Start, kType30Slots);
    case 32:
      return CountValidDates(m, kType32Start, kTestSlots);
    case 26:
      return CountValidDates(m, kTestStart, kTestSlots);
    default:
      return (m.byte(5) + 256 * m.byte(6) - 1) / 4;
  }
}

int32_t GetFitnessTestDate(int32_t i) {
  const MemoryReader m = Memory();
  const int32_t at = TestRecord(m, module().unit.type.load(), i);
  if (at < 0) return kNoValue;
  return at == 0 ? 0 : TestDate(m, at);
}

int32_t GetFitnessTestValue(int32_t i) {
  const MemoryReader m = Memory();
  const int32_t at = TestRecord(m, module().unit.type.load(), i);
  if (at < 0) return kNoValue;
  return at == 0 ? 0 : m.byte(at + kTestValue);
}

int32_t GetCalmGaugeTestDate(int32_t i) {
  const int32_t at = RelaxationRecord(i);
  return at == 0 ? 0 : TestDate(Memory(), at);
}

int32_t GetCalmGaugeTestValue(int32_t i) {
  const int32_t at = RelaxationRecord(i);
  return at == 0 ? 0 : Memory().byte(at + kRelaxationValue);
}

void GetProgramSummary(FitnessProgramSummary& info) {
  const MemoryReader m = Memory();
  int32_t words[5];
  for (size_t i = 0; i < std::size(kProgramWords); ++i)
    words[i] = m.u16(kProgramWords[i]);
  info.Value1 = words[0];
  info.Value2 = words[1];
  info.FactorA = words[2];
  info.FactorB = words[3];
  info.FactorC = words[4];
  info.Byte158 = m.byte(kProgramByte);
  info.Value159 = m.u16(kProgramMoreWords[0]);
  info.Value161 = m.u16(kProgramMoreWords[1]);
  info.ScaledA = Scaled(m.u16(kProgramRates[0]), info.FactorA);
  info.ScaledB = Scaled(m.u16(kProgramRates[1]), info.FactorB);
  info.ScaledC = Scaled(m.u16(kProgramRates[2]), info.FactorC);
  if ((m.byte(kDataType) >> 4) != 0) {
    const int32_t state = m.byte(kProgramRunState);
    info.RunState = state == 255 ? -1 : state;
  } else {
    info.RunState = kNoValue;
  }
}

bool GetProgramFileInfo(int32_t n, FitnessProgramFile& info) {
  std::memset(&info, 0, sizeof info);
  info.Size = sizeof info;
  if (n < 0 || n >= kProgramEntries) return false;
  const MemoryReader m = Memory();
  const int32_t p = kProgramEntryStart + kProgramEntrySize * n;
  int32_t* values[] = {&info.Value1, &info.Value2, &info.Value3, &info.Value4, &info.Value5};
  for (size_t i = 0; i < std::size(values); ++i)
    *values[i] = m.u16(p + 2 * static_cast<int32_t>(i));
  DeviceName(m, p + kProgramEntryName, info.Name);
  info.Last = m.byte(p + kProgramEntryLast);
  return true;
}

}  // namespace quibra::exercise
