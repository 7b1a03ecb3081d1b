// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Zoom steps of the picture pages. Each step is taken from the size now shown,
// not from the source picture, so in and out do not cancel exactly (100 → 110
// → 99), and a side that reaches 0 stays 0.
#include <QSize>

#include <algorithm>
#include <limits>

namespace brevan {

inline constexpr int kZoomInFactor = 110;
inline constexpr int kZoomOutFactor = 90;

namespace detail {
// factor × side / 100 truncated toward zero. Worked in 64 bits because a
// picture zoomed in many times would overflow int; such a side is pinned to
// the largest int instead of wrapping to a negative size. A negative side (no
// picture) counts as 0.
constexpr int zoomedSide(int side, int factor)
{
    if (side <= 0 || factor <= 0)
        return 0;
    const long long scaled = static_cast<long long>(factor) * side / 100;
    return static_cast<int>(std::min<long long>(scaled, std::numeric_limits<int>::max()));
}
} // namespace detail

// The size of the shown picture after one zoom step by factor percent.
constexpr QSize zoomed(QSize shown, int factor)
{
    return {detail::zoomedSide(shown.width(), factor), detail::zoomedSide(shown.height(), factor)};
}

} // namespace brevan
