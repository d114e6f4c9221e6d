#include "exercise/hrm_writer.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstring>
#include <memory>
#include <utility>

#include "codec/time_text.h"
#include "exercise/new_file.h"
#include "frame/comm_params.h"
#include "frame/module.h"
#include "platform/registry.h"

namespace quibra::exercise {
namespace {

constexpr const char* kEol = "\r\n";
constexpr int32_t kHrmVersion = 107;
constexpr size_t kPathBuffer = 260;
constexpr int32_t kRecord = 0;

// Parameter and flag ids the file reads.
constexpr int32_t kParamSampleFormat = 7;
constexpr int32_t kExtendedFormat = 32;
constexpr int32_t kParamUnits = 8;
constexpr int32_t kParamStartTime = 10;
constexpr int32_t kFlagExtended = 3;
constexpr int32_t kFlagSpeed = 8;
constexpr int32_t kFlagAltitude = 9;
constexpr int32_t kFlagCadence = 10;
constexpr int32_t kFlagPower = 11;
constexpr int32_t kFlagBalance = 18;
constexpr int32_t kFlagIndex = 19;
constexpr int32_t kFlagPressure = 20;

// [Params] lines after SMode: key, parameter, whether the value is a time text. The date and
// the start time follow SMode; the duration is written apart (it is in ms).
struct ParamLine {
  const char* key;
  int32_t param;
  bool time;
};
constexpr ParamLine kLinesBeforeLength[] = {
    {"Date=", 9, false},
    {"StartTime=", kParamStartTime, true},
};
constexpr ParamLine kLinesAfterLength[] = {
    {"Interval=", 12, false}, {"Upper1=", 13, false},      {"Lower1=", 14, false},
    {"Upper2=", 15, false},   {"Lower2=", 16, false},      {"Upper3=", 19, false},
    {"Lower3=", 20, false},   {"Timer1=", 21, true},       {"Timer2=", 22, true},
    {"Timer3=", 23, true},    {"ActiveLimit=", 24, false}, {"MaxHR=", 25, false},
    {"RestHR=", 26, false},   {"StartDelay=", 27, false},  {"VO2max=", 89, false},
    {"Weight=", 90, false},
};

// SMode digits in order; the seventh is the sample format and the eighth the unit system.
constexpr int32_t kSModeFlagsBefore[] = {kFlagSpeed, kFlagCadence, kFlagAltitude,
                                         kFlagPower, kFlagBalance, kFlagIndex};

// The [IntTimes] rows of a lap (row 1 starts with the split time as time text, row 2 with the
// lap-type word; the other values are lap fields, 0 a fixed zero).
constexpr int32_t kSplitTime = 601;
constexpr int32_t kRow1[] = {607, 608, 609, 610};
constexpr int32_t kLapTypeLow = 625;
constexpr int32_t kLapTypeBit5 = 602;
constexpr int32_t kLapTypeBit6 = 643;
constexpr int32_t kRow2[] = {626, 627, 611, 613, 615};
constexpr int32_t kRow3[] = {0, 0, 0, 635, 634};
constexpr int32_t kRow4[] = {603, 604, 617, 621, 645, 646};
constexpr int32_t kRow5[] = {651, 653, 0, 0, 0, 0};

constexpr int32_t kTripParams[] = {38, 39, 40, 41, 42, 43, 44, 45};

// Sample columns after the heart rate, each present with its flag, read straight from an
// extended sample; the pedalling balance is channel 7 x 256 + channel 6, the only column with a
// high part.
struct Column {
  int32_t flag;
  int16_t ExtendedSample::*low;
  int16_t ExtendedSample::*high;
};
constexpr Column kColumns[] = {
    {kFlagSpeed, &ExtendedSample::ch2, nullptr},    {kFlagCadence, &ExtendedSample::ch3, nullptr},
    {kFlagAltitude, &ExtendedSample::ch4, nullptr}, {kFlagPower, &ExtendedSample::ch5, nullptr},
    {kFlagBalance, &ExtendedSample::ch6, &ExtendedSample::ch7},
    {kFlagPressure, &ExtendedSample::ch9, nullptr},
};

// The decimal texts of 0..9999, which nearly every value of a file is, eight bytes each as one
// number: a tab, the digits, and in the top byte the length with the tab. A value then costs one
// load, one eight-byte store and a shift for its length; the table (80 KB) is read in runs, as
// the values of a column change little from sample to sample. The bytes are laid out for a
// little-endian machine, which every target of the library is.
static_assert(std::endian::native == std::endian::little);
constexpr uint32_t kTabbedNumbers = 10000;
constexpr auto kTabbedNumberTexts = [] {
  std::array<uint64_t, kTabbedNumbers> texts{};
  for (uint32_t v = 0; v < kTabbedNumbers; ++v) {
    const uint32_t digits = v >= 1000 ? 4 : v >= 100 ? 3 : v >= 10 ? 2 : 1;
    uint64_t text = '\t';
    for (uint32_t d = digits, rest = v; d >= 1; --d, rest /= 10)
      text |= static_cast<uint64_t>('0' + rest % 10) << (8 * d);
    texts[v] = text | static_cast<uint64_t>(1 + digits) << 56;
  }
  return texts;
}();

// Writes v in decimal at p and returns the end. A value below 10000 is stored as eight bytes,
// so p must have eight bytes of room; what follows writes over the spare ones.
char* PutNumber(char* p, int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  if (u < kTabbedNumbers) [[likely]] {
    const uint64_t text = kTabbedNumberTexts[u] >> 8;  // without the tab; the length moves down
    std::memcpy(p, &text, sizeof text);
    return p + (text >> 48) - 1;
  }
  return std::to_chars(p, p + 11, v).ptr;
}

// A tab and v at p, returning the end; p must have eight bytes of room.
char* PutColumn(char* p, int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  if (u < kTabbedNumbers) [[likely]] {
    const uint64_t text = kTabbedNumberTexts[u];
    std::memcpy(p, &text, sizeof text);
    return p + (text >> 56);
  }
  *p++ = '\t';
  return std::to_chars(p, p + 11, v).ptr;
}

// v in decimal appended to out.
void AppendNumber(std::string& out, int32_t v) {
  std::array<char, 16> text{};  // eleven characters at most, and PutNumber's spare bytes
  out.append(text.data(), static_cast<size_t>(PutNumber(text.data(), v) - text.data()));
}

// v as printf's "%02d" writes it: a value of one digit after a 0, any other as it is.
void AppendTwoDigits(std::string& out, int32_t v) {
  if (v >= 0 && v < 10) out += '0';
  AppendNumber(out, v);
}

// "%02d:%02d:%02d.%d" of a value in 1/10 s; hours are not wrapped at 24.
void AppendTime(std::string& out, int32_t tenths) {
  const codec::TimeParts t = codec::SplitTimeValue(tenths);
  AppendTwoDigits(out, t.hours);
  out += ':';
  AppendTwoDigits(out, t.minutes);
  out += ':';
  AppendTwoDigits(out, t.seconds);
  out += '.';
  AppendNumber(out, t.tenths);
}

void AppendLine(std::string& out, const char* key, int32_t value) {
  out += key;
  AppendNumber(out, value);
  out += kEol;
}

void AppendTimeLine(std::string& out, const char* key, int32_t tenths) {
  out += key;
  AppendTime(out, tenths);
  out += kEol;
}

void AppendParamLines(std::string& out, const ExerciseRecord& e, const ParamLine* first,
                      const ParamLine* last) {
  for (const ParamLine* l = first; l != last; ++l) {
    const int32_t value = RecordParam(e, l->param);
    if (l->time) {
      AppendTimeLine(out, l->key, value);
    } else {
      AppendLine(out, l->key, value);
    }
  }
}

// Tab-separated lap fields (0 = a fixed zero) appended to a row.
template <size_t N>
void AppendFields(std::string& out, const ExerciseRecord& e, int32_t lap,
                  const int32_t (&fields)[N], bool leading_tab) {
  for (size_t i = 0; i < N; ++i) {
    if (i > 0 || leading_tab) out += '\t';
    AppendNumber(out, fields[i] == 0 ? 0 : RecordLapField(e, lap, fields[i]));
  }
}

}  // namespace

std::string HrmParamsBlock(const ExerciseRecord& e) {
  std::string out = "[Params]";
  out += kEol;
  AppendLine(out, "Version=", kHrmVersion);
  AppendLine(out, "Monitor=", RecordParam(e, 5));
  // Each digit is the value as stored ("%1d": a value of two digits or more is written whole).
  out += "SMode=";
  for (int32_t flag : kSModeFlagsBefore)
    AppendNumber(out, RecordFlag(e, flag));
  out += RecordParam(e, kParamSampleFormat) == kExtendedFormat ? '1' : '0';
  AppendNumber(out, RecordParam(e, kParamUnits));
  AppendNumber(out, RecordFlag(e, kFlagPressure));
  out += kEol;
  AppendParamLines(out, e, std::begin(kLinesBeforeLength), std::end(kLinesBeforeLength));
  // The duration is kept in ms; the file shows 1/10 s.
  AppendTimeLine(out, "Length=", RecordParam(e, kParamDuration) / 100);
  AppendParamLines(out, e, std::begin(kLinesAfterLength), std::end(kLinesAfterLength));
  out += kEol;
  return out;
}

// The exercise's name, when its header gave one, as the free text that HRM files keep in a
// [Note] block of their own.
std::string HrmNoteBlock(const std::string& name) {
  if (name.empty()) return {};
  return "[Note]" + std::string(kEol) + name + kEol + kEol;
}

std::string HrmIntTimesBlock(const ExerciseRecord& e) {
  std::string out = "[IntTimes]";
  out += kEol;
  const int32_t laps = e.lap_count;
  for (int32_t lap = 0; lap < laps; ++lap) {
    AppendTime(out, RecordLapField(e, lap, kSplitTime));
    AppendFields(out, e, lap, kRow1, true);
    out += kEol;
    AppendNumber(out, RecordLapField(e, lap, kLapTypeLow) +
                           32 * RecordLapField(e, lap, kLapTypeBit5) +
                           64 * RecordLapField(e, lap, kLapTypeBit6));
    AppendFields(out, e, lap, kRow2, true);
    out += kEol;
    AppendFields(out, e, lap, kRow3, false);
    out += kEol;
    AppendFields(out, e, lap, kRow4, false);
    out += kEol;
    AppendFields(out, e, lap, kRow5, false);
    out += kEol;
  }
  out += kEol;
  return out;
}

std::string HrmTripBlock(const ExerciseRecord& e) {
  if (RecordFlag(e, kFlagExtended) == 0) return {};
  std::string out = "[Trip]";
  out += kEol;
  for (int32_t id : kTripParams) {
    AppendNumber(out, RecordParam(e, id));
    out += kEol;
  }
  out += kEol;
  return out;
}

namespace {

// What the [HRData] lines of an exercise are made of: the table in use, the columns present, and
// how many samples are counted and, of those, stored (the rest read 0, as the getters answer for
// them).
struct DataLayout {
  bool extended = false;
  uint32_t columns_present = 0;  // bit c: kColumns[c]
  size_t columns = 0;
  int32_t samples = 0;
  int32_t stored = 0;
};

DataLayout LayoutOf(const ExerciseRecord& e) {
  DataLayout d;
  d.extended = RecordFlag(e, kFlagExtended) != 0;
  if (d.extended) {
    for (size_t c = 0; c < std::size(kColumns); ++c) {
      if (RecordFlag(e, kColumns[c].flag) == 0) continue;
      d.columns_present |= 1u << c;
      ++d.columns;
    }
  }
  d.samples = std::max(e.sample_count, 0);
  d.stored = std::clamp(
      std::min(e.sample_capacity,
               static_cast<int32_t>(d.extended ? e.ext_samples.size() : e.hr_samples.size())),
      0, d.samples);
  return d;
}

// Room for the lines: every value at its longest (a full int32, "-2147483648", and its tab or the
// CR LF), which also covers the eight bytes PutNumber and PutColumn store.
size_t DataLinesBound(const DataLayout& d) {
  return static_cast<size_t>(d.samples) * ((1 + d.columns) * 12 + 2) + 8;
}

// The columns in the set `present` (bit c: kColumns[c]), in file order.
template <uint32_t present>
constexpr auto kPresentColumns = [] {
  std::array<Column, std::popcount(present)> columns{};
  size_t n = 0;
  for (size_t c = 0; c < std::size(kColumns); ++c) {
    if ((present >> c & 1u) != 0) columns[n++] = kColumns[c];
  }
  return columns;
}();

// The column values of one sample, read before anything is written: the text goes out through a
// char pointer, which may alias anything, so a read after a store would wait for it.
template <uint32_t present, size_t... c>
std::array<int32_t, sizeof...(c)> ColumnValues(const ExtendedSample& s, std::index_sequence<c...>) {
  constexpr auto& columns = kPresentColumns<present>;
  return {(columns[c].high == nullptr ? s.*columns[c].low
                                      : 256 * s.*columns[c].high + s.*columns[c].low)...};
}

// Writes the lines of extended samples at p, which has DataLinesBound bytes, and returns their
// end. There is one copy of the loop for each set of columns, with every field fixed at compile
// time: a sample costs its digits, never a call, a test of the layout or a copy per value.
template <uint32_t present>
char* PutExtendedLines(char* p, const ExtendedSample* samples, int32_t stored) {
  constexpr size_t n = kPresentColumns<present>.size();
  for (int32_t j = 0; j < stored; ++j) {
    const int32_t heart_rate = samples[j].heart_rate;
    const auto values = ColumnValues<present>(samples[j], std::make_index_sequence<n>());
    p = PutNumber(p, heart_rate);
    for (const int32_t v : values)
      p = PutColumn(p, v);
    *p++ = '\r';
    *p++ = '\n';
  }
  return p;
}

template <uint32_t... present>
constexpr auto ExtendedLineWriters(std::integer_sequence<uint32_t, present...>) {
  return std::array{&PutExtendedLines<present>...};
}
constexpr auto kExtendedLineWriters =
    ExtendedLineWriters(std::make_integer_sequence<uint32_t, 1u << std::size(kColumns)>());

char* PutDataLines(char* p, const ExerciseRecord& e, const DataLayout& d) {
  if (!d.extended) {
    const int32_t* const rates = e.hr_samples.data();
    const int32_t stored = d.stored;
    for (int32_t j = 0; j < stored; ++j) {
      p = PutNumber(p, rates[j]);
      *p++ = '\r';
      *p++ = '\n';
    }
  } else {
    p = kExtendedLineWriters[d.columns_present](p, e.ext_samples.data(), d.stored);
  }
  if (d.stored == d.samples) return p;
  // Every sample beyond the stored ones is the same line of zeros.
  char* const zeros = p;
  *p++ = '0';
  for (size_t c = 0; c < d.columns; ++c) {
    *p++ = '\t';
    *p++ = '0';
  }
  *p++ = '\r';
  *p++ = '\n';
  const auto line = static_cast<size_t>(p - zeros);
  for (int32_t j = d.stored + 1; j < d.samples; ++j, p += line)
    std::memcpy(p, zeros, line);
  return p;
}

}  // namespace

namespace {

// Text in one buffer of its own size.
struct Text {
  std::unique_ptr<char[]> bytes;
  size_t length = 0;
};

// `head` and then the [HRData] block, whose lines are written straight into the buffer, sized for
// their longest.
Text WithDataBlock(std::string head, const ExerciseRecord& e) {
  head += "[HRData]";
  head += kEol;
  const DataLayout d = LayoutOf(e);
  Text text{std::make_unique_for_overwrite<char[]>(head.size() + DataLinesBound(d))};
  std::memcpy(text.bytes.get(), head.data(), head.size());
  text.length =
      static_cast<size_t>(PutDataLines(text.bytes.get() + head.size(), e, d) - text.bytes.get());
  return text;
}

}  // namespace

std::string HrmDataBlock(const ExerciseRecord& e) {
  const Text text = WithDataBlock({}, e);
  return {text.bytes.get(), text.length};
}

int32_t SaveExerciseHRM(uint32_t window, char* path) {
  if (path == nullptr) {
    frame::SetErrorCode(kFileNotOpened);
    return 0;
  }
  if (path[0] == '\0') {
    platform::FileDialogRequest request;
    request.save = true;
    request.owner = window;
    request.filter_text = "HRM Files (*.hrm)";
    request.pattern = "*.hrm";
    request.title = "Save Orvek Exercise File";
    request.default_ext = "hrm";
    request.max_path = kPathBuffer;
    request.prompt_overwrite = true;
    const auto chosen = platform::file_dialogs().ask(request);
    if (!chosen || chosen->empty()) {
      frame::SetErrorCode(kFileNotOpened);
      return 0;
    }
    // The chosen path goes back into the caller's buffer (at most 259 characters).
    const size_t n = std::min(chosen->size(), kPathBuffer - 1);
    std::memcpy(path, chosen->data(), n);
    path[n] = '\0';
  }
  const std::string note = HrmNoteBlock(module().analysis.exercise_name);
  // The whole file is formatted straight from the record, under the store's lock (so a file is
  // one exercise even while a download refills the store, which waits the millisecond or so), into
  // one buffer written at once. The file is created afterwards: running out of memory here leaves
  // no file behind.
  Text text;
  module().exercise_store.ReadExerciseRecord(kRecord, [&](const ExerciseRecord& e) {
    text = WithDataBlock(HrmParamsBlock(e) + note + HrmIntTimesBlock(e) + HrmTripBlock(e), e);
  });
  return SaveNewFile(std::string(path, strnlen(path, kPathBuffer)), text.bytes.get(), text.length);
}

}  // namespace quibra::exercise
