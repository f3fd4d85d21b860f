#pragma once
#include <cstdint>
#include <numeric>

// An exact rational number in lowest terms with a positive denominator. Arithmetic that would
// leave 64 bits sets the overflow flag of the result instead of wrapping, so a caller can refuse
// to answer rather than answer wrongly.
class TFraction {
 public:
  TFraction(int64_t n = 0, int64_t d = 1) : n_(n), d_(d) { Normalize(); }

  int64_t Num() const { return n_; }
  int64_t Den() const { return d_; }
  bool Overflow() const { return overflow_; }
  int Sign() const { return (n_ > 0) - (n_ < 0); }
  bool IsZero() const { return n_ == 0; }

  friend TFraction operator+(const TFraction& a, const TFraction& b) {
    // a/b + c/d over the least common denominator keeps the numbers small.
    const int64_t g = std::gcd(a.d_, b.d_);
    int64_t x = 0, y = 0, n = 0, d = 0;
    const bool bad = __builtin_mul_overflow(a.n_, b.d_ / g, &x) ||
                     __builtin_mul_overflow(b.n_, a.d_ / g, &y) ||
                     __builtin_add_overflow(x, y, &n) || __builtin_mul_overflow(a.d_ / g, b.d_, &d);
    return Make(n, d, bad || a.overflow_ || b.overflow_);
  }
  friend TFraction operator-(const TFraction& a) {
    return Make(a.n_ == INT64_MIN ? 0 : -a.n_, a.d_, a.overflow_ || a.n_ == INT64_MIN);
  }
  friend TFraction operator-(const TFraction& a, const TFraction& b) { return a + (-b); }
  friend TFraction operator*(const TFraction& a, const TFraction& b) {
    // Denominators are at least 1, so both divisors are too. Cross-cancel first so that products of
    // fractions in lowest terms stay in lowest terms.
    const int64_t g1 = std::gcd(a.n_, b.d_), g2 = std::gcd(b.n_, a.d_);
    int64_t n = 0, d = 0;
    const bool bad = __builtin_mul_overflow(a.n_ / g1, b.n_ / g2, &n) ||
                     __builtin_mul_overflow(a.d_ / g2, b.d_ / g1, &d);
    return Make(n, d, bad || a.overflow_ || b.overflow_);
  }
  friend TFraction operator/(const TFraction& a, const TFraction& b) {
    return a * Make(b.d_, b.n_, b.overflow_);
  }
  // No operator<: a comparison is a subtraction that can overflow, and a bool has no room to
  // say so. Compare by the sign of a - b, after checking its overflow flag.
  friend bool operator==(const TFraction& a, const TFraction& b) {
    return a.n_ == b.n_ && a.d_ == b.d_;
  }

 private:
  static TFraction Make(int64_t n, int64_t d, bool overflow) {
    TFraction f(overflow ? 0 : n, overflow || d == 0 ? 1 : d);
    f.overflow_ = f.overflow_ || overflow || d == 0;
    return f;
  }
  void Normalize() {
    // The least 64-bit number has no negative and no gcd: taken as too large.
    if (n_ == INT64_MIN || d_ == INT64_MIN) {
      n_ = 0, d_ = 1, overflow_ = true;
      return;
    }
    if (d_ < 0) n_ = -n_, d_ = -d_;
    const int64_t g = std::gcd(n_, d_);
    if (g > 1) n_ /= g, d_ /= g;
    if (n_ == 0) d_ = 1;
  }

  int64_t n_;
  int64_t d_;
  bool overflow_ = false;
};
