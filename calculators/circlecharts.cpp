// The ways the search for the critical circle names a circle by three numbers, each with its
// way back, and the local searches over them (see circlecharts.h).
#include "circlecharts.h"

#include "calculators/angles.h"
#include "calculators/slicing.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace subprogram::charts {

using namespace slicing;

namespace {

constexpr double kFinestBend = 1e-12; // the bisections of a bend or a radius for a depth
constexpr double kFinest = 1e-9;      // the least step of a local search, of its spacing
constexpr int kMostDoublings = 20;    // of a radius, to bracket a depth

using Ground = std::vector<Point>;

std::optional<Circle> throughEnds(const Ground& ground, const Numbers& n) {
    const double xa = n[0], xb = n[1], t = n[2];
    if (!(xa < xb && t > 0 && t <= 1)) {
        return std::nullopt;
    }
    const double ya = heightAt(ground, xa), yb = heightAt(ground, xb);
    const double dx = xb - xa, dy = yb - ya, chord = std::hypot(dx, dy);
    const double alpha = t * (kPi / 2 - std::atan(std::abs(dy) / dx));
    const double R = chord / 2 / std::sin(alpha), d = chord / 2 / std::tan(alpha);
    return Circle{(xa + xb) / 2 - d * dy / chord, (ya + yb) / 2 + d * dx / chord, R};
}

} // namespace

std::optional<double> bendOfDepth(const Ground& ground, double xa, double xb, double h) {
    const auto depth = [&](double t) {
        const std::optional<Circle> c = throughEnds(ground, {xa, xb, t});
        return c ? greatestDepth(ground, *c, xa, xb) : -kInfinity;
    };
    if (!(h > 0) || !(depth(1) >= h)) {
        return std::nullopt;
    }
    double low = 0, high = 1;
    while (high - low > kFinestBend) {
        const double mid = (low + high) / 2;
        (depth(mid) < h ? low : high) = mid;
    }
    return high;
}

