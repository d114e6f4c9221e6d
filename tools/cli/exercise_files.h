// Downloading a unit's exercises and turning the exercise memory into HRM files.
#pragma once

#include <string>

#include "identify.h"

namespace quibra::cli {

// Downloads the exercise memory over an open link, behind the download dialog. False (with the
// reason on stderr) when it did not complete.
bool DownloadExercises();

// Writes the exercise decoded last as an HRM file and prints its line (date, start, duration,
// samples, laps). False (with the reason on stderr) when the file cannot be written.
bool SaveDecodedExercise(const std::string& path);

// Decodes every exercise of the exercise memory and writes each as <dir>/exercise-N.hrm,
// printing one line per exercise (date, start, duration, samples, laps). An exercise that cannot
// be decoded is counted in `refused` with its reason on stderr ("exercise 3: bad start date
// (month 13)"). Returns the number of exercises written, -1 when the directory or a file cannot
// be made.
int SaveExercises(const std::string& dir, int& refused);
inline int SaveExercises(const std::string& dir) {
  int refused = 0;
  return SaveExercises(dir, refused);
}

// `quibra download --port DEV [--link serial|usb] --out DIR` and `quibra decode FILE.bin --out
// DIR`: args after the command. Return the exit code.
int DownloadCommand(int argc, char** argv);
int DecodeCommand(int argc, char** argv);

}  // namespace quibra::cli
