// The messages of the unit protocol, by what they carry. Every exchange with a unit is one
// numbered message; the catalogue keys its rows by these numbers and a message's code on the
// wire is its number minus 9000. Code names a message here instead of writing its number.
// Tables that list messages by a property the protocol gives them (which are acknowledged,
// which echo their parameter) keep the numbers, as the catalogue does.
#pragma once

#include <cstdint>

namespace quibra::protocol::msg {

enum Id : int32_t {
  kEmpty = 9000,  // queuing it clears the current message
  kWatchSettingsWrite = 9001,
  kWatchSettingsRead = 9002,
  kExerciseSetWrite = 9003,  // exercise sets 1..5 by parameter, the first layout
  kExerciseSetRead = 9004,
  kUserSettingsWrite = 9005,
  kUserSettingsRead = 9006,
  kBlockWrite = 9007,  // a raw memory area of the older units, by area number
  kBlockRead = 9008,
  kFactoryDefaults = 9009,
  kWatchMode = 9010,       // a command the unit does not answer
  kExerciseMemory = 9011,  // the exercise memory as a packet train
  kFileDelete = 9012,
  kLogoWrite = 9015,  // with a unit type as parameter it carries that type's logo
  kLogoRead = 9016,
  kProfileWrite = 9017,  // exercise profiles 1..7 by parameter
  kProfileRead = 9018,
  kBikesWrite = 9019,
  kBikesRead = 9020,
  kIdentify = 9021,
  kPacketAck = 9022,  // acknowledges a packet of a train
  kPacketNak = 9023,  // asks for a packet again
  kKeepAlive = 9024,
  kListen = 9025,             // listen-only: the unit sends its exercise memory unasked
  kProfileWriteFirst = 9026,  // over IrDA sockets a profile goes out in two parts
  kProfileWriteSecond = 9027,
  kProfileReadFirst = 9028,
  kProfileReadSecond = 9029,
  kBlockWriteLead = 9035,  // a raw memory area write with a leading byte
  kLimitsWrite = 9037,
  kSleepMode = 9038,
  kOutdoorLogoWrite = 9050,
  kExerciseSetWriteLong = 9068,  // exercise sets, the second layout
  kExerciseSetReadLong = 9069,
  kVcqExerciseWrite = 9079,
  kOlderPrvcWatchSettings = 9084,  // shortened by 10 bytes for a unit of type 32
  kRestoreMemory = 9088,
  kMemoryWrite = 9089,  // direct memory write of the newer units
  kMemoryRead = 9090,   // direct memory read of the newer units
  kDisplayOff = 9105,
  kSingleFile = 9106,  // one exercise file by index, as a packet train
  kBikesWriteType32 = 9108,
  kCollectiveStatus = 9500,  // the pseudo-id of the collective status
};

inline constexpr int32_t kFirst = 9001;
inline constexpr int32_t kLast = 9108;

}  // namespace quibra::protocol::msg
