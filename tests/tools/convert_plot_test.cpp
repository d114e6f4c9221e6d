// quibra convert over a folder of a hundred HRM files, some of them broken: each broken file is
// reported with its line, the others converted, well under a second a file; quibra show prints
// the summary; the plot of an exercise is a PNG whose pixels show the zones, laps and channels.
#include <gtest/gtest.h>

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "encoders/k_series_encoder.h"
#include "hrm_reader.h"
#include "plot.h"
#include "support/cli_run.h"
#include "support/test_folder.h"

namespace quibra::testing {
namespace {

namespace fs = std::filesystem;

// An hour at 1 s with speed: heart rate 100 throughout, limits 120-150, a lap at 30 minutes.
std::string HourRun(int samples = 3600) {
  std::string text =
      "[Params]\r\nVersion=106\r\nMonitor=36\r\nSMode=100000100\r\nDate=20260301\r\n"
      "StartTime=08:00:00.0\r\nLength=01:00:00.0\r\nInterval=1\r\nUpper1=150\r\nLower1=120\r\n"
      "\r\n[IntTimes]\r\n00:30:00.0\t100\t0\t100\t100\r\n0\t0\t0\t100\t0\t0\r\n0\t0\t0\t0\t0\r\n"
      "0\t0\t0\t0\t0\t0\r\n0\t0\t0\t0\t0\t0\r\n\r\n[HRData]\r\n";
  for (int i = 0; i < samples; ++i)
    text += "100\t" + std::to_string(100 + i % 50) + "\r\n";
  return text;
}

TEST(ConvertCli, AFolderOfAHundredFilesReportsEachBrokenOneWithItsLine) {
  const std::string dir = TestFolder();
  fs::create_directories(dir + "/old");
  const std::string good = HourRun();
  for (int n = 0; n < 100; ++n) {
    std::string text = good;
    // Every tenth file has a sample that is not a number on line 20 + n.
    if (n % 10 == 3) {
      size_t at = 0;
      for (int line = 1; line < 20 + n; ++line)
        at = text.find('\n', at) + 1;
      text.insert(at, "x");
    }
    char name[32];
    std::snprintf(name, sizeof name, "/old/run%03d.hrm", n);
    std::ofstream(dir + name, std::ios::binary) << text;
  }
  const auto start = std::chrono::steady_clock::now();
  const CliRun run = RunCli("convert " + dir + "/old --to csv,json,fit,tcx --out " + dir + "/new 2>&1");
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_LT(elapsed, std::chrono::seconds(100));
  EXPECT_EQ(run.exit_code, 1);
  for (int n = 3; n < 100; n += 10) {
    char said[96];
    std::snprintf(said, sizeof said, "run%03d.hrm: line %d: a sample holds a value", n, 20 + n);
    EXPECT_NE(run.output.find(said), std::string::npos) << said << "\n" << run.output;
  }
  EXPECT_NE(run.output.find("converted 90 of 100 files"), std::string::npos);
  EXPECT_EQ(FilesIn(dir + "/new").size(), 360u);
  std::ifstream fit(dir + "/new/run000.fit", std::ios::binary);
  std::string fit_head(12, '\0');
  fit.read(fit_head.data(), 12);
  EXPECT_EQ(fit_head.substr(8), ".FIT");
  std::ifstream tcx(dir + "/new/run000.tcx");
  EXPECT_NE(std::string(std::istreambuf_iterator<char>(tcx), {}).find("<TrainingCenterDatabase"),
            std::string::npos);
  std::ifstream csv(dir + "/new/run000.csv");
  std::string header, first;
  std::getline(csv, header);
  std::getline(csv, first);
  EXPECT_EQ(header, "time_s,heart_rate_bpm,speed_kmh");
  EXPECT_EQ(first, "0,100,10.0");

  const CliRun show = RunCli("show " + dir + "/old/run000.hrm");
  EXPECT_EQ(show.exit_code, 0);
  for (const char* line :
       {"Date        2026-03-01 08:00:00\n", "Duration    1:00:00\n",
        "Limits 1    120-150 bpm: below 1:00:00, within 0:00:00, above 0:00:00\n",
        "   2  1:00:00  0:30:00     100     100    ", "Distance    12.4"})
    EXPECT_NE(show.output.find(line), std::string::npos) << line << "\n" << show.output;
  EXPECT_EQ(RunCli("convert " + dir + "/old --to hrm --out " + dir).exit_code, 2);
  EXPECT_EQ(RunCli("plot " + dir + "/old/run000.hrm --out x.gif").exit_code, 2);
}

// decode --format writes each exercise in every format under one name, and the CSV has a row for
// each sample the HRM file has.
TEST(ConvertCli, DecodeWritesEveryFormatUnderOneName) {
  std::vector<sim::KSeriesExercise> runs(2);
  for (auto& x : runs) {
    x.day = 28;
    x.hour = 7;
    x.duration_tenths = 4000;
    x.samples.assign(40, {.heart_rate = 120});
  }
  const std::vector<uint8_t> image = sim::KSeriesSingleImage(runs, 22, 19, 3);
  const std::string dir = TestFolder();
  {
    std::ofstream bin(dir + "/memory.bin", std::ios::binary);
    bin.put(0);  // a memory file starts one byte before position 1
    bin.write(reinterpret_cast<const char*>(image.data()),
              static_cast<std::streamsize>(image.size()));
  }
  fs::create_directories(dir + "/out");
  std::ofstream(dir + "/out/2007-06-28_0700.csv") << "kept";
  const CliRun run =
      RunCli("-q decode " + dir + "/memory.bin --format hrm,csv,json --out " + dir + "/out 2>&1");
  ASSERT_EQ(run.exit_code, 0) << run.output;
  EXPECT_EQ(FilesIn(dir + "/out"),
            (std::vector<std::string>{"2007-06-28_0700.csv", "2007-06-28_0700_2.csv",
                                      "2007-06-28_0700_2.hrm", "2007-06-28_0700_2.json",
                                      "2007-06-28_0700_3.csv", "2007-06-28_0700_3.hrm",
                                      "2007-06-28_0700_3.json"}));
  std::ifstream csv(dir + "/out/2007-06-28_0700_3.csv");
  std::string expected = "time_s,heart_rate_bpm\n";
  for (int k = 0; k < 40; ++k)
    expected += std::to_string(5 * k) + ",120\n";
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(csv), {}), expected);
  EXPECT_EQ(RunCli("decode " + dir + "/memory.bin --format hrm,gpx --out " + dir).exit_code, 2);
}

