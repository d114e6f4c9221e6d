// `quibra logo send`: a small monochrome picture (PBM, or PNG) checked against a unit type's
// logo display, packed as the library packs it (the bytes are printed) and sent to the unit over
// infrared or written as the upload sound to a wave file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quibra::cli {

// A monochrome picture: one byte per pixel, row by row from the top; 1 = set (dark).
struct Bitmap {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> pixels;
};

// Reads a plain (P1) or raw (P4) PBM from its bytes; on failure says why in `error`.
std::optional<Bitmap> ParsePbm(const std::string& bytes, std::string& error);

}  // namespace quibra::cli
