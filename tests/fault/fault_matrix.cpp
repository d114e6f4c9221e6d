// The fault matrix: every kind of conversation the library has, run through the public exports
// as an application runs it, against a simulated unit behind a seeded fault relay on the serial
// line, the IrDA air or the sound (sim/fault_bench.h). Each trial must end in the result of the
// fault-free run or in a clean failure: the documented result and error code, the application's
// record and folder untouched, nothing on the unit but what it held or what the fault-free run
// leaves there, and the library's threads and descriptors back where they were.
//
//   fault_matrix --trials N --seed S [--kind K] [--regressions FILE] [--verbose 1]
#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "fault_bench.h"
#include "frame/lifecycle.h"
#include "generated_exercises.h"
#include "platform/registry.h"
#include "platform/scaled_clock.h"
#include "quibra/quibra.h"
#include "sim/encoders/prvc_file_encoder.h"
#include "support/fault_port.h"

namespace quibra::testing {
namespace {

using Bytes = std::vector<uint8_t>;
using sim::Bench;
using sim::Got;
using sim::Link;
using Columns = std::array<int32_t, 64>;

CommParams Params(Link link) {
  CommParams p{};
  p.Size = QUIBRA_COMM_PARAMS_SIZE;
  p.LinkType = link == Link::Sound ? 0 : 1;
  return p;
}

// A read: the record comes back on success; on failure it keeps its filling.
template <typename Record>
Got Read(int32_t (*read)(CommParams*, Record*), Bench&) {
  Record r;
  std::memset(&r, 0x5A, sizeof r);
  const Record untouched = r;
  CommParams p = Params(Link::Serial);
  Got got{read(&p, &r), {}};
  const bool same = std::memcmp(&r, &untouched, sizeof r) == 0;
  if (got.result == 1) got.data.assign(reinterpret_cast<const char*>(&r), sizeof r);
  if (got.result != 1 && !same) got.data = "the record";
  return got;
}

// A write of a group's defaults, over infrared or (Link::Sound) as the upload sound.
template <typename Record>
Got Write(void (*reset)(Record*), int32_t (*send)(CommParams*, Record*), Bench& bench, Link link) {
  Record r{};
  reset(&r);
  CommParams p = Params(link);
  std::snprintf(p.FilePath, sizeof p.FilePath, "%s", bench.wave_path().c_str());
  return {send(&p, &r), {}};
}

// A download: on success the memory and each exercise saved as an HRM file; on failure nothing
// kept to decode and nothing in the folder.
Got Download(int32_t result, int32_t exercises, Bench& bench) {
  Got got{result, {}};
  if (result != 1) {
    if (fnKx2GetNbrOfMemtrBytes() != 0) got.data = "a partial memory";
    if (!std::filesystem::is_empty(bench.folder())) got.data += "files";
    return got;
  }
  for (int32_t p = 1; p <= fnKx2GetNbrOfMemtrBytes(); ++p)
    got.data.push_back(static_cast<char>(fnKx2GetMemtrData(p)));
  for (int32_t n = 0; n < exercises; ++n) {
    char path[260] = {};
    std::snprintf(path, sizeof path, "%s/%d.hrm", bench.folder().c_str(), n);
    if (fnQuibra_AnalyzeFile(n, 0) != 1 || fnQuibra_SaveExerciseHRM(0, path, 0) != 1) {
      got.data += "|no file " + std::to_string(n);
      continue;
    }
    std::ifstream in(path, std::ios::binary);
    got.data += "|" + std::string(std::istreambuf_iterator<char>(in), {});
  }
  return got;
}

constexpr int32_t kExerciseFiles = 3;

// A running unit's files as an application takes them: every file listed, then each one
// downloaded, decoded and saved as an HRM file (read back and removed). On success the listings,
// then each file's bytes and HRM file; on the first failure what the library kept of that file:
// its bytes, an exercise decoded from them (the one decoded before may stay or go), a file in
// the folder, a listing record not cleared and sized.
Got DownloadFiles(Bench& bench) {
  Got got{1, {}};
  const auto failed = [&](int32_t result, int32_t samples_before) {
    got = {result, fnKx2GetNbrOfMemtrBytes() != 0 ? "a partial memory" : ""};
    const int32_t samples = fnQuibra_GetNbrOfHRMSamples();
    if (samples != 0 && samples != samples_before) got.data += "a decoded exercise";
    if (!std::filesystem::is_empty(bench.folder())) got.data += "files";
    return got;
  };
  for (int32_t n = 0; n < kExerciseFiles; ++n) {
    ExeFileInfo info, cleared{};
    std::memset(&info, 0x5A, sizeof info);
    cleared.Size = QUIBRA_EXE_FILE_INFO_SIZE;
    if (const int32_t result = fnQuibra_GetExeFileInfoEx(0, n, &info); result != 1) {
      failed(result, 0);
      if (std::memcmp(&info, &cleared, sizeof info) != 0) got.data += "the listing";
      return got;
    }
    got.data.append(reinterpret_cast<const char*>(&info), sizeof info);
  }
  for (int32_t n = 0; n < kExerciseFiles; ++n) {
    const int32_t samples_before = fnQuibra_GetNbrOfHRMSamples();
    if (const int32_t result = fnQuibra_ReadExerciseFile(0, n, 0); result != 1)
      return failed(result, samples_before);
    got.data += "|";
    for (int32_t p = 1; p <= fnKx2GetNbrOfMemtrBytes(); ++p)
      got.data.push_back(static_cast<char>(fnKx2GetMemtrData(p)));
    char path[260] = {};
    std::snprintf(path, sizeof path, "%s/%d.hrm", bench.folder().c_str(), n);
    got.data += fnQuibra_SaveExerciseHRM(0, path, 0) == 1 ? "|" : "|no file";
    got.data.append(std::istreambuf_iterator<char>(std::ifstream(path, std::ios::binary).rdbuf()),
                    {});
    std::filesystem::remove(path);
  }
  return got;
}

// Every image a read fetches holds a pattern, so that a read brings something back.
void FillImages(sim::Unit& unit) {
  for (auto [id, param] : {std::pair{9006, 0}, {9002, 0}, {9018, 3}, {9069, 2}, {9020, 0}}) {
    Bytes image = unit.image(id, param);
    for (size_t i = 1; i < image.size(); ++i)
      image[i] = static_cast<uint8_t>((i * 7 + 3) % 10);
    unit.set_image(id, param, image);
  }
}

void FillLogo(sim::Unit& unit) {
  Bytes image = unit.image(9016, 0);
  for (size_t i = 1; i < image.size(); ++i)
    image[i] = static_cast<uint8_t>(i * 29);
  unit.set_image(9016, 0, image);
  Bytes memory(4096);
  for (size_t i = 0; i < memory.size(); ++i)
    memory[i] = static_cast<uint8_t>(i * 11);
  unit.set_memory(0, memory);
}

// Ten exercises: three packets on the serial line, four in the short form.
void LoadExercises(sim::Unit& unit) {
  unit.set_exercise_memory(*sim::GeneratedExerciseMemory(22, unit.product_code(), 3, 10));
}

// Two files of a newer unit, the second over several packets.
void LoadFiles(sim::Unit& unit) {
  Bytes file(2 * sim::Unit::kPacketData + 77);
  for (size_t i = 0; i < file.size(); ++i)
    file[i] = static_cast<uint8_t>(i * 13 + 5);
  file[2] = static_cast<uint8_t>(unit.product_code());
  unit.set_exercise_files({Bytes(300, 1), file});
}

// Three exercise files of a running unit: one, two and three short-form packets long.
void LoadExerciseFiles(sim::Unit& unit) {
  std::vector<Bytes> files;
  for (int32_t n = 0; n < kExerciseFiles; ++n) {
    sim::FileExercise x;
    x.type = unit.type();
    x.product_code = static_cast<uint8_t>(unit.product_code());
    x.name = "Run " + std::to_string(n + 1);
    x.speed = x.cadence = true;
    x.day = 10 + n;
    x.start_seconds = 3600 * (7 + n);
    x.segments = {{1, {}}};
    for (int32_t i = 0; i < 100 + 170 * n; ++i)
      x.segments[0].records.push_back({100 + i % 60, 50 + 5 * (i % 20), 30, 70 + i % 9});
    x.duration_tenths = static_cast<int32_t>(x.segments[0].records.size()) * 10;
    x.laps = {{600, false, 140, 130, 160}};
    files.push_back(sim::EncodeFileExercise(x));
  }
  unit.set_exercise_files(files);
}

int32_t ReadLogo(CommParams* p, Columns* c) {
  return fnQuibra_ReadMonitorLogo(p, 22, c->data(), 0);
}
int32_t ReadNewerLogo(CommParams* p, Columns* c) {
  p->MonitorType = 36;
  return fnQuibra_PRVC_ReadBitmap(p, c->data(), 1);
}
int32_t ReadProfile(CommParams* p, ExerciseProfile* r) {
  return fnQuibra_ReadExerciseProfile(p, 3, r);
}
int32_t ReadSet(CommParams* p, ExerciseSet* r) {
  return fnQuibra_ReadExerciseSet(p, 2, r, 1);
}
int32_t SendSet(CommParams* p, ExerciseSet* r) {
  return fnQuibra_SendExerciseSet(p, r, 1);
}

template <typename Record>
void Reset(Record* r) {
  if constexpr (std::is_same_v<Record, UserSettings>) fnQuibra_ResetUserSettings(r);
  if constexpr (std::is_same_v<Record, WatchSettings>) fnQuibra_ResetWatchSettings(r);
  if constexpr (std::is_same_v<Record, ExerciseProfile>) fnQuibra_ResetExerciseProfile(3, r, 0);
  if constexpr (std::is_same_v<Record, ExerciseSet>) fnQuibra_ResetExerciseSet(2, r, 1, 0);
  if constexpr (std::is_same_v<Record, BikeSettings>) fnQuibra_ResetBikeSettings(r);
  if constexpr (std::is_same_v<Record, ExerciseLimits>) fnQuibra_ResetExerciseLimits(r);
}

template <typename Record>
sim::Conversation Reading(const char* name, int32_t type, int32_t (*read)(CommParams*, Record*),
                          Link link = Link::Serial, void (*prepare)(sim::Unit&) = FillImages) {
  return {name, type, link, [read](Bench& b) { return Read(read, b); }, prepare};
}

// The settings sends leave the error code as it was (0 in a fresh library); the watch
// settings set it to -1 first.
template <typename Record>
sim::Conversation Writing(const char* name, int32_t type, int32_t (*send)(CommParams*, Record*),
                          Link link = Link::Serial, int32_t error = 0) {
  return {
      name,    type, link,  [send, link](Bench& b) { return Write(Reset<Record>, send, b, link); },
      nullptr, {0},  error, link == Link::Sound,
      true};
}

const std::vector<sim::Conversation>& Conversations() {
  static const std::vector<sim::Conversation> all = {
      Reading("identify", 22, fnQuibra_ReadMonitorInfo),
      // The newer units' identification also fixes their memory state (a read and a write),
      // which its result does not report.
      []() {
        sim::Conversation c =
            Reading("identify-irda", 36, fnQuibra_ReadMonitorInfo, Link::Irda, LoadFiles);
        c.unit_change_unreported = true;
        return c;
      }(),
      Reading("user-read", 22, fnQuibra_ReadUserSettings),
      Writing("user-write", 22, fnQuibra_SendUserSettings),
      Reading("watch-read", 22, fnQuibra_ReadWatchSettings),
      Writing("watch-write", 22, fnQuibra_SendWatchSettings, Link::Serial, -1),
      Reading("profile-read", 13, ReadProfile),
      Writing("profile-write", 13, fnQuibra_SendExerciseProfile),
      Reading("set-read", 22, ReadSet),
      Writing("set-write", 22, SendSet),
      Reading("bikes-read", 22, fnQuibra_ReadBikesSettings),
      Writing("bikes-write", 22, fnQuibra_SendBikesSettings),
      Reading("logo-read", 22, ReadLogo, Link::Serial, FillLogo),
      Reading("logo-read-irda", 36, ReadNewerLogo, Link::Irda, FillLogo),
      {"logo-write",
       22,
       Link::Serial,
       [](Bench&) {
         Columns c{};
         for (size_t i = 0; i < 47; ++i)
           c[i] = static_cast<int32_t>((i * 37 + 11) & 0xFF);
         CommParams p = Params(Link::Serial);
         return Got{fnQuibra_SendMonitorLogo(&p, 22, c.data(), 0), {}};
       },
       nullptr,
       {0},
       0,
       false,
       true},
      {"command-contrast",
       21,
       Link::Serial,
       [](Bench&) {
         return Got{fnQuibra_SetLCDContrastEx(1, 9, 21, 0), {}};
       },
       nullptr,
       {0},
       0,
       false,
       true},
      {"command-watch-mode",
       22,
       Link::Serial,
       [](Bench&) {
         CommParams p = Params(Link::Serial);
         return Got{fnQuibra_SendMonitorToWatchMode(&p), {}};
       },
       nullptr,
       {0},
       -1,
       true},
      {"exercise-download",
       22,
       Link::Serial,
       [](Bench& b) { return Download(fnQuibra_ReadExercisesData(0, 0), 3, b); },
       LoadExercises,
       {2, 3}},
      {"exercise-download-irda",
       22,
       Link::Irda,
       [](Bench& b) { return Download(fnQuibra_ReadExercisesData(0, 0), 3, b); },
       LoadExercises,
       {2, 3}},
      {"file-download",
       37,
       Link::Serial,
       [](Bench& b) { return Download(fnQuibra_ReadExerciseFile(0, 1, 0), 0, b); },
       LoadFiles,
       {2, 3}},
      // A failed listing reports 0 and leaves the error code as it was.
      {"file-download-irda", 36, Link::Irda, DownloadFiles, LoadExerciseFiles, {0, 2, 3}, 0},
      Writing("user-sound", 22, fnQuibra_SendUserSettings, Link::Sound),
      Writing("limits-sound", 12, fnQuibra_SendExerciseLimits, Link::Sound),
  };
  return all;
}

// The library's side of a trial: a fresh Module with its pauses at a hundredth of their length
// on a fixed day, its port through a decorator that keeps what it wrote (sim_unit_fixture.h).
class Library {
 public:
  Library() {
    platform::LocalDateTime today;
    today.year = 2024, today.month = 5, today.day = 17, today.hour = 10, today.minute = 20;
    clock_.fix_local_time(today);
    port_.keep_output_on_purge = true;
  }
  sim::LibrarySide side() {
    return {[this] { load(); }, [this](Bench& b, Link link) { open(b, link); },
            [] { fnQuibra_EndIRCommunication(0); }, [] { return fnQuibra_GetErrorCode(); },
            [this] { unload(); }};
  }

