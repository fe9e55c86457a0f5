#pragma once

#include "core/form.h"
#include "core/trace.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

// One calculation as it ran: what it read and wrote, every value it formed, and where it stopped.
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

    // The text a field was read with; empty when it was not read.
    std::string input(std::string_view field) const;
};

// A Form over another that records what the calculation reads and writes.
class RecordingForm : public Form {
  public:
    RecordingForm(Form& inner, CalculationRecord& record) : inner_(inner), record_(record) {}
    std::string text(std::string_view field) const override;
    void setText(std::string_view field, const std::string& text) override;
    int choice(std::string_view field) const override;
    bool holds(std::string_view field) const override { return inner_.holds(field); }

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
