// The wire as a wrist unit knows it: every message it hears, the length it takes a request in
// and the length it answers with, on the serial line and in the short form of an IrDA link;
// which of its memory areas a message reads or fills; the raw memory blocks its block messages
// reach; the logo each unit type takes; and the opcodes of the newer units' direct memory writes.
//
// This table is the simulator's own, written down from the units' side of the protocol. The
// library keeps its catalogue for the sending side; the simulator must not share it, or a wrong
// length there would be repeated here and every conversation test would still pass. A unit that
// reads the wire from this table refuses a request of the wrong length and answers with exactly
// its own, so such a mistake shows up as a failed conversation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace quibra::sim {

// A message id is 9000 + the code that travels in byte 1 of a frame (byte 0 of the short form).
inline constexpr int32_t kMessageBase = 9000;

// A serial frame: start byte, code, 0, length (high, low: the index of the first checksum byte),
// payload, checksum (crc16.h). Requests start 0xA3, answers 0x5C.
inline constexpr uint8_t kRequestStart = 0xA3;
inline constexpr uint8_t kAnswerStart = 0x5C;
inline constexpr size_t kFrameHeader = 5;
inline constexpr size_t kFrameOverhead = 7;  // header and checksum

// The messages a unit hears, by id. Messages that no export of the library gives a purpose go
// by their code.
enum class Msg : int32_t {
  kWatchWrite = 9001,
  kWatchRead = 9002,
  kExerciseSetWrite = 9003,  // the exercise sets, numbered 1..5
  kExerciseSetRead = 9004,
  kUserWrite = 9005,
  kUserRead = 9006,
  kBlockWrite = 9007,  // raw memory blocks of the older units
  kBlockRead = 9008,
  kFactoryDefaults = 9009,
  kWatchMode = 9010,
  kFileRead = 9011,  // all exercise files, as a packet train
  kFileDelete = 9012,
  kReminderWrite = 9013,  // reminder slots 0..6
  kReminderRead = 9014,
  kLogoWrite = 9015,
  kLogoRead = 9016,
  kProfileWrite = 9017,  // exercise profiles 1..7
  kProfileRead = 9018,
  kBikeWrite = 9019,
  kBikeRead = 9020,
  kIdentify = 9021,
  kPacketAck = 9022,  // send the next packet of the train
  kPacketNak = 9023,  // send the same packet again
  kKeepAlive = 9024,
  kListen = 9025,  // the library only listens while the unit sends its memory on its own
  kProfileFrontWrite = 9026,  // a profile in two halves, in the short form only
  kProfileBackWrite = 9027,
  kProfileFrontRead = 9028,
  kProfileBackRead = 9029,
  kCommand30 = 9030,  // commands that carry data
  kCommand31 = 9031,
  kCommand32 = 9032,
  kCommand33 = 9033,
  kCommand34 = 9034,
  kBlockWriteLead = 9035,  // a block write with a leading byte before the address
  kLimitsWrite = 9037,
  kSleepMode = 9038,
  kOutdoorWatchWrite = 9040,
  kOutdoorWatchRead = 9041,
  kOutdoorUserWrite = 9042,
  kOutdoorUserRead = 9043,
  kWrite44 = 9044,  // twenty numbered slots, 0..19
  kRead45 = 9045,
  kRead46 = 9046,
  kWrite47 = 9047,
  kRead48 = 9048,
  kWrite49 = 9049,
  kOutdoorLogoWrite = 9050,  // in two parts, 1 and 0
  kOutdoorLogoRead = 9051,
  kOutdoorReminderWrite = 9052,
  kOutdoorReminderRead = 9053,
  kWrite55 = 9055,
  kRead56 = 9056,
  kWrite57 = 9057,
  kFitnessOptions = 9059,
  kFitnessUserWrite = 9060,
  kFitnessClock = 9062,
  kFitnessExercise = 9064,
  kFitnessProgram = 9065,
  kExerciseSetLongWrite = 9068,  // the exercise sets with the fields of types 22 and 23
  kExerciseSetLongRead = 9069,
  kQuery72 = 9072,  // carries one byte, answered with an area
  kWrite73 = 9073,
  kPrvcWatchWrite = 9077,
  kFitnessUserLongWrite = 9078,
  kVcqExerciseWrite = 9079,
  kWrite80 = 9080,
  kWrite83 = 9083,
  kPrvcWatchLongWrite = 9084,
  kRestoreMemory = 9088,
  kMemoryWrite = 9089,  // direct memory commands of the newer units, in the short form only
  kMemoryRead = 9090,
  kNewerWatchWrite = 9091,  // the newer units' watch settings in two messages
  kNewerWatchMoreWrite = 9092,
  kWrite102 = 9102,
  kSleepModeNewer = 9105,
  kSingleFile = 9106,  // one exercise file, as a packet train
  kBikeLongWrite = 9108,
};