 private:
  // The unit's ear, where the library's loudspeaker would be.
  struct Ear final : platform::SoundOutput {
    Bench* bench = nullptr;
    bool play_wave_file(const std::string& path) override {
      bench->hear(path);
      return true;
    }
  };

  void load() {
    platform::set_clock(&clock_);
    frame::LoadModule();
    platform::set_byte_port(&port_);
  }
  void open(Bench& bench, Link link) {
    if (link == Link::Serial) fnQuibra_StartIRCommunication(0, bench.serial_path().c_str());
    if (link == Link::Irda) {
      fnQuibraExt_SetIrdaStack(&bench.stack().table());
      fnQuibra_StartIRCommunication(0x20, "IRDA");
    }
    ear_.bench = &bench;
    platform::set_sound_output(&ear_);
  }
  void unload() {
    frame::UnloadModule();
    fnQuibraExt_SetIrdaStack(nullptr);
    platform::set_sound_output(nullptr);
    platform::set_byte_port(nullptr);
    platform::set_clock(nullptr);
  }

  platform::ScaledClock clock_{0.01};
  FaultPort port_;
  Ear ear_;
};

}  // namespace
}  // namespace quibra::testing

int main(int argc, char** argv) {
  quibra::testing::Library library;
  return quibra::sim::RunFaultMatrix(argc, argv, quibra::testing::Conversations(), library.side());
}
