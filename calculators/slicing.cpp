// The slices of a slip surface through a section: where a circle or a polyline cuts the ground,
// each slice's weight, base and strength, the water on and under it, the loads on its top and a
// tension crack's water at the mass's upper end.
#include "slicing.h"

#include <algorithm>
#include <cmath>

namespace subprogram::slicing {

namespace {

// A radius this many times the section's extent leaves an arc whose height within the section
// the doubles no longer resolve (R² − d² rounds to R²): such a circle is refused.
constexpr double kLargestRadius = 1e6;
// The steps along the mass that look for where it is as deep as its tension crack, before the
// place is closed on by bisection.
constexpr int kCrackSteps = 1000;

// Why a surface is no slip surface of the section.
constexpr const char* kNotCutting = "滑弧未切入地面";
constexpr const char* kBeyondEnds = "滑弧超出地面线两端";
constexpr const char* kReentering = "滑弧穿出地面后又切入地面，滑体不止一块";
constexpr const char* kTooThin = "滑体最大厚度小于最小滑体厚度";
constexpr const char* kTooFlat = "滑弧半径超过地面线范围的 10⁶ 倍，圆弧已无法计算";
constexpr const char* kLineNotCutting = "滑面线未切入地面";
constexpr const char* kLineEnds = "滑面线两端应在地面上或地面以上，且在地面线的 x 范围内";
constexpr const char* kLineReentering = "滑面线穿出地面后又切入地面，滑体不止一块";
constexpr const char* kCrackTooDeep = "张裂缝深度不小于滑体的最大厚度";

} // namespace

[[noreturn]] void refuse(const char* reason) {
    throw reason ? CalcError(ErrorKind::InvalidArgument, reason)
                 : CalcError(ErrorKind::InvalidArgument);
}

// A line of points with x increasing, every coordinate finite.
bool isLine(const std::vector<Point>& line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (!std::isfinite(line[i].x) || !std::isfinite(line[i].y) ||
            (i > 0 && !(line[i].x > line[i - 1].x))) {
            return false;
        }
    }
    return true;
}

// What the geometry needs of a section and a circle; the readers say what is wrong in words.
void checkSection(const SlopeSection& s) {
    if (s.surface.size() < 2 || s.surface.size() > kMostSurfacePoints || !isLine(s.surface) ||
        !isLine(s.water) || s.strata.empty() ||
        std::any_of(s.strata.begin(), s.strata.end(),
                    [](const Stratum& st) { return !isLine(st.line); }) ||
        s.slices < 1 || s.slices > kMostSlices || !(s.minDepth >= 0)) {
        refuse();
    }
}
void checkCircle(const Circle& c) {
    if (!std::isfinite(c.xc) || !std::isfinite(c.yc) || !(c.R > 0) || !std::isfinite(c.R)) {
        refuse();
    }
}

// A polyline's height at x, its end values beyond its ends.
double heightAt(const std::vector<Point>& line, double x) {
    if (x <= line.front().x) {
        return line.front().y;
    }
    // the first point not left of x
    const auto b = std::lower_bound(line.begin() + 1, line.end(), x,
                                    [](const Point& p, double at) { return p.x < at; });
    if (b == line.end()) {
        return line.back().y;
    }
    const Point& a = *(b - 1);
    return a.y + (b->y - a.y) * (x - a.x) / (b->x - a.x);
}

std::vector<Point> mirroredLine(const std::vector<Point>& line) {
    std::vector<Point> out;
    for (auto it = line.rbegin(); it != line.rend(); ++it) {
        out.push_back({-it->x, it->y});
    }
    return out;
}
Frame slidingRight(const SlopeSection& section) {
    Frame frame{section, section.surface.front().y < section.surface.back().y};
    if (frame.mirrored) {
        frame.section.surface = mirroredLine(section.surface);
        frame.section.water = mirroredLine(section.water);
        for (StripLoad& load : frame.section.loads) {
            load = {load.q, -load.to, -load.from};
        }
        for (Stratum& stratum : frame.section.strata) {
            stratum.line = mirroredLine(stratum.line);
        }
    }
    return frame;
}

