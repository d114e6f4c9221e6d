// The side-by-side benchmark: each figure of the library measured beside a reference doing the
// same work in the same run, so that the ratio, not the machine, is what a reader compares.
#pragma once

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace quibra::bench {

struct Figure {
  std::string name;
  double ours;       // work per second, ours
  double reference;  // the same work per second, the reference
  std::string unit;  // what "work" is
  std::string reference_name;
  double goal;         // the ratio ours / reference must reach; 0 for none
  double minimum = 0;  // what ours must reach on its own; 0 for none
};

// The calling thread's CPU time in seconds: a busy machine slows the figures less than the
// wall clock would, and the references run as programs are measured the same way.
inline double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// Calls `round` until it has taken at least `seconds` of CPU (and at least once); the rounds per
// CPU second.
inline double RoundsPerSecond(const std::function<void()>& round, double seconds = 0.5) {
  round();  // warm the caches and the tables
  const double start = CpuSeconds();
  long rounds = 0;
  double elapsed = 0;
  do {
    round();
    ++rounds;
    elapsed = CpuSeconds() - start;
  } while (elapsed < seconds);
  return static_cast<double>(rounds) / elapsed;
}

// Two rates measured in alternating slices of CPU time, so that both run under the same
// conditions; what each slice reached is kept for the figure to sum up.
struct SliceRates {
  std::vector<double> ours;
  std::vector<double> reference;

  // The fastest slice of each: for work of the CPU alone, which whatever else happens on the
  // machine (other work, a neighbour on the host) only ever slows down, and on a shared machine
  // for seconds at a time, longer than a median of slices can ride out.
  std::pair<double, double> Fastest() const {
    return {*std::max_element(ours.begin(), ours.end()),
            *std::max_element(reference.begin(), reference.end())};
  }
  // The median slice of each: for work that includes a cost varying by itself on both sides
  // (the disk writing a file out), where the fastest slice would be the luckiest write-out
  // rather than the cost of the work.
  std::pair<double, double> Median() const { return {MedianOf(ours), MedianOf(reference)}; }

 private:
  static double MedianOf(std::vector<double> v) {
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
    return v[v.size() / 2];
  }
};

// The rate of the fastest of `slices` slices of `round`, for CPU work measured alone.
inline double FastestRate(const std::function<void()>& round, int slices = 15,
                          double seconds = 0.1) {
  double fastest = 0;
  for (int i = 0; i < slices; ++i)
    fastest = std::max(fastest, RoundsPerSecond(round, seconds));
  return fastest;
}

inline SliceRates AlternatingRates(const std::function<void()>& ours,
                                   const std::function<void()>& reference, int slices = 15,
                                   double seconds = 0.1) {
  SliceRates rates;
  for (int i = 0; i < slices; ++i) {
    rates.ours.push_back(RoundsPerSecond(ours, seconds));
    rates.reference.push_back(RoundsPerSecond(reference, seconds));
  }
  return rates;
}

// Prints one table; true when every figure with a goal reached it.
inline bool PrintFigures(const std::vector<Figure>& figures) {
  bool all = true;
  std::printf("%-34s %14s %14s %-22s %8s %6s\n", "figure", "ours", "reference", "(reference)",
              "ratio", "goal");
  for (const Figure& f : figures) {
    const double ratio = f.reference > 0 ? f.ours / f.reference : 0;
    const bool met = (f.goal <= 0 || ratio >= f.goal) && f.ours >= f.minimum;
    all = all && met;
    std::printf("%-34s %14.0f %14.0f %-22s %8.2f %6.2f%s   %s\n", f.name.c_str(), f.ours,
                f.reference, f.reference_name.c_str(), ratio, f.goal, met ? "" : " !",
                f.unit.c_str());
  }
  return all;
}

}  // namespace quibra::bench
