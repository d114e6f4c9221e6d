#include "sound/pipcast.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <vector>

#include "frame/comm_params.h"
#include "frame/module.h"
#include "platform/registry.h"
#include "protocol/catalogue.h"
#include "protocol/checksum.h"
#include "protocol/data_file.h"
#include "protocol/engine.h"
#include "protocol/logo_layout.h"
#include "protocol/message_ids.h"
#include "protocol/message_image.h"
#include "protocol/transfer_texts.h"
#include "sound/pipcast_wave.h"
#include "ui/dialog_host.h"
#include "ui/pipcast_procedure.h"

namespace quibra::sound {
namespace {

// The work buffers of an upload hold 300 bytes: the data and its two checksum bytes, or a
// message image and the two zero bytes on each side.
constexpr size_t kWorkBuffer = 300;
constexpr int32_t kMaxDataBytes = kWorkBuffer - 2;
constexpr size_t kImagePadding = 2;

bool remove_file(const std::string& path) {
  return std::remove(path.c_str()) == 0;
}

// The image bytes of a message as they go out by sound; nothing when they do not fit.
std::optional<std::vector<uint8_t>> upload_bytes(int32_t id, int32_t param) {
  const bool logo = id == protocol::msg::kLogoWrite && param != 0;
  const int32_t length = logo ? protocol::LogoLength(param) + 2
                              : protocol::GetMessageLength(id, param, protocol::kFieldLength);
  if (length < 0 || static_cast<size_t>(length) + 2 * kImagePadding > kWorkBuffer)
    return std::nullopt;
  std::vector<uint8_t> bytes(kImagePadding, 0);
  for (int32_t i = 0; i < length; ++i)
    bytes.push_back(protocol::GetMessageByte(id, param, i));
  if (logo) {
    // A logo travels under the logo message of its unit type, with the logo length.
    bytes[kImagePadding + 1] =
        static_cast<uint8_t>(protocol::MessageCode(protocol::LogoMessage(param)));
    bytes[kImagePadding + 4] = static_cast<uint8_t>(protocol::LogoLength(param));
  }
  bytes.insert(bytes.end(), kImagePadding, 0);
  return bytes;
}

}  // namespace

std::optional<std::string> TemporaryWaveName() {
  std::optional<std::string> name = platform::temp_files().create_unique("HRM");
  if (!name || name->size() < 3) return std::nullopt;
  remove_file(*name);  // only the name is wanted
  name->replace(name->size() - 3, 3, "wav");
  return name;
}

int32_t WritePipcastData(int32_t count, const int32_t* values) {
  if (count < 0 || count > kMaxDataBytes || (count > 0 && values == nullptr)) return 0;
  const std::optional<std::string> path = TemporaryWaveName();
  if (!path) return 0;
  std::array<uint8_t, kWorkBuffer> buffer{};
  for (int32_t i = 0; i < count; ++i)
    buffer[static_cast<size_t>(i)] = static_cast<uint8_t>(values[i]);
  const auto n = static_cast<size_t>(count);
  const uint16_t crc = protocol::Crc16Compute(buffer.data(), n + 2);
  buffer[n] = static_cast<uint8_t>(crc >> 8);
  buffer[n + 1] = static_cast<uint8_t>(crc & 0xFF);
  if (!WritePipcastWave(*path, std::span<const uint8_t>(buffer.data(), n + 2))) return 0;
  if (!platform::sound_output().play_wave_file(*path)) return 0;
  remove_file(*path);
  return 1;
}

int32_t SendBySoundOrDataFile(CommParams& params, int32_t id, int32_t param) {
  protocol::TransferState& transfer = module().transfer;
  transfer.message = id;
  transfer.param = param;
  // The data file stands in for the unit when the record asks for it.
  if (params.WriteToDataFile != 0) return protocol::WriteDataFile(params, id, param);
  if (params.ReadFromDataFile != 0) return protocol::ReadDataFile(params, id, param);
  if (params.SkipSoundUpload != 0) return 1;

  const size_t path_length = strnlen(params.FilePath, sizeof params.FilePath);
  std::optional<std::string> path;
  if (path_length > 0) {
    path = std::string(params.FilePath, path_length);
  } else {
    path = TemporaryWaveName();
  }
  if (id == protocol::msg::kBlockWrite || id == protocol::msg::kBlockWriteLead)
    protocol::FillRawMemoryArea(id, param);
  const std::optional<std::vector<uint8_t>> bytes = upload_bytes(id, param);
  if (!path || !bytes || !WritePipcastWave(*path, *bytes)) {
    frame::SetErrorCode(frame::kErrorFile);
    return 0;
  }
  if (params.SoundFileOnly == 0) {
    if (params.ShowDialog != 0) {
      protocol::SetSharedDialogText(params.DialogText, sizeof params.DialogText);
      // A playback failure only closes the dialog; the upload still counts as done.
      ui::PipcastProcedure procedure(*path);
      ui::dialog_host().run_modal(ui::DialogId::Pipcast, params.ParentWindow, procedure);
    } else if (!platform::sound_output().play_wave_file(*path)) {
      frame::SetErrorCode(frame::kErrorSoundPlayback);
      return 0;
    }
  }
  if (params.KeepSoundFile == 0) remove_file(*path);
  return 1;
}

}  // namespace quibra::sound
