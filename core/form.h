#pragma once

#include "core/calcerror.h"
#include "core/numerictext.h"

#include <string>
#include <string_view>

// A failed read of a field: the failure together with the field's name.
class FieldError : public CalcError {
  public:
    FieldError(const CalcError& error, std::string field)
        : CalcError(error), field_(std::move(field)) {}
    const std::string& field() const { return field_; }

  private:
    std::string field_;
};

// The fields of one calculator, as texts by field name: what a calculation reads and writes.
// A window is one, the command line is another, so both run the very same calculation: the
// same conversions in the same order, the same first failure, the same writes.
class Form {
  public:
    virtual ~Form() = default;
    virtual std::string text(std::string_view field) const = 0;
    virtual void setText(std::string_view field, const std::string& text) = 0;
    // A result, shown as its precision's text; a value that is no number raises Overflow before
    // anything is written.
    virtual void setDouble(std::string_view field, double value) {
        setText(field, doubleToText(value));
    }
    virtual void setSingle(std::string_view field, float value) {
        setText(field, singleToText(value));
    }

    // A field whose text chooses one of a few fixed words (an end support): the value of the
    // word, as the window's list or the command line knows it, or the calculator's value for
    // any other text. The words are mapped where they are shown, never inside a calculation.
    virtual int choice(std::string_view field) const = 0;

    // False for a value beyond the window (the beam's span lengths): the window has no field
    // for it, and a calculation then goes without it.
    virtual bool holds(std::string_view /*field*/) const { return true; }

    // Reads a field with any conversion of its text; a CalcError names the field.
    template <typename Convert> auto readWith(std::string_view field, Convert convert) const {
        const std::string t = text(field);
        try {
            return convert(std::string_view(t));
        } catch (const CalcError& error) {
            throw FieldError(error, std::string(field));
        }
    }

    // The two usual conversions fail with one exception, the field's. A form that holds its
    // texts where they can be read in place (a batch's rows) reads them there.
    virtual double readDouble(std::string_view field) const {
        ErrorKind error{};
        if (double value = 0; ::readDouble(text(field), value, error)) {
            return value;
        }
        throw FieldError(CalcError(error), std::string(field));
    }
    virtual float readSingle(std::string_view field) const {
        ErrorKind error{};
        if (float value = 0; ::readSingle(text(field), value, error)) {
            return value;
        }
        throw FieldError(CalcError(error), std::string(field));
    }
};
