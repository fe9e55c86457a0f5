// The circular slide: the simplified Bishop factor of a circle and the search for the critical
// circle (the ways it names circles, and its local searches, in circlecharts.cpp). The geometry
// (where a circle cuts the ground, the slices' heights and base angles) is plain arithmetic on
// doubles; the factor's formulas run on the checked numbers, as every routine's do.
#include "calculators/angles.h"
#include "calculators/circlecharts.h"
#include "calculators/rigorous.h"
#include "calculators/searchmemory.h"
#include "calculators/slicing.h"
#include "core/stop.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <deque>
#include <limits>
#include <mutex>
#include <random>
#include <string>

namespace subprogram {

using namespace slicing;
using charts::bendOfDepth;
using charts::Numbers;
using Ground = std::vector<Point>;

namespace {

constexpr double kTolerance = 1e-8; // the factor's change that ends its iteration
constexpr int kMostIterations = 500;
// The search's: beyond them it bisects at once (the same root, within the tolerance), and the
// circle it finds is then solved as any given one.
constexpr int kMostSearchIterations = 60;
// The doublings and halvings that look for a bracket of Fs above the bound of mθ > 0.
constexpr int kMostBracketSteps = 200;
// A driving sum ΣT within this share of Σ|Ti| is nothing but the terms' rounding.
constexpr double kLeastDrive = 1e-9;

constexpr const char* kNoSolution = "在 mθ > 0 的范围内简化毕肖普法无解";

// The factor in the slope's own frame. Fs = Σ[ci·li·cosθi + (Wi + Pwi − Ui·cosθi)·tanφi] ÷ mθi
// ÷ Σ[(Wi + Pwi)·sinθi + Qi·cosθi + Hwi·zwi ÷ R], mθi = cosθi + tanφi·sinθi ÷ Fs, Qi = kh·Wi
// (the soil's weight alone): the vertical balance of each slice, and the moments about the centre.
CircularSlide factorInFrame(const SlopeSection& section, const Circle& circle, Trace* trace,
                            int mostIterations = kMostIterations) {
    std::vector<Slice> slices = slicesInFrame(section, circle);
    return evaluate<Keep>(trace, "bishopFactor", [&]<typename Num>(Keep<Num> keep) {
        const Num kh = keep.input("kh", section.kh), radius = keep.input("R", circle.R);
        std::vector<Num> resisting, sinT, cosT, tanP;
        Num sliding = 0;
        for (std::size_t i = 0; i < slices.size(); ++i) {
            const Slice& s = slices[i];
            const auto first = [&](const char* name, Num v) {
                return i == 0 ? keep(name + std::string("1"), v) : v;
            };
            const Num W = keep.input(i ? "G" : "G1", s.W), c = keep.input(i ? "c" : "c1", s.c);
            const Num l = keep.input(i ? "l" : "l1", s.l), U = keep.input(i ? "U" : "U1", s.U);
            const Num theta = first("θr", radiansExact(keep.input(i ? "θ" : "θ1", s.theta)));
            const Num phi = first("φr", radiansExact(keep.input(i ? "φ" : "φ1", s.phi)));
            cosT.push_back(cos(theta));
            const Num tanPhi = tan(phi);
            sinT.push_back(sin(theta));
            tanP.push_back(tanPhi);
            if (s.q != 0 || s.Hc != 0) { // loads on its top, or a crack's water behind it
                const Num Pw = keep.input(i ? "Pw" : "Pw1", s.Pw);
                const Num Hw = keep.input(i ? "Hw" : "Hw1", s.Hw);
                const Num zw = keep.input(i ? "zw" : "zw1", s.zw);
                const Num q = keep.input(i ? "q" : "q1", s.q);
                const Num Hc = keep.input("Hc", s.Hc), zc = keep.input("zc", circle.yc - s.yHc);
                resisting.push_back(
                    first("a", c * l * cosT.back() + (W + Pw + q - U * cosT.back()) * tanPhi));
                slices[i].T = first("T", (W + Pw + q) * sinT.back() + kh * W * cosT.back() +
                                             (Hw * zw + Hc * zc) / radius)
                                  .value();
            } else if (s.Pw == 0 && s.Hw == 0) { // no water over the ground
                resisting.push_back(
                    first("a", c * l * cosT.back() + (W - U * cosT.back()) * tanPhi));
                slices[i].T = first("T", W * sinT.back() + kh * W * cosT.back()).value();
            } else {
                const Num Pw = keep.input(i ? "Pw" : "Pw1", s.Pw);
                const Num Hw = keep.input(i ? "Hw" : "Hw1", s.Hw);
                const Num zw = keep.input(i ? "zw" : "zw1", s.zw);
                resisting.push_back(
                    first("a", c * l * cosT.back() + (W + Pw - U * cosT.back()) * tanPhi));
                slices[i].T =
                    first("T", (W + Pw) * sinT.back() + kh * W * cosT.back() + Hw * zw / radius)
                        .value();
            }
            sliding = sliding + slices[i].T;
        }
        sliding = keep.solution("ΣT", sliding);
        // nothing drives the mass out of the slope, or no more than the terms' rounding: no
        // factor (a mass symmetric under level ground would have one of 10¹⁶)
        double magnitude = 0;
        for (const Slice& s : slices) {
            magnitude += std::abs(s.T);
        }
        CircularSlide slide{circle, std::nullopt, {}, {}, std::nullopt, 0, {}};
        if (!(sliding > Num(kLeastDrive * magnitude))) {
            slide.slices = slices;
            return slide;
        }
        // Σ[…] ÷ mθ at F, each slice's term kept; none where some mθ ≤ 0
        const auto resistingAt = [&](Num F) -> std::optional<Num> {
            Num sum = 0;
            for (std::size_t i = 0; i < slices.size(); ++i) {
                const Num m = cosT[i] + tanP[i] * sinT[i] / F;
                if (!(m > Num(0))) {
                    return std::nullopt;
                }
                const Num term = resisting[i] / m;
                slices[i].R = term.value();
                slices[i].m = m.value();
                sum = sum + term;
            }
            return sum;
        };
        Num F = 1;
        for (int k = 0; k < mostIterations; ++k) {
            const std::optional<Num> sum = resistingAt(F);
            if (!sum) {
                break; // an iterate below the method's domain
            }
            const Num next = *sum / sliding;
            slide.iterates.push_back(next.value());
            const bool settled = next - F < Num(kTolerance) && F - next < Num(kTolerance);
            F = next;
            if (settled) {
                slide.Fs = keep.solution("Fs", F).value();
                slide.slices = slices;
                return slide;
            }
        }
        // Fs = Σ[…] ÷ mθ ÷ ΣT once more, as a root: above the bound every mθ > 0, and each term
        // a ÷ (F·cosθ + tanφ·sinθ) falls as F grows (a ≥ 0), so a sign change brackets the one
        // root there, and bisection closes on it.
        if (Trace* const steps = keep.trace()) {
            steps->remark(slide.iterates.size() < std::size_t(mostIterations)
                              ? "自 1 起的迭代值使某条块 mθ ≤ 0，改在 F > Fmin 内以二分法求 Fs"
                              : "自 1 起的迭代未收敛，改在 F > Fmin 内以二分法求 Fs");
        }
        Num bound = 0;
        for (std::size_t i = 0; i < slices.size(); ++i) {
            const Num least = -(tanP[i] * sinT[i]) / cosT[i];
            if (least > bound) {
                bound = least;
            }
        }
        bound = keep.solution("Fmin", bound);
        // how far Σ[…] ÷ mθ ÷ ΣT exceeds F; none where some mθ rounds to 0
        const auto excess = [&](Num at) -> std::optional<Num> {
            const std::optional<Num> sum = resistingAt(at);
            return sum ? std::optional<Num>(*sum / sliding - at) : std::nullopt;
        };
        Num high = 1;
        if (bound + bound > high) {
            high = bound + bound;
        }
        int steps = 0;
        for (std::optional<Num> e = excess(high); !e || *e > Num(0); e = excess(high)) {
            if (++steps > kMostBracketSteps) {
                refuse(kNoSolution);
            }
            high = high + high;
        }
        Num low = high;
        for (;;) {
            low = bound + (low - bound) / 2;
            const std::optional<Num> e = excess(low);
            if (!e || ++steps > kMostBracketSteps) {
                refuse(kNoSolution); // no sign change above the bound
            }
            if (*e > Num(0)) {
                break;
            }
            high = low;
        }
        while (high - low > Num(kTolerance)) {
            const Num mid = low + (high - low) / 2;
            if (!(mid > low && mid < high)) {
                break;
            }
            const std::optional<Num> e = excess(mid);
            if (!e || *e > Num(0)) {
                low = mid;
            } else {
                high = mid;
            }
            ++slide.bisections;
        }
        F = low + (high - low) / 2;
        if (!resistingAt(F)) {
            refuse(kNoSolution); // some mθ ≤ 0 at the factor found
        }
        slide.Fs = keep.solution("Fs", F).value();
        slide.bound = bound.value();
        slide.slices = slices;
        return slide;
    });
}

} // namespace

namespace {

constexpr int kGridXs = 24;     // entry and exit points over their ranges (or centres)
constexpr int kMostGridXs = 40; // the same with the ground's corners and the strata's outcrops
constexpr int kGridBends = 8;   // how deep the arc bends between them (or how far it reaches)
constexpr int kStarts = 8;      // local searches, from the grid's lowest minima
constexpr int kBudget = 12000;  // evaluations of the factor in one search
constexpr double kPolishStep = 1.0 / 16; // a polish's first step, of its chart's spacing
constexpr int kMostPolishes = 20;        // turns between the charts of a polish
constexpr int kMostMisses = 16;          // directions a wander tries before it halves its step
constexpr int kFinalMisses = 48;         // the same, in the last polish of the lowest circle
constexpr int kFinalShare = 30;          // the budget's share (%) kept for that last polish
constexpr std::size_t kMostOthers = 4;

// A way to name circles with the box searched in it and the spacing of its steps.
struct Chart {
    const charts::Way* way;
    Numbers low, high, spacing;
};

struct Trial {
    Numbers at;
    double Fs;
};
struct Found {
    Circle circle;
    double Fs;
    Numbers ends; // where it enters and leaves the ground, and how deep it bends
};

class Search {
  public:
    Search(const SlopeSection& section, const SearchLimits& limits, Range entry, Range exit,
           std::optional<Interslice> rigorous)
        : section_(section), limits_(limits), rigorous_(rigorous) {
        const Ground& g = section.surface;
        const auto [low, high] = std::minmax_element(
            g.begin(), g.end(), [](const Point& a, const Point& b) { return a.y < b.y; });
        const double span = std::max(g.back().x - g.front().x, high->y - low->y);
        const double d = span / (kGridXs - 1), thinnest = std::max(section.minDepth, 1e-9 * span);
        const double de = (entry.to - entry.from) / (kGridXs - 1);
        const double dx = (exit.to - exit.from) / (kGridXs - 1);
        ends_ = {&charts::kEndsAndBend,
                 {entry.from, exit.from, 0},
                 {entry.to, exit.to, 1},
                 {de, dx, 1.0 / kGridBends}};
        const Numbers anywhere{-kInfinity, -kInfinity, -kInfinity};
        const Numbers nowhere{kInfinity, kInfinity, kInfinity};
        polishing_ = {
            {Chart{&charts::kCentreAndLowest, anywhere, nowhere, {d, d, d}},
             Chart{
                 &charts::kLowestAndDepth, {-kInfinity, -kInfinity, thinnest}, nowhere, {d, d, d}},
             Chart{&charts::kEntryAndLowest,
                   {entry.from, -kInfinity, -kInfinity},
                   {entry.to, kInfinity, kInfinity},
                   {de, d, d}},
             Chart{&charts::kExitAndLowest,
                   {exit.from, -kInfinity, -kInfinity},
                   {exit.to, kInfinity, kInfinity},
                   {dx, d, d}},
             Chart{&charts::kEndsAndDepth,
                   {entry.from, exit.from, thinnest},
                   {entry.to, exit.to, kInfinity},
                   {de, dx, d}},
             Chart{&charts::kPlaceAndDepth,
                   {g.front().x, 0, thinnest},
                   {g.back().x, g.back().x - g.front().x, kInfinity},
                   {d, d, d}},
             ends_}};
        if (limits.centreX && limits.centreY) {
            centres_ = {&charts::kCentreAndReach,
                        {limits.centreX->from, limits.centreY->from, 0},
                        {limits.centreX->to, limits.centreY->to, 1},
                        {(limits.centreX->to - limits.centreX->from) / (kGridXs - 1),
                         (limits.centreY->to - limits.centreY->from) / (kGridXs - 1),
                         1.0 / kGridBends}};
        }
    }

