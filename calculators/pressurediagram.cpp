#include "pressurediagram.h"

#include "calculators/bracket.h"
#include "core/calcerror.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <optional>
#include <tuple>
#include <utility>

namespace subprogram {

namespace {

// Degrees to radians with the tool's own π, as the routines convert them.
double rad(double degrees) {
    return degrees * 3.1415926 / 180;
}

} // namespace

PressureLaw PressureLaw::coulomb(double gamma, double phi, double c, double q, double delta,
                                 double beta, double alpha) {
    const double a = rad(alpha), b = rad(beta), d = rad(delta), f = rad(phi);
    const double s1 = b + a, s2 = a - d, w = b + a - f - d, s3 = d + f, s4 = f - b;
    PressureLaw law;
    law.kind_ = Kind::Coulomb;
    law.gamma_ = gamma;
    law.k1_ = 2 * q * std::sin(a) * std::cos(b) / (gamma * std::sin(s1));
    law.k2_ = 2 * c / gamma;
    law.T_ = std::sin(s1) * std::sin(s2) + std::sin(s4) * std::sin(s3);
    law.X_ = 2 * std::sin(a) * std::cos(f) * std::cos(w);
    law.Y_ = std::sin(a) * std::cos(f);
    law.P1_ = std::sin(s1) * std::sin(s4);
    law.P2_ = std::sin(s2) * std::sin(s3);
    law.F_ = std::sin(s1) / (std::sin(a) * std::sin(a) * std::sin(w) * std::sin(w));
    return law;
}

PressureLaw PressureLaw::limitedFill(double gamma, double deltaR, double c, double delta,
                                     double theta, double beta, double alpha) {
    const double a = rad(alpha), b = rad(beta), d = rad(delta), dr = rad(deltaR), t = rad(theta);
    const double A = std::sin(b + a) / std::sin(a - d + t - dr) / std::sin(t - b);
    const double B = std::sin(t + a) * std::sin(t - dr) / std::sin(a) / std::sin(a);
    PressureLaw law;
    law.kind_ = Kind::LimitedFill;
    law.slope_ = gamma * A * B;
    law.offset_ = -A * c * std::cos(dr) / std::sin(a); // ½γA·(2c/γ)·cos δr / sin α
    return law;
}

PressureLaw PressureLaw::atRest(double phi, double q, double gamma) {
    const double K0 = 1 - std::sin(rad(phi));
    PressureLaw law;
    law.kind_ = Kind::AtRest;
    law.slope_ = gamma * K0;
    law.offset_ = q * K0;
    return law;
}

PressureLaw PressureLaw::layered(std::shared_ptr<const LayeredPressure> pressure) {
    PressureLaw law;
    law.kind_ = Kind::Layered;
    law.layered_ = std::move(pressure);
    return law;
}

namespace {

// p at z on a piece that holds it.
double along(const PressurePiece& piece, double z) {
    return piece.top + (piece.bottom - piece.top) * (z - piece.from) / (piece.to - piece.from);
}

// The piece holding z: the lower one where two meet (a jump takes the value below it), the last
// one at the base.
const PressurePiece* pieceAt(const LayeredPressure& pressure, double z) {
    for (const PressurePiece& piece : pressure.pieces) {
        if (z >= piece.from && z < piece.to) {
            return &piece;
        }
    }
    return pressure.pieces.empty() || z != pressure.pieces.back().to ? nullptr
                                                                     : &pressure.pieces.back();
}

} // namespace

double PressureLaw::at(double z) const {
    if (kind_ == Kind::Layered) {
        const PressurePiece* piece = pieceAt(*layered_, z);
        return piece ? along(*piece, z) : 0;
    }
    if (kind_ != Kind::Coulomb) {
        return slope_ * z + offset_;
    }
    const double u1 = (z + k1_) * P1_ + k2_ * Y_, u2 = (z + k1_) * P2_ + k2_ * Y_;
    const double root = std::sqrt(u1 * u2);
    const double G = (z + k1_) * T_ + k2_ * X_ - 2 * root;
    // G′ = T − (P₁U₂ + U₁P₂)/√(U₁U₂); where U₁U₂ = 0 without cohesion, U₁ : U₂ = P₁ : P₂ and
    // the quotient is its limit, 2√(P₁P₂)
    const double slope = T_ - (root > 0 ? (P1_ * u2 + u1 * P2_) / root : 2 * std::sqrt(P1_ * P2_));
    return gamma_ * F_ * (G + z * slope) / 2;
}

double PressureLaw::resultant(double z) const {
    if (kind_ == Kind::Layered) { // the net area down to z, every piece as it stands
        double area = 0;
        for (const PressurePiece& piece : layered_->pieces) {
            const double to = std::min(z, piece.to);
            if (to > piece.from) {
                area += (piece.top + along(piece, to)) / 2 * (to - piece.from);
            }
        }
        return area;
    }
    if (kind_ != Kind::Coulomb) {
        return slope_ * z * z / 2 + offset_ * z;
    }
    const double u1 = (z + k1_) * P1_ + k2_ * Y_, u2 = (z + k1_) * P2_ + k2_ * Y_;
    return gamma_ * z * F_ * ((z + k1_) * T_ + k2_ * X_ - 2 * std::sqrt(u1 * u2)) / 2;
}

PressureDiagram pressureDiagram(const PressureLaw& law, double height, int steps) {
    PressureDiagram d;
    d.height = height;
    steps = std::max(steps, 1);
    for (int i = 0; i <= steps; ++i) {
        const double z = i == steps ? height : height * i / steps;
        d.depths.push_back(z);
        d.values.push_back(law.at(z));
    }
    d.top = d.values.front();
    d.base = d.values.back();
    if (law.kind_ == PressureLaw::Kind::Layered) {
        // the calculation's own resultants and points: its pieces are exact
        const LayeredPressure& p = *law.layered_;
        d.layered = law.layered_;
        for (const double z : d.depths) {
            d.water.push_back(p.waterDepth && z > *p.waterDepth ? p.gammaWater * (z - *p.waterDepth)
                                                                : 0);
        }
        d.area = law.resultant(height);
        d.compressedArea = p.Ea;
        d.actionDepth = p.za ? height - *p.za : 0;
        d.tension = std::ranges::any_of(
            p.pieces, [](const PressurePiece& piece) { return piece.top < 0 || piece.bottom < 0; });
        return d;
    }
    d.area = law.resultant(height);
    // z₀ by bisection where p changes sign over the height (p grows with depth: the tension is
    // above)
    if ((d.top < 0) != (d.base < 0)) {
        double low = 0, high = height;
        for (int i = 0; i < 200 && high - low > 1e-12 * height; ++i) {
            const double mid = (low + high) / 2;
            ((law.at(mid) < 0) == (d.top < 0) ? low : high) = mid;
        }
        d.zeroDepth = (low + high) / 2;
    }
    // the compressed part's area and centroid by Simpson's rule over each part where p keeps
    // its sign (split at z₀, where the diagram has a kink when cut to p > 0)
    const auto integrate = [&law](double from, double to, auto&& weight) {
        constexpr int kParts = 2000; // even
        const double h = (to - from) / kParts;
        double sum = 0;
        for (int i = 0; i <= kParts; ++i) {
            const double z = from + h * i;
            const double p = std::max(law.at(z), 0.0);
            sum += (i == 0 || i == kParts ? 1 : i % 2 ? 4 : 2) * weight(z) * p;
        }
        return sum * h / 3;
    };
    const double from = d.zeroDepth && d.top < 0 ? *d.zeroDepth : 0;
    const double to = d.zeroDepth && d.base < 0 ? *d.zeroDepth : height;
    d.tension = d.top < 0 || d.base < 0;
    const bool compressed = !(d.top <= 0 && d.base <= 0);
    if (compressed && to > from) {
        d.compressedArea = integrate(from, to, [](double) { return 1.0; });
        const double moment = integrate(from, to, [](double z) { return z; });
        d.actionDepth = d.compressedArea > 0 ? moment / d.compressedArea : (from + to) / 2;
    }
    return d;
}

namespace {

// The nodes and weights of n-point Gauss–Legendre quadrature on [−1, 1], by Newton's iteration on
// the Legendre polynomial from the usual first guesses.
template <int n> struct GaussLegendre {
    std::array<double, n> x{}, w{};
    GaussLegendre() {
        constexpr double kPi = 3.14159265358979323846;
        for (int i = 0; i < (n + 1) / 2; ++i) {
            double z = std::cos(kPi * (i + 0.75) / (n + 0.5)), derivative = 0;
            for (int iteration = 0; iteration < 100; ++iteration) {
                double p1 = 1, p2 = 0;
                for (int j = 1; j <= n; ++j) {
                    const double p3 = p2;
                    p2 = p1;
                    p1 = ((2 * j - 1) * z * p2 - (j - 1) * p3) / j;
                }
                derivative = n * (z * p1 - p2) / (z * z - 1);
                const double step = p1 / derivative;
                z -= step;
                if (std::fabs(step) < 1e-16) {
                    break;
                }
            }
            x[i] = -z;
            x[n - 1 - i] = z;
            w[i] = w[n - 1 - i] = 2 / ((1 - z * z) * derivative * derivative);
        }
    }
};

} // namespace

namespace {

// Where p changes sign over the height, to within 10⁻¹⁰ of the height; none where it does not.
// What is taken there — E(z₀), the moment of the part beyond z₀ — has its least or greatest value
// at z₀ (its derivative is p), so that an error ε in z₀ changes it by ½p′ε² only: far below the
// last digit. The bracket narrows by false position (see narrowSignChange), in a few steps where
// the diagram is nearly straight.
std::optional<double> zeroCrossing(const PressureLaw& law, double height) {
    double low = 0, high = height, pLow = law.at(0), pHigh = law.at(height);
    const bool topInTension = pLow < 0;
    if (topInTension == (pHigh < 0)) {
        return std::nullopt;
    }
    constexpr double kClose = 1e-10; // of the height
    std::tie(low, high) = narrowSignChange([&](double z) { return law.at(z); }, low, high, pLow,
                                           pHigh, kClose * height);
    return (low + high) / 2;
}

// The part of the height under compression: [z₀, H] below a tension zone, [0, z₀] above one.
std::pair<double, double> compressedPart(const PressureLaw& law, double height) {
    const std::optional<double> z0 = zeroCrossing(law, height);
    if (!z0) {
        return {0, height};
    }
    return law.at(0) < 0 ? std::pair{*z0, height} : std::pair{0.0, *z0};
}

} // namespace

double PressureLaw::integral(double z1, double z2) const {
    static const GaussLegendre<32> rule;
    const auto gauss = [&] {
        double sum = 0;
        for (int i = 0; i < 32; ++i) {
            sum += rule.w[i] * resultant(z1 + (z2 - z1) / 2 * (rule.x[i] + 1));
        }
        return sum * (z2 - z1) / 2;
    };
    const auto cube = [](double z) { return z * z * z; };
    if (kind_ == Kind::LimitedFill || kind_ == Kind::AtRest) { // E = slope·z²/2 + offset·z
        return slope_ * (cube(z2) - cube(z1)) / 6 + offset_ * (z2 * z2 - z1 * z1) / 2;
    }
    if (kind_ != Kind::Coulomb) {
        return gauss();
    }
    // E(z) = ½γF·z·(s·T + k₂X − 2R), s = z + k₁, R = √Q(s), Q = a·s² + b·s + c with a = P₁P₂,
    // b = k₂Y(P₁ + P₂), c = k₂²Y²: the root's integrals in closed form, where a is not small
    // against (b/2)²/c, the square of the roots' mean over their product
    const double a = P1_ * P2_, b = k2_ * Y_ * (P1_ + P2_), c = k2_ * k2_ * Y_ * Y_;
    const auto polynomial = [&](double z) { // ∫ z·(s·T + k₂X) dz
        return T_ * (cube(z) / 3 + k1_ * z * z / 2) + k2_ * X_ * z * z / 2;
    };
    if (c == 0 && P1_ >= 0 && P2_ >= 0) { // no cohesion: R = s·√(P₁P₂), a polynomial
        const double root = std::sqrt(a);
        const auto whole = [&](double z) {
            return polynomial(z) - 2 * root * (cube(z) / 3 + k1_ * z * z / 2);
        };
        return gamma_ * F_ / 2 * (whole(z2) - whole(z1));
    }
    if (c == 0 || P1_ <= 0 || P2_ <= 0 || 4 * a * c < 0.1 * b * b) {
        return gauss();
    }
    // ∫R ds = (2as + b)R/(4a) + (4ac − b²)/(8a)·J, J = ln(2√a·R + 2as + b)/√a;
    // ∫s·R ds = R³/(3a) − b/(2a)·∫R ds; ∫z·R dz = ∫(s − k₁)·R ds
    const double rootA = std::sqrt(a);
    const auto rootIntegral = [&](double z) {
        const double s = z + k1_, R = std::sqrt((a * s + b) * s + c);
        const double plain =
            (2 * a * s + b) * R / (4 * a) +
            (4 * a * c - b * b) / (8 * a) * std::log(2 * rootA * R + 2 * a * s + b) / rootA;
        return R * R * R / (3 * a) - (b / (2 * a) + k1_) * plain;
    };
    return gamma_ * F_ / 2 *
           (polynomial(z2) - polynomial(z1) - 2 * (rootIntegral(z2) - rootIntegral(z1)));
}

std::optional<double> resultantHeight(const PressureLaw& law, double height, bool compressedOnly) {
    if (!(height > 0)) {
        throw CalcError(ErrorKind::InvalidArgument);
    }
    // the moment about the base of the part from `from` to `to`:
    // ∫ p·(H − z) dz = E(to)·(H − to) − E(from)·(H − from) + ∫ E dz
    const auto [from, to] = compressedOnly ? compressedPart(law, height) : std::pair{0.0, height};
    const double total = law.resultant(to) - law.resultant(from);
    if (!(total > 0) || !(to > from)) {
        return std::nullopt; // no thrust, no point where it acts
    }
    const double integral = law.integral(from, to);
    const double moment =
        law.resultant(to) * (height - to) - law.resultant(from) * (height - from) + integral;
    const double above = moment / total;
    if (!std::isfinite(above)) {
        throw CalcError(ErrorKind::Overflow);
    }
    return above;
}

double compressedResultant(const PressureLaw& law, double height, double resultant) {
    const double top = law.at(0), base = law.at(height);
    if (top <= 0 && base <= 0) {
        return 0;
    }
    const std::optional<double> z0 = zeroCrossing(law, height);
    if (!z0) {
        return resultant;
    }
    const double compressed = top < 0 ? resultant - law.resultant(*z0) : law.resultant(*z0);
    if (!std::isfinite(compressed)) {
        throw CalcError(ErrorKind::Overflow);
    }
    return compressed;
}

std::string diagramNumber(double value) {
    if (value == 0 || !std::isfinite(value)) {
        return value == 0 ? "0" : "—";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", value);
    std::string s = text;
    if (s.find('e') != std::string::npos) {
        std::snprintf(text, sizeof text, "%.3e", value);
        return text;
    }
    return s == "-0" ? "0" : s;
}

} // namespace subprogram
