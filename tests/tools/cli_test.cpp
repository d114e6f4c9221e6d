// The quibra program as a user runs it: the demo identifies its simulated unit through the
// library; downloads are named by date and never replace a file; settings change only what the
// JSON names; Ctrl-C and --timeout cancel cleanly; wrong arguments end with exit code 2.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include <nlohmann/json.hpp>

#include "encoders/k_series_encoder.h"
#include "encoders/prvc_file_encoder.h"
#include "encoders/summary_encoders.h"
#include "serial_link.h"
#include "support/cli_run.h"
#include "support/test_folder.h"
#include "support/pty_pair.h"
#include "unit.h"

namespace {

namespace fs = std::filesystem;
using quibra::testing::CliProcess;
using quibra::testing::CliRun;
using quibra::testing::FilesIn;
using quibra::testing::RunCli;
using quibra::testing::TestFolder;

// Whether the program printed the text; everything it printed when not.
::testing::AssertionResult Printed(const CliRun& run, const std::string& text) {
  if (run.output.find(text) != std::string::npos) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "no \"" << text << "\" in:\n" << run.output;
}

nlohmann::ordered_json JsonOf(const CliRun& run) {
  return nlohmann::ordered_json::parse(run.output.substr(run.output.find_first_of("{[")));
}

// A type-22 unit holding two exercises that both started at 07:15 on 28 November 2026 (with
// 800 samples they take several packets).
std::vector<uint8_t> TwoMorningRuns(size_t samples) {
  std::vector<quibra::sim::KSeriesExercise> runs(2);
  for (auto& x : runs) {
    x.name = "Run";
    x.year = 2026;
    x.month = 11;
    x.day = 28;
    x.hour = 7;
    x.minute = 15;
    x.duration_tenths = 4000;
    x.samples.resize(samples);
    for (auto& s : x.samples)
      s.heart_rate = 120;
  }
  return quibra::sim::KSeriesSingleImage(runs, 22, 19, 3);
}

TEST(Cli, DemoIdentifiesTheSimulatedUnitAndTracesTheConversation) {
  const std::string trace = TestFolder() + "/trace.txt";
  fs::remove_all("quibra-demo");
  const CliRun run = RunCli("--trace " + trace + " demo");
  EXPECT_EQ(run.exit_code, 0) << run.output;
  std::ifstream file(trace);
  const std::string traced((std::istreambuf_iterator<char>(file)), {});
  EXPECT_NE(traced.find(" status 9021 10\n"), std::string::npos) << traced;
  EXPECT_NE(traced.find(" status 9011 10\n"), std::string::npos);  // the exercise memory came
  EXPECT_TRUE(Printed(run, "Reading..."));
  EXPECT_TRUE(Printed(run, "Found: Orvek K55T (monitor type 22, variant 3, product code 19)"));
  EXPECT_TRUE(Printed(run,
                      "quibra-demo/2026-11-30_1815.hrm  2026-11-30 18:15:00  00:40:00    480 "
                      "samples   13 laps"));
  std::ifstream hrm("quibra-demo/2026-11-28_0715.hrm");
  const std::string saved((std::istreambuf_iterator<char>(hrm)), {});
  EXPECT_NE(saved.find("Upper1=150\r\nLower1=120\r\n"), std::string::npos) << saved;
}

TEST(Cli, SettingsSetChangesOnlyWhatTheJsonNames) {
  quibra::sim::Unit unit(22, 1);
  quibra::sim::SerialLink line(unit);
  const std::string port = line.start();
  ASSERT_FALSE(port.empty());
  const CliRun sent = RunCli("settings set user --from-defaults --port=" + port +
                             " <<< '{\"Name\": \"Anna\", \"HeightCm\": 182}'");
  ASSERT_EQ(sent.exit_code, 0) << sent.output;
  // The weight in kg: the name and height stay, the weight in lb follows the kg.
  // A value the library corrects is reported.
  const CliRun weight =
      RunCli("settings set user --port " + port + " <<< '{\"WeightKg\": 80, \"VO2max\": 5}'");
  ASSERT_EQ(weight.exit_code, 0) << weight.output;
  EXPECT_TRUE(Printed(weight, "VO2max 5 was stored as 45"));
  const CliRun read = RunCli("settings get user --port " + port + " 2>/dev/null");
  ASSERT_EQ(read.exit_code, 0) << read.output;
  const auto json = JsonOf(read);
  EXPECT_EQ(json["Name"], "Anna");
  EXPECT_EQ(json["HeightCm"], 182);
  EXPECT_EQ(json["HeightFeet"], 6);  // completed as the unit keeps it
  EXPECT_EQ(json["WeightKg"], 80);
  EXPECT_EQ(json["WeightLb"], 176);
  // A numbered group goes to and comes from the place its number names.
  const CliRun tempo = RunCli("settings set profile 3 --from-defaults --port " + port +
                              " <<< '{\"ProfileName\": \"Tempo\"}'");
  ASSERT_EQ(tempo.exit_code, 0) << tempo.output;
  const CliRun profile = RunCli("settings get profile 3 --port " + port + " 2>/dev/null");
  ASSERT_EQ(profile.exit_code, 0) << profile.output;
  EXPECT_EQ(JsonOf(profile)["ProfileNumber"], 3);
  EXPECT_EQ(JsonOf(profile)["ProfileName"], "Tempo");
  EXPECT_TRUE(Printed(RunCli("settings get limits --port " + port), "cannot be asked"));
  EXPECT_EQ(RunCli("settings set user --port " + port + " <<< '{\"Nope\": 1}'").exit_code, 2);
  EXPECT_EQ(RunCli("settings set profile 8 --port " + port).exit_code, 2);
  EXPECT_TRUE(Printed(RunCli("settings set user --sound x.wav"), "add --from-defaults"));
}

TEST(Cli, IdentifyPrintsTheWholeRecordAndDumpNeedsANewerUnit) {
  quibra::sim::Unit unit(23, 4);
  quibra::sim::Identification id = unit.identification();
  id.files = 5;
  id.used_memory = 250;
  unit.set_identification(id);
  quibra::sim::SerialLink line(unit);
  const std::string port = line.start();
  ASSERT_FALSE(port.empty());
  const CliRun run = RunCli("-q identify --json --port " + port);
  ASSERT_EQ(run.exit_code, 0) << run.output;
  EXPECT_EQ(JsonOf(run)["MonitorType"], 23);
  EXPECT_EQ(JsonOf(run)["MonitorInfo"].dump(),
            R"({"Size":40,"MonitorInUse":23,"DataVersion":4,"TotalFiles":5,)"
            R"("FreeMemoryInBytes":32000,"TotalMemoryInBytes":32250,"LowBattery":0,)"
            R"("HorseMode":0,"N4SensorMissing":0,"MonitorSubModel":37})");
  const std::string out = TestFolder() + "/memory.txt";
  const CliRun dump = RunCli("dump-memory --out " + out + " --port " + port);
  EXPECT_EQ(dump.exit_code, 1);
  EXPECT_TRUE(Printed(dump, "(monitor type 23) has no memory to dump"));
  EXPECT_FALSE(fs::exists(out));
  EXPECT_EQ(RunCli("dump-memory --port " + port).exit_code, 2);
  EXPECT_EQ(RunCli("dump-memory --out x --port " + port + " --link radio").exit_code, 2);
}

TEST(Cli, ReachesANewerUnitOverIrda) {
  // The unit's line carries the short form; the tool puts it in range of a stand-in IrDA stack.
  quibra::sim::Unit unit(36, 2, 172);
  quibra::sim::SerialLink line(unit, false, quibra::sim::SerialLink::kDefaultTurnaround,
                               quibra::sim::SerialLink::Framing::ShortFormBlocks);
  const std::string port = line.start();
  ASSERT_FALSE(port.empty());
  const CliRun run = RunCli("identify --link irda --port " + port + " 2>/dev/null");
  ASSERT_EQ(run.exit_code, 0) << run.output;
  EXPECT_TRUE(Printed(run, "Orvek PR6 (monitor type 36, variant 2, product code 172)"));
  const CliRun contrast =
      RunCli("command lcd-contrast 9 --type 36 --link irda --port " + port + " 2>&1");
  EXPECT_EQ(contrast.exit_code, 0) << contrast.output;
  EXPECT_EQ(unit.memory(5, 1), std::vector<uint8_t>{9});
  // Without a simulated unit the tool asks this system's IrDA stack, and there is none.
  const CliRun none = RunCli("identify --link irda");
  EXPECT_EQ(none.exit_code, 1);
  EXPECT_TRUE(Printed(none, "cannot open IrDA sockets (socket error 10047)"));
}

TEST(Cli, DownloadsAndDecodesTheFilesOfANewerUnitOverIrda) {
  quibra::sim::Unit unit(38, 1, 174);
  std::vector<std::vector<uint8_t>> files;
  for (int32_t n = 0; n < 2; ++n) {
    quibra::sim::FileExercise x;
    x.type = 38;
    x.product_code = 174;
    x.speed = true;
    x.start_seconds = 3600 * (8 + n);
    x.duration_tenths = 3000;
    x.segments = {{2, std::vector<quibra::sim::FileSample>(150, {120, 90})}};
    files.push_back(quibra::sim::EncodeFileExercise(x));
  }
  unit.set_exercise_files(files);
  quibra::sim::SerialLink line(unit, false, quibra::sim::SerialLink::kDefaultTurnaround,
                               quibra::sim::SerialLink::Framing::ShortFormBlocks);
  const std::string port = line.start();
  ASSERT_FALSE(port.empty());
  const std::string dir = TestFolder();
  const CliRun run =
      RunCli("download --json --link irda --port " + port + " --out " + dir + " 2>&1");
  ASSERT_EQ(run.exit_code, 0) << run.output;
  const auto saved = JsonOf(run)["Exercises"];
  ASSERT_EQ(saved.size(), 2u) << run.output;
  EXPECT_EQ(saved[1]["File"], dir + "/2026-03-15_0900.hrm");
  EXPECT_EQ(saved[1]["Samples"], 150);
  EXPECT_EQ(FilesIn(dir), (std::vector<std::string>{"2026-03-15_0800.hrm", "2026-03-15_0900.hrm",
                                                    "file-0.bin", "file-1.bin"}));
  const CliRun decoded = RunCli("decode " + dir + "/file-1.bin --json --out=" + dir + "/again");
  ASSERT_EQ(decoded.exit_code, 0) << decoded.output;
  EXPECT_EQ(JsonOf(decoded)["Exercises"][0]["File"], dir + "/again/2026-03-15_0900.hrm");
  EXPECT_EQ(JsonOf(decoded)["Exercises"][0]["Samples"], 150);
}

TEST(Cli, DownloadNamesFilesByDateAndNeverReplacesOne) {
  quibra::sim::Unit unit(22, 3);
  unit.set_exercise_memory(TwoMorningRuns(12));
  quibra::sim::SerialLink line(unit);
  const std::string port = line.start();
  ASSERT_FALSE(port.empty());
  // A folder that cannot be written is found before the unit is asked.
  const CliRun refused = RunCli("download --port " + port + " --out /proc/quibra");
  EXPECT_EQ(refused.exit_code, 1);
  EXPECT_TRUE(Printed(refused, "cannot make /proc/quibra: "));
  EXPECT_TRUE(unit.requests().empty());

  const CliRun list = RunCli("list --json --port " + port + " 2>/dev/null");
  ASSERT_EQ(list.exit_code, 0) << list.output;
  const auto listed = JsonOf(list)["Exercises"];
  ASSERT_EQ(listed.size(), 2u) << list.output;
  EXPECT_EQ(listed[1]["Date"], "2026-11-28");
  EXPECT_EQ(listed[1]["Start"], "07:15:00");

  const std::string dir = TestFolder();
  std::ofstream(dir + "/2026-11-28_0715.hrm") << "kept";
  const CliRun run = RunCli("download --json --port " + port + " --out " + dir + " 2>/dev/null");
  ASSERT_EQ(run.exit_code, 0) << run.output;
  const auto saved = JsonOf(run);
  EXPECT_EQ(saved["Memory"], dir + "/memory.bin");
  ASSERT_EQ(saved["Exercises"].size(), 2u);
  EXPECT_EQ(saved["Exercises"][0]["File"], dir + "/2026-11-28_0715_2.hrm");
  EXPECT_EQ(saved["Exercises"][1]["Samples"], 12);
  EXPECT_EQ(FilesIn(dir), (std::vector<std::string>{"2026-11-28_0715.hrm", "2026-11-28_0715_2.hrm",
                                                    "2026-11-28_0715_3.hrm", "memory.bin"}));
  std::ifstream kept(dir + "/2026-11-28_0715.hrm");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "kept");

