#include "exercise_files.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <system_error>

#include <nlohmann/json.hpp>

#include "commands.h"
#include "destination.h"
#include "failure.h"
#include "library_session.h"
#include "model_from_store.h"
#include "output_file.h"
#include "quibra/quibra.h"
#include "stop_control.h"
#include "terminal_view.h"

namespace quibra::cli {
namespace {

namespace fs = std::filesystem;
using json = nlohmann::ordered_json;

// Exercise parameters: the date (yyyymmdd), the start (1/10 s since midnight) and the duration
// (ms).
constexpr int32_t kDate = 9;
constexpr int32_t kStart = 10;
constexpr int32_t kDuration = 11;
// Any nonzero window runs the download dialog; the headless host owns no real window.
constexpr uint32_t kDialogOwner = 1;
constexpr int32_t kAskTheUnit = 0;
constexpr int32_t kOneFile = 0;  // AnalyzeFile's mode for a file as the unit sent it
// The error code of an exercise whose length runs past the memory: none can be found after it.
constexpr int32_t kBrokenChain = 103;

bool FillPath(CommParams& params, const std::string& path) {
  if (path.size() >= sizeof params.FilePath) return false;
  std::memcpy(params.FilePath, path.data(), path.size());
  return true;
}

// 2026-11-28_0715 for an exercise started at 07:15 on 28 November 2026; exercise-N when the
// unit kept no date.
std::string ExerciseStem(int32_t date, int64_t start_seconds, int32_t n) {
  if (date <= 0) return "exercise-" + std::to_string(n + 1);
  char text[32];
  std::snprintf(text, sizeof text, "%s_%02lld%02lld", DateText(date).c_str(),
                static_cast<long long>(start_seconds / 3600),
                static_cast<long long>(start_seconds / 60 % 60));
  return text;
}

// The first name FreeName gives that this run has not chosen already.
std::string UnusedName(const std::string& dir, const std::string& stem, const std::string& ext,
                       std::set<std::string>& taken) {
  std::string path = FreeName(dir, stem, ext);
  for (int n = 2; taken.count(path) != 0; ++n)
    path = FreeName(dir, stem + "_" + std::to_string(n), ext);
  taken.insert(path);
  return path;
}

// The files of an exercise: "a.hrm" or "a.hrm a.csv".
std::string FilesText(const SavedExercise& x) {
  std::string text;
  for (const std::string& file : x.files)
    text += (text.empty() ? "" : " ") + file;
  return text.empty() ? x.path : text;
}

void PrintSaved(const SavedExercise& x) {
  std::printf("%s  %s %s  %s  %5d samples  %3d laps\n", FilesText(x).c_str(),
              DateText(x.date).c_str(), ClockText(x.start).c_str(), ClockText(x.duration).c_str(),
              x.samples, x.laps);
  std::fflush(stdout);
}

json SavedJson(const SavedExercise& x) {
  return {{"File", x.path},
          {"Files", x.files},
          {"Date", DateText(x.date)},
          {"Start", ClockText(x.start)},
          {"DurationSeconds", x.duration},
          {"Samples", x.samples},
          {"Laps", x.laps}};
}

json SavedListJson(const std::vector<SavedExercise>& saved) {
  json list = json::array();
  for (const SavedExercise& x : saved)
    list.push_back(SavedJson(x));
  return list;
}

struct DownloadOptions {
  Destination from;
  std::string out;
  bool json = false;
  std::vector<formats::OutputFormat> formats = kHrmOnly;
};

int Download(const DownloadOptions& o) {
  // A folder that cannot take the files is found before the unit is asked for anything.
  if (const std::string problem = CheckWritableDirectory(o.out); !problem.empty()) {
    std::fprintf(stderr, "quibra: %s\n", problem.c_str());
    return kExitFailure;
  }
  LibrarySession library;
  TerminalView view;
  if (!OpenLink(o.from.port, o.from.link)) return kExitFailure;
  // Over IrDA the unit may be one that keeps files: it is asked who it is first.
  if (o.from.link == LinkKind::Irda) {
    const auto unit = AskIdentity();
    if (!unit) {
      fnQuibra_EndIRCommunication(0);
      return kExitFailure;
    }
    if (IsFileBased(unit->type)) {
      int refused = 0;
      const auto saved = DownloadFiles(*unit, o.out, o.json, refused, o.formats);
      fnQuibra_EndIRCommunication(0);
      if (!saved || StopRequested()) return kExitFailure;
      if (o.json) std::printf("%s\n", json{{"Exercises", SavedListJson(*saved)}}.dump(2).c_str());
      return refused > 0 ? kExitFailure : 0;
    }
  }
  const bool downloaded = DownloadExercises();
  fnQuibra_EndIRCommunication(0);
  if (!downloaded || StopRequested()) return kExitFailure;
  std::set<std::string> taken;
  OutputFile memory(UnusedName(o.out, "memory", ".bin", taken));
  CommParams params{};
  params.Size = QUIBRA_COMM_PARAMS_SIZE;
  if (!FillPath(params, memory.partial()) || fnQuibra_SaveExerciseBinFile(&params) != 1) {
    std::fprintf(stderr, "quibra: cannot write %s%s\n", memory.path().c_str(),
                 LibraryErrorCause().c_str());
    return kExitFailure;
  }
  int refused = 0;
  const auto saved = SaveExercises(o.out, o.json, refused, 0, o.formats);
  std::string error;
  if (!saved || StopRequested()) return kExitFailure;
  if (!memory.Commit(false, error)) {
    std::fprintf(stderr, "quibra: %s\n", error.c_str());
    return kExitFailure;
  }
  if (o.json) {
    std::printf(
        "%s\n",
        json{{"Memory", memory.path()}, {"Exercises", SavedListJson(*saved)}}.dump(2).c_str());
  } else if (!Global().quiet) {
    std::printf("%s  the exercise memory\n", memory.path().c_str());
  }
  return refused > 0 ? kExitFailure : 0;
}

struct DecodeOptions {
  std::string file;
  std::string out;
  bool json = false;
  std::vector<formats::OutputFormat> formats = kHrmOnly;
};

int Decode(const DecodeOptions& o) {
  if (const std::string problem = CheckWritableDirectory(o.out); !problem.empty()) {
    std::fprintf(stderr, "quibra: %s\n", problem.c_str());
    return kExitFailure;
  }
  LibrarySession library;
  CommParams params{};
  params.Size = QUIBRA_COMM_PARAMS_SIZE;
  if (!FillPath(params, o.file) || fnQuibra_LoadExerciseBinFile(&params) != 1) {
    std::fprintf(stderr, "quibra: cannot read %s%s\n", o.file.c_str(), LibraryErrorCause().c_str());
    return kExitFailure;
  }
  fnQuibra_RefreshMonitorInfo(0);  // the unit the memory came from
  int refused = 0;
  const auto saved = SaveExercises(o.out, o.json, refused, 0, o.formats);
  if (!saved) return kExitFailure;
  if (o.json) std::printf("%s\n", json{{"Exercises", SavedListJson(*saved)}}.dump(2).c_str());
  if (saved->empty() && refused == 0) {
    std::fprintf(stderr, "quibra: no exercise in %s\n", o.file.c_str());
    return kExitFailure;
  }
  return refused > 0 || saved->empty() ? kExitFailure : 0;
}

// Writes the exercise decoded last as an HRM file to `file` (the path the library gets); false,
// with the reason naming it as `shown`, when it cannot.
bool WriteDecodedHrm(const std::string& file, const std::string& shown) {
  char buffer[260] = {};
  if (file.size() >= sizeof buffer) {
    std::fprintf(stderr, "quibra: the path %s is too long\n", file.c_str());
    return false;
  }
  std::memcpy(buffer, file.data(), file.size());
  if (fnQuibra_SaveExerciseHRM(0, buffer, 0) != 1) {
    std::fprintf(stderr, "quibra: cannot write %s%s\n", shown.c_str(), LibraryErrorCause().c_str());
    return false;
  }
  return true;
}

// The exercise decoded last, as saved under `shown`.
SavedExercise DescribeDecoded(const std::string& shown) {
  SavedExercise x;
  x.path = shown;
  x.files = {shown};
  x.date = fnQuibra_GetRecParam(kDate);
  x.start = fnQuibra_GetRecParam(kStart) / 10;
  x.duration = fnQuibra_GetRecParam(kDuration) / 1000;
  x.samples = fnQuibra_GetNbrOfHRMSamples();
  x.laps = fnQuibra_GetNbrOfIntTimes();
  return x;
}

std::optional<SavedExercise> WriteDecoded(const std::string& file, const std::string& shown) {
  if (!WriteDecodedHrm(file, shown)) return std::nullopt;
  return DescribeDecoded(shown);
}

bool WriteText(const std::string& path, const std::string& shown, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  if (out) return true;
  std::fprintf(stderr, "quibra: cannot write %s: %s\n", shown.c_str(), std::strerror(errno));
  return false;
}

// The first of stem, stem_2, stem_3, ... under which no file of any of the formats is there or
// chosen by this run.
std::string UnusedStem(const std::string& dir, const std::string& stem,
                       const std::vector<formats::OutputFormat>& formats,
                       std::set<std::string>& taken) {
  for (int n = 1;; ++n) {
    const std::string candidate = n == 1 ? stem : stem + "_" + std::to_string(n);
    bool free = true;
    for (formats::OutputFormat f : formats) {
      const std::string path = (fs::path(dir) / (candidate + formats::ExtensionOf(f))).string();
      std::error_code ignored;
      free = free && taken.count(path) == 0 && !fs::exists(fs::symlink_status(path, ignored));
    }
    if (!free) continue;
    for (formats::OutputFormat f : formats)
      taken.insert((fs::path(dir) / (candidate + formats::ExtensionOf(f))).string());
    return candidate;
  }
}

}  // namespace

std::string DateText(int32_t yyyymmdd) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", yyyymmdd / 10000, yyyymmdd / 100 % 100,
                yyyymmdd % 100);
  return text;
}

