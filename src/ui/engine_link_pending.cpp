// TEMPORARY until the engine lands on this branch: replaced by the engine's exports at merge.
#include "ui/transfer_link.h"

namespace quibra::ui {
namespace {
class NoEngine final : public TransferLink {
 public:
  int32_t send(int32_t, int32_t) override { return 0; }
  int32_t status() override { return 20; }
  int32_t progress() override { return 0; }
  void cancel() override {}
  void refresh_monitor_info(int32_t) override {}
};
}  // namespace

TransferLink& engine_link() {
  static NoEngine link;
  return link;
}

}  // namespace quibra::ui
