// quibra show: the summary of an HRM file (date, duration, heart rate, time in each limit zone,
// distance, ascent and the laps).
#include <cstdio>
#include <memory>
#include <string>

#include "commands.h"
#include "hrm_reader.h"
#include "summary.h"

namespace quibra::cli {
namespace {

int Show(const std::string& file) {
  formats::HrmReadError error;
  const auto model = formats::ReadHrmFile(file, error);
  if (!model) {
    std::fprintf(stderr, "quibra: %s: %s\n", file.c_str(), error.Text().c_str());
    return kExitFailure;
  }
  std::fputs(formats::SummaryText(formats::SummaryOf(*model)).c_str(), stdout);
  return 0;
}

}  // namespace

void AddShowCommand(CLI::App& app, CommandRun& run) {
  auto file = std::make_shared<std::string>();
  CLI::App* sub = app.add_subcommand(
      "show",
      "print the summary of an HRM file: date, duration, heart rate, time in each limit "
      "zone, distance, ascent and the laps");
  sub->add_option("file", *file, "the HRM file")->required();
  sub->callback([file, &run] { run = [file] { return Show(*file); }; });
}

}  // namespace quibra::cli
