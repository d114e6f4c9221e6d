#include "hrm_reader.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <vector>

namespace quibra::cli::formats {
namespace {

// Where a [Params] value goes and how it is written.
enum class ValueKind { kNumber, kTime };
struct ParamKey {
  std::string_view key;
  ValueKind kind;
  int32_t ExerciseParams::*field;
};
constexpr ParamKey kParamKeys[] = {
    {"Version", ValueKind::kNumber, &ExerciseParams::version},
    {"Monitor", ValueKind::kNumber, &ExerciseParams::monitor},
    {"Date", ValueKind::kNumber, &ExerciseParams::date},
    {"StartTime", ValueKind::kTime, &ExerciseParams::start_tenths},
    {"Length", ValueKind::kTime, &ExerciseParams::length_tenths},
    {"Interval", ValueKind::kNumber, &ExerciseParams::interval},
    {"ActiveLimit", ValueKind::kNumber, &ExerciseParams::active_limit},
    {"MaxHR", ValueKind::kNumber, &ExerciseParams::max_hr},
    {"RestHR", ValueKind::kNumber, &ExerciseParams::rest_hr},
    {"StartDelay", ValueKind::kNumber, &ExerciseParams::start_delay},
    {"VO2max", ValueKind::kNumber, &ExerciseParams::vo2max},
    {"Weight", ValueKind::kNumber, &ExerciseParams::weight},
};
// Upper1..3, Lower1..3 and Timer1..3 go to arrays.
struct IndexedKey {
  std::string_view key;
  ValueKind kind;
  std::array<int32_t, 3> ExerciseParams::*field;
};
constexpr IndexedKey kIndexedKeys[] = {
    {"Upper", ValueKind::kNumber, &ExerciseParams::upper},
    {"Lower", ValueKind::kNumber, &ExerciseParams::lower},
    {"Timer", ValueKind::kTime, &ExerciseParams::timer_tenths},
};

// The SMode digits in file order.
constexpr bool SMode::*kSModeDigits[] = {&SMode::speed,    &SMode::cadence,  &SMode::altitude,
                                         &SMode::power,    &SMode::balance,  &SMode::index,
                                         &SMode::extended, &SMode::imperial, &SMode::pressure};

constexpr size_t kTripValues = 8;

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
    s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

bool ParseNumber(std::string_view text, int32_t& value) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

// "hh:mm:ss.t" (hours not wrapped at 24) or "hh:mm:ss", as 1/10 s.
bool ParseTime(std::string_view text, int32_t& tenths) {
  text = Trim(text);
  int32_t parts[3] = {};
  for (int i = 0; i < 3; ++i) {
    const size_t end = i < 2 ? text.find(':') : text.find('.');
    const std::string_view part = text.substr(0, end);
    if (!ParseNumber(part, parts[i]) || parts[i] < 0 || part.size() > 6) return false;
    if (i > 0 && parts[i] > 59) return false;
    if (end == std::string_view::npos) {
      if (i < 2) return false;
      text = {};
    } else {
      text.remove_prefix(end + 1);
    }
  }
  int32_t tenth = 0;
  if (!text.empty() && (text.size() != 1 || !ParseNumber(text, tenth) || tenth < 0)) return false;
  const int64_t value = ((int64_t{parts[0]} * 3600 + parts[1] * 60 + parts[2]) * 10) + tenth;
  if (value > INT32_MAX) return false;
  tenths = static_cast<int32_t>(value);
  return true;
}

// The values of a line separated by tabs (or blanks, as some programs write them).
bool SplitNumbers(std::string_view line, std::vector<int32_t>& values) {
  values.clear();
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == '\t' || line[i] == ' '))
      ++i;
    if (i == line.size()) break;
    size_t end = i;
    while (end < line.size() && line[end] != '\t' && line[end] != ' ')
      ++end;
    int32_t v = 0;
    if (!ParseNumber(line.substr(i, end - i), v)) return false;
    values.push_back(v);
    i = end;
  }
  return true;
}

