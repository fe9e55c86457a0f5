// The slope calculator's list inputs: numbers separated by ';', rows of numbers separated by
// spaces, each read as a field reads a number before any is counted.
#include "slopeinputs.h"

#include "calculators/domains.h"
#include "calculators/listtext.h"
#include "core/numerictext.h"

#include <algorithm>
#include <cmath>

namespace subprogram::slope {

namespace {

std::vector<Point> pointsOf(std::string_view text) {
    std::vector<Point> points;
    for (const auto& row : rowsOf(text, 2)) {
        if (!points.empty() && !(row[0] > points.back().x)) {
            throw CalcError(ErrorKind::InvalidArgument); // x must increase
        }
        points.push_back({row[0], row[1]});
    }
    if (points.size() < 2) {
        throw CalcError(ErrorKind::InvalidArgument);
    }
    return points;
}

// A list of values each in `domain`.
auto listWithin(const Domain& domain) {
    return [&domain](std::string_view text) {
        std::vector<double> v = numberList(text);
        for (const double x : v) {
            within(x, domain);
        }
        return v;
    };
}

// One value per block, or one for all of them (c, φ, U).
std::vector<double> perBlock(const Form& form, FieldId field, std::size_t blocks, bool oneForAll,
                             double none, const Domain& domain) {
    if (form.text(field).empty() && none == 0) {
        return std::vector<double>(blocks, none);
    }
    std::vector<double> v = form.readWith(field, listWithin(domain));
    if (oneForAll && v.size() == 1) {
        v.assign(blocks, v.front());
    }
    if (v.size() != blocks) {
        throw FieldError(CalcError(ErrorKind::InvalidArgument,
                                   oneForAll ? "应为一个数，或每个条块一个数（与 G 的个数相同）"
                                             : "每个条块一个数：个数应与 G 的相同"),
                         field);
    }
    return v;
}

} // namespace

std::vector<SlidingBlock> readBlocks(const Form& form) {
    const std::vector<double> G = form.readWith(in::G, listWithin(kNonNegative));
    if (G.size() > kMaxBlocks) {
        throw FieldError(CalcError(ErrorKind::SubscriptOutOfRange, "条块至多 50 块"), in::G);
    }
    const std::vector<double> theta = perBlock(form, in::theta, G.size(), false, 1, kInclination);
    const std::vector<double> c = perBlock(form, in::c, G.size(), true, 1, kNonNegative);
    const std::vector<double> phi = perBlock(form, in::phi, G.size(), true, 1, kFriction);
    const std::vector<double> l = perBlock(form, in::l, G.size(), false, 1, kPositive);
    const std::vector<double> U = perBlock(form, in::U, G.size(), false, 0, kNonNegative);
    std::vector<SlidingBlock> blocks;
    for (std::size_t i = 0; i < G.size(); ++i) {
        blocks.push_back({G[i], theta[i], c[i], phi[i], l[i], U[i]});
    }
    return blocks;
}

SlopeSection readSection(const Form& form, double kh, double gammaWater) {
    SlopeSection s;
    s.kh = kh;
    s.gammaWater = gammaWater;
    s.surface = form.readWith(in::surface, pointsOf);
    const double gamma = form.readDouble(in::gamma);
    const double c = form.readDouble(in::c);
    const double phi = readFriction(form);
    if (form.text(in::layers).empty()) {
        s.strata.push_back({s.surface.front().y, gamma, c, phi});
    } else {
        for (const auto& row :
             form.readWith(in::layers, [](std::string_view t) { return rowsOf(t, 4); })) {
            if (!(row[3] >= 0 && row[3] <= kRightAngle) ||
                (!s.strata.empty() && !(row[0] < s.strata.back().top))) {
                throw FieldError(CalcError(ErrorKind::InvalidArgument), in::layers);
            }
            s.strata.push_back({row[0], row[1], row[2], row[3]});
        }
    }
    if (!form.text(in::water).empty()) {
        s.water = form.readWith(in::water, pointsOf);
    }
    s.slices = static_cast<int>(form.readWith(in::slices, [](std::string_view t) {
        const double n = textToDouble(t);
        if (n != std::floor(n) || n < 1 || n > 1000) {
            throw CalcError(ErrorKind::InvalidArgument);
        }
        return n;
    }));
    return s;
}

std::optional<Circle> readCircle(const Form& form) {
    if (form.text(in::circle).empty()) {
        return std::nullopt;
    }
    const auto rows = form.readWith(in::circle, [](std::string_view t) { return rowsOf(t, 3); });
    if (rows.size() != 1 || !(rows[0][2] > 0)) {
        throw FieldError(CalcError(ErrorKind::InvalidArgument), in::circle);
    }
    return Circle{rows[0][0], rows[0][1], rows[0][2]};
}

double readFriction(const Form& form) {
    return readWithin(form, in::phi, kFriction);
}

RequiredFactor readRequiredFactor(const Form& form, SlopeGrade grade, SlopeCase situation) {
    if (form.text(in::FstReq).empty()) {
        return {requiredStabilityFactor(grade, situation), false};
    }
    return {readWithin(form, in::FstReq, kPositive), true};
}

} // namespace subprogram::slope
