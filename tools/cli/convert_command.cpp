// quibra convert: HRM files (named one by one, or every .hrm file of a folder) into the formats
// the training platforms import. A file that cannot be read is reported with its line and the
// others are converted.
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "commands.h"
#include "hrm_reader.h"
#include "output_file.h"
#include "output_formats.h"
#include "stop_control.h"

namespace quibra::cli {
namespace {

namespace fs = std::filesystem;

struct Options {
  std::vector<std::string> inputs;
  std::vector<formats::OutputFormat> to;
  std::string out;
};

bool IsHrmName(const fs::path& path) {
  std::string ext = path.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  return ext == ".hrm";
}

// The files named, a folder standing for its .hrm files in name order.
std::vector<std::string> InputFiles(const std::vector<std::string>& inputs) {
  std::vector<std::string> files;
  for (const std::string& input : inputs) {
    std::error_code error;
    if (!fs::is_directory(input, error)) {
      files.push_back(input);
      continue;
    }
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(input, error)) {
      if (entry.is_regular_file(error) && IsHrmName(entry.path()))
        found.push_back(entry.path().string());
    }
    std::sort(found.begin(), found.end());
    files.insert(files.end(), found.begin(), found.end());
  }
  return files;
}

bool WriteFile(const OutputFile& file, const std::string& content) {
  std::ofstream out(file.partial(), std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  out.close();
  if (out) return true;
  std::fprintf(stderr, "quibra: cannot write %s: %s\n", file.path().c_str(), std::strerror(errno));
  return false;
}

// Converts one file into every format; each output gets its name only when all are written.
bool ConvertFile(const std::string& input, const Options& o) {
  formats::HrmReadError error;
  const auto model = formats::ReadHrmFile(input, error);
  if (!model) {
    std::fprintf(stderr, "quibra: %s: %s\n", input.c_str(), error.Text().c_str());
    return false;
  }
  const std::string stem = fs::path(input).stem().string();
  std::vector<std::unique_ptr<OutputFile>> outputs;
  for (formats::OutputFormat format : o.to) {
    outputs.push_back(
        std::make_unique<OutputFile>(FreeName(o.out, stem, formats::ExtensionOf(format))));
    if (!WriteFile(*outputs.back(), formats::FileContent(format, *model))) return false;
  }
  std::string shown;
  for (const auto& file : outputs) {
    std::string commit_error;
    if (!file->Commit(false, commit_error)) {
      std::fprintf(stderr, "quibra: %s\n", commit_error.c_str());
      return false;
    }
    shown += " " + file->path();
  }
  if (!Global().quiet) std::printf("%s ->%s\n", input.c_str(), shown.c_str());
  return true;
}

int Convert(const Options& o) {
  if (const std::string problem = CheckWritableDirectory(o.out); !problem.empty()) {
    std::fprintf(stderr, "quibra: %s\n", problem.c_str());
    return kExitFailure;
  }
  const std::vector<std::string> files = InputFiles(o.inputs);
  if (files.empty()) {
    std::fprintf(stderr, "quibra: no HRM file to convert\n");
    return kExitFailure;
  }
  size_t converted = 0;
  for (const std::string& file : files) {
    if (StopRequested()) return kExitFailure;
    if (ConvertFile(file, o)) ++converted;
  }
  if (!Global().quiet || converted < files.size())
    std::fprintf(converted < files.size() ? stderr : stdout, "converted %zu of %zu files\n",
                 converted, files.size());
  return converted == files.size() ? 0 : kExitFailure;
}

}  // namespace

void AddConvertCommand(CLI::App& app, CommandRun& run) {
  auto o = std::make_shared<Options>();
  CLI::App* sub = app.add_subcommand(
      "convert",
      "convert HRM files (or every .hrm file of a folder) into DIR/<name>.<format>; a file that "
      "cannot be read is reported with its line and the others are converted");
  sub->add_option("files", o->inputs, "HRM files or folders of them")->required();
  sub->add_option_function<std::string>(
         "--to",
         [o](const std::string& list) {
           std::string error;
           auto parsed = formats::ParseFormatList(list, error);
           if (!parsed) UsageError("--to: " + error);
           if (std::count(parsed->begin(), parsed->end(), formats::OutputFormat::kHrm) != 0)
             UsageError("--to: the files are HRM files already");
           o->to = *parsed;
         },
         "the formats, separated by commas (" + formats::FormatNamesText() + " but hrm)")
      ->option_text("FORMAT")
      ->required();
  sub->add_option("--out", o->out, "the folder for the files (made when missing)")
      ->option_text("DIR")
      ->required();
  sub->callback([o, &run] { run = [o] { return Convert(*o); }; });
}

}  // namespace quibra::cli