std::string ClockText(int64_t seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
  return text;
}

std::optional<SavedExercise> SaveDecodedExercise(const std::string& path) {
  OutputFile file(path);
  auto saved = WriteDecoded(file.partial(), path);
  std::string error;
  if (!saved || StopRequested()) return std::nullopt;
  if (!file.Commit(true, error)) {
    std::fprintf(stderr, "quibra: %s\n", error.c_str());
    return std::nullopt;
  }
  PrintSaved(*saved);
  return saved;
}

bool DownloadExercises() {
  const int32_t result = fnQuibra_ReadExercisesData(kDialogOwner, kAskTheUnit);
  if (result == 1 && !StopRequested()) return true;
  if (!StopRequested()) std::fprintf(stderr, "quibra: the exercises were not downloaded\n");
  return false;
}

namespace {

// The files of one run, written under partial names and given their own names only once all of
// them are written, so that a stopped or failed run leaves none behind.
class PendingFiles {
 public:
  OutputFile& Add(const std::string& dir, const std::string& stem, const char* extension) {
    return AddPath(UnusedName(dir, stem, extension, taken_));
  }

  // Writes the exercise the library analysed last in each of the formats, named by its date
  // and start (`n`, its index, names it without them).
  bool AddDecoded(const std::string& dir, int32_t n, bool quiet_lines,
                  const std::vector<formats::OutputFormat>& formats) {
    const std::string stem = UnusedStem(
        dir, ExerciseStem(fnQuibra_GetRecParam(kDate), fnQuibra_GetRecParam(kStart) / 10, n),
        formats, taken_);
    std::optional<formats::ExerciseModel> model;
    std::vector<std::string> files;
    for (formats::OutputFormat format : formats) {
      const OutputFile& file =
          AddPath((fs::path(dir) / (stem + formats::ExtensionOf(format))).string());
      if (format == formats::OutputFormat::kHrm) {
        if (!WriteDecodedHrm(file.partial(), file.path())) return false;
      } else {
        if (!model) model = formats::ModelFromStore();
        if (!WriteText(file.partial(), file.path(), formats::FileContent(format, *model)))
          return false;
      }
      files.push_back(file.path());
    }
    SavedExercise x = DescribeDecoded(files.front());
    x.files = files;
    if (!quiet_lines && !Global().quiet) PrintSaved(x);
    saved_.push_back(x);
    return true;
  }