double arcAt(const Circle& c, double x) {
    const double d = x - c.xc;
    return c.yc - std::sqrt(std::max(0.0, c.R * c.R - d * d));
}

// Where the lower arc enters the ground and leaves it, from left to right: the arc below the
// ground between them, which must begin and end within the section's ends. An arc that leaves
// the ground and enters it again cuts two slip masses, not one, and is refused.
std::pair<double, double> entryAndExit(const std::vector<Point>& surface, const Circle& c) {
    const double from = std::max(surface.front().x, c.xc - c.R);
    const double to = std::min(surface.back().x, c.xc + c.R);
    if (!(from < to)) {
        refuse(kNotCutting);
    }
    std::vector<double> cuts{from, to};
    for (std::size_t i = 1; i < surface.size(); ++i) {
        const Point &a = surface[i - 1], &b = surface[i];
        // a + t·(b − a) on the circle: a quadratic in t
        const double dx = b.x - a.x, dy = b.y - a.y, ex = a.x - c.xc, ey = a.y - c.yc;
        const double qa = dx * dx + dy * dy, qb = 2 * (ex * dx + ey * dy);
        const double qc = ex * ex + ey * ey - c.R * c.R;
        const double disc = qb * qb - 4 * qa * qc;
        if (disc < 0) {
            continue;
        }
        for (const double t :
             {(-qb - std::sqrt(disc)) / (2 * qa), (-qb + std::sqrt(disc)) / (2 * qa)}) {
            if (t >= 0 && t <= 1 && a.y + t * dy <= c.yc) {
                cuts.push_back(std::clamp(a.x + t * dx, from, to));
            }
        }
    }
    std::sort(cuts.begin(), cuts.end());
    // the stretches between cuts under the ground, those that touch taken as one
    double entry = 0, exit = 0;
    bool under = false, leftAgain = false;
    for (std::size_t i = 1; i < cuts.size(); ++i) {
        const double mid = (cuts[i - 1] + cuts[i]) / 2;
        if (!(cuts[i] > cuts[i - 1])) {
            continue;
        }
        if (heightAt(surface, mid) > arcAt(c, mid)) {
            if (leftAgain) {
                refuse(kReentering);
            }
            entry = under ? entry : cuts[i - 1];
            exit = cuts[i];
            under = true;
        } else {
            leftAgain = under;
        }
    }
    if (!under) {
        refuse(kNotCutting);
    }
    const bool entersInside =
        entry > from || std::abs(heightAt(surface, from) - arcAt(c, from)) <= 1e-9 * c.R;
    const bool leavesInside =
        exit < to || std::abs(heightAt(surface, to) - arcAt(c, to)) <= 1e-9 * c.R;
    if (!entersInside || !leavesInside) {
        refuse(kBeyondEnds);
    }
    return {entry, exit};
}

double topAt(const Stratum& s, double x) {
    return s.line.empty() ? s.top : heightAt(s.line, x);
}

Circle inFrame(const Frame& frame, const Circle& c) {
    return {frame.mirrored ? -c.xc : c.xc, c.yc, c.R};
}

SearchLimits inFrame(const Frame& frame, const SearchLimits& limits) {
    if (!frame.mirrored) {
        return limits;
    }
    const auto mirrored = [](const std::optional<Range>& r) {
        return r ? std::optional<Range>(Range{-r->to, -r->from}) : std::nullopt;
    };
    return {mirrored(limits.entry), mirrored(limits.exit), mirrored(limits.centreX),
            limits.centreY};
}

// Back to the section as typed: a mirrored slice runs the other way.
Slice unmirrored(const Slice& s) {
    Slice out = s;
    out.xLeft = -s.xRight;
    out.xRight = -s.xLeft;
    out.yLeft = s.yRight;
    out.yRight = s.yLeft;
    return out;
}

