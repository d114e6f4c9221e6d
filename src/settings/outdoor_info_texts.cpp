#include "settings/outdoor_info_texts.h"

#include <cstring>
#include <string>
#include <string_view>

#include "codec/charset.h"
#include "protocol/seal.h"
#include "settings/image_bytes.h"
#include "settings/outdoor_messages.h"
#include "settings/outdoor_text.h"
#include "settings/transfer_pattern.h"

namespace quibra::settings {
namespace {

// The 9055 image, from index 5; loaded from the data file each byte lies one index later.
//
//   index    content
//   5..11    Line1: 7 codes of table 1, end-marked
//   12..18   Line2: 7 codes of table 1, end-marked (all spaces for an empty line)
constexpr int32_t kLine1 = 5;
constexpr int32_t kLine2 = kLine1 + static_cast<int32_t>(kOutdoorTextChars);

using Line = char (OutdoorInfoTexts::*)[kOutdoorTextField];
struct LineAt {
  Line line;
  int32_t index;
};
constexpr LineAt kLines[] = {{&OutdoorInfoTexts::Line1, kLine1},
                             {&OutdoorInfoTexts::Line2, kLine2}};

// One line of the split: at most 7 characters, known to table 1 (others become spaces).
std::string ShownLine(std::string_view part) {
  std::string line(part.substr(0, kOutdoorTextChars));
  for (char& c : line) {
    const char one[2] = {c, '\0'};
    if (!codec::CheckCharString(one, kTextTable)) c = ' ';
  }
  return line;
}

void CopyLine(const std::string& line, char* out) {
  std::memset(out, 0, kOutdoorTextField);
  std::memcpy(out, line.data(), line.size());
}

}  // namespace

bool PrepareInfoTexts(OutdoorInfoTexts& record) {
  if (record.Size == 0) record.Size = kInfoTextsSize;
  for (const LineAt& l : kLines) {
    if (!TextFitsTable(record.*l.line, kOutdoorTextField, kTextTable)) return false;
  }
  const ImageWriter image(outdoor::kInfoTextWrite, 1);
  for (const LineAt& l : kLines)
    PackMarkedCodes(image, l.index, ToDeviceCodes(record.*l.line, kTextTable));
  protocol::SealMessageImage(outdoor::kInfoTextWrite, 0, 0);
  return true;
}

void UnPackInfoTexts(OutdoorInfoTexts& record) {
  std::memset(&record, 0, sizeof record);
  record.Size = kInfoTextsSize;
  const ImageReader image(outdoor::kInfoTextWrite, 1);
  for (const LineAt& l : kLines)
    UnpackMarkedText(image, l.index + outdoor::kReadShift, record.*l.line, kTextTable);
  // A blank line reads back as one space: it was empty.
  for (const LineAt& l : kLines) {
    if (std::strcmp(record.*l.line, " ") == 0) (record.*l.line)[0] = '\0';
  }
}

int32_t SendInfoTexts(CommParams& params, OutdoorInfoTexts& record) {
  SendSteps steps;
  steps.write_message = outdoor::kInfoTextWrite;
  steps.prepare = [&] { return PrepareInfoTexts(record); };
  steps.unpack_loaded = [&] {
    UnPackInfoTexts(record);
    return 1;
  };
  return SendSettings(params, steps);
}

bool SplitInfoText(const char* text, char* line1, char* line2) {
  std::string_view rest(text);
  std::string_view first = rest.substr(0, kOutdoorTextChars);
  if (rest.size() > kOutdoorTextChars && rest[kOutdoorTextChars] != ' ') {
    // A word runs past the first line: it starts the second one, when a space comes before it.
    const size_t space = first.rfind(' ');
    if (space != std::string_view::npos && space > 0) first = first.substr(0, space);
  }
  rest.remove_prefix(first.size());
  while (!rest.empty() && rest.front() == ' ')
    rest.remove_prefix(1);
  CopyLine(ShownLine(first), line1);
  CopyLine(ShownLine(rest), line2);
  return rest.size() <= kOutdoorTextChars;
}

}  // namespace quibra::settings