  const CliRun decoded = RunCli("decode " + dir + "/memory.bin --json --out=" + dir + "/again");
  ASSERT_EQ(decoded.exit_code, 0) << decoded.output;
  EXPECT_EQ(JsonOf(decoded)["Exercises"][1]["File"], dir + "/again/2026-11-28_0715_2.hrm");
}

// Ctrl-C before the unit answers, in the middle of the transfer and while the files are saved:
// each time the tool says so, ends with 130 and leaves no file.
TEST(Cli, CtrlCCancelsADownloadAndLeavesNoFile) {
  quibra::sim::Unit unit(22, 3);
  unit.set_exercise_memory(TwoMorningRuns(800));
  quibra::sim::SerialLink line(unit);
  const std::string port = line.start();
  ASSERT_FALSE(port.empty());
  const std::string dir = TestFolder();
  const std::string trace = dir + "/trace.txt";
  const std::string out = dir + "/out";
  // SIGTERM stops as Ctrl-C does, with its own exit code.
  const auto cancelled = [&](const CliRun& run, const char* moment, bool term = false) {
    EXPECT_EQ(run.exit_code, term ? 143 : 130) << moment << "\n" << run.output;
    EXPECT_TRUE(Printed(run, term ? "quibra: terminated" : "quibra: cancelled")) << moment;
    EXPECT_TRUE(!fs::exists(out) || fs::is_empty(out)) << moment;
  };
  {
    unit.queue_fault(quibra::sim::Fault::Silence());
    CliProcess before({"download", "--port", port, "--out", out});
    ASSERT_TRUE(before.WaitForError("Reading...", 5000));
    before.Signal(SIGINT);
    cancelled(before.Finish(), "before the first answer");
    unit.clear_faults();
  }
  {
    CliProcess during({"--trace", trace, "download", "--port", port, "--out", out});
    std::string traced;
    for (int i = 0; traced.find("status 9011 70") == std::string::npos; ++i) {
      ASSERT_LT(i, 500) << "the transfer did not start:\n" << traced;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      std::ifstream file(trace);
      traced.assign(std::istreambuf_iterator<char>(file), {});
    }
    during.Signal(SIGTERM);
    cancelled(during.Finish(), "during the transfer", true);
  }
  {
    // Held while it prints the first file it saved. The HRM file is the last one written before
    // that line: once it is there nothing checks for a stop before the print. (The directory
    // sees other partial files earlier, the probe of its permissions among them.)
    CliProcess saving({"download", "--port", port, "--out", out}, true);
    const auto partial = [&] {
      std::error_code ignored;
      for (const auto& entry : fs::directory_iterator(out, ignored)) {
        if (entry.path().string().find(".hrm.part-") != std::string::npos) return true;
      }
      return false;
    };
    for (int i = 0; !partial(); ++i) {
      ASSERT_LT(i, 800) << "nothing saved";
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    saving.Signal(SIGINT);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const CliRun run = saving.Finish();
    cancelled(run, "while saving");
    EXPECT_TRUE(Printed(run, out + "/2026-11-28_0715.hrm")) << "not held while saving";
  }
}

TEST(Cli, TimeoutCancelsAgainstASilentUnit) {
  quibra::sim::Unit unit(22, 3);
  unit.queue_fault(quibra::sim::Fault::Silence());
  quibra::sim::SerialLink line(unit);
  const std::string port = line.start();
  ASSERT_FALSE(port.empty());
  const auto start = std::chrono::steady_clock::now();
  const CliRun run = RunCli("identify --port " + port + " --timeout 0.5");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  EXPECT_EQ(run.exit_code, 124) << run.output;
  EXPECT_TRUE(Printed(run, "quibra: timed out after 0.5 s"));
}

TEST(Cli, ASimulatedUnitsSoundIsReceivedFromAWaveFile) {
  const std::string dir = TestFolder() + "/";
  // "quibra" and 0x00..0x0F: 22 bytes in one block; 300 bytes: two plain blocks.
  std::string bytes = "quibra";
  for (char c = 0; c < 16; ++c)
    bytes += c;
  std::ofstream(dir + "payload.bin", std::ios::binary) << bytes;
  std::string long_bytes;
  for (int i = 0; i < 300; ++i)
    long_bytes += static_cast<char>(i * 7);
  std::ofstream(dir + "long.bin", std::ios::binary) << long_bytes;
  const std::string hex =
      "payload: 22 bytes\n71 75 69 62 72 61 00 01 02 03 04 05 06 07 08 09\n0A 0B 0C 0D 0E 0F\n";
  for (const char* mode : {"--coded", ""}) {
    const CliRun made = RunCli("sound unit " + std::string(mode) + " --type 30 --payload " + dir +
                               "payload.bin --out " + dir + "unit.wav");
    ASSERT_EQ(made.exit_code, 0) << made.output;
    const CliRun heard = RunCli("sound receive --type 30 --wav " + dir + "unit.wav");
    ASSERT_EQ(heard.exit_code, 0) << heard.output;
    EXPECT_TRUE(Printed(heard, hex)) << mode;
    EXPECT_TRUE(Printed(heard, *mode != '\0' ? "Reed-Solomon coded blocks" : "plain blocks"));
  }
  ASSERT_EQ(RunCli("sound unit --type 30 --payload " + dir + "long.bin --out " + dir + "long.wav")
                .exit_code,
            0);
  const CliRun heard = RunCli("sound receive --type 30 --wav " + dir + "long.wav 2>/dev/null");
  std::string text = heard.output.substr(heard.output.find("payload: 300 bytes\n") + 19);
  std::string received;
  for (size_t i = 0; i + 1 < text.size(); i += 3)
    received += static_cast<char>(std::stoi(text.substr(i, 2), nullptr, 16));
  EXPECT_EQ(received, long_bytes);
  // A recording with a gap is rejected, and the reception ends with a failure.
  std::string wave;
  {
    std::ifstream file(dir + "unit.wav", std::ios::binary);
    wave.assign(std::istreambuf_iterator<char>(file), {});
  }
  wave.replace(wave.size() / 2, 3000, 3000, '\x80');
  std::ofstream(dir + "gap.wav", std::ios::binary) << wave;
  EXPECT_EQ(RunCli("sound receive --type 30 --wav " + dir + "gap.wav").exit_code, 1);
  // At 22 050 Hz the same wave file is refused as a recording format.
  EXPECT_EQ(RunCli("sound receive --type 30 --rate 22050 --wav " + dir + "unit.wav").exit_code, 1);
  EXPECT_EQ(RunCli("sound receive --type 30 --wav /nonexistent.wav").exit_code, 1);
  EXPECT_EQ(RunCli("sound unit --out x.wav").exit_code, 2);
}

TEST(Cli, CommandLineConventions) {
  // --help on every command, without running it; --version.
  for (const char* command :
       {"", "demo ", "settings set ", "command delete-file ", "sound receive "}) {
    const CliRun help = RunCli(std::string(command) + "--help");
    EXPECT_EQ(help.exit_code, 0) << command << help.output;
    EXPECT_TRUE(Printed(help, "Usage: quibra " + std::string(command).substr(0, 4)));
  }
  EXPECT_FALSE(Printed(RunCli("demo --help"), "simulated wrist unit"));
  EXPECT_TRUE(Printed(RunCli("--version"), "(library version 172)"));
  // Usage errors: exit 2 and the reason.
  const std::pair<const char*, const char*> kUsageErrors[] = {
      {"", "A subcommand is required"},
      {"identify", "--port is required"},
      {"identify --port /dev/null --link radio", "--link"},
      {"identify --port=/dev/null --bogus", "unknown option --bogus"},
      {"--timeout -1 identify --port /dev/null", "--timeout"},
      {"-q -v ports", "excludes"},
  };
  for (const auto& [arguments, reason] : kUsageErrors) {
    const CliRun run = RunCli(arguments);
    EXPECT_EQ(run.exit_code, 2) << arguments;
    EXPECT_TRUE(Printed(run, reason)) << arguments;
  }
  const CliRun missing = RunCli("identify --port /nonexistent/tty");
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_TRUE(Printed(missing, "cannot open port /nonexistent/tty: No such file"));
  EXPECT_EQ(RunCli("ports").exit_code, 0);
  EXPECT_EQ(RunCli("sim --type 99").exit_code, 2);
}

// Saved memories through `decode`: a damaged exercise is reported and the others saved, and a
// unit that keeps one exercise or a few gives that many files and no more.
TEST(Cli, DecodeSavesEachExerciseOfAMemoryOnce) {
  std::vector<uint8_t> damaged =
      quibra::sim::KSeriesSingleImage(std::vector<quibra::sim::KSeriesExercise>(3), 22, 19, 1);
  // Memory positions count from 1; the second exercise's month byte says 13.
  const auto at = [&](int32_t position) -> uint8_t& { return damaged[position - 1]; };
  const int32_t second = 4 + (at(5) | (at(6) & 0x7F) << 8);
  at(second + 16) = 0x0D;
  quibra::sim::Type31Exercise x31;
  x31.year = 2026;
  x31.laps.resize(2);
  const struct {
    std::vector<uint8_t> image;
    int exit_code;
    size_t files;
    const char* said;
  } kCases[] = {
      {damaged, 1, 2, "quibra: exercise 2: bad start date (month 13)\n"},
      {quibra::sim::Type30Image({}, quibra::sim::ImageKind::kSingleExercise), 0, 1, ""},
      {quibra::sim::Type31Image({x31, x31, x31}, quibra::sim::ImageKind::kSingleExercise), 0, 3,
       ""},
  };
  const std::string dir = TestFolder();
  for (size_t i = 0; i < std::size(kCases); ++i) {
    SCOPED_TRACE(i);
    const std::string bin = dir + "/memory" + std::to_string(i) + ".bin";
    {
      std::ofstream file(bin, std::ios::binary);
      file.put(0);  // a binary memory file starts one byte before position 1
      file.write(reinterpret_cast<const char*>(kCases[i].image.data()),
                 static_cast<std::streamsize>(kCases[i].image.size()));
    }
    const std::string out = dir + "/out" + std::to_string(i);
    const CliRun run = RunCli("decode " + bin + " --out " + out);
    EXPECT_EQ(run.exit_code, kCases[i].exit_code) << run.output;
    EXPECT_TRUE(Printed(run, kCases[i].said));
    EXPECT_EQ(FilesIn(out).size(), kCases[i].files) << run.output;
  }
}

TEST(Cli, NothingWaitsForEverAndNoFailureEndsAsSuccess) {
  const auto start = std::chrono::steady_clock::now();
  const std::string out = TestFolder();
  const CliRun null_port = RunCli("download --port /dev/null --out " + out + " < /dev/null");
  EXPECT_EQ(null_port.exit_code, 1);
  EXPECT_TRUE(Printed(null_port, "port /dev/null is not a terminal device"));
  // A line with nobody at the other end: the acknowledgement never comes.
  quibra::testing::PtyPair silent;
  ASSERT_TRUE(silent.ok());
  const CliRun command = RunCli("command factory-defaults --yes --type 22 --port " +
                                silent.slave_name() + " < /dev/null");
  EXPECT_EQ(command.exit_code, 1);
  EXPECT_TRUE(Printed(command, "No answer from HR Monitor\nquibra: factory-defaults failed"));
  // Without a terminal to ask, the download dialog takes Cancel after the failure.
  const CliRun download =
      RunCli("download --port " + silent.slave_name() + " --out " + out + " < /dev/null");
  EXPECT_EQ(download.exit_code, 1);
  EXPECT_TRUE(Printed(download, "No answer from HR Monitor\nquibra: the exercises were not"));
  // A plain file is no line either.
  const std::string file = out + "/not-a-port";
  { std::ofstream(file) << "x"; }
  const CliRun plain = RunCli("identify --port " + file);
  EXPECT_EQ(plain.exit_code, 1);
  EXPECT_TRUE(Printed(plain, "port " + file + " is not a terminal device"));
  // A second tool on a port the first one holds is told so at once.
  CliProcess first({"download", "--port", silent.slave_name(), "--out", out});
  ASSERT_TRUE(first.WaitForError("Reading...", 5000));
  const CliRun second = RunCli("identify --port " + silent.slave_name());
  EXPECT_EQ(second.exit_code, 1);
  EXPECT_TRUE(Printed(second, "is busy")) << second.output;
  first.Signal(SIGINT);
  EXPECT_EQ(first.Finish().exit_code, 130);
  // Five tries of each exchange, and a little more.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

}  // namespace