    // The grid's chart: the centres' box where the centres are limited, else the ends.
    const Chart& first() const { return centres_ ? *centres_ : ends_; }

    // The factor of a circle, infinite where there is none within the limits.
    double factor(const std::optional<Circle>& c) {
        stopPoint(); // the search is the long loop of a slope's calculation
        if (!c || !within(limits_.centreX, c->xc) || !within(limits_.centreY, c->yc)) {
            return kInfinity;
        }
        try {
            const auto [entry, exit] = entryAndExit(section_.surface, *c);
            if (!within(limits_.entry, entry) || !within(limits_.exit, exit)) {
                return kInfinity;
            }
            const std::optional<double> Fs =
                rigorous_
                    ? rigorous::solveInFrame(section_, slicesInFrame(section_, *c), *rigorous_).Fs
                    : factorInFrame(section_, *c, nullptr, kMostSearchIterations).Fs;
            return Fs ? *Fs : kInfinity;
        } catch (const CalcError&) {
            return kInfinity;
        }
    }
    double factor(const Chart& chart, const Numbers& n) {
        return factor(chart.way->circle(section_.surface, n));
    }

    // The grid over the first chart's box, and its local minima, lowest first.
    std::vector<Trial> gridMinima() {
        const Chart& chart = first();
        // entries and exits spread along the ground by its length and its rise alike, so that a
        // slope's face gets as many as a long crest, with its corners and the strata's outcrops
        // where they are few; centres evenly
        std::array<std::vector<double>, 2> along;
        for (std::size_t axis = 0; axis < 2; ++axis) {
            if (centres_) {
                for (int k = 0; k < kGridXs; ++k) {
                    along[axis].push_back(chart.low[axis] + chart.spacing[axis] * k);
                }
            } else {
                along[axis] =
                    charts::spread(section_.surface, chart.low[axis], chart.high[axis], kGridXs);
                withCorners(along[axis], chart.low[axis], chart.high[axis]);
            }
        }
        // the first of the bends the thinnest mass allowed: where the soil holds by friction
        // alone, the critical circle is as thin as it may be
        const int n[3] = {int(along[0].size()), int(along[1].size()), kGridBends + 1};
        std::vector<double> values(std::size_t(n[0] * n[1] * n[2]), kInfinity);
        const auto index = [&](int i, int j, int k) {
            return std::size_t((i * n[1] + j) * n[2] + k);
        };
        const auto point = [&](int i, int j, int k) {
            const double xa = along[0][std::size_t(i)], xb = along[1][std::size_t(j)];
            if (k > 0) {
                return Numbers{xa, xb, chart.low[2] + chart.spacing[2] * k};
            }
            if (centres_) {
                return Numbers{xa, xb, chart.spacing[2] / 2};
            }
            const double thinnest = polishing_[4].low[2];
            return Numbers{xa, xb, bendOfDepth(section_.surface, xa, xb, thinnest).value_or(0)};
        };
        for (int i = 0; i < n[0]; ++i) {
            for (int j = 0; j < n[1]; ++j) {
                for (int k = 0; k < n[2]; ++k) {
                    values[index(i, j, k)] = factor(chart, point(i, j, k));
                }
            }
        }
        budget_ -= int(values.size());
        std::vector<Trial> minima;
        for (const std::size_t m : charts::localMinima(values, {n[0], n[1], n[2]})) {
            const int k = int(m) % n[2], j = int(m) / n[2] % n[1], i = int(m) / n[2] / n[1];
            minima.push_back({point(i, j, k), values[m]});
        }
        return minima;
    }

