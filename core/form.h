#pragma once

#include "core/calcerror.h"
#include "core/numerictext.h"

#include <cstdint>
#include <string>
#include <string_view>

// A calculator's field, and one of its results, by its place in the calculator's table of
// fields or results. A calculation names what it reads and writes by these handles, which its
// description declares from the names in its tables (a misspelt name does not compile: see
// fieldNamed in calculators/calculator.h).
struct FieldId {
    std::uint16_t index;
    friend constexpr bool operator==(FieldId, FieldId) = default;
};
struct ResultId {
    std::uint16_t index;
    friend constexpr bool operator==(ResultId, ResultId) = default;
};

// A failed read of a field: the failure together with the field.
class FieldError : public CalcError {
  public:
    FieldError(const CalcError& error, FieldId field) : CalcError(error), field_(field) {}
    FieldId field() const { return field_; }

  private:
    FieldId field_;
};

// The fields of one calculator as texts: what a calculation reads and writes. A window is one,
// the command line's rows are another, so both run the very same calculation: the same
// conversions in the same order, the same first failure, the same writes.
//
// The contract a calculation's author relies on:
// - A read either gives the field's value or fails with a FieldError naming the field. A form
//   may instead hand back a substitute and let the calculation run on (the command line's rows
//   do, since an exception costs as much as several rows): it then remembers the first read that
//   failed, drops every write after it, and reports that read's failure for the calculation,
//   whatever failed after it. So a calculation must not act on a value read, beyond computing
//   with it, in a way that a substitute could make endless or unsafe; the substitute is the
//   field's default (or 1 when that is no number).
// - The first failure wins: a read that failed before a routine's failure is the one reported.
// - A write of a result that is no number (an infinity, a NaN) raises Overflow before anything
//   is written; writes before a failure stay as they were written.
class Form {
  public:
    virtual ~Form() = default;
    virtual std::string text(FieldId field) const = 0;
    // Whether the field's text is empty (an optional input left so): as text(field).empty().
    virtual bool blank(FieldId field) const { return text(field).empty(); }
    virtual void setText(ResultId result, const std::string& text) = 0;
    // A result, shown as its precision's text.
    virtual void setDouble(ResultId result, double value) { setText(result, doubleToText(value)); }
    virtual void setSingle(ResultId result, float value) { setText(result, singleToText(value)); }

    // A field whose text chooses one of a few fixed words (an end support): the value of the
    // word, as the window's list or the command line knows it, or the calculator's value for
    // any other text. The words are mapped where they are shown, never inside a calculation.
    virtual int choice(FieldId field) const = 0;

    // False for a value beyond the window (the beam's span lengths): the window has no field
    // for it, and a calculation then goes without it.
    virtual bool holds(FieldId /*field*/) const { return true; }

    // Reads a field with any conversion of its text; a CalcError names the field.
    template <typename Convert> auto readWith(FieldId field, Convert convert) const {
        const std::string t = text(field);
        try {
            return convert(std::string_view(t));
        } catch (const CalcError& error) {
            throw FieldError(error, field);
        }
    }

    // The two usual conversions fail with one exception, the field's. A form that holds its
    // texts where they can be read in place (a batch's rows) reads them there.
    virtual double readDouble(FieldId field) const {
        ErrorKind error{};
        if (double value = 0; ::readDouble(text(field), value, error)) {
            return value;
        }
        throw FieldError(CalcError(error), field);
    }
    virtual float readSingle(FieldId field) const {
        ErrorKind error{};
        if (float value = 0; ::readSingle(text(field), value, error)) {
            return value;
        }
        throw FieldError(CalcError(error), field);
    }
};
