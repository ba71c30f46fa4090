#pragma once
// The calculator's number model: 32-bit integers that wrap around, IEEE doubles, and the
// one conversion of a floating-point result into the value a numeric output shows.

#include <cmath>
#include <cstdint>

namespace vyr {

// Wrap-around arithmetic: computed unsigned, reinterpreted as signed (never UB).
constexpr std::int32_t asSigned(std::uint32_t v) { return static_cast<std::int32_t>(v); }
constexpr std::uint32_t asUnsigned(std::int32_t v) { return static_cast<std::uint32_t>(v); }
constexpr std::int32_t wrapAdd(std::int32_t a, std::int32_t b) { return asSigned(asUnsigned(a) + asUnsigned(b)); }
constexpr std::int32_t wrapSub(std::int32_t a, std::int32_t b) { return asSigned(asUnsigned(a) - asUnsigned(b)); }
constexpr std::int32_t wrapMul(std::int32_t a, std::int32_t b) { return asSigned(asUnsigned(a) * asUnsigned(b)); }
// Signed division truncating toward zero, by a positive constant (never overflows).
constexpr std::int32_t divTowardZero(std::int32_t a, std::int32_t positiveDivisor) { return a / positiveDivisor; }
// "or 0 if negative": a value whose sign bit is set becomes 0.
constexpr std::int32_t zeroIfNegative(std::int32_t v) { return v < 0 ? 0 : v; }

// Truncation toward zero to a signed 64-bit value, whose low 32 bits are shown.
// NaN, infinities and magnitudes of 2^63 or more show 0.
inline std::uint32_t toDisplayValue(double x) {
    if (!std::isfinite(x)) return 0;
    const double t = std::trunc(x);
    if (t < -9223372036854775808.0 || t >= 9223372036854775808.0) return 0;
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(static_cast<std::int64_t>(t)));
}

}  // namespace vyr
