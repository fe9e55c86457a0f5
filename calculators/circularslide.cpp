// The circular slide: the slices of a circle through the section, the simplified Bishop factor
// and the search for the critical circle. The geometry (where a circle cuts the ground, the
// slices' heights and base angles) is plain arithmetic on doubles; the factor's formulas run on
// the checked numbers, as every routine's do.
#include "calculators/angles.h"
#include "calculators/slipsurface.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace subprogram {

namespace {

constexpr double kTolerance = 1e-8; // the factor's change that ends its iteration
constexpr int kMostIterations = 500;
constexpr double kDegreesPerRadian = 180 / 3.14159265358979323846;

// The search: a grid of centres and lowest points, then a pattern search from the best few,
// until its steps are this small against the slope's height.
constexpr int kGridSteps = 14;
constexpr int kStarts = 3;
constexpr double kFinestStep = 1e-6;

[[noreturn]] void refuse() {
    throw CalcError(ErrorKind::InvalidArgument);
}

// A polyline's height at x, its end values beyond its ends.
double heightAt(const std::vector<Point>& line, double x) {
    if (x <= line.front().x) {
        return line.front().y;
    }
    for (std::size_t i = 1; i < line.size(); ++i) {
        if (x <= line[i].x) {
            const Point &a = line[i - 1], &b = line[i];
            return a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x);
        }
    }
    return line.back().y;
}

// The section as the slices take it: sliding towards +x, the ground higher on the left. A slope
// that faces the other way is mirrored (x → −x), which is exact.
struct Frame {
    SlopeSection section;
    bool mirrored;
};
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
    }
    return frame;
}

// The lower arc's height at x (within the circle's width).
double arcAt(const Circle& c, double x) {
    const double d = x - c.xc;
    return c.yc - std::sqrt(std::max(0.0, c.R * c.R - d * d));
}

// Where the lower arc crosses the surface, from left to right: the arc below the ground between
// the first two; none, or one that leaves the section's ends, is no slip surface of it.
std::pair<double, double> entryAndExit(const std::vector<Point>& surface, const Circle& c) {
    const double from = std::max(surface.front().x, c.xc - c.R);
    const double to = std::min(surface.back().x, c.xc + c.R);
    if (!(from < to)) {
        refuse();
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
    for (std::size_t i = 1; i < cuts.size(); ++i) {
        const double mid = (cuts[i - 1] + cuts[i]) / 2;
        if (cuts[i] > cuts[i - 1] && heightAt(surface, mid) > arcAt(c, mid)) {
            // the first stretch under ground: it must begin and end where the arc meets it
            const bool entersInside = cuts[i - 1] > from || std::abs(heightAt(surface, from) -
                                                                     arcAt(c, from)) <= 1e-9 * c.R;
            const bool leavesInside =
                cuts[i] < to || std::abs(heightAt(surface, to) - arcAt(c, to)) <= 1e-9 * c.R;
            if (!entersInside || !leavesInside) {
                refuse();
            }
            return {cuts[i - 1], cuts[i]};
        }
    }
    refuse();
}

// The stratum at height y: the first whose top is not below it, else the last.
const Stratum& stratumAt(const std::vector<Stratum>& strata, double y) {
    for (std::size_t i = 1; i < strata.size(); ++i) {
        if (y > strata[i].top) {
            return strata[i - 1];
        }
    }
    return strata.back();
}

// The weight of a column of ground from `bottom` up to `top`, one metre wide, stratum by stratum.
double columnWeight(const std::vector<Stratum>& strata, double bottom, double top) {
    double weight = 0;
    for (std::size_t i = 0; i < strata.size(); ++i) {
        const double upper = i == 0 ? top : std::min(top, strata[i].top);
        const double lower = i + 1 < strata.size() ? std::max(bottom, strata[i + 1].top) : bottom;
        if (upper > lower) {
            weight += strata[i].gamma * (upper - lower);
        }
    }
    return weight;
}

std::vector<Slice> slicesInFrame(const SlopeSection& s, const Circle& c) {
    if (s.slices < 1 || s.strata.empty() || s.surface.size() < 2) {
        refuse();
    }
    const auto [xa, xb] = entryAndExit(s.surface, c);
    const double width = (xb - xa) / s.slices;
    std::vector<Slice> slices;
    for (int i = 0; i < s.slices; ++i) {
        const double xl = xa + width * i, xr = i + 1 == s.slices ? xb : xa + width * (i + 1);
        const double yl = arcAt(c, xl), yr = arcAt(c, xr), xm = (xl + xr) / 2;
        const double base = arcAt(c, xm), b = xr - xl;
        const Stratum& soil = stratumAt(s.strata, base);
        const double W = b * columnWeight(s.strata, base, std::max(base, heightAt(s.surface, xm)));
        const double l = std::hypot(b, yl - yr);
        // the head of water over each end of the base: Ui = ½γw·(hw,i−1 + hwi)·li
        const auto head = [&](double x, double y) {
            return s.water.empty() ? 0.0 : std::max(0.0, heightAt(s.water, x) - y);
        };
        const double U = s.gammaWater * (head(xl, yl) + head(xr, yr)) / 2 * l;
        slices.push_back({xl, xr, yl, yr, W, std::atan2(yl - yr, b) * kDegreesPerRadian, soil.c,
                          soil.phi, l, U, 0, 0});
    }
    return slices;
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

// The factor in the slope's own frame. Fs = Σ[ci·li·cosθi + (Wi − Ui·cosθi)·tanφi] ÷ mθi
// ÷ Σ(Wi·sinθi + Qi·cosθi), mθi = cosθi + tanφi·sinθi ÷ Fs, Qi = kh·Wi.
CircularSlide factorInFrame(const SlopeSection& section, const Circle& circle, Trace* trace) {
    std::vector<Slice> slices = slicesInFrame(section, circle);
    return evaluate<Keep>(trace, "bishopFactor", [&]<typename Num>(Keep<Num> keep) {
        const Num kh = keep.input("kh", section.kh);
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
            resisting.push_back(first("a", c * l * cosT.back() + (W - U * cosT.back()) * tanPhi));
            sinT.push_back(sin(theta));
            tanP.push_back(tanPhi);
            slices[i].T = first("T", W * sinT.back() + kh * W * cosT.back()).value();
            sliding = sliding + slices[i].T;
        }
        sliding = keep.solution("ΣT", sliding);
        if (!(sliding > Num(0))) {
            refuse(); // nothing drives the mass out of the slope
        }
        CircularSlide slide{circle, 0, {}, {}};
        Num F = 1;
        for (int k = 0; k < kMostIterations; ++k) {
            Num sum = 0;
            for (std::size_t i = 0; i < slices.size(); ++i) {
                const Num m = cosT[i] + tanP[i] * sinT[i] / F;
                if (!(m > Num(0))) {
                    refuse(); // the method has no solution on so steep a base
                }
                const Num term = resisting[i] / m;
                slices[i].R = term.value();
                sum = sum + term;
            }
            const Num next = sum / sliding;
            slide.iterates.push_back(next.value());
            const bool settled = next - F < Num(kTolerance) && F - next < Num(kTolerance);
            F = next;
            if (settled) {
                slide.Fs = keep.solution("Fs", F).value();
                slide.slices = slices;
                return slide;
            }
        }
        refuse();
    });
}

} // namespace

