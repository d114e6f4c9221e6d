#include "model_from_store.h"

#include <iterator>

#include "quibra/quibra.h"

namespace quibra::cli::formats {
namespace {

// Exercise parameters and flags.
constexpr int32_t kParamMonitor = 5;
constexpr int32_t kParamSampleFormat = 7;
constexpr int32_t kExtendedFormat = 32;
constexpr int32_t kParamUnits = 8;
constexpr int32_t kParamDate = 9;
constexpr int32_t kParamStart = 10;
constexpr int32_t kParamDurationMs = 11;
constexpr int32_t kParamInterval = 12;
constexpr int32_t kLimitParams[3][2] = {{13, 14}, {15, 16}, {19, 20}};  // upper, lower
constexpr int32_t kTimerParams[3] = {21, 22, 23};
constexpr int32_t kTripParams[8] = {38, 39, 40, 41, 42, 43, 44, 45};
constexpr int32_t kFlagExtended = 3;

struct ParamField {
  int32_t id;
  int32_t ExerciseParams::*field;
};
constexpr ParamField kParams[] = {
    {kParamMonitor, &ExerciseParams::monitor},
    {kParamDate, &ExerciseParams::date},
    {kParamStart, &ExerciseParams::start_tenths},
    {kParamInterval, &ExerciseParams::interval},
    {24, &ExerciseParams::active_limit},
    {25, &ExerciseParams::max_hr},
    {26, &ExerciseParams::rest_hr},
    {27, &ExerciseParams::start_delay},
    {89, &ExerciseParams::vo2max},
    {90, &ExerciseParams::weight},
};

struct SModeFlag {
  int32_t flag;
  bool SMode::*digit;
};
constexpr SModeFlag kSModeFlags[] = {
    {8, &SMode::speed},    {10, &SMode::cadence}, {9, &SMode::altitude}, {11, &SMode::power},
    {18, &SMode::balance}, {19, &SMode::index},   {20, &SMode::pressure}};

// The lap fields in the [IntTimes] cells: row, column, field (the split time and the lap-type
// word, made of three fields, are filled apart; cells not listed stay 0).
struct LapCell {
  int row;
  int column;
  int32_t field;
};
constexpr LapCell kLapCells[] = {
    {0, 1, 607}, {0, 2, 608}, {0, 3, 609}, {0, 4, 610}, {1, 1, 626}, {1, 2, 627}, {1, 3, 611},
    {1, 4, 613}, {1, 5, 615}, {2, 3, 635}, {2, 4, 634}, {3, 0, 603}, {3, 1, 604}, {3, 2, 617},
    {3, 3, 621}, {3, 4, 645}, {3, 5, 646}, {4, 0, 651}, {4, 1, 653},
};
constexpr int32_t kSplitTime = 601;
constexpr int32_t kLapTypeLow = 625;
constexpr int32_t kLapTypeBit5 = 602;
constexpr int32_t kLapTypeBit6 = 643;

// Sample channels.
constexpr int32_t kBalanceLow = 6;
constexpr int32_t kBalanceHigh = 7;
struct SampleChannel {
  int32_t channel;
  int32_t Sample::*field;
};
constexpr SampleChannel kChannels[] = {{2, &Sample::speed},
                                       {3, &Sample::cadence},
                                       {4, &Sample::altitude},
                                       {5, &Sample::power},
                                       {9, &Sample::pressure}};

Lap LapFromStore(int32_t n) {
  Lap lap;
  lap.rows[0][0] = fnQuibra_GetIntTimeData(n, kSplitTime);
  lap.rows[1][0] = fnQuibra_GetIntTimeData(n, kLapTypeLow) +
                   32 * fnQuibra_GetIntTimeData(n, kLapTypeBit5) +
                   64 * fnQuibra_GetIntTimeData(n, kLapTypeBit6);
  for (const LapCell& c : kLapCells) {
    lap.rows[static_cast<size_t>(c.row)][static_cast<size_t>(c.column)] =
        fnQuibra_GetIntTimeData(n, c.field);
  }
  return lap;
}

}  // namespace

ExerciseModel ModelFromStore() {
  ExerciseModel m;
  ExerciseParams& p = m.params;
  for (const ParamField& f : kParams)
    p.*f.field = fnQuibra_GetRecParam(f.id);
  // The file keeps the duration in 1/10 s.
  p.length_tenths = fnQuibra_GetRecParam(kParamDurationMs) / 100;
  for (size_t i = 0; i < 3; ++i) {
    p.upper[i] = fnQuibra_GetRecParam(kLimitParams[i][0]);
    p.lower[i] = fnQuibra_GetRecParam(kLimitParams[i][1]);
    p.timer_tenths[i] = fnQuibra_GetRecParam(kTimerParams[i]);
  }
  for (const SModeFlag& f : kSModeFlags)
    p.smode.*f.digit = fnQuibra_GetRecFlags(f.flag) != 0;
  p.smode.extended = fnQuibra_GetRecParam(kParamSampleFormat) == kExtendedFormat;
  p.smode.imperial = fnQuibra_GetRecParam(kParamUnits) != 0;

  const int32_t laps = fnQuibra_GetNbrOfIntTimes();
  for (int32_t n = 0; n < laps; ++n)
    m.laps.push_back(LapFromStore(n));

  // Only extended samples carry more than the heart rate (and only they have trip values).
  const bool extended = fnQuibra_GetRecFlags(kFlagExtended) != 0;
  if (extended) {
    m.trip.emplace();
    for (size_t i = 0; i < 8; ++i)
      (*m.trip)[i] = fnQuibra_GetRecParam(kTripParams[i]);
  }
  const int32_t count = fnQuibra_GetNbrOfHRMSamples();
  m.samples.resize(static_cast<size_t>(count > 0 ? count : 0));
  for (int32_t j = 0; j < count; ++j) {
    Sample& s = m.samples[static_cast<size_t>(j)];
    s.heart_rate = fnQuibra_GetHRMSamples(1, j);
    if (!extended) continue;
    const bool recorded[] = {p.smode.speed, p.smode.cadence, p.smode.altitude, p.smode.power,
                             p.smode.pressure};
    for (size_t c = 0; c < std::size(kChannels); ++c) {
      if (recorded[c]) s.*kChannels[c].field = fnQuibra_GetHRMSamples(kChannels[c].channel, j);
    }
    if (p.smode.balance) {
      s.balance =
          256 * fnQuibra_GetHRMSamples(kBalanceHigh, j) + fnQuibra_GetHRMSamples(kBalanceLow, j);
    }
  }
  return m;
}

}  // namespace quibra::cli::formats
