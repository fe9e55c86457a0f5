#pragma once

#include "core/form.h"
#include "core/trace.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

// One calculation as it ran: what it read and wrote, every value it formed, and where it stopped.
struct CalculationRecord {
    std::vector<std::pair<FieldId, std::string>> inputs;  // in reading order, each field once
    std::vector<std::pair<ResultId, std::string>> writes; // in writing order
    Trace trace;
    struct Failure {
        ErrorKind kind;
        std::string step;             // where it stopped
        std::optional<FieldId> field; // the field that could not be read, if that was the failure
        std::string reason;           // what is wrong, in words, where the kind does not say it
    };
    std::optional<Failure> failure;

    // The text a field was read with; none when it was not read.
    std::optional<std::string> input(FieldId field) const;
    // The last text written into a result; empty when none was.
    std::string written(ResultId result) const;
};

// A Form over another that records what the calculation reads and writes.
class RecordingForm : public Form {
  public:
    RecordingForm(Form& inner, CalculationRecord& record) : inner_(inner), record_(record) {}
    std::string text(FieldId field) const override;
    // read through text(), so that the record holds the field as read
    bool blank(FieldId field) const override { return text(field).empty(); }
    void setText(ResultId result, const std::string& text) override;
    int choice(FieldId field) const override;
    bool holds(FieldId field) const override { return inner_.holds(field); }

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
        record.failure = CalculationRecord::Failure{error.kind(), record.trace.step(),
                                                    error.field(), std::string(error.reason())};
        throw;
    } catch (const CalcError& error) {
        record.failure = CalculationRecord::Failure{
            error.kind(), record.trace.step(), {}, std::string(error.reason())};
        throw;
    }
}
