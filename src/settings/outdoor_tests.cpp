#include "settings/outdoor_tests.h"

#include <cstring>

#include "settings/image_bytes.h"
#include "settings/outdoor_messages.h"
#include "settings/outdoor_season.h"
#include "settings/transfer_pattern.h"

namespace quibra::settings {
namespace {

// The 9048 answer, from index 6 (its image holds indexes up to 19; the unit's answer runs
// longer, and the rest is not used).
//
//   index      content
//   6          ResultCount, 0..3
//   7..10      result 1, the latest: day, month, year - 2000 (binary), TestValue
//   11..14     result 2
//   15..18     result 3
constexpr int32_t kCount = 6;
constexpr int32_t kFirstResult = 7;
constexpr int32_t kResultBytes = 4;
constexpr int32_t kResults = 3;

using Field = int32_t OutdoorTestResults::*;
constexpr Field kDates[kResults] = {&OutdoorTestResults::TestDate1, &OutdoorTestResults::TestDate2,
                                    &OutdoorTestResults::TestDate3};
constexpr Field kValues[kResults] = {&OutdoorTestResults::TestValue1,
                                     &OutdoorTestResults::TestValue2,
                                     &OutdoorTestResults::TestValue3};

}  // namespace

void UnPackTestResults(OutdoorTestResults& r) {
  std::memset(&r, 0, sizeof r);
  r.Size = kTestResultsSize;
  const ImageReader image(outdoor::kTestsRead, 1);
  // A count past the three places is a damaged image: the places there are hold the results.
  r.ResultCount = InRangeOr(image.byte(kCount), 0, kResults, kResults);
  for (int32_t i = 0; i < r.ResultCount; ++i) {
    const int32_t at = kFirstResult + kResultBytes * i;
    r.*kDates[i] = OutdoorDate(image.byte(at), image.byte(at + 1), image.byte(at + 2));
    r.*kValues[i] = image.byte(at + 3);
  }
}

int32_t ReadTestResults(CommParams& params, OutdoorTestResults& record) {
  return ReadSettings(params, outdoor::kTestsRead, 0, [&] { UnPackTestResults(record); });
}

int32_t ClearTestResults(CommParams& params, OutdoorTestResults& record) {
  // The clearing message carries no data.
  return SendClearing(params, outdoor::kTestsClear, 0, &record, sizeof record, kTestResultsSize);
}

}  // namespace quibra::settings
