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
           "\n}\n";
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
                                          "inputs", "results", "stale",      "title"};
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
    return s;
}

} // namespace subprogram