namespace {

std::optional<Circle> ofDepth(const Ground& ground, double xa, double xb, double h) {
    const std::optional<double> t = bendOfDepth(ground, xa, xb, h);
    return t ? throughEnds(ground, {xa, xb, *t}) : std::nullopt;
}

// Where a circle enters the ground and leaves it, and the greatest depth between; none for a
// circle that is no slip surface.
std::optional<std::array<double, 3>> endsAndDepth(const Ground& ground, const Circle& c) {
    try {
        const auto [xa, xb] = entryAndExit(ground, c);
        return std::array<double, 3>{xa, xb, greatestDepth(ground, c, xa, xb)};
    } catch (const CalcError&) {
        return std::nullopt;
    }
}

// The greatest depth of a circle's arc anywhere under the ground.
double depthUnder(const Ground& ground, const Circle& c) {
    return greatestDepth(ground, c, std::max(ground.front().x, c.xc - c.R),
                         std::min(ground.back().x, c.xc + c.R));
}

// The radius of the circle through the ground at x with its lowest point at (x0, y0):
// (x − x0)² + (y − y0 − R)² = R².
std::optional<Circle> throughToLowest(const Ground& ground, double x, double x0, double y0) {
    const double dx = x - x0, dy = heightAt(ground, x) - y0;
    if (!(dy > 0)) {
        return std::nullopt;
    }
    const double R = (dx * dx + dy * dy) / (2 * dy);
    return Circle{x0, y0 + R, R};
}

// The least and the most radius a lower arc about (xc, yc) cutting the ground can have: touching
// it, and reaching the nearer of its ends.
std::pair<double, double> reach(const Ground& ground, double xc, double yc) {
    double nearest = kInfinity;
    for (std::size_t i = 1; i < ground.size(); ++i) {
        const Point &a = ground[i - 1], &b = ground[i];
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double t =
            std::clamp(((xc - a.x) * dx + (yc - a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
        nearest = std::min(nearest, std::hypot(a.x + t * dx - xc, a.y + t * dy - yc));
    }
    double farthest = kInfinity;
    for (const Point& e : {ground.front(), ground.back()}) {
        farthest =
            std::min(farthest, e.y >= yc ? std::abs(e.x - xc) : std::hypot(e.x - xc, e.y - yc));
    }
    return {nearest, farthest};
}

} // namespace

const Way kEndsAndBend{
    throughEnds, [](const Ground& g, const Circle& c) -> std::optional<Numbers> {
        const auto e = endsAndDepth(g, c);
        if (!e) {
            return std::nullopt;
        }
        const double dx = (*e)[1] - (*e)[0], dy = heightAt(g, (*e)[1]) - heightAt(g, (*e)[0]);
        const double alpha = std::asin(std::min(1.0, std::hypot(dx, dy) / 2 / c.R));
        return Numbers{(*e)[0], (*e)[1],
                       std::min(1.0, alpha / (kPi / 2 - std::atan(std::abs(dy) / dx)))};
    }};

const Way kCentreAndLowest{
    [](const Ground&, const Numbers& n) -> std::optional<Circle> {
        return n[1] > n[2] ? std::optional(Circle{n[0], n[1], n[1] - n[2]}) : std::nullopt;
    },
    [](const Ground&, const Circle& c) -> std::optional<Numbers> {
        return Numbers{c.xc, c.yc, c.yc - c.R};
    }};

// the radius by bisection: circles with one lowest point are nested, the larger below, so the
// depth grows with the radius
const Way kLowestAndDepth{[](const Ground& g, const Numbers& n) -> std::optional<Circle> {
                              const auto depth = [&](double R) {
                                  return depthUnder(g, {n[0], n[1] + R, R});
                              };
                              if (!(n[2] > 0)) {
                                  return std::nullopt;
                              }
                              double high = g.back().x - g.front().x;
                              for (int k = 0; !(depth(high) >= n[2]); ++k) {
                                  if (k == kMostDoublings) {
                                      return std::nullopt;
                                  }
                                  high *= 2;
                              }
                              double low = 0;
                              while (high - low > kFinestBend * high) {
                                  const double mid = (low + high) / 2;
                                  (depth(mid) < n[2] ? low : high) = mid;
                              }
                              return Circle{n[0], n[1] + high, high};
                          },
                          [](const Ground& g, const Circle& c) -> std::optional<Numbers> {
                              return Numbers{c.xc, c.yc - c.R, depthUnder(g, c)};
                          }};

const Way kEntryAndLowest{
    [](const Ground& g, const Numbers& n) { return throughToLowest(g, n[0], n[1], n[2]); },
    [](const Ground& g, const Circle& c) -> std::optional<Numbers> {
        const auto e = endsAndDepth(g, c);
        return e ? std::optional(Numbers{(*e)[0], c.xc, c.yc - c.R}) : std::nullopt;
    }};

const Way kExitAndLowest{
    [](const Ground& g, const Numbers& n) { return throughToLowest(g, n[0], n[1], n[2]); },
    [](const Ground& g, const Circle& c) -> std::optional<Numbers> {
        const auto e = endsAndDepth(g, c);
        return e ? std::optional(Numbers{(*e)[1], c.xc, c.yc - c.R}) : std::nullopt;
    }};

const Way kEndsAndDepth{
    [](const Ground& g, const Numbers& n) { return ofDepth(g, n[0], n[1], n[2]); },
    [](const Ground& g, const Circle& c) -> std::optional<Numbers> { return endsAndDepth(g, c); }};

const Way kPlaceAndDepth{
    [](const Ground& g, const Numbers& n) { return ofDepth(g, n[0] - n[1], n[0] + n[1], n[2]); },
    [](const Ground& g, const Circle& c) -> std::optional<Numbers> {
        const auto e = endsAndDepth(g, c);
        if (!e) {
            return std::nullopt;
        }
        return Numbers{((*e)[0] + (*e)[1]) / 2, ((*e)[1] - (*e)[0]) / 2, (*e)[2]};
    }};

const Way kCentreAndReach{[](const Ground& g, const Numbers& n) -> std::optional<Circle> {
                              const auto [nearest, farthest] = reach(g, n[0], n[1]);
                              if (!(n[2] > 0 && n[2] <= 1 && farthest > nearest)) {
                                  return std::nullopt;
                              }
                              return Circle{n[0], n[1], nearest + n[2] * (farthest - nearest)};
                          },
                          [](const Ground& g, const Circle& c) -> std::optional<Numbers> {
                              const auto [nearest, farthest] = reach(g, c.xc, c.yc);
                              return Numbers{c.xc, c.yc, (c.R - nearest) / (farthest - nearest)};
                          }};

std::vector<double> spread(const Ground& ground, double from, double to, int n) {
    const auto rise = [&](double x) {
        double sum = 0;
        for (std::size_t i = 1; i < ground.size() && ground[i - 1].x < x; ++i) {
            const double a = std::max(from, ground[i - 1].x), b = std::min(x, ground[i].x);
            if (a < b) {
                sum += std::abs(heightAt(ground, b) - heightAt(ground, a));
            }
        }
        return sum;
    };
    const double total = rise(to);
    std::vector<double> xs{from};
    for (int k = 1; k + 1 < n; ++k) {
        // half the run and half the rise, or the run alone over level ground
        const auto share = [&](double x) {
            const double run = (x - from) / (to - from);
            return total > 0 ? (run + rise(x) / total) / 2 : run;
        };
        double low = from, high = to;
        for (int step = 0; step < 60; ++step) {
            const double mid = (low + high) / 2;
            (share(mid) < double(k) / (n - 1) ? low : high) = mid;
        }
        xs.push_back((low + high) / 2);
    }
    xs.push_back(to);
    return xs;
}

// Spends one of the budget's factors on `next` and takes it where it is lower than `at`.
bool improves(const Function& f, Best& at, Best next, int& left) {
    --left;
    next.value = f(next.at);
    if (next.value < at.value) {
        at = next;
        return true;
    }
    return false;
}

Best patternSearch(const Function& f, Best at, const Numbers& low, const Numbers& high,
                   const Numbers& spacing, double first, int& left) {
    Numbers step;
    for (std::size_t axis = 0; axis < 3; ++axis) {
        step[axis] = first * spacing[axis];
    }
    bool fine = false;
    while (!fine && left > 0) {
        fine = true;
        for (std::size_t axis = 0; axis < 3 && left > 0; ++axis) {
            if (step[axis] < kFinest * spacing[axis]) {
                continue;
            }
            bool moved = false;
            for (const double sign : {-1.0, 1.0}) {
                Best next = at;
                next.at[axis] = std::clamp(at.at[axis] + sign * step[axis], low[axis], high[axis]);
                if (next.at[axis] == at.at[axis] || left <= 0) {
                    continue;
                }
                if (improves(f, at, next, left)) {
                    moved = true;
                    break;
                }
            }
            step[axis] = moved ? std::min(2 * step[axis], spacing[axis]) : step[axis] / 2;
            fine = fine && step[axis] < kFinest * spacing[axis];
        }
    }
    return at;
}

Best wander(const Function& f, Best at, const Numbers& spacing, double first, int misses,
            std::mt19937& random, int& left) {
    double step = first;
    int missed = 0;
    while (step >= kFinest && left > 0) {
        Numbers d;
        double norm = 0;
        do {
            for (double& x : d) {
                x = 2 * double(random()) / double(std::mt19937::max()) - 1;
            }
            norm = std::hypot(d[0], d[1], d[2]);
        } while (!(norm > 0 && norm <= 1));
        bool moved = false;
        for (const double sign : {-1.0, 1.0}) {
            if (left <= 0) {
                break;
            }
            Best next = at;
            for (std::size_t axis = 0; axis < 3; ++axis) {
                next.at[axis] += sign * step * spacing[axis] * d[axis] / norm;
            }
            if (improves(f, at, next, left)) {
                moved = true;
                break;
            }
        }
        if (moved) {
            step = std::min(2 * step, 1.0);
            missed = 0;
        } else if (++missed == misses) {
            step /= 2;
            missed = 0;
        }
    }
    return at;
}

std::vector<std::size_t> localMinima(const std::vector<double>& values,
                                     const std::array<int, 3>& n) {
    const auto index = [&](int i, int j, int k) { return std::size_t((i * n[1] + j) * n[2] + k); };
    std::vector<std::size_t> minima;
    for (int i = 0; i < n[0]; ++i) {
        for (int j = 0; j < n[1]; ++j) {
            for (int k = 0; k < n[2]; ++k) {
                const double v = values[index(i, j, k)];
                bool least = std::isfinite(v);
                for (int a = std::max(i - 1, 0); least && a <= std::min(i + 1, n[0] - 1); ++a) {
                    for (int b = std::max(j - 1, 0); least && b <= std::min(j + 1, n[1] - 1); ++b) {
                        for (int e = std::max(k - 1, 0); least && e <= std::min(k + 1, n[2] - 1);
                             ++e) {
                            least = values[index(a, b, e)] >= v;
                        }
                    }
                }
                if (least) {
                    minima.push_back(index(i, j, k));
                }
            }
        }
    }
    std::stable_sort(minima.begin(), minima.end(),
                     [&](std::size_t a, std::size_t b) { return values[a] < values[b]; });
    return minima;
}

} // namespace subprogram::charts
