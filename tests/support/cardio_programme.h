// A cardio programme with every kind of field set, and seven named entries: what the fitness
// units' programme tests send.
#pragma once

#include <cstdio>

#include "quibra/records.h"

namespace quibra::testing {

inline CardioProgram SampleCardioProgram() {
  CardioProgram p{};
  p.UnitType = 27;
  p.Value1 = 1200;
  p.Value2 = 7;
  p.FactorA = 512;
  p.FactorB = 300;
  p.FactorC = 1024;
  for (int n = 0; n < 7; ++n) {
    CardioProgramEntry& e = p.Entries[n];
    e.Value1 = 100 * n;
    e.Value5 = 65535 - n;
    std::snprintf(e.Name, sizeof e.Name, "STEP%d", n);
    e.Last = 10 + n;
  }
  p.Byte158 = 3;
  p.Value159 = 400;
  p.Value161 = 401;
  p.RateA = 140;
  p.RateB = 512;
  p.RateC = 77;
  return p;
}

}  // namespace quibra::testing
