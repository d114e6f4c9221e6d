#include "change_on_unit.h"

#include <cstdio>

#include "failure.h"
#include "stop_control.h"

namespace quibra::cli {

bool ChangeOnUnit(CommParams& params, const UnitChange& change, const char* what) {
  int32_t result = 1;
  const bool read_first = !change.write || !change.from_defaults;
  if (read_first) result = change.read(&params);
  const bool was_read = read_first && result == 1;
  if (change.write && result == 1 && !StopRequested()) {
    change.apply();
    result = change.send(&params);
  }
  fnQuibra_EndIRCommunication(0);
  if (StopRequested()) return false;
  if (result == 1) return true;
  std::fprintf(stderr, "quibra: the %s could not be %s%s\n", what,
               change.write ? "changed" : "read", LibraryErrorCause().c_str());
  if (change.write && was_read)
    std::fprintf(stderr,
                 "quibra: (--from-defaults starts from the defaults, not the unit's values)\n");
  return false;
}

}  // namespace quibra::cli
