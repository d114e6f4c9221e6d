#include "identify.h"

#include <cstdio>

#include "frame/module.h"
#include "protocol/message_image.h"
#include "protocol/send_unit_message.h"
#include "quibra/quibra.h"

namespace quibra::cli {
namespace {

constexpr int32_t kIdentify = 9021;
constexpr int32_t kProbe = 1;  // the probe form: the dialog closes by itself without an answer
constexpr int32_t kProductCodeByte = 6;
constexpr int32_t kSerialWithRecoding = 0x00;
constexpr int32_t kUsbAdapter = 0x10;

}  // namespace

std::optional<UnitIdentity> IdentifyUnit(const std::string& port, LinkKind link) {
  const bool usb = link == LinkKind::Usb;
  if (fnQuibra_StartIRCommunication(usb ? kUsbAdapter : kSerialWithRecoding,
                                    usb ? nullptr : port.c_str()) != 1) {
    std::fprintf(stderr, "quibra: cannot open %s\n",
                 usb ? "the USB infrared adapter" : port.c_str());
    return std::nullopt;
  }
  CommParams params{};
  params.Size = QUIBRA_COMM_PARAMS_SIZE;
  params.LinkType = 1;
  params.ShowDialog = 1;
  const int32_t result = protocol::SendUnitMessage(params, kIdentify, kProbe);
  fnQuibra_EndIRCommunication(0);
  if (result != 1) {
    std::fprintf(stderr, "quibra: no wrist unit answered\n");
    return std::nullopt;
  }
  UnitIdentity identity;
  identity.product_code = protocol::GetMessageByte(kIdentify, kProbe, kProductCodeByte);
  identity.type = module().unit.type.load();
  identity.variant = module().unit.variant.load();
  const char* name = fnQuibra_GetOrvekHRMonitorName(identity.type, identity.variant);
  identity.name = name != nullptr ? name : "";
  return identity;
}

}  // namespace quibra::cli
