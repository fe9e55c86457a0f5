#pragma once

#include "cli/options.h"

#include <iosfwd>
#include <string>
#include <vector>

// Studies of one input: the calculation repeated over values of one field, the other fields as
// given (or their defaults).

// The values of --vary: NAME=FROM:TO:N, N values at equal steps with FROM and TO among them
// (N ≥ 2), or NAME=v1;v2;… the values listed, as texts the field reads.
struct Variation {
    std::string name;
    std::vector<std::string> values;
};
Variation parseVariation(const subprogram::Calculator& calculator, const std::string& spec);

// slopecalc CALC … --vary SPEC: the same table a CSV batch of those values prints, with a column
// for the field varied; its status, as the batch's.
int runVariation(const Options& options, std::ostream& out, std::ostream& err);

// The range of --least: NAME=FROM:TO[:PRECISION], the values FROM + k·PRECISION up to TO
// (PRECISION 0.001 when not given).
struct LeastSearch {
    std::string name;
    double from, to, precision;
};
LeastSearch parseLeastSearch(const subprogram::Calculator& calculator, const std::string& spec);

// The runs of values within the range where every check holds, each as its first and last value
// of the range's steps; `holds(k)` judges the k-th value, FROM + k·PRECISION. Every step is judged
// where the range has at most 20,000; on a finer range every 20,000th part is, and each change
// between two of them is narrowed down by bisection (a run narrower than such a part may be
// missed there).
struct Run {
    long long first, last;
};
template <typename Holds> std::vector<Run> passingRuns(long long steps, Holds holds);

// slopecalc CALC … --least SPEC: NAME=value and the results of the calculation at the least value
// of the range where every check holds (status 0), the other runs where they all hold on standard
// error; status 1 and a message when no value does.
int runLeastSearch(const Options& options, std::ostream& out, std::ostream& err);

// The text a study gives the field for a value: the value to 15 significant digits, which is what
// the field then reads.
std::string studyValueText(double value);

template <typename Holds> std::vector<Run> passingRuns(long long steps, Holds holds) {
    constexpr long long kParts = 20000;
    const long long parts = steps < kParts ? steps : kParts;
    std::vector<Run> runs;
    // the coarse points, and between two that differ the step where the verdict turns
    long long previous = 0;
    bool held = holds(0);
    if (held) {
        runs.push_back({0, 0});
    }
    for (long long j = 1; j <= parts; ++j) {
        const long long k = parts == 0 ? 0 : steps * j / parts;
        const bool now = holds(k);
        if (now != held) {
            long long low = previous, high = k; // holds(low) == held, holds(high) == now
            while (high - low > 1) {
                const long long mid = low + (high - low) / 2;
                (holds(mid) == held ? low : high) = mid;
            }
            if (now) {
                runs.push_back({high, high});
            } else {
                runs.back().last = low;
            }
        }
        if (now) {
            runs.back().last = k;
        }
        previous = k;
        held = now;
    }
    return runs;
}
