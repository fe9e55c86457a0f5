#include "savedcalculation.h"

#include "calculators/registry.h"
#include "core/json.h"

#include <algorithm>
#include <optional>

namespace subprogram {

namespace {

constexpr std::string_view kFormatName = "slope-support calculation";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// A result's key in the file: its name on the command line, or its field when it has none.
std::string_view keyOf(const Result& r) {
    return r.name.empty() ? r.control : r.name;
}

std::string keyedObject(const std::vector<std::pair<std::string, std::string>>& members) {
    std::string text = "{";
    for (std::size_t i = 0; i < members.size(); ++i) {
        text += (i ? ",\n    " : "\n    ") + json::quoted(members[i].first) + ": " +
                json::quoted(members[i].second);
    }
    return text + (members.empty() ? "}" : "\n  }");
}

[[noreturn]] void fail(const json::Value& at, std::string_view key, const std::string& english,
                       const std::string& chinese) {
    throw SavedFileError(at.line(), std::string(key), english, chinese);
}

json::Value member(const json::Value& object, std::string_view key, json::Value::Type type) {
    const std::optional<json::Value> v = object.member(key);
    if (!v) {
        fail(object, key, "missing", "缺少这个键");
    }
    if (v->type() != type) {
        fail(*v, key,
             type == json::Value::Type::String   ? "expected a text in quotes"
             : type == json::Value::Type::Object ? "expected { … }"
                                                 : "expected a different kind of value",
             type == json::Value::Type::String   ? "应为带引号的文本"
             : type == json::Value::Type::Object ? "应为 { … }"
                                                 : "值的类型不对");
    }
    return *v;
}

// The texts of an object whose keys must all be known; `known(key)` gives the window field.
template <typename Known>
std::vector<std::pair<std::string, std::string>> texts(const json::Value& object, Known known) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto& [key, value] : object.members()) {
        const std::string_view field = known(key);
        if (field.empty()) {
            fail(value, key, "unknown key", "未知的键");
        }
        if (value.type() != json::Value::Type::String) {
            fail(value, key, "expected a text in quotes", "应为带引号的文本");
        }
        out.emplace_back(std::string(field), value.text());
    }
    return out;
}

// The version of the file, one this program reads; else what is wrong with it: a newer one, or
// none it ever wrote.
int checkVersion(const json::Value& version) {
    const std::string_view text = version.text();
    const std::string mine = std::to_string(kSavedFormat);
    for (int v = 1; v <= kSavedFormat; ++v) {
        if (text == std::to_string(v)) {
            return v;
        }
    }
    const bool whole = text.find_first_not_of("0123456789") == std::string_view::npos;
    if (whole && (text.size() > mine.size() || (text.size() == mine.size() && text > mine))) {
        fail(version, "version",
             "format " + std::string(text) + ", this program reads formats up to " + mine +
                 " (saved by a newer version?)",
             "文件格式为 " + std::string(text) + "，本程序只能读取格式 " + mine + " 及更早的格式" +
                 "（可能由更新的版本保存）");
    }
    fail(version, "version",
         "the format is a whole number from 1 to " + mine + ", not " + std::string(text),
         "文件格式应为 1 至 " + mine + " 的整数，而不是 " + std::string(text));
}

} // namespace

SavedFileError::SavedFileError(int line, std::string key, std::string english, std::string chinese)
    : english_("line " + std::to_string(line) + (key.empty() ? "" : ", key \"" + key + "\"") +
               ": " + english),
      chinese_("第 " + std::to_string(line) + " 行" + (key.empty() ? "" : "，键“" + key + "”") +
               "：" + chinese) {}

