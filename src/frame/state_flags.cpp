#include "frame/state_flags.h"

#include "frame/module.h"

namespace quibra::frame {

int32_t StateFlags::set(int32_t flag, int32_t value) {
  if (flag < kFirstStateFlag || flag > kLastStateFlag) return 0;
  std::lock_guard guard(lock_);
  values_[flag - kFirstStateFlag] = value;
  if (flag == kFlagCancelRequest && value != 0) ++cancel_requests_;
  return 1;
}

int32_t StateFlags::get(int32_t flag) const {
  if (flag < kFirstStateFlag || flag > kLastStateFlag) return 0;
  std::lock_guard guard(lock_);
  return values_[flag - kFirstStateFlag];
}

bool StateFlags::cancel_raised_since(uint32_t mark) const {
  std::lock_guard guard(lock_);
  return values_[kFlagCancelRequest - kFirstStateFlag] != 0 && cancel_requests_.load() != mark;
}

void StateFlags::clear_all() {
  for (int32_t flag = kFirstStateFlag; flag <= kLastStateFlag; ++flag)
    set(flag, 0);
}

int32_t SetStateFlag(int32_t flag, int32_t value) {
  return module().flags.set(flag, value);
}
int32_t GetStateFlag(int32_t flag) {
  return module().flags.get(flag);
}
void ClearStateFlags() {
  module().flags.clear_all();
}
uint32_t CancelRequests() {
  return module().flags.cancel_requests();
}
uint32_t CancelMark() {
  return module().flags.cancel_requests();
}
bool CancelRaisedSince(uint32_t mark) {
  return module().flags.cancel_raised_since(mark);
}

}  // namespace quibra::frame
