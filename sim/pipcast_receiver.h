// The unit's side of a sound upload: listens to a wave file and turns the 5 400 Hz tone
// symbols back into bytes, so that tests check an upload by what a unit would hear.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quibra::sim {

// Decodes the bytes in a wave of 8-bit mono samples at 44 100 Hz; nothing when the wave is not
// such a file. Each byte is a start tone, eight bit symbols (tone = 1) and at least one silent
// symbol; stray silence between bytes is skipped.
std::optional<std::vector<uint8_t>> ListenToPipcast(std::span<const uint8_t> wave_file);
std::optional<std::vector<uint8_t>> ListenToPipcastFile(const std::string& path);

}  // namespace quibra::sim
