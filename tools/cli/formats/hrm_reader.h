// Reads HRM exercise files, those the library writes and those of the same format from other
// programs, into the exercise model: every block the library writes ([Params], [Note],
// [IntTimes], [Trip], [HRData]), any of them but [Params] missing, CR LF or LF line ends, and
// blocks of other names skipped whole.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "exercise_model.h"

namespace quibra::cli::formats {

struct HrmReadError {
  int line = 0;  // 1-based; 0 when the file as a whole failed (not found, empty)
  std::string reason;

  // "line 12: ..." or the reason alone.
  std::string Text() const;
};

// The model of an HRM text; nothing, with the first fault in `error`, when a line cannot be
// read. Keys of [Params] that the model has no place for are skipped, as are empty lines.
std::optional<ExerciseModel> ReadHrmText(std::string_view text, HrmReadError& error);
std::optional<ExerciseModel> ReadHrmFile(const std::string& path, HrmReadError& error);

}  // namespace quibra::cli::formats
