#include "protocol/message_status.h"

#include "frame/module.h"
#include "protocol/catalogue.h"
#include "protocol/message_ids.h"

namespace quibra::protocol {

std::atomic<int32_t>* MessageStatuses::slot(int32_t id) {
  if (id == msg::kCollectiveStatus) return &values_.back();
  if (id < msg::kFirst || id > msg::kLast) return nullptr;
  return &values_[static_cast<size_t>(id - msg::kFirst)];
}

void MessageStatuses::set(int32_t id, int32_t value) {
  std::atomic<int32_t>* s = slot(id);
  if (s == nullptr) return;
  if (s->exchange(value) != value) module().trace.event("status %d %d", id, value);
}

int32_t MessageStatuses::get(int32_t id, bool clear) {
  std::atomic<int32_t>* s = slot(id);
  if (s == nullptr) return 0;
  return clear ? s->exchange(0) : s->load();
}

void MessageStatuses::clear_all() {
  for (auto& value : values_)
    value.store(0);
}

}  // namespace quibra::protocol
