#include "wire_table.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace quibra::sim {
namespace {

using enum Msg;
using R = Role;

constexpr WireRow Row(Msg msg, Role role, Msg area, int16_t request, int16_t answer,
                      int16_t short_request, int16_t short_answer, uint8_t short_from = 1) {
  return {msg, role, area, request, answer, short_request, short_answer, short_from};
}

// Columns: message, role, area, serial request and answer, short-form request and answer
// (frame lengths with header and checksum on the serial line; code and bytes in the short form).
// An acknowledgement is 8 bytes on the line and 2 in the short form (1 where the unit sends the
// code alone). A row of zeros is a message the unit never takes in that form.
constexpr WireRow kRows[] = {
    Row(kWatchWrite, R::kWrite, kWatchRead, 18, 8, 12, 2),
    Row(kWatchRead, R::kRead, kWatchRead, 7, 18, 1, 12),
    Row(kExerciseSetWrite, R::kWrite, kExerciseSetRead, 40, 8, 34, 2),
    Row(kExerciseSetRead, R::kRead, kExerciseSetRead, 8, 40, 2, 28),
    Row(kUserWrite, R::kWrite, kUserRead, 30, 8, 24, 2),
    Row(kUserRead, R::kRead, kUserRead, 7, 30, 1, 24),
    Row(kBlockWrite, R::kBlock, kBlockWrite, 0, 0, 0, 0),
    Row(kBlockRead, R::kBlock, kBlockRead, 0, 0, 0, 0),
    Row(kFactoryDefaults, R::kCommand, kFactoryDefaults, 7, 8, 1, 2),
    // The unit turns to its watch mode at once and says nothing; the library does not wait.
    Row(kWatchMode, R::kCommand, kWatchMode, 7, 0, 1, 0),
    // The file transfer answers with packets whose lengths the packets themselves announce.
    Row(kFileRead, R::kFile, kFileRead, 7, 0, 0, 0),
    Row(kFileDelete, R::kCommand, kFileDelete, 14, 8, 8, 1),
    Row(kReminderWrite, R::kWrite, kReminderRead, 21, 8, 15, 2),
    Row(kReminderRead, R::kRead, kReminderRead, 8, 21, 2, 15),
    // In the short form a logo takes its type's logo length (LogoOf); 52 is the common one.
    Row(kLogoWrite, R::kWrite, kLogoRead, 54, 8, 52, 2),
    Row(kLogoRead, R::kRead, kLogoRead, 7, 54, 1, 48),
    Row(kProfileWrite, R::kWrite, kProfileRead, 81, 8, 0, 0),
    Row(kProfileRead, R::kRead, kProfileRead, 8, 81, 5, 1),
    Row(kBikeWrite, R::kWrite, kBikeRead, 32, 8, 25, 1),
    Row(kBikeRead, R::kRead, kBikeRead, 7, 32, 1, 24),
    Row(kIdentify, R::kRead, kIdentify, 7, 13, 1, 7),
    Row(kPacketAck, R::kFile, kPacketAck, 7, 0, 0, 0),
    Row(kPacketNak, R::kFile, kPacketNak, 7, 0, 0, 0),
    // On the serial line nobody waits for an answer to the keep-alive; on IrDA it is answered.
    Row(kKeepAlive, R::kCommand, kKeepAlive, 7, 0, 2, 2),
    Row(kListen, R::kFile, kListen, 0, 0, 0, 0),
    // A profile travels in the short form in two halves: 55 bytes after its number, then 18.
    Row(kProfileFrontWrite, R::kWrite, kProfileRead, 0, 0, 57, 2),
    Row(kProfileBackWrite, R::kWrite, kProfileRead, 0, 0, 20, 2, 56),
    Row(kProfileFrontRead, R::kRead, kProfileRead, 0, 0, 2, 57),
    Row(kProfileBackRead, R::kRead, kProfileRead, 0, 0, 2, 20, 56),
    Row(kCommand30, R::kCommand, kCommand30, 39, 8, 0, 0),
    Row(kCommand31, R::kCommand, kCommand31, 10, 8, 0, 0),
    Row(kCommand32, R::kCommand, kCommand32, 9, 8, 0, 0),
    Row(kCommand33, R::kCommand, kCommand33, 9, 8, 0, 0),
    Row(kCommand34, R::kCommand, kCommand34, 20, 8, 0, 0),
    Row(kBlockWriteLead, R::kBlock, kBlockWriteLead, 0, 0, 0, 0),
    Row(kLimitsWrite, R::kWrite, kLimitsWrite, 12, 8, 0, 0),
    Row(kSleepMode, R::kCommand, kSleepMode, 7, 8, 1, 2),
    Row(kOutdoorWatchWrite, R::kWrite, kOutdoorWatchRead, 44, 8, 38, 2),
    Row(kOutdoorWatchRead, R::kRead, kOutdoorWatchRead, 7, 44, 1, 38),
    Row(kOutdoorUserWrite, R::kWrite, kOutdoorUserRead, 37, 8, 31, 2),
    Row(kOutdoorUserRead, R::kRead, kOutdoorUserRead, 7, 37, 1, 30),
    Row(kWrite44, R::kWrite, kRead45, 17, 8, 11, 2),
    Row(kRead45, R::kRead, kRead45, 8, 17, 2, 9),
    Row(kRead46, R::kRead, kRead46, 7, 58, 1, 52),
    Row(kWrite47, R::kWrite, kWrite47, 8, 8, 2, 2),
    Row(kRead48, R::kRead, kRead48, 7, 30, 1, 24),
    // A serial frame of this write carries no data: only the short form fills the area.
    Row(kWrite49, R::kWrite, kRead48, 7, 8, 1, 2),
    Row(kOutdoorLogoWrite, R::kWrite, kOutdoorLogoRead, 55, 8, 49, 2),
    Row(kOutdoorLogoRead, R::kRead, kOutdoorLogoRead, 8, 55, 2, 48),
    Row(kOutdoorReminderWrite, R::kWrite, kOutdoorReminderRead, 21, 8, 15, 2),
    Row(kOutdoorReminderRead, R::kRead, kOutdoorReminderRead, 8, 21, 2, 13),
    Row(kWrite55, R::kWrite, kWrite55, 21, 8, 16, 2),
    Row(kRead56, R::kRead, kRead56, 7, 49, 2, 42),
    // The fitness units take these by sound; on a line the unit keeps them and says nothing.
    Row(kWrite57, R::kWrite, kWrite57, 188, 0, 0, 0),
    Row(kFitnessOptions, R::kWrite, kFitnessOptions, 8, 0, 0, 0),
    Row(kFitnessUserWrite, R::kWrite, kFitnessUserWrite, 19, 8, 13, 2),
    Row(kFitnessClock, R::kWrite, kFitnessClock, 18, 0, 0, 0),
    Row(kFitnessExercise, R::kWrite, kFitnessExercise, 44, 0, 0, 0),
    Row(kFitnessProgram, R::kWrite, kFitnessProgram, 169, 0, 0, 0),
    Row(kExerciseSetLongWrite, R::kWrite, kExerciseSetLongRead, 63, 8, 57, 2),
    Row(kExerciseSetLongRead, R::kRead, kExerciseSetLongRead, 8, 63, 2, 51),
    Row(kQuery72, R::kRead, kQuery72, 8, 63, 2, 0),
    Row(kWrite73, R::kWrite, kWrite73, 102, 8, 94, 2),
    Row(kPrvcWatchWrite, R::kWrite, kPrvcWatchWrite, 17, 8, 0, 0),
    Row(kFitnessUserLongWrite, R::kWrite, kFitnessUserLongWrite, 19, 8, 13, 2),
    Row(kVcqExerciseWrite, R::kWrite, kVcqExerciseWrite, 19, 8, 0, 0),
    Row(kWrite80, R::kWrite, kWrite80, 18, 0, 0, 0),
    Row(kWrite83, R::kWrite, kWrite83, 36, 8, 0, 0),
    // Also 10 bytes shorter, the layout of type 32 (TakesRequest).
    Row(kPrvcWatchLongWrite, R::kWrite, kPrvcWatchLongWrite, 28, 8, 0, 0),
    // Acknowledged in both forms: the newer units take it after every settings area write over
    // IrDA, and the library waits for the acknowledgement there as on the line.
    Row(kRestoreMemory, R::kCommand, kRestoreMemory, 7, 8, 1, 2),
    Row(kMemoryWrite, R::kDirect, kMemoryWrite, 0, 0, 0, 0),
    Row(kMemoryRead, R::kDirect, kMemoryRead, 0, 0, 0, 0),
    Row(kNewerWatchWrite, R::kWrite, kNewerWatchWrite, 0, 0, 12, 2),
    Row(kNewerWatchMoreWrite, R::kWrite, kNewerWatchMoreWrite, 0, 0, 14, 2),
    Row(kWrite102, R::kWrite, kWrite102, 11, 8, 5, 2),
    Row(kSleepModeNewer, R::kCommand, kSleepModeNewer, 7, 0, 1, 0),
    // The request names the file, a byte limit and the packet wanted: 5 bytes.
    Row(kSingleFile, R::kFile, kSingleFile, 12, 0, 0, 0),
    Row(kBikeLongWrite, R::kWrite, kBikeLongWrite, 22, 0, 17, 2),
};

constexpr AreaRow kAreas[] = {
    {kWatchRead, 11, SubImage::kNone},
    {kExerciseSetRead, 33, SubImage::kLowNibble},
    {kUserRead, 23, SubImage::kNone},
    {kReminderRead, 14, SubImage::kByte},
    {kLogoRead, 47, SubImage::kNone},  // larger on the types with larger logos (AreaBytes)
    {kProfileRead, 74, SubImage::kLowNibble},
    {kBikeRead, 25, SubImage::kNone},
    {kIdentify, 6, SubImage::kNone},  // its first six bytes: all an older unit answers serially
    {kLimitsWrite, 5, SubImage::kNone},
    {kOutdoorWatchRead, 37, SubImage::kNone},
    {kOutdoorUserRead, 30, SubImage::kNone},
    {kRead45, 10, SubImage::kByte},
    {kRead46, 51, SubImage::kNone},
    {kWrite47, 1, SubImage::kNone},
    {kRead48, 23, SubImage::kNone},
    {kOutdoorLogoRead, 48, SubImage::kByte},
    {kOutdoorReminderRead, 14, SubImage::kByte},
    {kWrite55, 14, SubImage::kNone},
    {kRead56, 42, SubImage::kNone},
    {kWrite57, 181, SubImage::kNone},
    {kFitnessOptions, 1, SubImage::kNone},
    {kFitnessUserWrite, 12, SubImage::kNone},
    {kFitnessClock, 11, SubImage::kNone},
    {kFitnessExercise, 37, SubImage::kNone},
    {kFitnessProgram, 162, SubImage::kNone},
    {kExerciseSetLongRead, 56, SubImage::kLowNibble},
    {kQuery72, 56, SubImage::kNone},
    {kWrite73, 95, SubImage::kNone},
    {kPrvcWatchWrite, 10, SubImage::kNone},
    {kFitnessUserLongWrite, 12, SubImage::kNone},
    {kVcqExerciseWrite, 12, SubImage::kNone},
    {kWrite80, 11, SubImage::kNone},
    {kWrite83, 29, SubImage::kNone},
    {kPrvcWatchLongWrite, 21, SubImage::kNone},
    {kNewerWatchWrite, 11, SubImage::kNone},
    {kNewerWatchMoreWrite, 13, SubImage::kNone},
    {kWrite102, 4, SubImage::kNone},
    {kBikeLongWrite, 15, SubImage::kNone},
};

// The blocks, as (address, count); the units of several types share some of them. Which type's
// block the library asks for follows the type it believes it talks to, which need not be the
// unit's own, so a unit takes every block of the table.
constexpr Block kBlocks[] = {
    {96, 2},    {98, 1},   {99, 3},   {102, 3},  {98, 2},   {100, 1},  {101, 3},   {104, 3},
    {73, 3},    {84, 3},   {9, 1},    {4, 1},    {0, 3},    {5, 1},    {132, 26},  {106, 3},
    {109, 3},   {642, 42}, {684, 43}, {139, 2},  {79, 38},  {129, 28}, {320, 181}, {712, 1},
    {1024, 43}, {486, 1},  {741, 1},  {204, 24}, {451, 10},
};

constexpr auto kOverhead = static_cast<int32_t>(kFrameOverhead);

struct TypeLogo {
  int32_t first_type;
  int32_t last_type;
  Logo logo;
};
constexpr TypeLogo kLogos[] = {
    {19, 21, {kOutdoorLogoWrite, 53}}, {25, 27, {kLogoWrite, 99}}, {28, 29, {kIdentify, 52}},
    {30, 30, {kLogoWrite, 197}},       {31, 31, {kIdentify, 52}},  {32, 32, {kIdentify, 99}},
    {33, 38, {kLogoWrite, 199}},
};
constexpr Logo kCommonLogo = {kLogoWrite, 52};

// Type 32 takes its watch settings in the shorter layout.
constexpr int16_t kShortPrvcWatchLength = 18;

// The units that answer the user area one byte short in the short form: (type, variant), any
// variant where it is -1.
struct ShortUserArea {
  int32_t type;
  int32_t variant;
};
constexpr ShortUserArea kShortUserAreas[] = {{22, 2}, {23, -1}, {12, -1}, {11, -1}, {13, -1}};

struct Opcode {
  int32_t type;
  uint8_t opcode;
};
constexpr Opcode kOpcodes[] = {{33, 0xA4}, {34, 0xA7}, {35, 0xA6},
                               {36, 0xAC}, {37, 0xAD}, {38, 0xAE}};

constexpr int32_t kFirstId = IdOf(kWatchWrite);
constexpr int32_t kLastId = IdOf(kBikeLongWrite);

// Id -> row position, or -1.
constexpr auto kRowOf = [] {
  std::array<int16_t, kLastId - kFirstId + 1> rows{};
  rows.fill(-1);
  for (size_t i = 0; i < std::size(kRows); ++i)
    rows[static_cast<size_t>(IdOf(kRows[i].msg) - kFirstId)] = static_cast<int16_t>(i);
  return rows;
}();

constexpr bool AreasAreKnown() {
  for (const WireRow& row : kRows) {
    const bool has_area = row.role == Role::kRead || row.role == Role::kWrite;
    const bool found = std::any_of(std::begin(kAreas), std::end(kAreas),
                                   [&](const AreaRow& a) { return a.area == row.area; });
    if (has_area != found) return false;
  }
  return true;
}
static_assert(AreasAreKnown(), "every read and write names an area, and nothing else does");

}  // namespace