namespace {

std::string studyText(const SavedStudy& study) {
    std::string text = "{\"field\": " + json::quoted(study.field);
    if (study.count >= 2) {
        text += ", \"from\": " + json::quoted(study.from) + ", \"to\": " + json::quoted(study.to) +
                ", \"count\": " + std::to_string(study.count);
    } else {
        text += ", \"values\": [";
        for (std::size_t i = 0; i < study.values.size(); ++i) {
            text += (i ? ", " : "") + json::quoted(study.values[i]);
        }
        text += "]";
    }
    text += ", \"result\": " + json::quoted(study.result) + ", \"inputs\": {";
    for (std::size_t i = 0; i < study.inputs.size(); ++i) {
        text += (i ? ", " : "") + json::quoted(study.inputs[i].first) + ": " +
                json::quoted(study.inputs[i].second);
    }
    return text + "}, \"least\": " + json::quoted(study.least) + "}";
}

// A study as the file holds it; what is wrong with it names its line and key.
SavedStudy readStudy(const Calculator& c, const json::Value& item) {
    using T = json::Value::Type;
    if (item.type() != T::Object) {
        fail(item, "studies", "expected { … }", "应为 { … }");
    }
    constexpr std::string_view kKeys[] = {"field", "values", "from",   "to",
                                          "count", "result", "inputs", "least"};
    for (const auto& [key, value] : item.members()) {
        if (std::find(std::begin(kKeys), std::end(kKeys), key) == std::end(kKeys)) {
            fail(value, key, "unknown key", "未知的键");
        }
    }
    SavedStudy study;
    const json::Value field = member(item, "field", T::String);
    study.field = field.text();
    if (const Field* f = c.field(study.field); !f || f->control.empty()) {
        fail(field, "field", "not a field of the window", "不是窗口的输入项");
    }
    if (item.member("values")) {
        for (const json::Member m : member(item, "values", T::Array).items()) {
            if (m.value.type() != T::String) {
                fail(m.value, "values", "expected a text in quotes", "应为带引号的文本");
            }
            study.values.emplace_back(m.value.text());
        }
    } else {
        study.from = member(item, "from", T::String).text();
        study.to = member(item, "to", T::String).text();
        const json::Value count = member(item, "count", T::Number);
        const std::string_view n = count.text();
        if (n.empty() || n.size() > 7 || n.find_first_not_of("0123456789") != n.npos ||
            std::stoi(std::string(n)) < 2 || std::stoi(std::string(n)) > 1000000) {
            fail(count, "count", "a whole number from 2 to 1000000", "应为 2 至 1000000 的整数");
        }
        study.count = std::stoi(std::string(n));
    }
    const json::Value result = member(item, "result", T::String);
    study.result = result.text();
    if (std::none_of(c.results.begin(), c.results.end(),
                     [&](const Result& r) { return !r.hidden && keyOf(r) == study.result; })) {
        fail(result, "result", "not a result's name", "不是结果的名称");
    }
    study.inputs = texts(member(item, "inputs", T::Object), [&](std::string_view key) {
        const Field* f = c.field(key);
        return f ? f->name : std::string_view();
    });
    if (item.member("least")) {
        study.least = member(item, "least", T::String).text();
    }
    return study;
}

} // namespace

std::string savedCalculationText(const SavedCalculation& s) {
    const Calculator& c = *s.calculator;
    std::vector<std::pair<std::string, std::string>> inputs, results;
    for (const Field& f : c.fields) {
        for (const auto& [field, text] : s.inputs) {
            if (field == Calculator::place(f)) {
                inputs.emplace_back(std::string(f.name), text);
            }
        }
    }
    for (const Result& r : c.results) {
        for (const auto& [field, text] : s.results) {
            if (field == r.control) {
                results.emplace_back(std::string(keyOf(r)), text);
            }
        }
    }
    std::string stale;
    for (const std::string& field : s.stale) {
        stale += (stale.empty() ? "" : ", ") + json::quoted(keyOf(*c.result(field)));
    }
    std::string studies;
    for (const SavedStudy& study : s.studies) {
        studies += (studies.empty() ? "\n    " : ",\n    ") + studyText(study);
    }
    if (!studies.empty()) {
        studies += "\n  ";
    }
    return "{\n  \"format\": " + json::quoted(kFormatName) +
           ",\n  \"version\": " + std::to_string(kSavedFormat) +
           ",\n  \"calculator\": " + json::quoted(c.command) +
           ",\n  \"variant\": " + json::quoted(c.variant(s.variant).name) +
           ",\n  \"saved\": " + json::quoted(s.saved) + ",\n  \"inputs\": " + keyedObject(inputs) +
           ",\n  \"results\": " + keyedObject(results) + ",\n  \"stale\": [" + stale + "]" +
           ",\n  \"title\": " +
           keyedObject({{"project", s.title.project},
                        {"designer", s.title.designer},
                        {"checker", s.title.checker}}) +
           ",\n  \"studies\": [" + studies + "]\n}\n";
}