    // A grid's minimum refined in the first chart, then polished, within `budget` evaluations.
    Found settle(const Trial& start, int budget) {
        const int until = budget_ - budget;
        const Trial t = refine(first(), start, 1, until);
        return polish({*first().way->circle(section_.surface, t.at), t.Fs, {}}, until, kMostMisses);
    }

    // Turns of pattern searches in each of the ways to name a circle and of a wander trying
    // `misses` directions at each step, until a turn lowers it no more or the budget is down to
    // `until`.
    Found polish(Found found, int until, int misses) {
        for (int turn = 0; turn < kMostPolishes && budget_ > until; ++turn) {
            const double before = found.Fs;
            for (const Chart& chart : polishing_) {
                const std::optional<Numbers> at =
                    chart.way->numbers(section_.surface, found.circle);
                if (!at) {
                    continue;
                }
                --budget_;
                const Trial s = refine(chart, {*at, factor(chart, *at)}, kPolishStep, until);
                if (s.Fs < found.Fs) {
                    found = {*chart.way->circle(section_.surface, s.at), s.Fs, {}};
                }
            }
            const Trial s =
                wander({*polishing_[0].way->numbers(section_.surface, found.circle), found.Fs},
                       until, misses);
            if (s.Fs < found.Fs) {
                found = {*polishing_[0].way->circle(section_.surface, s.at), s.Fs, {}};
            }
            if (!(found.Fs < before)) {
                break;
            }
        }
        found.ends =
            charts::kEndsAndBend.numbers(section_.surface, found.circle).value_or(Numbers{});
        return found;
    }

