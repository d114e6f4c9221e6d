// Downloading a unit's exercises and turning the exercise memory into HRM files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "identify.h"
#include "output_formats.h"

namespace quibra::cli {

// 2026-11-28 for 20261128.
std::string DateText(int32_t yyyymmdd);
// 07:15:00 for 26100 seconds.
std::string ClockText(int64_t seconds);

// Downloads the exercise memory over an open link, behind the download dialog. False (with the
// reason on stderr) when it did not complete or the command was stopped.
bool DownloadExercises();

// The formats download and decode write when --format is not given.
inline const std::vector<formats::OutputFormat> kHrmOnly = {formats::OutputFormat::kHrm};

// What a saved exercise file holds.
struct SavedExercise {
  std::string path;                // the first of `files`
  std::vector<std::string> files;  // one for each format, all with one name
  int32_t date = 0;                // yyyymmdd
  int64_t start = 0;               // s since midnight
  int64_t duration = 0;            // s
  int32_t samples = 0;
  int32_t laps = 0;
};

// Writes the exercise decoded last as an HRM file (replacing a file of that name: the user named
// it). Nothing (with the reason on stderr) when the file cannot be written.
std::optional<SavedExercise> SaveDecodedExercise(const std::string& path);

// Decodes every exercise of the exercise memory and saves each as <dir>/<date>_<hhmm>.hrm
// (2026-11-28_0715.hrm; a name that is taken gets the suffix _2, _3, ...; a file that is there
// is never replaced), and in each further format of `formats` under the same name with that
// format's extension. Each file is written under a temporary name, and all are given their
// names only when every one was written: a failure or a stop leaves none. Prints a line per
// exercise unless `quiet_lines`. An exercise that cannot be decoded is counted in `refused` with
// its reason on stderr ("exercise 3: bad start date (month 13)") and the others are saved.
// Nothing (the reason on stderr) on failure. `image_mode` is how fnQuibra_AnalyzeFile reads the
// memory: 0 as a unit sends its exercises, 1 as a whole-memory image (a phone's memory).
std::optional<std::vector<SavedExercise>> SaveExercises(
    const std::string& dir, bool quiet_lines, int& refused, int32_t image_mode = 0,
    const std::vector<formats::OutputFormat>& formats = kHrmOnly);

// The running and cycling units (types 33..38) keep each exercise as a file of its own.
inline bool IsFileBased(int32_t type) {
  return type >= 33 && type <= 38;
}

// Fetches every file of such a unit over the open link, one at a time (the library decodes each
// as it arrives), and saves each as <dir>/file-<n>.bin (which quibra decode takes) and as an HRM
// file named as SaveExercises names them. All files or none: a failure or a stop leaves none.
// A file that arrives but cannot be decoded is counted in `refused`, its .bin kept.
std::optional<std::vector<SavedExercise>> DownloadFiles(
    const UnitIdentity& unit, const std::string& dir, bool quiet_lines, int& refused,
    const std::vector<formats::OutputFormat>& formats = kHrmOnly);

// Adds --format hrm,csv,... to a command (several formats at once).
void AddFormatOption(CLI::App* app, std::vector<formats::OutputFormat>& formats);

}  // namespace quibra::cli
