// quibra_side_by_side: every speed figure of the library beside its reference, as one table.
// Exits 1 when a figure misses its goal.
#include <cstdio>
#include <exception>

#include "side_by_side.h"

namespace quibra::bench {
std::vector<Figure> ReedSolomonFigures();
std::vector<Figure> SoundFigures();
std::vector<Figure> DecodeFigures();
std::vector<Figure> HrmFigures();
}

int main() {
  try {
    std::vector<quibra::bench::Figure> figures = quibra::bench::ReedSolomonFigures();
    for (auto* more : {quibra::bench::SoundFigures, quibra::bench::DecodeFigures,
                       quibra::bench::HrmFigures}) {
      for (auto& f : more())
        figures.push_back(f);
    }
    return quibra::bench::PrintFigures(figures) ? 0 : 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "quibra_side_by_side: %s\n", e.what());
    return 2;
  }
}