    // Whether two circles lie within a grid's spacing of each other in where they enter and
    // leave the ground and how deep they bend.
    bool neighbours(const Found& a, const Found& b) const {
        for (std::size_t axis = 0; axis < 3; ++axis) {
            if (std::abs(a.ends[axis] - b.ends[axis]) > ends_.spacing[axis]) {
                return false;
            }
        }
        return true;
    }

    int budget() const { return budget_; }

  private:
    static bool within(const std::optional<Range>& range, double x) {
        return !range || (x >= range->from && x <= range->to);
    }

    // The ground's corners and the strata's outcrops (where a top meets the ground) from `from`
    // to `to` added to xs in order, unless they would make it longer than kMostGridXs.
    void withCorners(std::vector<double>& xs, double from, double to) const {
        const Ground& g = section_.surface;
        std::vector<double> more = xs;
        for (std::size_t i = 0; i < g.size(); ++i) {
            more.push_back(g[i].x);
            for (std::size_t k = 1; i > 0 && k < section_.strata.size(); ++k) {
                if (!section_.strata[k].line.empty()) {
                    continue; // a top as it lies: its outcrops are not looked for
                }
                const double top = section_.strata[k].top;
                const Point &a = g[i - 1], &b = g[i];
                if ((a.y - top) * (b.y - top) < 0) {
                    more.push_back(a.x + (top - a.y) / (b.y - a.y) * (b.x - a.x));
                }
            }
        }
        std::erase_if(more, [&](double x) { return !(x >= from && x <= to); });
        std::sort(more.begin(), more.end());
        more.erase(std::unique(more.begin(), more.end()), more.end());
        if (more.size() <= std::size_t(kMostGridXs)) {
            xs = std::move(more);
        }
    }

