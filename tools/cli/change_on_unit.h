// The read-change-send step that `settings set` and `bikes set` share: a change starts from what
// the unit holds (or from the defaults when asked), so that the fields the JSON does not name
// keep their values; a get is the read alone.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "quibra/quibra.h"

namespace quibra::cli {

struct UnitChange {
  bool write = false;          // false: read only
  bool from_defaults = false;  // the change starts from the record as it was given
  std::function<int32_t(CommParams*)> read;
  std::function<void()> apply;  // the JSON's fields into the record
  std::function<int32_t(CommParams*)> send;
};

// True when the read (and the send of a change) succeeded; else says on stderr that the `what`
// (the record's name) could not be read or changed, and, when a change started from the unit's
// values, that --from-defaults may help: a unit whose memory was never set holds values the
// library does not send back. Nothing is said once the command is stopped.
bool ChangeOnUnit(CommParams& params, const UnitChange& change, const char* what);

}  // namespace quibra::cli
