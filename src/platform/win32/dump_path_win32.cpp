#include "platform/dump_path.h"

namespace quibra::platform {

std::string MemoryDumpPath() {
  return "C:\\OrvekMem.txt";
}

}  // namespace quibra::platform
