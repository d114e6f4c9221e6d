#include "output_formats.h"

#include <algorithm>
#include <stdexcept>

#include "activity_from_model.h"
#include "csv_writer.h"
#include "fit_activity.h"
#include "json_writer.h"
#include "tcx_activity.h"

namespace quibra::cli::formats {

const char* ExtensionOf(OutputFormat format) {
  for (const FormatName& f : kFormatNames) {
    if (f.format == format) return f.extension;
  }
  return "";
}

std::string FormatNamesText() {
  std::string text;
  for (const FormatName& f : kFormatNames)
    text += (text.empty() ? "" : ", ") + std::string(f.name);
  return text;
}

std::optional<std::vector<OutputFormat>> ParseFormatList(const std::string& list,
                                                         std::string& error) {
  std::vector<OutputFormat> formats;
  size_t start = 0;
  while (start <= list.size()) {
    const size_t comma = std::min(list.find(',', start), list.size());
    const std::string name = list.substr(start, comma - start);
    const auto* known = std::find_if(std::begin(kFormatNames), std::end(kFormatNames),
                                     [&](const FormatName& f) { return name == f.name; });
    if (known == std::end(kFormatNames)) {
      error = "unknown format \"" + name + "\" (the formats: " + FormatNamesText() + ")";
      return std::nullopt;
    }
    if (std::find(formats.begin(), formats.end(), known->format) == formats.end())
      formats.push_back(known->format);
    start = comma + 1;
  }
  return formats;
}

std::string FileContent(OutputFormat format, const ExerciseModel& model) {
  switch (format) {
    case OutputFormat::kHrm:
      break;
    case OutputFormat::kFit: {
      const std::vector<uint8_t> bytes = EncodeFitActivity(ActivityFromModel(model));
      return {bytes.begin(), bytes.end()};
    }
    case OutputFormat::kTcx:
      return EncodeTcxActivity(ActivityFromModel(model));
    case OutputFormat::kCsv:
      return CsvText(model);
    case OutputFormat::kJson:
      return JsonText(model);
  }
  throw std::invalid_argument("the library writes HRM files from its own record");
}

}  // namespace quibra::cli::formats
