#pragma once

#include "routines/beam.h"
#include "routines/calculators.h"
#include "routines/earthpressure.h"
#include "routines/gravitywall.h"
#include "routines/trace.h"
#include "shell/form.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

// Calculation reports (计算书): what a calculation read, the formulas with their values, every
// value it formed and what it wrote, as an HTML page for print, PDF and the browser. Every number
// is the text the fields show, or the conversion the fields use (15 or 7 digits).
namespace subprogram {

// One calculation as its report needs it.
struct CalculationRecord {
    std::vector<std::pair<std::string, std::string>> inputs; // field, text: in reading order
    std::vector<std::pair<std::string, std::string>> writes; // field, text: in writing order
    Trace trace;
    struct Failure {
        ErrorKind kind;
        std::string step;  // where it stopped
        std::string field; // the field that could not be read, if that was the failure
    };
    std::optional<Failure> failure;
};

// A Form over another that records what the calculation reads and writes.
class RecordingForm : public Form {
  public:
    RecordingForm(Form& inner, CalculationRecord& record) : inner_(inner), record_(record) {}
    std::string text(std::string_view field) const override;
    void setText(std::string_view field, const std::string& text) override;

  private:
    Form& inner_;
    CalculationRecord& record_;
};

// Runs `calculation(form, trace)` into a new record; a CalcError is recorded, then thrown on.
template <typename Calculation>
void recordCalculation(Form& form, CalculationRecord& record, Calculation calculation) {
    record = CalculationRecord{};
    RecordingForm recording(form, record);
    try {
        calculation(static_cast<Form&>(recording), &record.trace);
    } catch (const FieldError& error) {
        record.failure =
            CalculationRecord::Failure{error.kind(), record.trace.step(), error.field()};
        throw;
    } catch (const CalcError& error) {
        record.failure = CalculationRecord::Failure{error.kind(), record.trace.step(), {}};
        throw;
    }
}

// Which formulas a report writes out: each set follows one routine.
enum class FormulaSet {
    Coulomb,
    AtRest,
    LimitedFill,
    Anchor,
    UprightWall,
    ShelfWall,
    WallChecks,
    Beam
};

struct ReportContext {
    const CalculatorSpec* spec;
    std::string variant; // the mode, anchor kind, wall type or supports
    std::vector<FormulaSet> formulas;
    std::string timestamp; // date and time of the calculation
    std::string drawing;   // HTML of the window's sketch or drawing, or empty
};

std::string reportHtml(const ReportContext& context, const CalculationRecord& record);

// The context of each calculator's report, without its time and drawing.
ReportContext earthPressureReport(std::int16_t mode);
ReportContext anchorReport(bool permanent);
ReportContext gravityWallReport(WallType type);
ReportContext beamReport(std::string_view upper, std::string_view lower, std::string_view spans);

// The beam sketch as inline SVG, in the picture box's twips.
std::string sketchSvg(const BeamSketch& sketch);

} // namespace subprogram