    // A wander in the chart of the centre and lowest point: a minimum on an edge that lies
    // along no chart's axis is followed along that edge.
    Trial wander(Trial at, int until, int misses) {
        const Chart& chart = polishing_[0];
        int left = budget_ - until;
        const charts::Best b =
            charts::wander([&](const Numbers& n) { return factor(chart, n); }, {at.at, at.Fs},
                           chart.spacing, kPolishStep, misses, random_, left);
        budget_ = until + left;
        return {b.at, b.value};
    }

    // A pattern search in the chart's box from `first` of its spacing, until the budget is down
    // to `until`.
    Trial refine(const Chart& chart, Trial at, double first, int until) {
        int left = budget_ - until;
        const charts::Best b = charts::patternSearch(
            [&](const Numbers& n) { return factor(chart, n); }, {at.at, at.Fs}, chart.low,
            chart.high, chart.spacing, first, left);
        budget_ = until + left;
        return {b.at, b.value};
    }

    const SlopeSection& section_;
    const SearchLimits& limits_;
    std::optional<Interslice> rigorous_; // the method each circle is judged by; none: Bishop's
    Chart ends_;
    // the centre and lowest point first (the wander's), the ends and bend last
    std::array<Chart, 7> polishing_;
    std::optional<Chart> centres_;
    int budget_ = kBudget;
    std::mt19937 random_{1};
};

} // namespace

std::vector<Slice> slicesOf(const SlopeSection& section, const Circle& circle) {
    checkSection(section);
    checkCircle(circle);
    const Frame frame = slidingRight(section);
    std::vector<Slice> slices = slicesInFrame(frame.section, inFrame(frame, circle));
    if (frame.mirrored) {
        std::transform(slices.begin(), slices.end(), slices.begin(), unmirrored);
    }
    return slices;
}

CircularSlide bishopFactor(const SlopeSection& section, const Circle& circle, Trace* trace) {
    checkSection(section);
    checkCircle(circle);
    const Frame frame = slidingRight(section);
    CircularSlide slide = factorInFrame(frame.section, inFrame(frame, circle), trace);
    slide.circle = circle;
    if (frame.mirrored) {
        std::transform(slide.slices.begin(), slide.slices.end(), slide.slices.begin(), unmirrored);
    }
    return slide;
}

namespace {

// What a search found: its lowest circle and the next-lowest distinct ones, as typed.
struct Searched {
    Circle lowest;
    std::vector<FoundCircle> others;
};

Searched search(const SlopeSection& section, const SearchLimits& limits,
                std::optional<Interslice> rigorous) {
    checkSection(section);
    const Frame frame = slidingRight(section);
    const SearchLimits within = inFrame(frame, limits);
    const std::vector<Point>& ground = frame.section.surface;
    const auto [low, high] = std::minmax_element(
        ground.begin(), ground.end(), [](const Point& a, const Point& b) { return a.y < b.y; });
    if (!(high->y > low->y)) {
        refuse("地面线水平，没有可滑动的边坡");
    }
    const double left = ground.front().x, right = ground.back().x;
    const auto clipped = [&](const std::optional<Range>& r) {
        return r ? Range{std::max(left, r->from), std::min(right, r->to)} : Range{left, right};
    };
    Search search(frame.section, within, clipped(within.entry), clipped(within.exit), rigorous);
    const std::vector<Trial> starts = search.gridMinima();
    if (starts.empty()) {
        refuse("搜索范围内没有切入地面、厚度不小于最小滑体厚度且有下滑力的滑弧");
    }
    // the lowest minima of the grid settled, the distinct ones kept, lowest first: those at most
    // twice the lowest (a circle that barely drives has a factor of any size)
    int count = 0;
    while (count < kStarts && count < int(starts.size()) &&
           starts[std::size_t(count)].Fs <= starts.front().Fs + std::abs(starts.front().Fs)) {
        ++count;
    }
    std::vector<Found> found;
    const int kept = search.budget() * kFinalShare / 100;
    for (int s = 0; s < count; ++s) {
        found.push_back(
            search.settle(starts[std::size_t(s)], (search.budget() - kept) / (count - s)));
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Found& a, const Found& b) { return a.Fs < b.Fs; });
    // the lowest of them polished again with what the budget has left, wandering longer
    found.front() = search.polish(found.front(), 0, kFinalMisses);
    std::vector<Found> distinct;
    for (const Found& f : found) {
        if (std::none_of(distinct.begin(), distinct.end(),
                         [&](const Found& d) { return search.neighbours(d, f); })) {
            distinct.push_back(f);
        }
    }
    const auto asTyped = [&](const Circle& c) { return inFrame(frame, c); };
    Searched lowest{asTyped(distinct.front().circle), {}};
    for (std::size_t i = 1; i < distinct.size() && lowest.others.size() < kMostOthers; ++i) {
        lowest.others.push_back({asTyped(distinct[i].circle), distinct[i].Fs});
    }
    return lowest;
}

// What the searches found lately.
SearchMemory<Searched> memory;

} // namespace

CircularSlide criticalCircle(const SlopeSection& section, const SearchLimits& limits,
                             Trace* trace) {
    Searched found =
        memory.recall(section, limits, std::nullopt, [&] { return search(section, limits, {}); });
    CircularSlide slide = bishopFactor(section, found.lowest, trace);
    slide.others = std::move(found.others);
    return slide;
}

RigorousSlide criticalRigorous(const SlopeSection& section, const SearchLimits& limits,
                               Interslice function, Trace* trace) {
    Searched found =
        memory.recall(section, limits, function, [&] { return search(section, limits, function); });
    RigorousSlide slide = rigorousFactor(section, {found.lowest, {}}, function, trace);
    slide.others = std::move(found.others);
    return slide;
}

} // namespace subprogram