// The greatest depth of the arc below the ground between its entry and exit: at a point of the
// surface, or where the arc runs parallel to a piece of it (x − xc = s·R ÷ √(1 + s²) for a piece
// of slope s).
double greatestDepth(const std::vector<Point>& surface, const Circle& c, double entry,
                     double exit) {
    const auto depthAt = [&](double x) { return heightAt(surface, x) - arcAt(c, x); };
    double deepest = 0;
    for (std::size_t i = 1; i < surface.size(); ++i) {
        const Point &a = surface[i - 1], &b = surface[i];
        const double x0 = std::max(a.x, entry), x1 = std::min(b.x, exit);
        if (!(x0 <= x1)) {
            continue;
        }
        deepest = std::max({deepest, depthAt(x0), depthAt(x1)});
        const double s = (b.y - a.y) / (b.x - a.x);
        const double x = c.xc + s * c.R / std::sqrt(1 + s * s);
        if (x > x0 && x < x1) {
            deepest = std::max(deepest, depthAt(x));
        }
    }
    return deepest;
}

namespace {

// The stratum at (x, y): the one above the first top below y, else the last.
const Stratum& stratumAt(const std::vector<Stratum>& strata, double x, double y) {
    for (std::size_t i = 1; i < strata.size(); ++i) {
        if (y > topAt(strata[i], x)) {
            return strata[i - 1];
        }
    }
    return strata.back();
}

// A slip line in the frame: a circle's lower arc, or a polyline.
struct Line {
    const Circle* circle = nullptr;
    const std::vector<Point>* points = nullptr;
    double at(double x) const { return circle ? arcAt(*circle, x) : heightAt(*points, x); }
    // Where it crosses a stratum's top strictly between xl and xr, added to `cuts`.
    void crossings(const Stratum& top, double xl, double xr, std::vector<double>& cuts) const {
        if (!top.line.empty()) {
            crossings(top.line, xl, xr, cuts);
            return;
        }
        const double y = top.top;
        if (circle) {
            const Circle& c = *circle;
            const double h = c.R * c.R - (c.yc - y) * (c.yc - y);
            if (y < c.yc && h > 0) {
                for (const double x : {c.xc - std::sqrt(h), c.xc + std::sqrt(h)}) {
                    if (x > xl && x < xr) {
                        cuts.push_back(x);
                    }
                }
            }
            return;
        }
        for (std::size_t i = 1; i < points->size(); ++i) {
            const Point &a = (*points)[i - 1], &b = (*points)[i];
            if ((a.y - y) * (b.y - y) < 0) {
                const double x = a.x + (y - a.y) / (b.y - a.y) * (b.x - a.x);
                if (x > xl && x < xr) {
                    cuts.push_back(x);
                }
            }
        }
    }
    // Where it crosses a polyline (level beyond its ends) strictly between xl and xr: between
    // their corners the polyline is straight, and so is this line where it is one; the circle
    // meets each straight piece where a quadratic says.
    void crossings(const std::vector<Point>& top, double xl, double xr,
                   std::vector<double>& cuts) const {
        std::vector<double> xs{xl, xr};
        for (const auto* corners : {&top, points}) {
            for (std::size_t i = 0; corners && i < corners->size(); ++i) {
                if ((*corners)[i].x > xl && (*corners)[i].x < xr) {
                    xs.push_back((*corners)[i].x);
                }
            }
        }
        std::sort(xs.begin(), xs.end());
        for (std::size_t i = 1; i < xs.size(); ++i) {
            const double a = xs[i - 1], b = xs[i];
            if (!(b > a)) {
                continue;
            }
            const double ya = heightAt(top, a), yb = heightAt(top, b);
            if (!circle) {
                const double da = at(a) - ya, db = at(b) - yb;
                if (da * db < 0) {
                    cuts.push_back(a + (b - a) * da / (da - db));
                }
                continue;
            }
            // a + t·(b − a) along the piece, on the circle: a quadratic in t
            const Circle& c = *circle;
            const double dx = b - a, dy = yb - ya, ex = a - c.xc, ey = ya - c.yc;
            const double qa = dx * dx + dy * dy, qb = 2 * (ex * dx + ey * dy);
            const double disc = qb * qb - 4 * qa * (ex * ex + ey * ey - c.R * c.R);
            if (disc < 0) {
                continue;
            }
            for (const double t :
                 {(-qb - std::sqrt(disc)) / (2 * qa), (-qb + std::sqrt(disc)) / (2 * qa)}) {
                if (t > 0 && t < 1 && ya + t * dy < c.yc) {
                    cuts.push_back(a + t * dx);
                }
            }
        }
    }
};

// The strength of the base under the slip line from xl to xr: its stratum's, or where the line
// crosses strata, c and tanφ averaged over its length in each (its width there: the base is
// straight), so that a surface's factor does not jump as a top passes a slice's middle.
std::pair<double, double> baseStrength(const std::vector<Stratum>& strata, const Line& line,
                                       double xl, double xr) {
    std::vector<double> cuts{xl, xr};
    for (std::size_t i = 1; i < strata.size(); ++i) {
        line.crossings(strata[i], xl, xr, cuts);
    }
    if (cuts.size() == 2) {
        const double x = (xl + xr) / 2;
        const Stratum& s = stratumAt(strata, x, line.at(x));
        return {s.c, s.phi};
    }
    std::sort(cuts.begin(), cuts.end());
    double cohesion = 0, friction = 0;
    for (std::size_t k = 1; k < cuts.size(); ++k) {
        const double x = (cuts[k - 1] + cuts[k]) / 2;
        const Stratum& s = stratumAt(strata, x, line.at(x));
        const double share = (cuts[k] - cuts[k - 1]) / (xr - xl);
        cohesion += share * s.c;
        friction += share * std::tan(s.phi / kDegreesPerRadian);
    }
    return {cohesion, std::atan(friction) * kDegreesPerRadian};
}

// Each stratum's part of the column of ground at x from `bottom` up to `top`, from the top down:
// part(stratum, upper, lower).
template <typename Part>
void eachPart(const std::vector<Stratum>& strata, double x, double bottom, double top, Part part) {
    for (std::size_t i = 0; i < strata.size(); ++i) {
        const double upper = i == 0 ? top : std::min(top, topAt(strata[i], x));
        const double lower =
            i + 1 < strata.size() ? std::max(bottom, topAt(strata[i + 1], x)) : bottom;
        if (upper > lower) {
            part(strata[i], upper, lower);
        }
    }
}

// The weight of that column, one metre wide: γsat below the water `level`, γ above it.
double columnWeight(const std::vector<Stratum>& strata, double x, double bottom, double top,
                    double level) {
    double weight = 0;
    eachPart(strata, x, bottom, top, [&](const Stratum& s, double upper, double lower) {
        if (s.gammaSat == s.gamma || level <= lower) {
            weight += s.gamma * (upper - lower);
        } else if (level >= upper) {
            weight += s.gammaSat * (upper - lower);
        } else {
            weight += s.gamma * (upper - level) + s.gammaSat * (level - lower);
        }
    });
    return weight;
}

// The height of the centroid of that column's weight (its bottom where it weighs nothing).
double columnCentroid(const std::vector<Stratum>& strata, double x, double bottom, double top,
                      double level) {
    double weight = 0, moment = 0;
    const auto add = [&](double gamma, double upper, double lower) {
        weight += gamma * (upper - lower);
        moment += gamma * (upper - lower) * (upper + lower) / 2;
    };
    eachPart(strata, x, bottom, top, [&](const Stratum& s, double upper, double lower) {
        if (level <= lower) {
            add(s.gamma, upper, lower);
        } else if (level >= upper) {
            add(s.gammaSat, upper, lower);
        } else {
            add(s.gamma, upper, level);
            add(s.gammaSat, level, lower);
        }
    });
    return weight > 0 ? moment / weight : bottom;
}

// Where the mass first reaches the depth of its tension crack below the ground, going down from
// its upper end xa: steps along it, then bisection to the doubles' precision.
double crackAt(const SlopeSection& s, const Line& line, double xa, double xb) {
    const auto deepEnough = [&](double x) {
        return heightAt(s.surface, x) - line.at(x) >= s.crack;
    };
    double low = xa;
    for (int k = 1; k <= kCrackSteps; ++k) {
        double high = k == kCrackSteps ? xb : xa + (xb - xa) * k / kCrackSteps;
        if (deepEnough(high)) {
            for (;;) {
                const double mid = low + (high - low) / 2;
                if (!(mid > low && mid < high)) {
                    return high;
                }
                (deepEnough(mid) ? high : low) = mid;
            }
        }
        low = high;
    }
    refuse(kCrackTooDeep);
}

// The slices of the mass over `line` from xa to xb: `slices` of equal width from the mass's
// upper end (its tension crack, where it has one), each also cut at the corners of the line and
// the ends of the loads within it. `centreY`: a circle's centre, the lever arm of the water on
// the slices' tops.
std::vector<Slice> slicesBetween(const SlopeSection& s, const Line& line, double xa, double xb,
                                 std::span<const Point> corners, std::optional<double> centreY) {
    const double x0 = s.crack > 0 ? crackAt(s, line, xa, xb) : xa;
    const double width = (xb - x0) / s.slices;
    std::vector<double> xs;
    for (int i = 0; i < s.slices; ++i) {
        xs.push_back(x0 + width * i);
    }
    xs.push_back(xb);
    std::vector<double> more;
    for (const Point& p : corners) {
        more.push_back(p.x);
    }
    for (const StripLoad& load : s.loads) {
        more.insert(more.end(), {load.from, load.to});
    }
    std::erase_if(more, [&](double x) { return !(x > x0 && x < xb); });
    if (!more.empty()) {
        xs.insert(xs.end(), more.begin(), more.end());
        std::sort(xs.begin(), xs.end());
        xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    }
    std::vector<Slice> slices;
    for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
        const double xl = xs[i], xr = xs[i + 1];
        const double yl = line.at(xl), yr = line.at(xr), xm = (xl + xr) / 2;
        const double base = line.at(xm), b = xr - xl, ground = heightAt(s.surface, xm);
        const double level = s.water.empty() ? -kInfinity : heightAt(s.water, xm);
        const auto [cohesion, friction] = baseStrength(s.strata, line, xl, xr);
        const double top = std::max(base, ground);
        const double W = b * columnWeight(s.strata, xm, base, top, level);
        const double l = std::hypot(b, yl - yr);
        // the head of water over each end of the base: Ui = ½γw·(hw,i−1 + hwi)·li
        const auto head = [&](double x, double y) {
            return s.water.empty() ? 0.0 : std::max(0.0, heightAt(s.water, x) - y);
        };
        const double U = s.gammaWater * (head(xl, yl) + head(xr, yr)) / 2 * l;
        // water over the ground presses on the slice's top, normal to it, at its centre line's
        // depth: downwards p·b, sideways p·(the top's rise), at the top's height
        double Pw = 0, Hw = 0, zw = 0;
        if (level > ground) {
            const double p = s.gammaWater * (level - ground);
            Pw = p * b;
            Hw = p * (heightAt(s.surface, xr) - heightAt(s.surface, xl));
            zw = centreY ? *centreY - ground : 0;
        }
        slices.push_back({xl, xr, yl, yr, W, std::atan2(yl - yr, b) * kDegreesPerRadian, cohesion,
                          friction, l, U, Pw, Hw, zw, 0, 0, 0});
        Slice& slice = slices.back();
        for (const StripLoad& load : s.loads) {
            slice.q += load.q * std::max(0.0, std::min(xr, load.to) - std::max(xl, load.from));
        }
        slice.top = ground;
        slice.yG = columnCentroid(s.strata, xm, base, top, level);
    }
    // the crack's water pushes on the first slice's rear face: ½γw·hw², a third of hw up
    if (s.crack > 0 && s.crackFilled > 0) {
        const double hw = s.crackFilled * s.crack;
        slices.front().Hc = s.gammaWater * hw * hw / 2;
        slices.front().yHc = line.at(x0) + hw / 3;
    }
    return slices;
}

