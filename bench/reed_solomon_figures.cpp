// Reed-Solomon decodes per second beside libfec's decoder with the same code (polynomial 0x11D,
// first root 1, primitive element 1, 32 roots), on the same blocks with 0, 1, 8 and 16 wrong
// bytes. The two must agree on every correction; the figure counts for nothing otherwise.
extern "C" {
#include <fec.h>
}

#include <algorithm>
#include <array>
#include <random>
#include <stdexcept>

#include "reed_solomon_encoder.h"
#include "side_by_side.h"
#include "sound/reed_solomon.h"

namespace quibra::bench {
namespace {

using Block = std::array<uint8_t, sound::kRsBlockBytes>;
constexpr int kBlocks = 256;

// libfec keeps the check bytes from the highest coefficient down; ours from x^0 up.
Block ToLibfecOrder(const Block& block) {
  Block out = block;
  std::reverse(out.begin() + sound::kRsDataBytes, out.end());
  return out;
}

std::vector<Block> CorruptedBlocks(int errors, std::mt19937& random) {
  std::vector<Block> blocks(kBlocks);
  for (Block& b : blocks) {
    for (int i = 0; i < sound::kRsDataBytes; ++i)
      b[i] = static_cast<uint8_t>(random());
    sim::RsEncodeBlock(b.data());
    std::array<int, sound::kRsBlockBytes> order;
    for (int i = 0; i < sound::kRsBlockBytes; ++i)
      order[i] = i;
    std::shuffle(order.begin(), order.end(), random);
    for (int e = 0; e < errors; ++e)
      b[order[e]] ^= static_cast<uint8_t>(1 + random() % 255);
  }
  return blocks;
}

}  // namespace

std::vector<Figure> ReedSolomonFigures() {
  void* rs = init_rs_char(8, 0x11D, 1, 1, sound::kRsCheckBytes, 0);
  if (rs == nullptr) throw std::runtime_error("libfec refused the code");
  std::mt19937 random(5);
  std::vector<Figure> figures;
  for (const int errors : {0, 1, 8, 16}) {
    const std::vector<Block> blocks = CorruptedBlocks(errors, random);
    std::vector<Block> theirs_in;
    for (const Block& b : blocks)
      theirs_in.push_back(ToLibfecOrder(b));
    // Both decoders correct every block to the same bytes.
    for (size_t i = 0; i < blocks.size(); ++i) {
      Block ours = blocks[i];
      Block theirs = theirs_in[i];
      const int a = sound::RsDecode(ours.data());
      const int b = decode_rs_char(rs, theirs.data(), nullptr, 0);
      if (a != b || ToLibfecOrder(ours) != theirs)
        throw std::runtime_error("the decoders disagree on a block");
    }
    std::vector<Block> work(blocks.size());
    const double ours = RoundsPerSecond([&] {
      work = blocks;
      for (Block& b : work)
        sound::RsDecode(b.data());
    });
    const double theirs = RoundsPerSecond([&] {
      work = theirs_in;
      for (Block& b : work)
        decode_rs_char(rs, b.data(), nullptr, 0);
    });
    figures.push_back({"Reed-Solomon, " + std::to_string(errors) + " errors", ours * kBlocks,
                       theirs * kBlocks, "blocks/s", "libfec", 1.0});
  }
  free_rs_char(rs);
  return figures;
}

}  // namespace quibra::bench
