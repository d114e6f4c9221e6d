#include "platform/today.h"

#include "codec/dates.h"
#include "platform/registry.h"

namespace quibra::platform {

int32_t Today() {
  const LocalDateTime now = clock().local_now();
  return codec::MakeDate(now.day, now.month, now.year);
}

int32_t NowSeconds() {
  const LocalDateTime now = clock().local_now();
  return now.hour * 3600 + now.minute * 60 + now.second;
}

}  // namespace quibra::platform