// Where a polyline slip surface enters the ground and leaves it: between their corners the depth
// below the ground is straight, so it changes sign once at the most in each piece.
std::pair<double, double> lineEntryAndExit(const std::vector<Point>& surface,
                                           const std::vector<Point>& slip) {
    const auto depth = [&](double x) { return heightAt(surface, x) - heightAt(slip, x); };
    const double tolerance = 1e-9 * (surface.back().x - surface.front().x);
    if (slip.front().x < surface.front().x || slip.back().x > surface.back().x ||
        depth(slip.front().x) > tolerance || depth(slip.back().x) > tolerance) {
        refuse(kLineEnds);
    }
    std::vector<double> xs;
    for (const auto* line : {&surface, &slip}) {
        for (const Point& p : *line) {
            if (p.x >= slip.front().x && p.x <= slip.back().x) {
                xs.push_back(p.x);
            }
        }
    }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    // under the ground: deeper than the rounding of a point typed on it
    double entry = 0, exit = 0;
    bool under = false, out = false;
    for (std::size_t i = 1; i < xs.size(); ++i) {
        const double a = xs[i - 1], b = xs[i], da = depth(a), db = depth(b);
        if (!(da > tolerance) && !(db > tolerance)) {
            out = out || under;
            continue;
        }
        if (out) {
            refuse(kLineReentering);
        }
        if (!under) {
            entry = da > 0 ? a : a + (b - a) * (-da) / (db - da);
            under = true;
        }
        if (!(db > tolerance)) {
            exit = db < 0 ? a + (b - a) * da / (da - db) : b;
            out = true;
        }
    }
    if (!under || !out) {
        refuse(kLineNotCutting);
    }
    return {entry, exit};
}

