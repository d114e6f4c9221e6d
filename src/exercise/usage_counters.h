// Usage counters, weekly summaries and the user's personal values as some units (monitor types
// 26, 30, 31 and 32) deliver them inside their exercise memory. They are read straight from the
// downloaded memory by value identifier; nothing goes into the record store.
#pragma once

#include <cstdint>

namespace quibra::exercise {

// What every reader below returns for an unknown type or identifier: the library's no-value
// result (note: not -16777216).
inline constexpr int32_t kNoValue = -1677216;

// Counter 5000..5011 of a type 30 or 31 unit.
int32_t GetUsageCounter(int32_t monitor_type, int32_t id);
// The number of weekly summaries the memory says it holds (any type).
int32_t GetWeekSummaryCount(int32_t monitor_type);
// Value 6001..6009 of weekly summary `week` of a type 30 unit (the count is not checked).
int32_t GetWeekSummaryValue(int32_t monitor_type, int32_t week, int32_t id);
// Personal value 7001..7008 of a type 26, 30, 31 or 32 unit; dates come as yyyymmdd.
int32_t GetUserSetting(int32_t monitor_type, int32_t id);

}  // namespace quibra::exercise
