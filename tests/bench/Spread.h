// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How a benchmark's repeated measurements spread: the median with the smallest and the
// largest, the way every figure in the table is printed.
#include <algorithm>
#include <cstddef>
#include <vector>

namespace mirthkey::bench {

struct Spread {
    double median;
    double min;
    double max;
    std::size_t n;
};

// The middle value (the mean of the two middle ones for an even count).
template <typename T> Spread spreadOf(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    if (n == 0)
        return {0, 0, 0, 0};
    const double median =
        n % 2 ? double(values[n / 2]) : (double(values[n / 2 - 1]) + double(values[n / 2])) / 2;
    return {median, double(values.front()), double(values.back()), n};
}

} // namespace mirthkey::bench
