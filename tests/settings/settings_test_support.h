// Test support for the settings groups: a fixed local date and time, image snapshots, a
// simulated unit on a pty with the library's engine talking to it, a loudspeaker that hands
// what it would play to the unit's sound receiver, and a data file in a scratch folder.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "frame/lifecycle.h"
#include "frame/module.h"
#include "pipcast_receiver.h"
#include "platform/registry.h"
#include "platform/scaled_clock.h"
#include "protocol/catalogue.h"
#include "protocol/message_image.h"
#include "quibra/quibra.h"
#include "serial_link.h"
#include "support/forwarding_clock.h"
#include "support/module_fixture.h"
#include "support/scripted_unit.h"
#include "unit.h"

namespace quibra::testing {

using Bytes = std::vector<uint8_t>;

// Image bytes first..last (inclusive) of a message.
inline Bytes ImageBytes(int32_t id, int32_t param, int32_t first, int32_t last) {
  Bytes bytes;
  for (int32_t i = first; i <= last; ++i)
    bytes.push_back(protocol::GetMessageByte(id, param, i));
  return bytes;
}

// The whole image as it goes out on the serial link, header and checksum included.
inline Bytes SentImage(int32_t id, int32_t param) {
  return ImageBytes(id, param, 0,
                    protocol::GetMessageLength(id, param, protocol::kFieldLength) - 1);
}

// Records every wave that would have been played, as the unit's receiver hears it.
class ListeningSpeaker final : public platform::SoundOutput {
 public:
  bool play_wave_file(const std::string& path) override {
    heard.push_back(sim::ListenToPipcastFile(path).value_or(Bytes{0xEE}));
    return true;
  }
  std::vector<Bytes> heard;
};

// Logs every pause with the number of messages a scripted unit had received by then.
class PauseLog final : public ForwardingClock {
 public:
  PauseLog(platform::Clock& inner, const ScriptedUnit& unit)
      : ForwardingClock(inner), unit_(unit) {}
  void sleep_ms(uint32_t ms) override {
    pauses.emplace_back(ms, unit_.sent.size());
    inner_.sleep_ms(ms);
  }
  // Whether a pause of exactly ms came right before message n (0-based) went out.
  bool paused_before(uint32_t ms, size_t n) const {
    for (const auto& [length, sent] : pauses) {
      if (length == ms && sent == n) return true;
    }
    return false;
  }
  std::vector<std::pair<uint32_t, size_t>> pauses;

 private:
  const ScriptedUnit& unit_;
};

class SettingsTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    set_today(2024, 1, 1);
    platform::set_clock(&clock_);
    platform::set_sound_output(&speaker_);
    folder_ = std::filesystem::temp_directory_path() /
              ("quibra-settings-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    frame::UnloadModule();  // the engine's thread ends while the unit still answers
    link_.reset();
    unit_.reset();
    std::filesystem::remove_all(folder_);
    platform::set_sound_output(nullptr);
    platform::set_clock(nullptr);
    ModuleTest::TearDown();
  }

  void set_today(int year, int month, int day, int hour = 10, int minute = 20, int second = 30) {
    platform::LocalDateTime when;
    when.year = year;
    when.month = month;
    when.day = day;
    when.hour = hour;
    when.minute = minute;
    when.second = second;
    clock_.fix_local_time(when);
  }

  // Puts a simulated unit on a pty, answering at the line rate, and opens the library's link
  // to it (with the serial adapter's recoding). The unit turns its line around in proportion to
  // the shortened pauses: after the library's purge (1 ms here), well inside its answer wait.
  bool start_unit(int32_t type, int32_t variant = 0) {
    unit_ = std::make_unique<sim::Unit>(type, variant);
    link_ = std::make_unique<sim::SerialLink>(*unit_, true, std::chrono::milliseconds(20));
    const std::string path = link_->start();
    return !path.empty() && fnQuibra_StartIRCommunication(0, path.c_str()) == 1;
  }

  // The unit as the library last detected it.
  void detect(int32_t type, int32_t variant) {
    m().unit.type = type;
    m().unit.variant = variant;
  }

  static CommParams infrared() {
    CommParams p{};
    p.Size = QUIBRA_COMM_PARAMS_SIZE;
    p.LinkType = 1;
    return p;
  }
  static CommParams sound() {
    CommParams p = infrared();
    p.LinkType = 0;
    return p;
  }
  CommParams write_file() const {
    CommParams p = sound();
    p.WriteToDataFile = 1;
    std::snprintf(p.FilePath, sizeof p.FilePath, "%s", data_file().c_str());
    return p;
  }
  CommParams read_file() const {
    CommParams p = write_file();
    p.WriteToDataFile = 0;
    p.ReadFromDataFile = 1;
    return p;
  }
  std::string data_file() const { return (folder_ / "settings.dat").string(); }

  // The write requests the unit received, with their payloads.
  std::vector<sim::LoggedRequest> requests_for(int32_t id) const {
    std::vector<sim::LoggedRequest> found;
    for (const auto& r : unit_->requests()) {
      if (r.id == id) found.push_back(r);
    }
    return found;
  }

  // The last write of a message the unit received (a write goes twice when its acknowledgement
  // was lost); an empty one when none came.
  sim::LoggedRequest last_write(int32_t id) const {
    const auto writes = requests_for(id);
    return writes.empty() ? sim::LoggedRequest{} : writes.back();
  }

  // What the sound upload of a prepared image sounds like: two zero bytes either side.
  static Bytes Padded(const Bytes& image) {
    Bytes bytes(image.size() + 4, 0);
    std::copy(image.begin(), image.end(), bytes.begin() + 2);
    return bytes;
  }

  platform::ScaledClock clock_{0.02};
  ListeningSpeaker speaker_;
  std::filesystem::path folder_;
  std::unique_ptr<sim::Unit> unit_;
  std::unique_ptr<sim::SerialLink> link_;
};

// Compares two records byte for byte and names the first differing offset.
template <typename Record>
::testing::AssertionResult SameRecord(const Record& a, const Record& b) {
  const auto* pa = reinterpret_cast<const uint8_t*>(&a);
  const auto* pb = reinterpret_cast<const uint8_t*>(&b);
  for (size_t i = 0; i < sizeof(Record); ++i) {
    if (pa[i] != pb[i]) {
      return ::testing::AssertionFailure()
             << "records differ at offset " << i << ": " << int{pa[i]} << " vs " << int{pb[i]};
    }
  }
  return ::testing::AssertionSuccess();
}

}  // namespace quibra::testing
