#pragma once

#include "calculators/study.h"
#include "cli/options.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

// Studies of one input: the calculation repeated over values of one field, the other fields as
// given (or their defaults).

// The values of --vary: NAME=FROM:TO:N, N values at equal steps with FROM and TO among them
// (N ≥ 2), or NAME=v1;v2;… the values listed, as texts the field reads.
struct Variation {
    std::string name;
    std::vector<std::string> values;             // listed,
    std::optional<subprogram::StudyRange> range; // or at equal steps, formed as they are read
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
    bool precisionGiven = false; // else a field of standard sizes (bar diameters) tries those
};
LeastSearch parseLeastSearch(const subprogram::Calculator& calculator, const std::string& spec);

// slopecalc CALC … --least SPEC: NAME=value and the results of the calculation at the least value
// of the range where every check holds (status 0), the other runs where they all hold on standard
// error; status 1 and a message when no value does.
int runLeastSearch(const Options& options, std::ostream& out, std::ostream& err);

// The text a study gives the field for a value: the value to 15 significant digits, which is what
// the field then reads.
std::string studyValueText(double value);