// The greatest depth of the mass over a polyline: at a corner of either line.
double greatestDepth(const std::vector<Point>& surface, const std::vector<Point>& slip,
                     double entry, double exit) {
    double deepest = 0;
    for (const auto* line : {&surface, &slip}) {
        for (const Point& p : *line) {
            if (p.x > entry && p.x < exit) {
                deepest = std::max(deepest, heightAt(surface, p.x) - heightAt(slip, p.x));
            }
        }
    }
    return deepest;
}

} // namespace

std::vector<Slice> slicesInFrame(const SlopeSection& s, const Circle& c) {
    const auto [low, high] =
        std::minmax_element(s.surface.begin(), s.surface.end(),
                            [](const Point& a, const Point& b) { return a.y < b.y; });
    const double extent = std::max(s.surface.back().x - s.surface.front().x, high->y - low->y);
    if (!(c.R <= kLargestRadius * extent)) {
        refuse(kTooFlat);
    }
    const auto [xa, xb] = entryAndExit(s.surface, c);
    if (!(greatestDepth(s.surface, c, xa, xb) >= s.minDepth)) {
        refuse(kTooThin);
    }
    return slicesBetween(s, Line{&c, nullptr}, xa, xb, {}, c.yc);
}

std::vector<Slice> slicesInFrame(const SlopeSection& s, const std::vector<Point>& slip) {
    const auto [xa, xb] = lineEntryAndExit(s.surface, slip);
    if (!(greatestDepth(s.surface, slip, xa, xb) >= s.minDepth)) {
        refuse(kTooThin);
    }
    return slicesBetween(s, Line{nullptr, &slip}, xa, xb, slip, std::nullopt);
}

} // namespace subprogram::slicing
