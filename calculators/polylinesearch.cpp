// The search for the critical slip surface of any shape: the critical circle by the same method,
// taken as a polyline, then its corners moved one number at a time by a pattern search (the ends
// along the ground, each corner across and up and down), while the surface stays one that a
// rigid mass can slide on: its base flattening from the upper end down.
#include "calculators/rigorous.h"
#include "calculators/searchmemory.h"
#include "calculators/slicing.h"
#include "core/stop.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace subprogram {

using namespace slicing;

namespace {

// The pieces of the polyline the circle becomes (then each piece halved).
constexpr int kFirstPieces = 6;
// The evaluations each stage may spend, the first step (of the section's extent), and the least.
constexpr int kBudget = 6000;
constexpr double kFirstStep = 0.05, kLeastStep = 1e-7;
// A base may bend back up this much (rad) from the one above it and still count as flattening:
// the rounding of a straight run.
constexpr double kBendBack = 1e-9;

// The numbers of a polyline: its ends' x on the ground, then each inner corner's x and y.
using Numbers = std::vector<double>;

std::vector<Point> lineOf(const std::vector<Point>& ground, const Numbers& n) {
    std::vector<Point> line{{n[0], heightAt(ground, n[0])}};
    for (std::size_t k = 2; k + 1 < n.size(); k += 2) {
        line.push_back({n[k], n[k + 1]});
    }
    line.push_back({n[1], heightAt(ground, n[1])});
    return line;
}

Numbers numbersOf(const std::vector<Point>& line) {
    Numbers n{line.front().x, line.back().x};
    for (std::size_t k = 1; k + 1 < line.size(); ++k) {
        n.insert(n.end(), {line[k].x, line[k].y});
    }
    return n;
}

class PolylineSearch {
  public:
    PolylineSearch(const SlopeSection& section, const SearchLimits& limits, Interslice function)
        : section_(section), limits_(limits), function_(function) {
        const std::vector<Point>& g = section.surface;
        const auto [low, high] = std::minmax_element(
            g.begin(), g.end(), [](const Point& a, const Point& b) { return a.y < b.y; });
        extent_ = std::max(g.back().x - g.front().x, high->y - low->y);
    }

    // The factor of the polyline the numbers name, infinite where it is none the search may take.
    double factor(const Numbers& n) {
        stopPoint();
        --budget_;
        const std::vector<Point> line = lineOf(section_.surface, n);
        if (!isLine(line) || !within(limits_.entry, n[0]) || !within(limits_.exit, n[1])) {
            return slicing::kInfinity;
        }
        for (std::size_t k = 2; k < line.size(); ++k) { // the bases flatten downwards
            const Point &a = line[k - 2], &b = line[k - 1], &c = line[k];
            if (std::atan2(c.y - b.y, c.x - b.x) < std::atan2(b.y - a.y, b.x - a.x) - kBendBack) {
                return slicing::kInfinity;
            }
        }
        try {
            const std::optional<double> Fs =
                rigorous::solveInFrame(section_, slicesInFrame(section_, line), function_).Fs;
            return Fs ? *Fs : slicing::kInfinity;
        } catch (const CalcError&) {
            return slicing::kInfinity;
        }
    }

    // A pattern search from `at`: each number in turn a step either way, the step doubled after
    // a move and halved after none, until every step is below the least or the budget is spent.
    std::pair<Numbers, double> refine(Numbers at, double value) {
        budget_ = kBudget;
        std::vector<double> step(at.size(), kFirstStep * extent_);
        while (budget_ > 0) {
            bool fine = true;
            for (std::size_t i = 0; i < at.size() && budget_ > 0; ++i) {
                if (step[i] < kLeastStep * extent_) {
                    continue;
                }
                fine = false;
                bool better = false;
                for (const double sign : {1.0, -1.0}) {
                    Numbers next = at;
                    next[i] += sign * step[i];
                    const double v = factor(next);
                    if (v < value) {
                        at = std::move(next);
                        value = v;
                        better = true;
                        break;
                    }
                }
                step[i] = better ? std::min(2 * step[i], kFirstStep * extent_) : step[i] / 2;
            }
            if (fine) {
                break;
            }
        }
        return {at, value};
    }

  private:
    static bool within(const std::optional<Range>& range, double x) {
        return !range || (x >= range->from && x <= range->to);
    }

    const SlopeSection& section_;
    const SearchLimits& limits_;
    Interslice function_;
    double extent_ = 1;
    int budget_ = kBudget;
};

// `pieces` pieces of the circle's arc between where it enters the ground and leaves it.
std::vector<Point> arcAsLine(const SlopeSection& s, const Circle& c, int pieces) {
    const auto [xa, xb] = entryAndExit(s.surface, c);
    std::vector<Point> line{{xa, heightAt(s.surface, xa)}};
    for (int k = 1; k < pieces; ++k) {
        const double x = xa + (xb - xa) * k / pieces;
        line.push_back({x, arcAt(c, x)});
    }
    line.push_back({xb, heightAt(s.surface, xb)});
    return line;
}

// Each piece of a polyline halved.
std::vector<Point> halved(const std::vector<Point>& line) {
    std::vector<Point> out{line.front()};
    for (std::size_t k = 1; k < line.size(); ++k) {
        out.push_back({(line[k - 1].x + line[k].x) / 2, (line[k - 1].y + line[k].y) / 2});
        out.push_back(line[k]);
    }
    return out;
}

} // namespace

namespace {

// What a search of any shape found: its line as typed, and the circle it began from.
struct Searched {
    std::vector<Point> line;
    std::optional<FoundCircle> circle;
};

Searched search(const SlopeSection& section, const SearchLimits& limits, Interslice function) {
    const RigorousSlide circular = criticalRigorous(section, limits, function);
    const Frame frame = slidingRight(section);
    const SearchLimits within = inFrame(frame, limits); // the ends' ranges are all it reads
    const Circle& c = *circular.circle;
    PolylineSearch search(frame.section, within, function);
    Numbers start = numbersOf(arcAsLine(frame.section, inFrame(frame, c), kFirstPieces));
    auto [at, value] = search.refine(start, search.factor(start));
    const FoundCircle began{c, circular.Fs.value_or(slicing::kInfinity)};
    if (!(value < slicing::kInfinity)) { // the circle's own polyline is refused: keep the circle
        return {{}, began};
    }
    const Numbers finer = numbersOf(halved(lineOf(frame.section.surface, at)));
    std::tie(at, value) = search.refine(finer, search.factor(finer));
    std::vector<Point> line = lineOf(frame.section.surface, at);
    return {frame.mirrored ? mirroredLine(line) : line, began};
}

// What the searches found lately.
SearchMemory<Searched> memory;

} // namespace

RigorousSlide criticalPolyline(const SlopeSection& section, const SearchLimits& limits,
                               Interslice function, Trace* trace) {
    const Searched found =
        memory.recall(section, limits, function, [&] { return search(section, limits, function); });
    if (found.line.empty()) { // the circle it began from
        return rigorousFactor(section, {found.circle->circle, {}}, function, trace);
    }
    RigorousSlide slide = rigorousFactor(section, {std::nullopt, found.line}, function, trace);
    slide.others = {*found.circle};
    return slide;
}

} // namespace subprogram