SavedCalculation readSavedCalculation(std::string_view text) {
    if (text.starts_with(kByteOrderMark)) { // Windows Notepad writes one
        text.remove_prefix(kByteOrderMark.size());
    }
    json::Document document;
    try {
        document = json::parse(text);
    } catch (const json::Error& e) {
        throw SavedFileError(e.line(), {}, std::string("not JSON: ") + e.what(),
                             std::string("不是有效的 JSON（") + e.what() + "）");
    }
    using T = json::Value::Type;
    const json::Value file = document.root();
    const std::optional<json::Value> format = file.member("format");
    if (file.type() != T::Object || !format || format->text() != kFormatName) {
        fail(file, "format", "not a calculation saved by this program", "不是本程序保存的计算文件");
    }
    const int version = checkVersion(member(file, "version", T::Number));
    constexpr std::string_view kKeys[] = {"format", "version", "calculator", "variant", "saved",
                                          "inputs", "results", "stale",      "title",   "studies"};
    for (const auto& [key, value] : file.members()) {
        if (std::find(std::begin(kKeys), std::end(kKeys), key) == std::end(kKeys)) {
            fail(value, key, "unknown key", "未知的键");
        }
    }
    SavedCalculation s;
    const json::Value calculator = member(file, "calculator", T::String);
    const std::string name(calculator.text());
    s.calculator = calculatorByCommand(name);
    if (!s.calculator) {
        fail(calculator, "calculator", "unknown calculator \"" + name + "\"",
             "未知的计算“" + name + "”");
    }
    const Calculator& c = *s.calculator;
    const json::Value variant = member(file, "variant", T::String);
    const auto v = std::find_if(c.variants.begin(), c.variants.end(),
                                [&](const Variant& v) { return v.name == variant.text(); });
    if (v == c.variants.end()) {
        fail(variant, "variant", "unknown variant \"" + std::string(variant.text()) + "\"",
             "未知的类型“" + std::string(variant.text()) + "”");
    }
    s.variant = v->value;
    s.saved = member(file, "saved", T::String).text();
    const json::Value inputs = member(file, "inputs", T::Object);
    s.inputs = texts(inputs, [&](std::string_view key) {
        const Field* f = c.field(key);
        return f && !f->control.empty() ? f->control : std::string_view();
    });
    for (const Field& f : c.fields) {
        if (!f.control.empty() && !inputs.member(f.name)) {
            if (f.since <= version) {
                fail(inputs, f.name, "missing", "缺少这个键");
            }
            s.inputs.emplace_back(std::string(f.control), std::string(f.defaultText));
        }
    }
    const auto resultField = [&](std::string_view key) {
        for (const Result& r : c.results) {
            if (keyOf(r) == key) {
                return r.control;
            }
        }
        return std::string_view();
    };
    s.results = texts(member(file, "results", T::Object), resultField);
    for (const json::Member m : member(file, "stale", T::Array).items()) {
        const json::Value item = m.value;
        if (item.type() != T::String || resultField(item.text()).empty()) {
            fail(item, "stale", "not a result's name", "不是结果的名称");
        }
        s.stale.emplace_back(resultField(item.text()));
    }
    if (version >= 2 || file.member("title")) { // a first version's file may carry one too
        const json::Value title = member(file, "title", T::Object);
        for (const auto& [key, value] : title.members()) {
            if (key != "project" && key != "designer" && key != "checker") {
                fail(value, key, "unknown key", "未知的键");
            }
        }
        s.title = {std::string(member(title, "project", T::String).text()),
                   std::string(member(title, "designer", T::String).text()),
                   std::string(member(title, "checker", T::String).text())};
    }
    if (file.member("studies")) {
        for (const json::Member m : member(file, "studies", T::Array).items()) {
            s.studies.push_back(readStudy(c, m.value));
        }
    }
    return s;
}

} // namespace subprogram
