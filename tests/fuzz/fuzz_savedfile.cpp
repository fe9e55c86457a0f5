#include "calculators/registry.h"
#include "calculators/savedcalculation.h"
#include "core/json.h"
#include "core/utf8.h"

#include <algorithm>
#include <cstdint>
#include <string>

using namespace subprogram;

namespace {

void check(bool holds) {
    if (!holds) {
        __builtin_trap();
    }
}

bool same(const SavedCalculation& a, const SavedCalculation& b) {
    return a.calculator == b.calculator && a.variant == b.variant && a.inputs == b.inputs &&
           a.results == b.results && a.stale == b.stale && a.saved == b.saved &&
           a.title == b.title && a.studies == b.studies;
}

// Every value of a parsed document, walked to its leaves: strings are UTF-8, lines in the text.
void walk(const json::Value& v, int lines) {
    check(v.line() >= 1 && v.line() <= lines);
    if (v.type() == json::Value::Type::String) {
        check(utf8::valid(v.text()));
    }
    for (const json::Member m : v.type() == json::Value::Type::Object ? v.members() : v.items()) {
        walk(m.value, lines);
    }
}

// What is refused names a line of the text; what is read is written again and reads back equal.
void readAndRoundTrip(const std::string& text) {
    const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
    try {
        walk(json::parse(text).root(), lines);
    } catch (const json::Error& e) {
        check(e.line() >= 1 && e.line() <= lines);
    }
    try {
        const SavedCalculation saved = readSavedCalculation(text);
        const std::string written = savedCalculationText(saved);
        const SavedCalculation back = readSavedCalculation(written);
        check(same(saved, back) && savedCalculationText(back) == written);
    } catch (const SavedFileError& e) {
        const std::string what = e.what();
        check(what.starts_with("line "));
        const int line = std::stoi(what.substr(5));
        check(line >= 1 && line <= lines);
    }
}

// A calculation with texts taken from the data (as UTF-8, which is all a window holds): written,
// it reads back equal.
void writeAndReadBack(const std::string& data) {
    if (data.size() < 2) {
        return;
    }
    const auto all = calculators();
    SavedCalculation s;
    s.calculator = all[static_cast<unsigned char>(data[0]) % all.size()];
    const Calculator& c = *s.calculator;
    s.variant = c.variants[static_cast<unsigned char>(data[1]) % c.variants.size()].value;
    const std::string texts = utf8::replacingInvalid(data.substr(2));
    std::size_t at = 0;
    const auto next = [&] { // the texts between the data's zero bytes, in turn
        const std::size_t end = std::min(texts.find('\0', at), texts.size());
        std::string text = texts.substr(std::min(at, texts.size()), end - std::min(at, end));
        at = end + 1;
        return text;
    };
    s.saved = next();
    for (const Field& f : c.fields) {
        if (!f.control.empty()) {
            s.inputs.emplace_back(f.control, next());
        }
    }
    for (const Result& r : c.results) {
        if (r.control.empty()) {
            continue; // beyond the window, as the window saves
        }
        s.results.emplace_back(r.control, next());
        if (s.results.back().second.size() % 3 == 1) {
            s.stale.emplace_back(r.control);
        }
    }
    // a study of the first field of the window, a list of texts or a range of them, charted on the
    // first result a command line names, with the next texts as its inputs and least value
    const auto named = std::find_if(c.results.begin(), c.results.end(),
                                    [](const Result& r) { return !r.name.empty() && !r.hidden; });
    const auto shown = std::find_if(c.fields.begin(), c.fields.end(),
                                    [](const Field& f) { return !f.control.empty(); });
    if (named != c.results.end() && shown != c.fields.end()) {
        subprogram::SavedStudy study{.field = std::string(shown->name),
                                     .result = std::string(named->name)};
        const std::string first = next();
        if (first.size() % 2 == 0) {
            study.values = {first, next()};
        } else {
            study.from = first, study.to = next(), study.count = 2 + int(first.size());
        }
        for (const Field& f : c.fields) {
            study.inputs.emplace_back(f.name, next());
        }
        study.least = next();
        s.studies.push_back(std::move(study));
    }
    check(same(readSavedCalculation(savedCalculationText(s)), s));
}

} // namespace

// Random bytes as a saved file, and as the texts of a calculation to save.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    readAndRoundTrip(text);
    writeAndReadBack(text);
    return 0;
}
