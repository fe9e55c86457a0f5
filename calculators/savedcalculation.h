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
// the gravity wall's ground and bearing capacity, 3 the studies added to the report, 5 the ground
// behind the gravity wall (strata, water, local loads, earthquake), 6 the required factors and
// limits the engineer may set, the limits of the slope's search for the critical circle and its
// least slip depth, 7 the anchor's kind (rock or soil), 8 the slope's polyline slip
// surface, interslice function, tension crack and strip loads.
inline constexpr int kSavedFormat = 8;
inline constexpr std::string_view kSavedSuffix = ".slope";

// The report's title block, which belongs to the calculation.
struct TitleBlock {
    std::string project, designer, checker;
    friend bool operator==(const TitleBlock&, const TitleBlock&) = default;
};

// A study added to the report, as it was asked for: the window runs it again when the file
// opens, so that the file stays small whatever the study (a range of a million values is three
// texts).
struct SavedStudy {
    std::string field = {};               // the field studied, by its command-line name
    std::vector<std::string> values = {}; // its values in order, for a list
    std::string from = {}, to = {};       // or a range of `count` values (count ≥ 2)
    int count = 0;
    std::string result = {}; // the charted result, by its key in the file
    std::vector<std::pair<std::string, std::string>> inputs = {}; // every field's text, by name
    std::string least = {}; // the least value that meets every check, as the window said it
    friend bool operator==(const SavedStudy&, const SavedStudy&) = default;
};

struct SavedCalculation {
    const Calculator* calculator = nullptr;
    int variant = 0;
    std::vector<std::pair<std::string, std::string>> inputs;  // window field → text
    std::vector<std::pair<std::string, std::string>> results; // result field → text
    std::vector<std::string> stale; // result fields that held an earlier calculation's text
    std::string saved;              // when: "2026-12-07 10:15"
    TitleBlock title = {};
    std::vector<SavedStudy> studies = {};
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
