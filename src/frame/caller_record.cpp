#include "frame/caller_record.h"

#include <algorithm>

#include "frame/comm_params.h"

namespace quibra::frame {

std::optional<size_t> CallerRecordBytes(int32_t size, size_t layout_size) {
  if (size == 0) return layout_size;
  if (size < static_cast<int32_t>(sizeof(int32_t))) {
    SetErrorCode(kErrorBadArgument);
    return std::nullopt;
  }
  return std::min(static_cast<size_t>(size), layout_size);
}

}  // namespace quibra::frame