std::vector<Slice> slicesOf(const SlopeSection& section, const Circle& circle) {
    const Frame frame = slidingRight(section);
    const Circle c{frame.mirrored ? -circle.xc : circle.xc, circle.yc, circle.R};
    std::vector<Slice> slices = slicesInFrame(frame.section, c);
    if (frame.mirrored) {
        std::transform(slices.begin(), slices.end(), slices.begin(), unmirrored);
    }
    return slices;
}

CircularSlide bishopFactor(const SlopeSection& section, const Circle& circle, Trace* trace) {
    const Frame frame = slidingRight(section);
    const Circle c{frame.mirrored ? -circle.xc : circle.xc, circle.yc, circle.R};
    CircularSlide slide = factorInFrame(frame.section, c, trace);
    slide.circle = circle;
    if (frame.mirrored) {
        std::transform(slide.slices.begin(), slide.slices.end(), slide.slices.begin(), unmirrored);
    }
    return slide;
}

CircularSlide criticalCircle(const SlopeSection& section, Trace* trace) {
    const Frame frame = slidingRight(section);
    const std::vector<Point>& ground = frame.section.surface;
    double low = ground.front().y, high = low;
    for (const Point& p : ground) {
        low = std::min(low, p.y);
        high = std::max(high, p.y);
    }
    const double height = high - low, left = ground.front().x, right = ground.back().x;
    if (!(height > 0)) {
        refuse(); // level ground: no slope to slide
    }
    // a circle by its centre and its lowest point
    struct Trial {
        double xc, yc, bottom, Fs;
    };
    const auto factor = [&](double xc, double yc, double bottom) {
        if (!(yc > bottom)) {
            return std::numeric_limits<double>::infinity();
        }
        try {
            return factorInFrame(frame.section, {xc, yc, yc - bottom}, nullptr).Fs;
        } catch (const CalcError&) {
            return std::numeric_limits<double>::infinity();
        }
    };
    const double dx = (right - left) / kGridSteps, dy = 2 * height / kGridSteps;
    const double dz = (height * 1.95) / kGridSteps;
    std::vector<Trial> grid;
    for (int i = 0; i <= kGridSteps; ++i) {
        for (int j = 1; j <= kGridSteps; ++j) {
            for (int k = 0; k <= kGridSteps; ++k) {
                const double xc = left + dx * i, yc = high + dy * j, z = low - height + dz * k;
                grid.push_back({xc, yc, z, factor(xc, yc, z)});
            }
        }
    }
    std::sort(grid.begin(), grid.end(), [](const Trial& a, const Trial& b) { return a.Fs < b.Fs; });
    if (grid.empty() || !std::isfinite(grid.front().Fs)) {
        refuse(); // no circle of the grid cuts the slope
    }
    Trial best = grid.front();
    for (int s = 0; s < kStarts && s < int(grid.size()) && std::isfinite(grid[s].Fs); ++s) {
        Trial at = grid[s];
        double step[3] = {dx, dy, dz};
        while (std::max({step[0], step[1], step[2]}) > kFinestStep * height) {
            bool moved = false;
            for (int axis = 0; axis < 3; ++axis) {
                for (const double sign : {-1.0, 1.0}) {
                    Trial next = at;
                    (axis == 0 ? next.xc : axis == 1 ? next.yc : next.bottom) += sign * step[axis];
                    next.Fs = factor(next.xc, next.yc, next.bottom);
                    if (next.Fs < at.Fs) {
                        at = next;
                        moved = true;
                    }
                }
            }
            if (!moved) {
                for (double& d : step) {
                    d /= 2;
                }
            }
        }
        if (at.Fs < best.Fs) {
            best = at;
        }
    }
    const double xc = frame.mirrored ? -best.xc : best.xc;
    return bishopFactor(section, {xc, best.yc, best.yc - best.bottom}, trace);
}

} // namespace subprogram
