#include "rib.h"

#include "core/calcerror.h"

#include <algorithm>
#include <cmath>

namespace subprogram {

namespace {

// The load's intensity on a piece.
double along(const LoadPiece& p, double z) {
    return p.to == p.from ? p.top : p.top + (p.bottom - p.top) * (z - p.from) / (p.to - p.from);
}

// ∫ q(s)·f(s) ds over [a, b] for a polynomial f of degree 3 at most: three-point Gauss–Legendre
// on each piece's part, exact for the quartic q·f.
template <typename F> double integral(std::span<const LoadPiece> load, double a, double b, F f) {
    static const double kNode = std::sqrt(0.6);
    constexpr double kOuter = 5.0 / 9, kMiddle = 8.0 / 9;
    double sum = 0;
    for (const LoadPiece& p : load) {
        const double from = std::max(a, p.from), to = std::min(b, p.to);
        if (!(to > from)) {
            continue;
        }
        const double half = (to - from) / 2, mid = from + half;
        const auto term = [&](double s) { return along(p, s) * f(s); };
        sum += half * (kOuter * term(mid - half * kNode) + kMiddle * term(mid) +
                       kOuter * term(mid + half * kNode));
    }
    return sum;
}

// A tridiagonal system solved by elimination without pivoting: the three-moment equations are
// diagonally dominant. `lower[0]` and `upper[n − 1]` are not read.
std::vector<double> solveTridiagonal(std::vector<double> lower, std::vector<double> diagonal,
                                     std::vector<double> upper, std::vector<double> rhs) {
    const std::size_t n = diagonal.size();
    for (std::size_t i = 1; i < n; ++i) {
        const double factor = lower[i] / diagonal[i - 1];
        diagonal[i] -= factor * upper[i - 1];
        rhs[i] -= factor * rhs[i - 1];
    }
    std::vector<double> x(n);
    for (std::size_t i = n; i-- > 0;) {
        x[i] = (rhs[i] - (i + 1 < n ? upper[i] * x[i + 1] : 0)) / diagonal[i];
    }
    return x;
}

} // namespace

double loadBetween(std::span<const LoadPiece> load, double a, double b) {
    return integral(load, a, b, [](double) { return 1.0; });
}

RibForces::RibForces(std::span<const double> rows, double H, RibFoot foot,
                     std::span<const LoadPiece> load) {
    const std::size_t n = rows.size();
    if (n == 0 || (n == 1 && foot == RibFoot::Free)) {
        throw CalcError(ErrorKind::InvalidArgument,
                        "肋柱为机构：至少需两排锚杆，或一排锚杆且柱底有支承");
    }
    totalLoad_ = loadBetween(load, 0, H);

    // the supports from the top down, with their moments where statics gives them: the top row's
    // from the overhang above it; a free foot's last row's from the cantilever below it
    std::vector<double> at(rows.begin(), rows.end());
    if (foot != RibFoot::Free) {
        at.push_back(H);
    }
    const std::size_t m = at.size() - 1; // spans
    std::vector<double> M(at.size(), 0.0);
    M[0] = -integral(load, 0, rows[0], [&](double s) { return rows[0] - s; });
    if (foot == RibFoot::Free) {
        M[m] = -integral(load, rows[n - 1], H, [&](double s) { return s - rows[n - 1]; });
    }
    // each span's end rotations as a simple beam, times EI: θ at its upper and lower ends
    std::vector<double> upperRotation(m + 1), lowerRotation(m + 1), length(m + 1);
    for (std::size_t k = 1; k <= m; ++k) {
        const double top = at[k - 1], L = at[k] - at[k - 1];
        length[k] = L;
        upperRotation[k] = integral(load, top, at[k],
                                    [&](double s) {
                                        const double x = s - top;
                                        return x * (L - x) * (2 * L - x);
                                    }) /
                           (6 * L);
        lowerRotation[k] = integral(load, top, at[k],
                                    [&](double s) {
                                        const double x = s - top;
                                        return x * (L - x) * (L + x);
                                    }) /
                           (6 * L);
    }
    // the unknown moments: the inner supports', and a fixed foot's
    const std::size_t first = 1, last = foot == RibFoot::Fixed ? m : m - 1;
    if (last >= first) {
        const std::size_t count = last - first + 1;
        std::vector<double> lower(count), diagonal(count), upper(count), rhs(count);
        for (std::size_t i = first; i <= last; ++i) {
            const std::size_t r = i - first;
            if (i <
                m) { // M(i−1)·L(i) + 2M(i)·(L(i) + L(i+1)) + M(i+1)·L(i+1) = −6(θb(i) + θa(i+1))
                lower[r] = length[i];
                diagonal[r] = 2 * (length[i] + length[i + 1]);
                upper[r] = length[i + 1];
                rhs[r] = -6 * (lowerRotation[i] + upperRotation[i + 1]);
            } else { // the fixed foot turns not: M(m−1)·L(m) + 2M(m)·L(m) = −6θb(m)
                lower[r] = length[i];
                diagonal[r] = 2 * length[i];
                rhs[r] = -6 * lowerRotation[i];
            }
            if (r == 0) {
                rhs[r] -= lower[r] * M[i - 1];
            }
            if (i == last && i < m) {
                rhs[r] -= upper[r] * M[i + 1];
            }
        }
        const std::vector<double> solved = solveTridiagonal(lower, diagonal, upper, rhs);
        std::copy(solved.begin(), solved.end(), M.begin() + static_cast<std::ptrdiff_t>(first));
    }

    // the stretches from the top down: each segment between stations from M and V at its top
    std::vector<double> stations{0.0};
    stations.insert(stations.end(), rows.begin(), rows.end());
    stations.push_back(H);
    std::vector<double> shearAbove(n + 1, 0.0), shearBelow(n + 1, 0.0); // at each row, at H
    for (std::size_t s = 0; s + 1 < stations.size(); ++s) {
        const double top = stations[s], bottom = stations[s + 1];
        double moment = 0, shear = 0;
        if (s == 0) {
            // the overhang: nothing at the free crest
        } else if (s == n && foot == RibFoot::Free) { // the cantilever below the last row
            moment = M[m];
            shear = loadBetween(load, top, bottom);
        } else { // span s of the supports: a simple beam's left reaction, and the end moments'
            const double L = bottom - top;
            const double simple =
                integral(load, top, bottom, [&](double z) { return bottom - z; }) / L;
            moment = M[s - 1];
            shear = simple + (M[s] - M[s - 1]) / L;
        }
        if (s > 0) {
            shearBelow[s - 1] = shear;
        }
        // through the load's pieces within the segment
        for (const LoadPiece& p : load) {
            const double from = std::max(top, p.from), to = std::min(bottom, p.to);
            if (!(to > from)) {
                continue;
            }
            const double q = along(p, from);
            const double slope = p.to == p.from ? 0 : (p.bottom - p.top) / (p.to - p.from);
            stretches_.push_back({from, to, moment, shear, q, slope});
            const double t = to - from;
            moment += shear * t - q * t * t / 2 - slope * t * t * t / 6;
            shear -= q * t + slope * t * t / 2;
        }
        shearAbove[s] = shear;
    }
    for (std::size_t j = 0; j < n; ++j) {
        reactions_.push_back(shearBelow[j] - shearAbove[j]);
    }
    if (foot != RibFoot::Free) {
        baseReaction_ = -shearAbove[n];
    }
    if (foot == RibFoot::Fixed) {
        baseMoment_ = M[m];
    }

    // the extremes: at each stretch's ends, where V = 0 (M's extreme) and where q = 0 (V's)
    bool any = false;
    const auto consider = [&](double z, double moment, double shear) {
        if (!any || moment > greatest_.value) {
            greatest_ = {moment, z};
        }
        if (!any || moment < least_.value) {
            least_ = {moment, z};
        }
        if (!any || std::fabs(shear) > greatestShear_.value) {
            greatestShear_ = {std::fabs(shear), z};
        }
        any = true;
    };
    for (const Stretch& s : stretches_) {
        const auto at = [&](double t) {
            consider(s.from + t, s.M + s.V * t - s.q * t * t / 2 - s.slope * t * t * t / 6,
                     s.V - s.q * t - s.slope * t * t / 2);
        };
        const double L = s.to - s.from;
        at(0);
        // V(t) = V − q·t − slope·t²/2 = 0
        if (s.slope == 0) {
            if (s.q != 0) {
                const double t = s.V / s.q;
                if (t > 0 && t < L) {
                    at(t);
                }
            }
        } else {
            const double a = -s.slope / 2, b = -s.q, c = s.V;
            const double disc = b * b - 4 * a * c;
            if (disc >= 0) {
                const double root = std::sqrt(disc);
                const double q = -(b + std::copysign(root, b)) / 2; // no cancellation
                for (const double t : {q / a, q != 0 ? c / q : -1.0}) {
                    if (t > 0 && t < L) {
                        at(t);
                    }
                }
            }
            const double t = -s.q / s.slope; // the load crosses zero: V's extreme
            if (t > 0 && t < L) {
                at(t);
            }
        }
        at(L);
    }
    if (baseMoment_) {
        consider(H, *baseMoment_, shearAbove[n]);
    }
}

const RibForces::Stretch& RibForces::stretchAt(double z) const {
    for (const Stretch& s : stretches_) {
        if (z >= s.from && z < s.to) {
            return s;
        }
    }
    return stretches_.back();
}

double RibForces::moment(double z) const {
    const Stretch& s = stretchAt(z);
    const double t = z - s.from;
    return s.M + s.V * t - s.q * t * t / 2 - s.slope * t * t * t / 6;
}

double RibForces::shear(double z) const {
    const Stretch& s = stretchAt(z);
    const double t = z - s.from;
    return s.V - s.q * t - s.slope * t * t / 2;
}

double RibForces::load(double z) const {
    const Stretch& s = stretchAt(z);
    return s.q + s.slope * (z - s.from);
}

std::vector<double> tributaryReactions(std::span<const double> rows, double H,
                                       std::span<const LoadPiece> load) {
    std::vector<double> shares;
    for (std::size_t j = 0; j < rows.size(); ++j) {
        const double top = j == 0 ? 0 : (rows[j - 1] + rows[j]) / 2;
        const double bottom = j + 1 == rows.size() ? H : (rows[j] + rows[j + 1]) / 2;
        shares.push_back(loadBetween(load, top, bottom));
    }
    return shares;
}

} // namespace subprogram
