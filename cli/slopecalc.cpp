#include "slopecalc.h"

#include "cli/single.h"
#include "cli/study.h"

#include "calculators/rowform.h"
#include "cli/batch.h"
#include "cli/fdstream.h"
#include "cli/options.h"
#include "core/json.h"
#include "core/stop.h"
#include "core/wholefile.h"
#include "report/report.h"

#include <cmath>
#include <cstring>
#include <ctime>
#include <optional>
#include <ostream>

using subprogram::Calculator;
using subprogram::Field;

SingleRun calculate(const Options& options, CalculationRecord* record,
                    std::optional<ReportContext>* context) {
    const Calculator& calculator = *options.calculator;
    const Columns columns = outputColumns(calculator, calculator.variant(options.variant));
    std::vector<bool> given;
    for (const Field& f : calculator.fields) {
        given.push_back(options.values.contains(std::string(f.name)));
    }
    RowForm form(calculator, startingTexts(calculator, options.values), {}, std::move(given),
                 columns);
    form.start({});
    const auto calculation = [&](Form& fields, Trace* trace) {
        calculator.calculate(options.variant, fields, trace);
    };
    SingleRun outcome{&calculator, {}, {}, {}, {}, {}, {}, {}};
    outcome.failure = form.run([&] {
        record ? recordCalculation(form, *record, calculation) : calculation(form, nullptr);
    });
    if (outcome.failure) {
        outcome.message = failureText(*outcome.failure, calculator, form, true);
        if (outcome.failure->field) {
            outcome.failedText = form.text(*outcome.failure->field);
        }
    }
    if (context) {
        *context = reportContext(calculator, options.variant, form, *record);
    }
    const auto cellText = [&](std::size_t column) {
        std::string text;
        form.appendCell(text, column, false);
        return text;
    };
    const std::size_t results = columns.names.size() - calculator.verdicts.size();
    std::vector<bool> beyond(results); // printed empty when a calculation did not form it
    for (const subprogram::Result& r : calculator.results) {
        if (const std::size_t c = columns.ofResult[calculator.id(r).index]; c < results) {
            beyond[c] = r.beyond || !r.absent.empty();
        }
    }
    for (std::size_t c = 0; c < results; ++c) {
        if (form.written(c)) {
            outcome.results.emplace_back(columns.names[c], cellText(c));
        } else if (beyond[c] && !outcome.failure) { // it could not be formed
            outcome.results.emplace_back(columns.names[c], std::string());
        }
    }
    if (!outcome.failure) {
        const RowResults written(form, cellText);
        const auto judgements = subprogram::judge(calculator, options.variant, form, written);
        for (std::size_t v = 0; v < judgements.size(); ++v) {
            if (judgements[v].outcome == subprogram::Outcome::Absent) {
                continue; // a check of a part the calculation does not have
            }
            outcome.verdicts.emplace_back(columns.names[columns.ofVerdict[v]],
                                          judgements[v].outcome);
        }
        if (options.diagramSteps > 0 && calculator.profile) {
            outcome.profile = calculator.profile(options.variant, form, options.diagramSteps);
        } else if (options.diagramSteps > 0) {
            if (const auto setting = calculator.pressure(options.variant, form, written)) {
                outcome.diagram = subprogram::pressureDiagram(setting->law, setting->height,
                                                              options.diagramSteps);
            }
        }
    }
    return outcome;
}

