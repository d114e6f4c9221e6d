#include "reed_solomon_encoder.h"

#include <array>
#include <cstddef>

namespace quibra::sim {
namespace {

constexpr unsigned kFieldPolynomial = 0x11D;
constexpr size_t kCheck = kRsCheck;

// exp[i] = alpha^i for i in 0..509 (doubled, so a product needs no reduction mod 255) and
// log[alpha^i] = i; log[0] is never read.
struct Field {
  std::array<uint8_t, 510> exp{};
  std::array<size_t, 256> log{};
};

constexpr Field kField = [] {
  Field f;
  unsigned x = 1;
  for (size_t i = 0; i < 255; ++i) {
    f.exp[i] = static_cast<uint8_t>(x);
    f.exp[i + 255] = static_cast<uint8_t>(x);
    f.log[x] = i;
    x <<= 1;
    if ((x & 0x100) != 0) x ^= kFieldPolynomial;
  }
  return f;
}();

constexpr uint8_t Mul(uint8_t a, uint8_t b) {
  if (a == 0 || b == 0) return 0;
  return kField.exp[kField.log[a] + kField.log[b]];
}

// g(x) = (x + alpha^1)(x + alpha^2)..(x + alpha^32), lowest coefficient first; g[32] = 1.
constexpr std::array<uint8_t, kCheck + 1> kGenerator = [] {
  std::array<uint8_t, kCheck + 1> g{};
  g[0] = 1;
  for (size_t root = 1; root <= kCheck; ++root) {
    const uint8_t a = kField.exp[root];
    for (size_t i = root; i > 0; --i)
      g[i] = g[i - 1] ^ Mul(g[i], a);
    g[0] = Mul(g[0], a);
  }
  return g;
}();

static_assert(kField.exp[8] == 0x1D, "x^8 = x^4 + x^3 + x^2 + 1");
static_assert(kGenerator[kCheck] == 1, "the generator is monic");

}  // namespace

// The check bytes are the remainder of the data polynomial (already shifted up by x^32) by g(x),
// found with a division register fed from the highest coefficient, block byte 0.
void RsEncodeBlock(uint8_t* block) {
  std::array<uint8_t, kCheck> rem{};  // rem[k]: the coefficient of x^k
  for (int d = 0; d < kRsData; ++d) {
    const uint8_t feedback = block[d] ^ rem[kCheck - 1];
    for (size_t k = kCheck - 1; k > 0; --k)
      rem[k] = rem[k - 1] ^ Mul(feedback, kGenerator[k]);
    rem[0] = Mul(feedback, kGenerator[0]);
  }
  for (size_t k = 0; k < kCheck; ++k)
    block[kRsData + k] = rem[k];
}

}  // namespace quibra::sim
