#include "transfer/send_unit_message.h"

#include <array>

#include "frame/module.h"
#include "platform/registry.h"
#include "protocol/message_ids.h"
#include "protocol/message_status.h"
#include "protocol/raw_memory.h"
#include "protocol/seal.h"
#include "protocol/transfer_texts.h"
#include "transfer/engine_link.h"
#include "ui/dialog_host.h"
#include "ui/transfer_procedures.h"

namespace quibra::transfer {
namespace {

constexpr uint32_t kCommandPauseMs = 500;
constexpr size_t kDialogTextChars = sizeof(CommParams{}.DialogText);

}  // namespace

int32_t SendUnitMessage(CommParams& params, int32_t id, int32_t param) {
  protocol::TransferState& transfer = module().transfer;
  transfer.message = id;
  transfer.param = param;
  transfer.end_on_no_answer = (id == protocol::msg::kIdentify && param == 1) ? 1 : 0;
  protocol::SealMessageImage(id, param, 0);
  ui::TransferLink& link = transfer_link();

  if (protocol::IsCommandWithoutAnswer(id)) {
    if (params.ShowDialog != 0) {
      // The no-wait dialog shows the shared text as the last transfer left it.
      ui::NoWaitProcedure procedure(link);
      return ui::dialog_host().run_modal(ui::DialogId::ConnectionNoWait, params.ParentWindow,
                                         procedure);
    }
    // The unit is given its half second whatever happens; a command it acknowledges has
    // succeeded only once the acknowledgement came, and none has without a link.
    const uint32_t mark = ui::CancelMark();
    const bool sent = link.send(id, param) != 0;
    platform::clock().sleep_ms(kCommandPauseMs);
    if (!sent) return protocol::SilentResult(protocol::kStatusNoLink);
    return ui::CommandIsAcknowledged(id) ? protocol::SilentResult(ui::AwaitFinalStatus(link, mark))
                                         : 1;
  }

  if (params.ShowDialog != 0) {
    protocol::SetSharedDialogText(params.DialogText, kDialogTextChars);
    ui::TransferProcedure procedure(link);
    return ui::dialog_host().run_modal(ui::DialogId::Connection, params.ParentWindow, procedure);
  }

  const uint32_t mark = ui::CancelMark();
  link.send(id, param);
  return protocol::SilentResult(ui::AwaitFinalStatus(link, mark));
}

int32_t MemoryTestDummy() {
  constexpr int32_t kAddress = 256;
  constexpr int32_t kReadCount = 100;
  constexpr uint32_t kPauseMs = 500;
  constexpr uint8_t kPattern[] = {1, 2, 3};
  CommParams params{};
  params.Size = QUIBRA_COMM_PARAMS_SIZE;
  params.LinkType = 1;
  params.ShowDialog = 1;
  Module& m = module();
  // The first three answer bytes are taken, as a check that the unit reads.
  auto read_back = [&] {
    const int32_t at = protocol::BuildMemoryReadCommand(0, 0, kAddress, kReadCount) - 5;
    SendUnitMessage(params, protocol::msg::kMemoryRead, 0);
    return std::array<uint8_t, 3>{m.banks.scratch(at), m.banks.scratch(at + 1),
                                  m.banks.scratch(at + 2)};
  };
  read_back();
  platform::clock().sleep_ms(kPauseMs);
  const int32_t data = protocol::BuildMemoryWriteCommand(33, 0, 0, kAddress, 3);
  for (int32_t i = 0; i < 3; ++i)
    m.banks.set_scratch(data + i, kPattern[i]);
  transfer_link().send(protocol::msg::kMemoryWrite, 0);
  platform::clock().sleep_ms(kPauseMs);
  read_back();
  return 0;
}

}  // namespace quibra::transfer
