#include "settings/name_fix.h"

#include "codec/charset.h"
#include "frame/module.h"
#include "protocol/message_ids.h"
#include "settings/image_bytes.h"
#include "sound/pipcast.h"
#include "transfer/send_unit_message.h"

namespace quibra::settings {
namespace {

constexpr int32_t kNameFixType = 22;
constexpr int32_t kFirstDataIndex = 7;  // the block's bytes follow its two address bytes

}  // namespace

int32_t K55Tm3NameUpdFix(int32_t link_type, const char* name) {
  CommParams params{};
  params.Size = QUIBRA_COMM_PARAMS_SIZE;
  params.LinkType = static_cast<uint32_t>(link_type);
  params.ShowDialog = 1;
  Module& m = module();
  m.banks.clear_scratch();
  m.unit.type = kNameFixType;
  const ImageWriter image(protocol::msg::kBlockWrite, kNameFixBlock);
  // A name shorter than two characters leaves device spaces; nothing after its end is read.
  bool ended = name == nullptr;
  for (int32_t i = 0; i < 2; ++i) {
    const char c = ended ? '\0' : name[i];
    ended = ended || c == '\0';
    image.byte(kFirstDataIndex + i,
               codec::CharToDeviceCode(static_cast<signed char>(c), codec::kDeviceSpace, 0));
  }
  const int32_t sent =
      link_type != 0
          ? transfer::SendUnitMessage(params, protocol::msg::kBlockWrite, kNameFixBlock)
          : sound::SendBySoundOrDataFile(params, protocol::msg::kBlockWrite, kNameFixBlock);
  return sent != 0 ? 1 : 0;
}

}  // namespace quibra::settings
