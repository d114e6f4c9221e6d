#include "protocol/download_request.h"

#include "frame/module.h"
#include "protocol/message_ids.h"
#include "protocol/message_image.h"

namespace quibra::protocol {

int32_t PrepareExerciseDownload() {
  const ExerciseDownloadSelection& selection = module().transfer.download;
  if (selection.mode != 0) return msg::kListen;
  if (selection.single_file == 0) return msg::kExerciseMemory;
  SetMessageByte(msg::kSingleFile, 0, 5, static_cast<uint8_t>(selection.file_index & 0xFF));
  SetMessageByte(msg::kSingleFile, 0, 6, static_cast<uint8_t>((selection.file_index >> 8) & 0xFF));
  SetMessageByte(msg::kSingleFile, 0, 7, static_cast<uint8_t>(selection.byte_limit & 0xFF));
  return msg::kSingleFile;
}

}  // namespace quibra::protocol
