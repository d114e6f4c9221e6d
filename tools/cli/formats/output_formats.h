// The file formats the tool writes an exercise in, by the names the command line takes.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "exercise_model.h"

namespace quibra::cli::formats {

enum class OutputFormat { kHrm, kFit, kTcx, kCsv, kJson };

struct FormatName {
  OutputFormat format;
  const char* name;       // as --format and --to take it
  const char* extension;  // with its dot
};
inline constexpr FormatName kFormatNames[] = {
    {OutputFormat::kHrm, "hrm", ".hrm"},
    {OutputFormat::kFit, "fit", ".fit"},
    {OutputFormat::kTcx, "tcx", ".tcx"},
    {OutputFormat::kCsv, "csv", ".csv"},
    {OutputFormat::kJson, "json", ".json"},
};

const char* ExtensionOf(OutputFormat format);

// "hrm,csv" (names separated by commas, each once) as formats; nothing, with the reason in
// `error`, for an empty list or a name the tool does not write.
std::optional<std::vector<OutputFormat>> ParseFormatList(const std::string& list,
                                                         std::string& error);

// The names for a help text: "hrm, csv, json".
std::string FormatNamesText();

// The content of the file of a format other than HRM (the library writes HRM files itself).
std::string FileContent(OutputFormat format, const ExerciseModel& model);

}  // namespace quibra::cli::formats
