// How the transfer dialogs see the communication engine: queue a message, read the collective
// status and the progress, cancel. The dialogs are given their link when they are made; the
// transfer layer gives them the engine's own calls, tests a scripted link.
#pragma once

#include <cstdint>

namespace quibra::ui {

class TransferLink {
 public:
  virtual ~TransferLink() = default;
  // Queues a message; nonzero when the engine took it (0 when no link is open).
  virtual int32_t send(int32_t message, int32_t param) = 0;
  // The collective status (the protocol's status names): completed, no link or no answer end
  // a transfer; the others mean it is under way.
  virtual int32_t status() = 0;
  // Progress of the running transfer, 0..100.
  virtual int32_t progress() = 0;
  // Asks the engine to stop the transfer.
  virtual void cancel() = 0;
};

// A cancel request (fnQuibra_CancelExerciseReading, a download dialog's Cancel) makes the engine
// drop the exchange under way without ending it in a final status. Whoever waits for a transfer
// therefore notes the requests made so far before it sends, and stops waiting once another came.
// A request the engine still holds when the message is sent (raised after its last cycle ended)
// was not for that message: the engine runs it, and the waiter waits for its final status.
uint32_t CancelMark();
bool CancelledSince(uint32_t mark);

// Polls the link every 300 ms until its status is final and returns that status, or the status
// as it then is (not final) once a cancel request came after the mark.
int32_t AwaitFinalStatus(TransferLink& link, uint32_t mark);

}  // namespace quibra::ui