constexpr int32_t IdOf(Msg msg) {
  return static_cast<int32_t>(msg);
}
constexpr uint8_t CodeOf(Msg msg) {
  return static_cast<uint8_t>(IdOf(msg) - kMessageBase);
}

// What the unit does with a message. Whether it answers follows from the row's answer lengths
// (0: it does not).
enum class Role : uint8_t {
  kRead,     // answers its area
  kWrite,    // fills its area and acknowledges
  kCommand,  // carries it out and acknowledges (or not); keeps nothing
  kFile,     // the exercise file transfer: packet trains
  kBlock,    // raw memory blocks of the older units: lengths from the block table
  kDirect,   // the newer units' direct memory commands
};

struct WireRow {
  Msg msg;
  Role role;
  Msg area;               // the message whose area it reads or fills (a write names its read)
  int16_t request;        // serial frame length it takes; 0: never on the serial line
  int16_t answer;         // serial frame length it answers with; 0: no answer
  int16_t short_request;  // short-form length it takes; 0: never in the short form
  int16_t short_answer;   // short-form length it answers with; 0: no answer
  // Short form: byte 1 is area byte 0 (where the areas with sub-images keep the number), and
  // the bytes from 2 on are the area from this byte on. Only the back half of a profile, whose
  // bytes start in the middle of the area, has another value than 1.
  uint8_t short_from;
};

// The row of a message id, or null when the unit knows no such message.
const WireRow* FindWireRow(int32_t id);

// How an area's sub-images are told apart: by the number a request carries in its first payload
// byte, whole or in the low nibble (the exercise sets and profiles repeat it in the high one).
enum class SubImage : uint8_t { kNone, kByte, kLowNibble };

struct AreaRow {
  Msg area;
  int16_t bytes;  // the area's length: the payload of the read's answer or of the write
  SubImage sub;
};

// The area behind a message, or null when the message carries none.
const AreaRow* FindArea(Msg area);
// Its length in a unit of the type: the logo area holds the type's whole logo.
int32_t AreaBytes(const AreaRow& area, int32_t type);

// The sub-image number a request names with its first payload byte.
int32_t SubImageNumber(SubImage sub, uint8_t first_payload_byte);

// The raw memory blocks of the older units, by address and length: a block request of another
// address or length is not one the unit takes. A block read carries the address (2 bytes, low
// first) and the length, and is answered with the address and the block; a block write carries
// the address and the block, after a leading byte for kBlockWriteLead, and is acknowledged.
struct Block {
  int32_t address;
  int32_t count;
};
std::optional<Block> FindBlock(int32_t address, int32_t count);

// A unit type's logo: the message it comes in and its length in the short form; the serial
// frame is 2 bytes longer (the checksum).
struct Logo {
  Msg msg;
  int16_t length;
};
Logo LogoOf(int32_t type);
// Whether a serial frame of this length is the type's logo coming in another message's code
// (types 28, 29, 31 and 32 take theirs in the code of kIdentify).
bool IsForeignLogo(const WireRow& row, int32_t type, size_t length);

// Whether a unit of the type takes a serial request or a short-form request of this length for
// the row: the row's own, another layout of the same message, or the type's logo.
bool TakesRequest(const WireRow& row, int32_t type, size_t length);
bool TakesShortRequest(const WireRow& row, int32_t type, size_t length);

// The short-form answer length of a read for a unit: the row's, but some units answer the user
// area one byte short.
int32_t ShortAnswerLength(const WireRow& row, int32_t type, int32_t variant);

// The opcode that opens a direct memory write of a newer unit (types 33..38).
std::optional<uint8_t> MemoryWriteOpcode(int32_t type);

// The acknowledgement that answers a write: one status byte, 0 for success, in a frame of 8
// bytes; in the short form the code and the status byte.
inline constexpr int32_t kAckLength = 8;
inline constexpr int32_t kShortAckLength = 2;

}  // namespace quibra::sim
