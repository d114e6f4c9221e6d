// Writes a seed corpus for the unit-answers target (unit_answers_input.h): the identification
// answers of every unit type the simulator models in both forms, the IrDA short-form answers of
// the read messages, the serial packet trains of an exercise memory, of a single file and of a
// file's listing, and the device names the units announce.
// Usage: unit_answers_seeds DIRECTORY
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "frame/lifecycle.h"
#include "frame/module.h"
#include "frame/state_flags.h"
#include "fuzz/recording_link.h"
#include "fuzz/seed_writer.h"
#include "fuzz/still_clock.h"
#include "fuzz/unit_answers_input.h"
#include "fuzz/unit_types.h"
#include "platform/registry.h"
#include "protocol/file_packets.h"
#include "protocol/message_image.h"
#include "protocol/seal.h"
#include "sim/encoders/k_series_encoder.h"

namespace {

using quibra::fuzz::Bytes;
namespace msg = quibra::protocol::msg;

quibra::fuzz::StillClock g_clock;

// The read messages whose short-form answers seed the IrDA road.
constexpr int32_t kReads[] = {msg::kWatchSettingsRead, msg::kExerciseSetRead,
                              msg::kUserSettingsRead,  msg::kLogoRead,
                              msg::kProfileRead,       msg::kBikesRead,
                              msg::kIdentify,          msg::kExerciseSetReadLong};

Bytes Recorded(quibra::sim::Unit& unit, bool irda, int32_t id, int32_t param) {
  quibra::fuzz::RecordingLink link(unit, irda);
  quibra::frame::SetStateFlag(quibra::frame::kFlagIrdaSockets, irda ? 1 : 0);
  link.send(id, param);
  return link.answers;
}

// A packet train: the request, then an acknowledgement after each packet until the last one
// (packet number 0) or silence.
Bytes Train(quibra::sim::Unit& unit, const Bytes& request) {
  Bytes pieces;
  quibra::sim::RawRequest next{request, false, true};
  Bytes ack;
  for (int32_t i = 0; i < 7; ++i)
    ack.push_back(quibra::protocol::GetMessageByte(msg::kPacketAck, 1, i));
  for (int packets = 0; packets < 64; ++packets) {
    const Bytes packet = unit.handle(next);
    if (packet.size() < 6) break;
    quibra::fuzz::AppendPiece(pieces, packet);
    next = {ack, false, true};
  }
  return pieces;
}

void Seeds(quibra::fuzz::SeedWriter& dir) {
  quibra::frame::LoadModule();
  quibra::platform::set_clock(&g_clock);
  using quibra::fuzz::AnswerRoad;
  for (const int32_t type : quibra::fuzz::kUnitTypes) {
    if (!quibra::sim::Unit::SupportsType(type)) continue;
    quibra::sim::Unit unit(type, 1);
    for (const bool irda : {false, true}) {
      const uint8_t form = irda ? quibra::fuzz::kIrdaIdentify : 0;
      dir.write({static_cast<uint8_t>(quibra::fuzz::kIdentifyRoad | form), 0, 0},
                Recorded(unit, irda, msg::kIdentify, 1));
    }
    for (const int32_t id : kReads) {
      dir.write({quibra::fuzz::kIrdaAnswerRoad, static_cast<uint8_t>(id - msg::kFirst), 1},
                Recorded(unit, true, id, 1));
    }
  }
  quibra::frame::SetStateFlag(quibra::frame::kFlagIrdaSockets, 0);

  // Packet trains of a K-series unit: its exercise memory, and one file by index.
  quibra::sim::KSeriesExercise ride;
  // Long enough for a train of three packets, short enough for the target's longest input.
  ride.duration_tenths = 30000;
  for (int32_t i = 0; i < 1500; ++i)
    ride.samples.push_back({100 + i % 80, -1, 300, 80, 50, 200, 10, 20});
  const Bytes image = quibra::sim::KSeriesWholeImage({ride}, 22, 19, 2);
  quibra::sim::Unit unit(22, 1);
  unit.set_exercise_memory(image);
  quibra::protocol::SealMessageImage(msg::kExerciseMemory, 1, 0);
  Bytes request;
  const int32_t n =
      quibra::protocol::GetMessageLength(msg::kExerciseMemory, 1, quibra::protocol::kFieldLength);
  for (int32_t i = 0; i < n; ++i)
    request.push_back(quibra::protocol::GetMessageByte(msg::kExerciseMemory, 1, i));
  // The user settings the decoder of type 22 reads after a download.
  Bytes memory_train = Train(unit, request);
  const Bytes user_settings = Recorded(unit, false, msg::kUserSettingsRead, 0);
  memory_train.insert(memory_train.end(), user_settings.begin(), user_settings.end());
  dir.write({quibra::fuzz::kDownloadRoad, quibra::fuzz::kMemoryDownload, 0}, memory_train);
  unit.set_exercise_files({image, image});
  for (const auto& [which, byte_limit] :
       {std::pair{quibra::fuzz::kFileDownload, 0}, std::pair{quibra::fuzz::kListing, 50}}) {
    uint8_t file_request[quibra::protocol::kSingleFileRequestBytes];
    const int32_t length = quibra::protocol::BuildSingleFileRequest(
        0, byte_limit, quibra::protocol::kFromFirstPacket, file_request, sizeof file_request);
    dir.write({quibra::fuzz::kDownloadRoad, which, 0},
              Train(unit, Bytes(file_request, file_request + length)));
  }

  for (const std::vector<std::string>& names : std::vector<std::vector<std::string>>{
           {"Orvek K55T"}, {"Orvek TRK3", "Orvek PR9"}, {"Reserved", "Orvek VC8"}}) {
    Bytes pieces;
    for (const std::string& name : names)
      quibra::fuzz::AppendPiece(pieces, Bytes(name.begin(), name.end()));
    dir.write({quibra::fuzz::kDeviceNameRoad, 1, 0}, pieces);
  }
}

}  // namespace

int main(int argc, char** argv) {
  return quibra::fuzz::SeedMain(argc, argv, Seeds);
}