namespace {

std::string valueText(const Trace::Entry& e) {
    return e.single ? singleToText(static_cast<float>(e.value)) : doubleToText(e.value);
}

// A depth or a pressure of the diagram as the program writes a double; a value the law cannot
// give (a root of a negative number on a wall the routine refuses) as null.
std::string diagramCell(double value) {
    return std::isfinite(value) ? doubleToText(value) : "null";
}

// Every written number is a JSON number: "1.5E-05" and "-0.5" are; a result in words (a
// slope's state, "稳定") is a JSON string.
void printJson(const SingleRun& outcome, const Trace* trace, std::ostream& out) {
    out << "{";
    const char* separator = "";
    for (const auto& [name, text] : outcome.results) {
        double number = 0;
        ErrorKind error{};
        out << separator << json::quoted(name) << ": "
            << (text.empty()                        ? "null"
                : ::readDouble(text, number, error) ? text
                                                    : json::quoted(text));
        separator = ", ";
    }
    for (const auto& [name, judged] : outcome.verdicts) {
        out << separator << json::quoted(name) << ": "
            << (judged == subprogram::Outcome::NotChecked ? "null"
                : judged == subprogram::Outcome::Met      ? "true"
                                                          : "false");
    }
    if (outcome.profile) {
        out << separator << "\"diagram\": [";
        for (std::size_t i = 0; i < outcome.profile->rows.size(); ++i) {
            out << (i ? ", [" : "[");
            for (std::size_t c = 0; c < outcome.profile->rows[i].size(); ++c) {
                out << (c ? ", " : "") << diagramCell(outcome.profile->rows[i][c]);
            }
            out << "]";
        }
        out << "]";
        separator = ", ";
    }
    if (outcome.diagram) {
        out << separator << "\"diagram\": [";
        for (std::size_t i = 0; i < outcome.diagram->depths.size(); ++i) {
            out << (i ? ", [" : "[") << diagramCell(outcome.diagram->depths[i]) << ", "
                << diagramCell(outcome.diagram->values[i]);
            if (!outcome.diagram->water.empty()) {
                out << ", " << diagramCell(outcome.diagram->water[i]);
            }
            out << "]";
        }
        out << "]";
        separator = ", ";
    }
    if (trace) {
        out << separator << "\"trace\": [";
        const char* comma = "";
        for (const Trace::Entry& e : trace->entries()) {
            if (e.remark.empty()) {
                out << comma << "{\"step\": " << json::quoted(e.step)
                    << ", \"name\": " << json::quoted(e.name) << ", \"value\": " << valueText(e)
                    << "}";
                comma = ", ";
            }
        }
        out << "]";
        separator = ", ";
    }
    if (outcome.failure) {
        const RowFailure& f = *outcome.failure;
        out << separator << "\"error\": {\"number\": " << static_cast<int>(f.kind)
            << ", \"kind\": " << json::quoted(kindName(f.kind));
        if (f.field) {
            out << ", \"parameter\": "
                << json::quoted(outcome.calculator->fields[f.field->index].name)
                << ", \"text\": " << json::quoted(outcome.failedText);
        }
        if (!f.reason.empty()) {
            out << ", \"reason\": " << json::quoted(f.reason);
        }
        out << "}";
    }
    out << "}\n";
}

// Every value the calculation formed, after the results, as the fields would write it.
void printTrace(const Trace& trace, std::ostream& out) {
    for (const Trace::Entry& e : trace.entries()) {
        if (e.remark.empty()) {
            out << e.name << '=' << valueText(e) << '\n';
        }
    }
}

std::string localTime() {
    const std::time_t now = std::time(nullptr);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", std::localtime(&now));
    return text;
}

// Written whole or not at all: a failed write leaves the file that was there.
void writeReport(ReportContext context, const CalculationRecord& record, const std::string& path,
                 const subprogram::TitleBlock& title) {
    context.timestamp = localTime();
    context.project = title.project;
    context.designer = title.designer;
    context.checker = title.checker;
    if (const auto error = writeWholeFile(path, reportHtml(context, record))) {
        throw NotWritten("cannot write " + escapedForLine(path) + ": " + error->text());
    }
}

int run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err) {
    const Options options = parseArguments(args);
    if (options.version) {
        out << "slopecalc " << kSlopecalcVersion << '\n';
        return kCalculated;
    }
    if (options.help) {
        options.calculator ? printCommandHelp(*options.calculator, out) : printGeneralHelp(out);
        return kCalculated;
    }
    if (options.csvFile) {
        return runCsv(options, in, out, err);
    }
    if (options.vary) {
        return runVariation(options, out, err);
    }
    if (options.least) {
        return runLeastSearch(options, out, err);
    }
    CalculationRecord record;
    std::optional<ReportContext> context;
    const bool recording = options.trace || options.reportFile;
    const SingleRun outcome =
        calculate(options, recording ? &record : nullptr, options.reportFile ? &context : nullptr);
    if (options.json) {
        printJson(outcome, options.trace ? &record.trace : nullptr, out);
    } else {
        for (const auto& [name, text] : outcome.results) {
            out << name << '=' << text << '\n';
        }
        for (const auto& [name, judged] : outcome.verdicts) {
            out << name << '=' << outcomeWord(judged) << '\n';
        }
        if (options.trace) {
            printTrace(record.trace, out);
        }
        if (outcome.profile) {
            for (std::size_t c = 0; c < outcome.profile->columns.size(); ++c) {
                out << (c ? "," : "") << outcome.profile->columns[c];
            }
            out << '\n';
            for (const std::vector<double>& row : outcome.profile->rows) {
                for (std::size_t c = 0; c < row.size(); ++c) {
                    out << (c ? "," : "") << diagramCell(row[c]);
                }
                out << '\n';
            }
        }
        if (outcome.diagram) {
            const bool water = !outcome.diagram->water.empty();
            out << (water ? "z,p_earth,p_water\n" : "z,p\n");
            for (std::size_t i = 0; i < outcome.diagram->depths.size(); ++i) {
                out << diagramCell(outcome.diagram->depths[i]) << ','
                    << diagramCell(outcome.diagram->values[i]);
                if (water) {
                    out << ',' << diagramCell(outcome.diagram->water[i]);
                }
                out << '\n';
            }
        }
    }
    if (outcome.failure && !options.json) {
        err << "error " << outcome.message << '\n';
    }
    // the results first: a report that cannot be written takes nothing from them
    if (options.reportFile) { // /dev/stdout and /dev/stderr take it after what they hold
        out.flush();
        err.flush();
        writeReport(*context, record, *options.reportFile, options.title);
    }
    return outcome.failure ? kFailed : kCalculated;
}

} // namespace

int runSlopecalc(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                 std::ostream& err) {
    int status = kCalculated;
    try {
        status = run(args, in, out, err);
    } catch (const UsageError& error) {
        err << "slopecalc: " << error.what() << '\n';
        return kUsage;
    } catch (const NotWritten& error) {
        err << "slopecalc: " << error.what() << '\n';
        status = kNotWritten;
    } catch (const Stopped&) { // a stop signal within a calculation, before anything was written
        err << "slopecalc: stopped by signal " << stopSignal()
            << "; the calculation is dropped, nothing of it is written\n";
        return kFailed;
    }
    if (!out.flush() && !stopSignal()) { // a stop drops what its reader does not take
        const int error = streamError(out);
        err << "slopecalc: cannot write standard output"
            << (error ? std::string(": ") + std::strerror(error) : std::string()) << '\n';
        return kNotWritten;
    }
    return status;
}
