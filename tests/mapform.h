#pragma once

#include "calculators/calculator.h"

#include <map>
#include <string>

// A calculator's fields as a plain map, at their defaults: what a window holds when it opens.
class MapForm : public Form {
  public:
    explicit MapForm(const subprogram::Calculator& calculator) : calculator_(calculator) {
        for (const subprogram::Field& f : calculator.fields) {
            texts[std::string(subprogram::Calculator::place(f))] = f.defaultText;
        }
        for (const subprogram::Result& r : calculator.results) {
            texts[std::string(r.control)] = r.defaultText;
        }
    }
    std::string text(std::string_view field) const override {
        const auto it = texts.find(field);
        return it == texts.end() ? std::string() : it->second;
    }
    void setText(std::string_view field, const std::string& text) override {
        texts[std::string(field)] = text;
    }
    int choice(std::string_view field) const override {
        const subprogram::Field* f = calculator_.fieldOfControl(field);
        for (const subprogram::Choice& c : f->choices) {
            if (c.text == text(field)) {
                return c.value;
            }
        }
        return f->otherChoice;
    }
    std::map<std::string, std::string, std::less<>> texts;

  private:
    const subprogram::Calculator& calculator_;
};