const WireRow* FindWireRow(int32_t id) {
  if (id < kFirstId || id > kLastId) return nullptr;
  const int16_t row = kRowOf[static_cast<size_t>(id - kFirstId)];
  return row < 0 ? nullptr : &kRows[row];
}

const AreaRow* FindArea(Msg area) {
  const auto* it = std::find_if(std::begin(kAreas), std::end(kAreas),
                                [&](const AreaRow& a) { return a.area == area; });
  return it == std::end(kAreas) ? nullptr : it;
}

int32_t AreaBytes(const AreaRow& area, int32_t type) {
  if (area.area != kLogoRead) return area.bytes;
  const Logo logo = LogoOf(type);
  if (logo.msg == kOutdoorLogoWrite) return area.bytes;
  return std::max<int32_t>(area.bytes, logo.length + 2 - kOverhead);
}

int32_t SubImageNumber(SubImage sub, uint8_t first_payload_byte) {
  switch (sub) {
    case SubImage::kByte:
      return first_payload_byte;
    case SubImage::kLowNibble:
      return first_payload_byte & 0x0F;
    default:
      return 0;
  }
}

std::optional<Block> FindBlock(int32_t address, int32_t count) {
  const auto* it = std::find_if(std::begin(kBlocks), std::end(kBlocks), [&](const Block& b) {
    return b.address == address && b.count == count;
  });
  if (it == std::end(kBlocks)) return std::nullopt;
  return *it;
}

