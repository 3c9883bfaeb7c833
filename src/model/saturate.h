#pragma once
// Integer helpers shared by every figure and pixel computation. The original arithmetic is
// 32-bit; here every intermediate runs in 64 bits and is clamped back, so huge, negative or
// non-finite figures never overflow.

#include <cmath>
#include <cstdint>
#include <limits>

namespace brevant {

constexpr int32_t kInt32Max = std::numeric_limits<int32_t>::max();
constexpr int32_t kInt32Min = std::numeric_limits<int32_t>::min();

// Clamps a 64-bit value into the 32-bit range.
constexpr int32_t Sat32(int64_t v)
{
    if (v > kInt32Max)
        return kInt32Max;
    if (v < kInt32Min)
        return kInt32Min;
    return static_cast<int32_t>(v);
}

// Double to 32-bit integer by truncation toward zero, saturating at the limits; NaN gives 0.
inline int32_t Trunc32(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= 2147483647.0)
        return kInt32Max;
    if (v <= -2147483648.0)
        return kInt32Min;
    return static_cast<int32_t>(v);
}

// Saturating 32-bit operations done in 64 bits.
constexpr int32_t SatAdd(int32_t a, int32_t b) { return Sat32(int64_t(a) + b); }
constexpr int32_t SatSub(int32_t a, int32_t b) { return Sat32(int64_t(a) - b); }
constexpr int32_t SatMul(int32_t a, int32_t b) { return Sat32(int64_t(a) * b); }
// Integer division truncating toward zero; a zero divisor gives 0 instead of a trap.
constexpr int32_t SatDiv(int64_t a, int64_t b)
{
    if (b == 0)
        return 0;
    if (b == -1)
        return Sat32(-a);
    return Sat32(a / b);
}

} // namespace brevant
