#pragma once

#include "calculators/calculator.h"

#include <exception>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A calculation kept in a file (*.slope): its calculator, variant, every field's text as typed
// (the texts, not numbers: the texts are what the conversions read), the result texts and when it
// was saved. JSON, described in docs/usage.md.
namespace subprogram {

// The version this program writes; it reads every version up to it. 2 added the title block and
// the gravity wall's ground and bearing capacity.
inline constexpr int kSavedFormat = 2;
inline constexpr std::string_view kSavedSuffix = ".slope";

// The report's title block, which belongs to the calculation.
struct TitleBlock {
    std::string project, designer, checker;
    friend bool operator==(const TitleBlock&, const TitleBlock&) = default;
};

struct SavedCalculation {
    const Calculator* calculator = nullptr;
    int variant = 0;
    std::vector<std::pair<std::string, std::string>> inputs;  // window field → text
    std::vector<std::pair<std::string, std::string>> results; // result field → text
    std::vector<std::string> stale; // result fields that held an earlier calculation's text
    std::string saved;              // when: "2026-12-07 10:15"
    TitleBlock title = {};
};

std::string savedCalculationText(const SavedCalculation& saved);

// What is wrong with a file that cannot be opened, with its line and key where they are known.
class SavedFileError : public std::exception {
  public:
    SavedFileError(int line, std::string key, std::string english, std::string chinese);
    const char* what() const noexcept override { return english_.c_str(); } // "line 3, key …"
    const std::string& chinese() const { return chinese_; }                 // "第 3 行，键…"

  private:
    std::string english_, chinese_;
};

// Reads a whole file; every field of the window must be there (but one added after the file's
// version, which takes its default text), nothing unknown may be.
SavedCalculation readSavedCalculation(std::string_view text);

} // namespace subprogram