Logo LogoOf(int32_t type) {
  for (const TypeLogo& t : kLogos) {
    if (type >= t.first_type && type <= t.last_type) return t.logo;
  }
  return kCommonLogo;
}

bool TakesRequest(const WireRow& row, int32_t type, size_t length) {
  if (row.request != 0 && length == static_cast<size_t>(row.request)) return true;
  if (row.msg == kPrvcWatchLongWrite && length == kShortPrvcWatchLength) return true;
  const Logo logo = LogoOf(type);
  return row.msg == logo.msg && length == static_cast<size_t>(logo.length + 2);
}

bool IsForeignLogo(const WireRow& row, int32_t type, size_t length) {
  const Logo logo = LogoOf(type);
  return row.role != Role::kWrite && row.msg == logo.msg &&
         length == static_cast<size_t>(logo.length + 2);
}

bool TakesShortRequest(const WireRow& row, int32_t type, size_t length) {
  if (row.msg == kLogoWrite) return length == static_cast<size_t>(LogoOf(type).length);
  return row.short_request != 0 && length == static_cast<size_t>(row.short_request);
}

int32_t ShortAnswerLength(const WireRow& row, int32_t type, int32_t variant) {
  if (row.msg != kUserRead) return row.short_answer;
  const bool short_area = std::any_of(
      std::begin(kShortUserAreas), std::end(kShortUserAreas), [&](const ShortUserArea& u) {
        return u.type == type && (u.variant < 0 || u.variant == variant);
      });
  return short_area ? row.short_answer - 1 : row.short_answer;
}

std::optional<uint8_t> MemoryWriteOpcode(int32_t type) {
  for (const Opcode& o : kOpcodes) {
    if (o.type == type) return o.opcode;
  }
  return std::nullopt;
}

}  // namespace quibra::sim
