#pragma once

// slopecalc's single calculation, which a study repeats.

#include "calculators/rowform.h"
#include "cli/options.h"
#include "core/record.h"
#include "report/report.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

// One calculation as slopecalc prints it.
struct SingleRun {
    const subprogram::Calculator* calculator;
    std::vector<std::pair<std::string, std::string>> results;          // name, text: as written
    std::vector<std::pair<std::string, subprogram::Outcome>> verdicts; // of one that succeeded
    std::optional<RowFailure> failure;
    std::string failedText; // the text of a field that could not be read
    std::string message;    // "13: TypeMismatch (a=\"x\")"
    std::optional<subprogram::PressureDiagram> diagram; // --diagram's, of one that succeeded
    std::optional<subprogram::Profile> profile;         // the same, of a calculator that has one
};

// One calculation of the options' calculator and variant: a batch of one row with no cells, its
// fields read from NAME=TEXT or their defaults. With `record`, what it reads, forms and writes is
// recorded for a trace or a report.
SingleRun calculate(const Options& options, CalculationRecord* record,
                    std::optional<ReportContext>* context);