enum class Section { kNone, kParams, kNote, kIntTimes, kTrip, kHrData, kOther };

Section SectionOf(std::string_view name) {
  if (name == "Params") return Section::kParams;
  if (name == "Note") return Section::kNote;
  if (name == "IntTimes") return Section::kIntTimes;
  if (name == "Trip") return Section::kTrip;
  if (name == "HRData") return Section::kHrData;
  return Section::kOther;
}

class Reader {
 public:
  explicit Reader(HrmReadError& error) : error_(error) {}

  std::optional<ExerciseModel> Read(std::string_view text) {
    int number = 0;
    while (!text.empty()) {
      const size_t end = text.find('\n');
      const std::string_view raw = text.substr(0, end);
      text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
      ++number;
      line_ = number;
      if (!Line(Trim(raw))) return std::nullopt;
    }
    if (!params_seen_) {
      Fail(0, "no [Params] block: not an HRM file");
      return std::nullopt;
    }
    if (!LapComplete()) return std::nullopt;
    return std::move(model_);
  }

 private:
  bool Line(std::string_view line) {
    if (line.empty()) return true;
    if (line.front() == '[') {
      if (line.back() != ']') return Fail(line_, "a block name without its closing ]");
      return StartSection(line.substr(1, line.size() - 2));
    }
    switch (section_) {
      case Section::kNone:
        return Fail(line_, "a line before the first block");
      case Section::kParams:
        return ParamLine(line);
      case Section::kNote:
        if (!model_.note.empty()) model_.note += '\n';
        model_.note += line;
        return true;
      case Section::kIntTimes:
        return LapRow(line);
      case Section::kTrip:
        return TripLine(line);
      case Section::kHrData:
        return SampleLine(line);
      case Section::kOther:
        return true;
    }
    return true;
  }

  bool LapComplete() {
    if (lap_row_ == 0) return true;
    return Fail(lap_line_,
                "the lap that starts here has " + std::to_string(lap_row_) + " of its 5 rows");
  }

  bool StartSection(std::string_view name) {
    if (!LapComplete()) return false;
    section_ = SectionOf(name);
    if (section_ == Section::kParams) params_seen_ = true;
    if (section_ == Section::kTrip) model_.trip.emplace();
    if (section_ == Section::kHrData) PrepareColumns();
    trip_count_ = 0;
    return true;
  }

