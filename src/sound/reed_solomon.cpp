#include "sound/reed_solomon.h"

#include <cstring>

namespace quibra::sound {
namespace {

constexpr unsigned kPrimitivePolynomial = 0x11D;

GaloisField make_field() {
  GaloisField f{};
  unsigned x = 1;
  for (int i = 0; i < 255; ++i) {
    f.antilog[i] = static_cast<uint8_t>(x);
    f.log[x] = static_cast<int16_t>(i);
    x <<= 1;
    if (x & 0x100) x ^= kPrimitivePolynomial;
  }
  f.antilog[255] = 0;
  f.log[0] = -1;
  return f;
}

// A polynomial over the field, lowest coefficient first; room for the locator, the evaluator
// and their products.
using Poly = std::array<uint8_t, kRsCheckBytes + 2>;

uint8_t evaluate(const GaloisField& f, const uint8_t* coefficients, int count, uint8_t x) {
  uint8_t value = 0;  // Horner, from the highest coefficient
  for (int i = count - 1; i >= 0; --i)
    value = f.multiply(value, x) ^ coefficients[i];
  return value;
}

}  // namespace

uint8_t GaloisField::multiply(uint8_t a, uint8_t b) const {
  if (a == 0 || b == 0) return 0;
  return antilog[(log[a] + log[b]) % 255];
}

uint8_t GaloisField::divide(uint8_t a, uint8_t b) const {
  if (a == 0) return 0;
  return antilog[(log[a] - log[b] + 255) % 255];
}

uint8_t GaloisField::power(int exponent) const {
  const int e = ((exponent % 255) + 255) % 255;
  return antilog[e];
}

const GaloisField& Gf256() {
  static const GaloisField field = make_field();
  return field;
}

int RsDecode(uint8_t* block) {
  const GaloisField& f = Gf256();
  uint8_t r[kRsBlockBytes];  // the received polynomial in coefficient order
  for (int i = 0; i < kRsBlockBytes; ++i)
    r[i] = block[RsBlockPosition(i)];

  uint8_t syndromes[kRsCheckBytes];
  bool clean = true;
  for (int j = 0; j < kRsCheckBytes; ++j) {
    syndromes[j] = evaluate(f, r, kRsBlockBytes, f.power(j + 1));
    clean = clean && syndromes[j] == 0;
  }
  if (clean) return 0;

  // Berlekamp-Massey: the error locator lambda(x) with lambda(0) = 1.
  Poly lambda{}, previous{}, next{};
  lambda[0] = previous[0] = 1;
  int degree = 0;
  int shift = 1;
  uint8_t previous_discrepancy = 1;
  for (int n = 0; n < kRsCheckBytes; ++n) {
    uint8_t discrepancy = syndromes[n];
    for (int i = 1; i <= degree; ++i)
      discrepancy ^= f.multiply(lambda[i], syndromes[n - i]);
    if (discrepancy == 0) {
      ++shift;
      continue;
    }
    const uint8_t scale = f.divide(discrepancy, previous_discrepancy);
    next = lambda;
    for (int i = 0; i + shift < static_cast<int>(next.size()); ++i)
      next[i + shift] ^= f.multiply(scale, previous[i]);
    if (2 * degree <= n) {
      previous = lambda;
      degree = n + 1 - degree;
      previous_discrepancy = discrepancy;
      shift = 1;
    } else {
      ++shift;
    }
    lambda = next;
  }
  if (degree > kRsCorrectable) return -1;

  // Chien search: coefficient position i is wrong when lambda(alpha^-i) = 0.
  int positions[kRsCorrectable];
  int roots = 0;
  for (int i = 0; i < kRsBlockBytes; ++i) {
    if (evaluate(f, lambda.data(), degree + 1, f.power(-i)) != 0) continue;
    if (roots == degree) return -1;
    positions[roots++] = i;
  }
  if (roots != degree) return -1;

  // Forney with first root alpha^1: e = omega(X^-1) / lambda'(X^-1), where
  // omega = syndromes x lambda mod x^32.
  uint8_t omega[kRsCheckBytes] = {};
  for (int i = 0; i < kRsCheckBytes; ++i)
    for (int k = 0; k <= degree && k <= i; ++k)
      omega[i] ^= f.multiply(lambda[k], syndromes[i - k]);
  uint8_t derivative[kRsCorrectable + 1] = {};  // odd terms only survive in characteristic 2
  for (int k = 1; k <= degree; k += 2)
    derivative[k - 1] = lambda[k];

  uint8_t values[kRsCorrectable];
  for (int e = 0; e < roots; ++e) {
    const uint8_t x_inverse = f.power(-positions[e]);
    const uint8_t denominator = evaluate(f, derivative, degree, x_inverse);
    if (denominator == 0) return -1;
    values[e] = f.divide(evaluate(f, omega, kRsCheckBytes, x_inverse), denominator);
  }
  for (int e = 0; e < roots; ++e)
    block[RsBlockPosition(positions[e])] ^= values[e];
  return roots;
}

}  // namespace quibra::sound
