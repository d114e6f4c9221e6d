// The pieces of online recording that are plain data: the ring of the latest beats that a
// polling application empties, the history of stored intervals, and the artefact splitting that
// turns an interval holding missed beats back into beats.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace quibra::exercise {

// One beat as the ring holds it and as fnQuibra_GetRealOnlineData hands it out: six words.
struct OnlineBeat {
  int32_t source = 0;     // 1 for a beat recorded into the exercise, 0 for one that is not
  int32_t beat_time = 0;  // ms on the recording clock
  int32_t third = 0;      // 0 for a beat; the kind of a no-data sample (3, 4 or the link's)
  int32_t interval = 0;   // ms; 0 for a no-data sample
  int32_t spare = 0;
  int32_t sixth = 0;
};
static_assert(sizeof(OnlineBeat) == 6 * sizeof(int32_t));

inline constexpr int32_t kOnlineRingBeats = 100;

// The latest beats, oldest first. Not locked: its owner holds OnlineSampleLock around it.
class OnlineRing {
 public:
  // The simple path: the value goes in; when the ring is full the oldest beat is overwritten.
  void push_value(int32_t value);
  // The record path: false when the ring already held 100 beats, which empties it, and this
  // beat is dropped with them (an application that stopped polling starts again from fresh).
  bool push(const OnlineBeat& beat);
  // Takes the oldest beat out.
  std::optional<OnlineBeat> pop();
  void clear();
  int32_t count() const { return count_; }

 private:
  size_t slot(int32_t from_oldest) const;

  std::array<OnlineBeat, kOnlineRingBeats> beats_{};
  int32_t next_ = 0;  // the slot the next beat goes to
  int32_t count_ = 0;
};

// The last stored interval and the running sum of them; an interval of 0 or less starts both
// again from it.
struct IntervalHistory {
  int32_t last = 0;
  int64_t sum = 0;
  void add(int32_t interval);
};

// A beat that artefact splitting made: its offset from the original beat's time, and its
// interval.
struct SplitPart {
  int32_t offset = 0;
  int32_t interval = 0;
};
struct SplitBeats {
  std::array<SplitPart, 3> parts{};
  int count = 0;
};

// An interval x near two or three times the last one p is two or three beats of which the unit
// missed all but the last: about twice p becomes two beats, about three times p three, each
// close to x / 2 or x / 3 but not all equal (the small offsets keep an artificial run of equal
// intervals out of the data). Anything else is one beat.
SplitBeats SplitArtefact(int32_t last, int32_t interval);

}  // namespace quibra::exercise