  bool ParamLine(std::string_view line) {
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) return Fail(line_, "not a KEY=VALUE line");
    const std::string_view key = Trim(line.substr(0, eq));
    const std::string_view value = Trim(line.substr(eq + 1));
    if (key == "SMode") return SModeValue(value);
    for (const ParamKey& k : kParamKeys) {
      if (key == k.key) return Value(key, value, k.kind, model_.params.*k.field);
    }
    for (const IndexedKey& k : kIndexedKeys) {
      if (key.size() == k.key.size() + 1 && key.substr(0, k.key.size()) == k.key &&
          key.back() >= '1' && key.back() <= '3') {
        auto& values = model_.params.*k.field;
        return Value(key, value, k.kind, values[static_cast<size_t>(key.back() - '1')]);
      }
    }
    return true;  // a key of another program
  }

  bool Value(std::string_view key, std::string_view text, ValueKind kind, int32_t& out) {
    const bool ok = kind == ValueKind::kTime ? ParseTime(text, out) : ParseNumber(text, out);
    if (ok) return true;
    return Fail(line_, std::string(key) + " is not " +
                           (kind == ValueKind::kTime ? "a time hh:mm:ss.t" : "a whole number") +
                           ": \"" + std::string(text) + "\"");
  }

  // Nine digits; older files have fewer (the missing ones are 0).
  bool SModeValue(std::string_view value) {
    if (value.empty() || value.size() > std::size(kSModeDigits)) {
      return Fail(line_, "SMode is not 1 to 9 digits: \"" + std::string(value) + "\"");
    }
    model_.params.smode = SMode{};
    for (size_t i = 0; i < value.size(); ++i) {
      if (value[i] != '0' && value[i] != '1')
        return Fail(line_, "SMode digits are 0 or 1: \"" + std::string(value) + "\"");
      model_.params.smode.*kSModeDigits[i] = value[i] == '1';
    }
    return true;
  }

  bool LapRow(std::string_view line) {
    std::string_view rest = line;
    std::vector<int32_t>& values = values_;
    if (lap_row_ == 0) {
      // Row 1 starts with the split time.
      const size_t tab = rest.find_first_of("\t ");
      int32_t split = 0;
      if (!ParseTime(rest.substr(0, tab), split))
        return Fail(line_, "a lap does not start with its time hh:mm:ss.t");
      rest = tab == std::string_view::npos ? std::string_view{} : rest.substr(tab);
      model_.laps.emplace_back();
      model_.laps.back().rows[0][0] = split;
      lap_line_ = line_;
    }
    if (!SplitNumbers(rest, values))
      return Fail(line_, "a lap row holds a value that is not a number");
    Lap& lap = model_.laps.back();
    const size_t first = lap_row_ == 0 ? 1 : 0;
    // Programs that write more columns than the library are read as far as the model goes.
    for (size_t i = 0; i < values.size() && first + i < Lap::kColumns; ++i)
      lap.rows[static_cast<size_t>(lap_row_)][first + i] = values[i];
    lap_row_ = (lap_row_ + 1) % Lap::kRows;
    return true;
  }

  bool TripLine(std::string_view line) {
    int32_t v = 0;
    if (!ParseNumber(line, v)) return Fail(line_, "a trip value that is not a number");
    if (trip_count_ == kTripValues) return Fail(line_, "more than 8 trip values");
    (*model_.trip)[trip_count_++] = v;
    return true;
  }

  // The columns follow the SMode: the heart rate alone, or with extended samples the heart rate
  // and each channel the SMode names, in file order (the pedalling index has no column).
  void PrepareColumns() {
    columns_.clear();
    const SMode& m = model_.params.smode;
    if (!m.extended) return;
    const std::pair<bool, int32_t Sample::*> channels[] = {
        {m.speed, &Sample::speed}, {m.cadence, &Sample::cadence}, {m.altitude, &Sample::altitude},
        {m.power, &Sample::power}, {m.balance, &Sample::balance}, {m.pressure, &Sample::pressure}};
    for (const auto& [present, field] : channels) {
      if (present) columns_.push_back(field);
    }
  }

  bool SampleLine(std::string_view line) {
    if (!SplitNumbers(line, values_))
      return Fail(line_, "a sample holds a value that is not a number");
    if (values_.size() != columns_.size() + 1) {
      return Fail(line_, std::to_string(values_.size()) + " values where the SMode names " +
                             std::to_string(columns_.size() + 1));
    }
    Sample& s = model_.samples.emplace_back();
    s.heart_rate = values_[0];
    for (size_t i = 0; i < columns_.size(); ++i)
      s.*columns_[i] = values_[i + 1];
    return true;
  }

  bool Fail(int line, std::string reason) {
    error_.line = line;
    error_.reason = std::move(reason);
    return false;
  }

  HrmReadError& error_;
  ExerciseModel model_;
  Section section_ = Section::kNone;
  bool params_seen_ = false;
  int line_ = 0;
  int lap_row_ = 0;   // the next row of the lap being read, 0 between laps
  int lap_line_ = 0;  // where that lap started
  size_t trip_count_ = 0;
  std::vector<int32_t Sample::*> columns_;
  std::vector<int32_t> values_;
};

}  // namespace

std::string HrmReadError::Text() const {
  return line > 0 ? "line " + std::to_string(line) + ": " + reason : reason;
}

std::optional<ExerciseModel> ReadHrmText(std::string_view text, HrmReadError& error) {
  return Reader(error).Read(text);
}

std::optional<ExerciseModel> ReadHrmFile(const std::string& path, HrmReadError& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = {0, "cannot open " + path};
    return std::nullopt;
  }
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  return ReadHrmText(text, error);
}

}  // namespace quibra::cli::formats
