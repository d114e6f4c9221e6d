#include "sim/encoders/outdoor_encoder.h"

#include <array>
#include <cstddef>

#include "sim/encoders/image_layout.h"

namespace quibra::sim {
namespace {

constexpr int32_t kHeaderBytes = 72;  // offsets 0..71
constexpr int32_t kLapBytes = 22;
constexpr int32_t kAltitudeBias = 768;
constexpr int32_t kWholeChainStart = 83;

void PutAltitude(Bytes& out, size_t at, int32_t metres) {
  Put16(out, at, (metres + kAltitudeBias) & 0x7FFF);
}

uint8_t SignedByte(int32_t v) {
  return static_cast<uint8_t>(v < 0 ? v + 256 : v);
}

}  // namespace

std::vector<uint8_t> EncodeOutdoorExercise(const OutdoorExercise& x, int32_t monitor_type) {
  const size_t length =
      kHeaderBytes + x.laps.size() * kLapBytes + x.samples.size() * 3 + 1;  // + closing byte
  Bytes out(length, 0);
  PutExerciseLength(out, false);
  const int32_t year = x.year - 2000;
  out[3] = static_cast<uint8_t>(((x.month & 7) << 5) | x.day);
  out[4] = static_cast<uint8_t>((year << 1) | (x.month >> 3));
  out[5] = Bcd(x.start_s);
  out[6] = Bcd(x.start_m);
  out[7] = Bcd(x.start_h);
  out[8] = x.metric ? 0x02 : 0x00;
  // Limit bytes are present when their bit is clear; zero limits are left out.
  const std::array<int32_t, 6> limits = {x.limit1_low,  x.limit1_high, x.limit2_low,
                                         x.limit2_high, x.limit3_low,  x.limit3_high};
  uint8_t absent = 0;
  const size_t pairs = monitor_type == 21 ? 6 : 2;
  for (size_t i = 0; i < 6; ++i) {
    if (i >= pairs || limits[i] == 0) absent |= static_cast<uint8_t>(1 << i);
    if (i < pairs) out[37 + i] = static_cast<uint8_t>(limits[i]);
  }
  out[9] = absent;
  out[10] = x.fine_scale ? 0x20 : 0x00;
  out[11] = static_cast<uint8_t>(x.laps.size());
  out[12] = static_cast<uint8_t>(x.interval_code);
  PutTriple(out, 13, x.duration_s);
  PutAltitude(out, 26, x.altitude_a);
  if (x.has_altitude) {
    PutAltitude(out, 28, x.altitude_b);
  } else {
    Put16(out, 28, 0x7FFF);
  }
  Put16(out, 70, x.total);

  size_t at = kHeaderBytes;
  for (const auto& lap : x.laps) {
    out[at] = static_cast<uint8_t>(lap.kind);
    PutTriple(out, at + 5, lap.seconds);
    out[at + 8] = static_cast<uint8_t>(lap.heart_rate);
    Put16(out, at + 9, lap.altitude + kAltitudeBias);
    Put16(out, at + 11, lap.pressure);
    out[at + 13] = SignedByte(lap.temperature);
    Put16(out, at + 14, lap.total);
    Put16(out, at + 16, lap.counter);
    Put16(out, at + 20, lap.limit_set);
    at += kLapBytes;
  }
  // Samples: the first sample is at the top, just below the closing byte.
  size_t top = length - 2;
  for (const auto& sample : x.samples) {
    out[top] = static_cast<uint8_t>(((sample.value >> 8) & 0x7F) | (sample.pressure ? 0x80 : 0));
    out[top - 1] = static_cast<uint8_t>(sample.value & 0xFF);
    out[top - 2] = static_cast<uint8_t>(sample.heart_rate);
    top -= 3;
  }
  return out;
}

Bytes OutdoorSingleImage(const OutdoorExercise& x, int32_t monitor_type, uint8_t product_code,
                         uint8_t version) {
  return SingleChainImage({EncodeOutdoorExercise(x, monitor_type)}, product_code, version);
}

Bytes OutdoorWholeImage(const std::vector<OutdoorExercise>& exercises, int32_t monitor_type,
                        uint8_t product_code, uint8_t version) {
  std::vector<Bytes> chain;
  for (const auto& x : exercises)
    chain.push_back(EncodeOutdoorExercise(x, monitor_type));
  return WholeChainImage(chain, kWholeChainStart, product_code, version, Note{});
}

}  // namespace quibra::sim
