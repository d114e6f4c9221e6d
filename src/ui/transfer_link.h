// How the transfer dialogs see the communication engine: queue a message, read the collective
// status and the progress, cancel, refresh the unit information after a download. The engine's
// own exports stand behind the default link; tests may install a scripted one.
#pragma once

#include <cstdint>

namespace quibra::ui {

class TransferLink {
 public:
  virtual ~TransferLink() = default;
  // Queues a message; nonzero when the engine took it (0 when no link is open).
  virtual int32_t send(int32_t message, int32_t param) = 0;
  // The collective status: 10 completed, 20 no link, 30 no answer, 0/40/50/60 under way.
  virtual int32_t status() = 0;
  // Progress of the running transfer, 0..100.
  virtual int32_t progress() = 0;
  // Asks the engine to stop the transfer.
  virtual void cancel() = 0;
  // Re-reads what the unit told about itself after an exercise download.
  virtual void refresh_monitor_info(int32_t single_file) = 0;
};

// The link in force: a replacement when one is installed, else the engine's.
TransferLink& transfer_link();
void set_transfer_link(TransferLink* replacement);

// The engine's exports as a link.
TransferLink& engine_link();

}  // namespace quibra::ui
