// Writes a seed corpus for the analysis fuzz target: small exercise memories of every family
// built with the simulator's encoders, in the target's input format (fuzz_input.h), so the
// fuzzer starts from images that reach deep into the decoders.
// Usage: analyze_file_seeds DIRECTORY
#include <cstdint>

#include "fuzz/fuzz_input.h"
#include "fuzz/seed_writer.h"
#include "sim/encoders/k_series_encoder.h"
#include "sim/encoders/outdoor_encoder.h"
#include "sim/encoders/prvc_file_encoder.h"
#include "sim/encoders/summary_encoders.h"

namespace {

using quibra::fuzz::Bytes;
using quibra::sim::ImageKind;

size_t UnitIndex(int32_t monitor_type) {
  for (size_t i = 0; i < quibra::fuzz::kFuzzUnits.size(); ++i) {
    if (quibra::fuzz::kFuzzUnits[i].monitor_type == monitor_type) return i;
  }
  return 0;
}

void Write(quibra::fuzz::SeedWriter& dir, int32_t type, bool whole, int32_t index,
           const Bytes& image) {
  dir.write(
      {static_cast<uint8_t>(UnitIndex(type)), static_cast<uint8_t>((whole ? 1 : 0) | (index << 1))},
      image);
}

quibra::sim::KSeriesExercise Ride(bool sensors, bool extended, int32_t interval_code) {
  quibra::sim::KSeriesExercise x;
  if (sensors) x.sensors = {2, true, true, true};
  x.extended_laps = extended;
  x.interval_code = interval_code;
  x.altitude_summary = {10, 20, 30};
  x.start_limit_set = 1;
  x.duration_tenths = 20 * 50;
  for (int32_t i = 0; i < 20; ++i)
    x.samples.push_back({100 + 13 * i, i == 5 ? 2 : -1, 300, 80, 50, 200, 10, 20});
  for (int32_t i = 0; i < 3; ++i) {
    quibra::sim::KSeriesLap lap;
    lap.tenths = 100 * (i + 1);
    lap.heart_rate = 140;
    lap.limit_swap = i == 1;
    x.laps.push_back(lap);
  }
  return x;
}

void Seeds(quibra::fuzz::SeedWriter& dir) {
  for (const auto& unit : quibra::fuzz::kFuzzUnits) {
    const int32_t t = unit.monitor_type;
    if (t == 11 || t == 12 || t == 13 || t == 15 || t == 22 || t == 23) {
      for (bool sensors : {false, true}) {
        for (bool extended : {false, true}) {
          const auto x = Ride(sensors, extended, t == 13 ? 3 : 1);
          Write(dir, t, false, 1, quibra::sim::KSeriesSingleImage({x, x}, t, 0, 3));
          Write(dir, t, true, 0, quibra::sim::KSeriesWholeImage({x}, t, unit.product_code, 2));
        }
      }
    } else if (t == 20 || t == 21) {
      quibra::sim::OutdoorExercise x;
      x.duration_s = 100;
      x.limit1_low = 100;
      x.limit3_high = 180;
      x.laps.push_back({5, 10, 150, 100, 8000, -5, 1, 2, 2});
      x.laps.push_back({1, 20, 150, 100, 8000, 5, 1, 2, 0});
      for (int32_t i = 0; i < 20; ++i)
        x.samples.push_back({100 + i, i % 3 == 0, 1000 + i});
      Write(dir, t, false, 0, quibra::sim::OutdoorSingleImage(x, t));
      Write(dir, t, true, 1, quibra::sim::OutdoorWholeImage({x, x}, t, unit.product_code));
    } else if (t == 30) {
      quibra::sim::Type30Exercise x;
      x.speed = true;
      x.duration_tenths = 36000;
      x.laps.assign(3, {600, 150, 140, 170, 1, 2, 3});
      Write(dir, t, true, 0, quibra::sim::Type30Image(x, ImageKind::kWholeMemory));
    } else if (t == 31) {
      quibra::sim::Type31Exercise x;
      x.laps.assign(2, {1, 600, 150, 140, 1, 2, 3, 4});
      Write(dir, t, true, 1, quibra::sim::Type31Image({x, x}, ImageKind::kWholeMemory));
    } else if (t == 32) {
      Write(dir, t, true, 1, quibra::sim::Type32Image({{}, {}}, ImageKind::kWholeMemory));
    } else if (t >= 33 && t <= 38) {
      // Exercise files: every sensor, a marker to a coarser interval, R-R pages and laps.
      quibra::sim::FileExercise x;
      x.type = t;
      x.speed = x.cadence = x.altitude = x.power = true;
      x.rr_capable = t == 35 || t == 37;
      x.duration_tenths = 3000;
      x.segments = {{1, std::vector<quibra::sim::FileSample>(40, {120, 100})},
                    {5, std::vector<quibra::sim::FileSample>(10, {130, 150})}};
      x.rr_ms.assign(100, 600);
      x.laps = {{600, false, 150}, {1200, true, 160}};
      Write(dir, t, false, 0, quibra::sim::EncodeFileExercise(x));
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  return quibra::fuzz::SeedMain(argc, argv, Seeds);
}
