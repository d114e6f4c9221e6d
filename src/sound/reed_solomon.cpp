#include "sound/reed_solomon.h"

#include <algorithm>
#include <array>

namespace quibra::sound {
namespace {

constexpr unsigned kPrimitivePolynomial = 0x11D;
constexpr int kOrder = 255;  // the multiplicative group's order: alpha^255 = 1

// The decoder's own tables, built once. exp is the antilog table twice over, so that a sum of
// two logs (each below 255) indexes it without a reduction. syndrome_power[i][j] is the log of
// alpha^((j + 1) * i): coefficient i's weight in syndrome j, laid out so that one received byte
// updates all 32 syndromes from one row.
struct DecoderTables {
  std::array<uint8_t, 2 * kOrder> exp;
  std::array<std::array<uint8_t, kRsCheckBytes>, kRsBlockBytes> syndrome_power;
};

GaloisField make_field() {
  GaloisField f{};
  unsigned x = 1;
  for (int i = 0; i < kOrder; ++i) {
    f.antilog[i] = static_cast<uint8_t>(x);
    f.log[x] = static_cast<int16_t>(i);
    x <<= 1;
    if (x & 0x100) x ^= kPrimitivePolynomial;
  }
  f.antilog[kOrder] = 0;
  f.log[0] = -1;
  return f;
}

DecoderTables make_tables(const GaloisField& f) {
  DecoderTables t{};
  for (int i = 0; i < 2 * kOrder; ++i)
    t.exp[i] = f.antilog[i % kOrder];
  for (int i = 0; i < kRsBlockBytes; ++i)
    for (int j = 0; j < kRsCheckBytes; ++j)
      t.syndrome_power[i][j] = static_cast<uint8_t>((j + 1) * i % kOrder);
  return t;
}

const DecoderTables& Tables() {
  static const DecoderTables tables = make_tables(Gf256());
  return tables;
}

// a * b without a reduction: both logs are below 255, so their sum indexes the doubled table.
inline uint8_t mul(const GaloisField& f, const DecoderTables& t, uint8_t a, uint8_t b) {
  if (a == 0 || b == 0) return 0;
  return t.exp[f.log[a] + f.log[b]];
}

// A polynomial over the field, lowest coefficient first; room for the locator, the evaluator
// and their products.
using Poly = std::array<uint8_t, kRsCheckBytes + 2>;

// Horner from the highest coefficient, x given by its log.
uint8_t evaluate(const GaloisField& f, const DecoderTables& t, const uint8_t* coefficients,
                 int count, int log_x) {
  uint8_t value = 0;
  for (int i = count - 1; i >= 0; --i)
    value = (value == 0 ? 0 : t.exp[f.log[value] + log_x]) ^ coefficients[i];
  return value;
}

// S_j = r(alpha^(j+1)), summed over the received coefficients in one pass; true when all are 0.
bool compute_syndromes(const GaloisField& f, const DecoderTables& t, const uint8_t* block,
                       uint8_t* syndromes) {
  std::fill(syndromes, syndromes + kRsCheckBytes, 0);
  for (int i = 0; i < kRsBlockBytes; ++i) {
    const uint8_t r = block[RsBlockPosition(i)];
    if (r == 0) continue;
    const int log_r = f.log[r];
    const auto& powers = t.syndrome_power[i];
    for (int j = 0; j < kRsCheckBytes; ++j)
      syndromes[j] ^= t.exp[log_r + powers[j]];
  }
  return std::all_of(syndromes, syndromes + kRsCheckBytes, [](uint8_t s) { return s == 0; });
}

// Chien search: coefficient position i is wrong when lambda(alpha^-i) = 0. Each term lambda_k
// x^k is kept as a log and stepped by -k per position, so no position re-evaluates the
// polynomial. False when the roots are not `degree` distinct positions.
bool find_error_positions(const GaloisField& f, const DecoderTables& t, const Poly& lambda,
                          int degree, int* positions) {
  int term_log[kRsCorrectable + 1];
  int terms = 0;
  int term_step[kRsCorrectable + 1];
  for (int k = 1; k <= degree; ++k) {
    if (lambda[k] == 0) continue;
    term_log[terms] = f.log[lambda[k]];
    term_step[terms++] = kOrder - k;  // times alpha^-k
  }
  int roots = 0;
  for (int i = 0; i < kRsBlockBytes; ++i) {
    uint8_t value = lambda[0];
    for (int k = 0; k < terms; ++k) {
      value ^= t.exp[term_log[k]];
      term_log[k] += term_step[k];
      if (term_log[k] >= kOrder) term_log[k] -= kOrder;
    }
    if (value != 0) continue;
    if (roots == degree) return false;
    positions[roots++] = i;
  }
  return roots == degree;
}

}  // namespace

uint8_t GaloisField::multiply(uint8_t a, uint8_t b) const {
  if (a == 0 || b == 0) return 0;
  return antilog[(log[a] + log[b]) % kOrder];
}

uint8_t GaloisField::divide(uint8_t a, uint8_t b) const {
  if (a == 0) return 0;
  return antilog[(log[a] - log[b] + kOrder) % kOrder];
}

uint8_t GaloisField::power(int exponent) const {
  const int e = ((exponent % kOrder) + kOrder) % kOrder;
  return antilog[e];
}

const GaloisField& Gf256() {
  static const GaloisField field = make_field();
  return field;
}

int RsDecode(uint8_t* block) {
  const GaloisField& f = Gf256();
  const DecoderTables& t = Tables();
  uint8_t syndromes[kRsCheckBytes];
  if (compute_syndromes(f, t, block, syndromes)) return 0;

  // Berlekamp-Massey: the error locator lambda(x) with lambda(0) = 1.
  Poly lambda{}, previous{}, next{};
  lambda[0] = previous[0] = 1;
  int degree = 0;
  int shift = 1;
  uint8_t previous_discrepancy = 1;
  for (int n = 0; n < kRsCheckBytes; ++n) {
    uint8_t discrepancy = syndromes[n];
    for (int i = 1; i <= degree; ++i)
      discrepancy ^= mul(f, t, lambda[i], syndromes[n - i]);
    if (discrepancy == 0) {
      ++shift;
      continue;
    }
    const uint8_t scale = f.divide(discrepancy, previous_discrepancy);
    next = lambda;
    for (int i = 0; i + shift < static_cast<int>(next.size()); ++i)
      next[i + shift] ^= mul(f, t, scale, previous[i]);
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

  int positions[kRsCorrectable];
  if (!find_error_positions(f, t, lambda, degree, positions)) return -1;

  // Forney with first root alpha^1: e = omega(X^-1) / lambda'(X^-1), where
  // omega = syndromes x lambda mod x^32.
  uint8_t omega[kRsCheckBytes] = {};
  for (int i = 0; i < kRsCheckBytes; ++i)
    for (int k = 0; k <= degree && k <= i; ++k)
      omega[i] ^= mul(f, t, lambda[k], syndromes[i - k]);
  uint8_t derivative[kRsCorrectable + 1] = {};  // odd terms only survive in characteristic 2
  for (int k = 1; k <= degree; k += 2)
    derivative[k - 1] = lambda[k];

  uint8_t values[kRsCorrectable];
  for (int e = 0; e < degree; ++e) {
    const int log_x_inverse = (kOrder - positions[e]) % kOrder;
    const uint8_t denominator = evaluate(f, t, derivative, degree, log_x_inverse);
    if (denominator == 0) return -1;
    values[e] = f.divide(evaluate(f, t, omega, kRsCheckBytes, log_x_inverse), denominator);
  }
  for (int e = 0; e < degree; ++e)
    block[RsBlockPosition(positions[e])] ^= values[e];
  return degree;
}

}  // namespace quibra::sound