TEST(Plot, APngShowsTheZoneTheLapsAndTheSpeedPanel) {
  cli::formats::HrmReadError error;
  const auto model = cli::formats::ReadHrmText(HourRun(), error);
  ASSERT_TRUE(model) << error.Text();
  const cli::formats::PlotLayout layout = cli::formats::LayoutPlot(*model);
  ASSERT_EQ(layout.below.size(), 1u);
  EXPECT_EQ(layout.below[0].label, "Speed (km/h)");
  const std::string png = TestFolder() + "/run.png";
  std::string reason;
  ASSERT_TRUE(cli::formats::DrawPlot(*model, cli::formats::PlotKind::kPng, png, reason)) << reason;
  std::ifstream file(png, std::ios::binary);
  std::string magic(8, '\0');
  file.read(magic.data(), 8);
  EXPECT_EQ(magic, "\x89PNG\r\n\x1a\n");
  EXPECT_GT(fs::file_size(png), 10000u);

  cairo_surface_t* picture = cairo_image_surface_create_from_png(png.c_str());
  ASSERT_EQ(cairo_surface_status(picture), CAIRO_STATUS_SUCCESS);
  EXPECT_EQ(cairo_image_surface_get_width(picture), layout.width);
  EXPECT_EQ(cairo_image_surface_get_height(picture), layout.height);
  const auto pixel = [&](double x, double y) {
    cairo_surface_flush(picture);
    const unsigned char* data = cairo_image_surface_get_data(picture);
    const int stride = cairo_image_surface_get_stride(picture);
    return reinterpret_cast<const uint32_t*>(data +
                                             static_cast<int>(y) * stride)[static_cast<int>(x)] &
           0xFFFFFF;
  };
  const auto& hr = layout.heart_rate;
  const double x = layout.X(1000);  // away from grid lines and the lap mark
  const uint32_t white = 0xFFFFFF;
  const uint32_t band = pixel(x, cli::formats::PlotLayout::Y(hr, 137));
  EXPECT_NE(band, white);
  EXPECT_EQ(pixel(layout.X(2500), cli::formats::PlotLayout::Y(hr, 137)), band);
  EXPECT_EQ(pixel(x, cli::formats::PlotLayout::Y(hr, 153)), white);        // above the zone
  EXPECT_GT(pixel(x, cli::formats::PlotLayout::Y(hr, 100)) >> 16, 0x90u);  // the red line
  // The lap mark, dashed, runs down through the speed panel.
  int lap_pixels = 0;
  const auto& speed = layout.below[0];
  for (double y = speed.top + 2; y < speed.top + speed.height - 2; ++y) {
    const uint32_t p = pixel(std::floor(layout.X(1800)), y);
    if ((p & 0xFF) > 0x80 && (p >> 16) < 0x90) ++lap_pixels;
  }
  EXPECT_GT(lap_pixels, 20);
  cairo_surface_destroy(picture);
  // The font caches of cairo and fontconfig live until the process ends; released here so that
  // the leak checker sees only what the drawing itself kept.
  cairo_debug_reset_static_data();
  FcFini();
}

}  // namespace
}  // namespace quibra::testing