  std::optional<std::vector<SavedExercise>> CommitAll() {
    if (StopRequested()) return std::nullopt;
    for (const auto& file : files_) {
      std::string error;
      if (!file->Commit(false, error)) {
        std::fprintf(stderr, "quibra: %s\n", error.c_str());
        return std::nullopt;
      }
    }
    return std::move(saved_);
  }

 private:
  OutputFile& AddPath(const std::string& path) {
    files_.push_back(std::make_unique<OutputFile>(path));
    return *files_.back();
  }

  std::vector<std::unique_ptr<OutputFile>> files_;
  std::vector<SavedExercise> saved_;
  std::set<std::string> taken_;
};

}  // namespace

std::optional<std::vector<SavedExercise>> SaveExercises(
    const std::string& dir, bool quiet_lines, int& refused, int32_t image_mode,
    const std::vector<formats::OutputFormat>& formats) {
  if (const std::string problem = CheckWritableDirectory(dir); !problem.empty()) {
    std::fprintf(stderr, "quibra: %s\n", problem.c_str());
    return std::nullopt;
  }
  PendingFiles pending;
  std::string last_reason;
  // Every exercise takes at least a byte of the memory: no memory holds more exercises than the
  // library reports bytes, so the loop ends even if a decoder kept answering for a later index.
  const int32_t most = fnKx2GetNbrOfMemtrBytes();
  for (int32_t n = 0; n < most; ++n) {
    if (StopRequested()) return std::nullopt;
    if (fnQuibra_AnalyzeFile(n, image_mode) != 1) {
      // Without a reason the chain has ended; with one this exercise is damaged and the next
      // may still be sound, unless its length broke the chain (or the same one fails again).
      char reason[160] = {};
      if (fnQuibraExt_GetFailureText(reason, sizeof reason) == 0 || last_reason == reason) break;
      std::fprintf(stderr, "quibra: %s\n", reason);
      last_reason = reason;
      ++refused;
      if (fnQuibra_GetErrorCode() == kBrokenChain) break;
      continue;
    }
    if (!pending.AddDecoded(dir, n, quiet_lines, formats)) return std::nullopt;
  }
  return pending.CommitAll();
}

