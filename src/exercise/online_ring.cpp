#include "exercise/online_ring.h"

namespace quibra::exercise {
namespace {

int32_t Rounded(double v) {
  return static_cast<int32_t>(v + 0.5);
}

}  // namespace

size_t OnlineRing::slot(int32_t from_oldest) const {
  return static_cast<size_t>((next_ - count_ + from_oldest + 2 * kOnlineRingBeats) %
                             kOnlineRingBeats);
}

void OnlineRing::push_value(int32_t value) {
  if (value <= 0) return;
  OnlineBeat beat;
  beat.source = 1;
  beat.interval = value;
  beats_[static_cast<size_t>(next_)] = beat;
  next_ = (next_ + 1) % kOnlineRingBeats;
  if (count_ < kOnlineRingBeats) ++count_;
}

bool OnlineRing::push(const OnlineBeat& beat) {
  if (count_ >= kOnlineRingBeats) {
    clear();
    return false;
  }
  beats_[static_cast<size_t>(next_)] = beat;
  next_ = (next_ + 1) % kOnlineRingBeats;
  ++count_;
  return true;
}

std::optional<OnlineBeat> OnlineRing::pop() {
  if (count_ == 0) return std::nullopt;
  const OnlineBeat beat = beats_[slot(0)];
  --count_;
  return beat;
}

void OnlineRing::clear() {
  beats_.fill(OnlineBeat{});
  next_ = 0;
  count_ = 0;
}

void IntervalHistory::add(int32_t interval) {
  if (interval <= 0) {
    last = interval;
    sum = interval;
    return;
  }
  last = interval;
  sum += interval;
}

SplitBeats SplitArtefact(int32_t last, int32_t interval) {
  SplitBeats out;
  const double p = last;
  const double x = interval;
  if (x > 1.8 * p && x < 2.2 * p) {
    const int32_t h = Rounded(x / 2);
    out.parts[0] = {0, h - 3};
    out.parts[1] = {h, h + 3};
    out.count = 2;
  } else if (x >= 3.3 * p || x <= 2.7 * p) {
    out.parts[0] = {0, interval};
    out.count = 1;
  } else {
    const int32_t t = Rounded(x / 3);
    out.parts[0] = {0, t - 2};
    out.parts[1] = {t, t + 3};
    out.parts[2] = {2 * t, t - 1};
    out.count = 3;
  }
  return out;
}

}  // namespace quibra::exercise
