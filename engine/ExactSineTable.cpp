// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ExactSineTable.h"

#include "engine/ExtendedPi.h"

#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

namespace {

// Only the first quarter is computed; the rest follows by symmetry, which
// also makes the table exactly odd and exactly 0 and 1 at the quarter
// points.
std::vector<long double> MakeTable(int rate) {
    std::vector<long double> s(static_cast<std::size_t>(rate));
    const auto at = [rate](int m) { return std::sin(kTwoPiExtended * m / rate); };
    if (rate % 4 == 0) {
        const int quarter = rate / 4, half = rate / 2;
        for (int m = 0; m <= quarter; ++m) {
            const long double v = m == 0 ? 0.0L : m == quarter ? 1.0L : at(m);
            s[m] = v;
            s[half - m] = v;
            if (m > 0)
                s[rate - m] = -v;
            s[half + m] = -v;
        }
        s[half] = 0;
    } else {
        s[0] = 0;
        for (int m = 1; m <= rate / 2; ++m) {
            s[m] = at(m);
            s[rate - m] = -s[m];
        }
    }
    return s;
}

} // namespace

const ExactSineTable& ExactSineTable::ForRate(int rate) {
    static std::mutex mutex;
    static std::map<int, std::unique_ptr<const ExactSineTable>> tables;
    const std::lock_guard<std::mutex> lock(mutex);
    auto& table = tables[rate];
    if (!table) {
        ExactSineTable t;
        t.extended = MakeTable(rate);
        t.rounded.assign(t.extended.begin(), t.extended.end());
        table = std::make_unique<const ExactSineTable>(std::move(t));
    }
    return *table;
}
