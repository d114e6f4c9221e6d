// quibra plot: draws an HRM file's exercise as a PNG or SVG picture: the heart rate on its limit
// zones with the laps marked, and speed, altitude, cadence and power below where recorded.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "commands.h"
#include "hrm_reader.h"
#include "output_file.h"
#include "plot.h"

namespace quibra::cli {
namespace {

struct Options {
  std::string file;
  std::string out;
  formats::PlotKind kind = formats::PlotKind::kPng;
};

int Plot(const Options& o) {
  formats::HrmReadError error;
  const auto model = formats::ReadHrmFile(o.file, error);
  if (!model) {
    std::fprintf(stderr, "quibra: %s: %s\n", o.file.c_str(), error.Text().c_str());
    return kExitFailure;
  }
  // The picture replaces a file of its name: the user named it.
  OutputFile picture(o.out);
  std::string reason;
  if (!formats::DrawPlot(*model, o.kind, picture.partial(), reason) ||
      !picture.Commit(true, reason)) {
    std::fprintf(stderr, "quibra: cannot draw %s: %s\n", o.out.c_str(), reason.c_str());
    return kExitFailure;
  }
  if (!Global().quiet) std::printf("%s\n", o.out.c_str());
  return 0;
}

}  // namespace

void AddPlotCommand(CLI::App& app, CommandRun& run) {
  auto o = std::make_shared<Options>();
  CLI::App* sub = app.add_subcommand(
      "plot",
      "draw an HRM file's exercise: heart rate on the limit zones with the laps marked, "
      "and speed, altitude, cadence and power where recorded");
  sub->add_option("file", o->file, "the HRM file")->required();
  sub->add_option("--out", o->out, "the picture to write; .png or .svg chooses the kind")
      ->option_text("FILE.png|FILE.svg")
      ->required();
  sub->callback([o, &run] {
    const std::string ext = std::filesystem::path(o->out).extension().string();
    if (ext == ".svg") {
      o->kind = formats::PlotKind::kSvg;
    } else if (ext != ".png") {
      UsageError("--out: the picture's name ends in .png or .svg");
    }
    run = [o] { return Plot(*o); };
  });
}

}  // namespace quibra::cli