std::optional<std::vector<SavedExercise>> DownloadFiles(
    const UnitIdentity& unit, const std::string& dir, bool quiet_lines, int& refused,
    const std::vector<formats::OutputFormat>& formats) {
  PendingFiles pending;
  for (int32_t n = 0; n < unit.files; ++n) {
    if (StopRequested()) return std::nullopt;
    if (fnQuibra_ReadExerciseFile(kDialogOwner, n, 0) != 1) {
      if (!StopRequested()) std::fprintf(stderr, "quibra: file %d was not downloaded\n", n + 1);
      return std::nullopt;
    }
    const OutputFile& bin = pending.Add(dir, "file-" + std::to_string(n), ".bin");
    CommParams params{};
    params.Size = QUIBRA_COMM_PARAMS_SIZE;
    if (!FillPath(params, bin.partial()) || fnQuibra_SaveExerciseBinFile(&params) != 1) {
      std::fprintf(stderr, "quibra: cannot write %s%s\n", bin.path().c_str(),
                   LibraryErrorCause().c_str());
      return std::nullopt;
    }
    // The download decoded the file already; analysing it again tells whether that worked.
    if (fnQuibra_AnalyzeFile(0, kOneFile) != 1) {
      std::fprintf(stderr, "quibra: file %d cannot be decoded\n", n + 1);
      ++refused;
      continue;
    }
    if (!pending.AddDecoded(dir, n, quiet_lines, formats)) return std::nullopt;
  }
  return pending.CommitAll();
}

void AddFormatOption(CLI::App* app, std::vector<formats::OutputFormat>& chosen) {
  app->add_option_function<std::string>(
         "--format",
         [&chosen](const std::string& list) {
           std::string error;
           const auto parsed = formats::ParseFormatList(list, error);
           if (!parsed) UsageError("--format: " + error);
           chosen = *parsed;
         },
         "the formats of each exercise's files, separated by commas (" +
             formats::FormatNamesText() + "; default hrm)")
      ->option_text("LIST");
}

void AddDownloadCommand(CLI::App& app, CommandRun& run) {
  auto o = std::make_shared<DownloadOptions>();
  CLI::App* sub = app.add_subcommand(
      "download",
      "save every exercise of a unit as DIR/<date>_<hhmm>.hrm (a taken name gets _2, _3, ...) and "
      "the exercise memory as DIR/memory.bin (a unit that keeps files: each as DIR/file-<n>.bin)");
  AddDestinationOptions(sub, o->from, false);
  sub->add_option("--out", o->out, "the folder for the files (made when missing)")
      ->option_text("DIR")
      ->required();
  sub->add_flag("--json", o->json, "print the saved files as JSON");
  AddFormatOption(sub, o->formats);
  sub->callback([o, &run] {
    CheckDestination(o->from, false);
    run = [o] { return Download(*o); };
  });
}

void AddDecodeCommand(CLI::App& app, CommandRun& run) {
  auto o = std::make_shared<DecodeOptions>();
  CLI::App* sub = app.add_subcommand(
      "decode",
      "save the exercises of a saved exercise memory (memory.bin, or a unit's file-<n>.bin) as HRM "
      "files");
  sub->add_option("file", o->file, "the memory file")->required()->check(CLI::ExistingFile);
  sub->add_option("--out", o->out, "the folder for the files (made when missing)")
      ->option_text("DIR")
      ->required();
  sub->add_flag("--json", o->json, "print the saved files as JSON");
  AddFormatOption(sub, o->formats);
  sub->callback([o, &run] { run = [o] { return Decode(*o); }; });
}

}  // namespace quibra::cli
