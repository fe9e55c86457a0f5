#pragma once

#include "calculators/calculator.h"

#include <map>
#include <string>

// A calculator's fields and results as a plain map by window field (or name, beyond the window),
// at their defaults: what a window holds when it opens.
class MapForm : public Form {
  public:
    explicit MapForm(const subprogram::Calculator& calculator) : calculator_(calculator) {
        for (const subprogram::Field& f : calculator.fields) {
            texts[std::string(subprogram::Calculator::place(f))] = f.defaultText;
        }
        for (const subprogram::Result& r : calculator.results) {
            texts[std::string(key(r))] = r.defaultText;
        }
    }
    std::string text(FieldId field) const override {
        const auto it = texts.find(subprogram::Calculator::place(calculator_[field]));
        return it == texts.end() ? std::string() : it->second;
    }
    void setText(ResultId result, const std::string& text) override {
        texts[std::string(key(calculator_[result]))] = text;
    }
    int choice(FieldId field) const override {
        const subprogram::Field& f = calculator_[field];
        for (const subprogram::Choice& c : f.choices) {
            if (c.text == text(field)) {
                return c.value;
            }
        }
        return f.otherChoice;
    }
    std::map<std::string, std::string, std::less<>> texts;

  private:
    static std::string_view key(const subprogram::Result& r) {
        return r.control.empty() ? r.name : r.control;
    }
    const subprogram::Calculator& calculator_;
};
