// The slope calculator's list inputs: numbers separated by ';', rows of numbers separated by
// spaces, each read as a field reads a number before any is counted.
#include "slopeinputs.h"

#include "core/numerictext.h"

#include <algorithm>
#include <cmath>

namespace subprogram::slope {

namespace {

// "a;b;c" → its numbers; every item is read before any is counted, so a text that is no number
// fails as one.
std::vector<double> numberList(std::string_view text) {
    std::vector<double> numbers;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(';', start);
        numbers.push_back(textToDouble(text.substr(start, end - start)));
        if (end == std::string_view::npos) {
            return numbers;
        }
        start = end + 1;
    }
}

// "x y;x y" → rows of `columns` numbers each, separated by spaces or tabs.
std::vector<std::vector<double>> rowsOf(std::string_view text, std::size_t columns) {
    std::vector<std::vector<double>> rows;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(';', start);
        const std::string_view item = text.substr(start, end - start);
        std::vector<double> row;
        for (std::size_t at = item.find_first_not_of(" \t"); at != std::string_view::npos;) {
            const std::size_t stop = std::min(item.find_first_of(" \t", at), item.size());
            row.push_back(textToDouble(item.substr(at, stop - at)));
            at = item.find_first_not_of(" \t", stop);
        }
        if (row.size() != columns) {
            throw CalcError(ErrorKind::InvalidArgument);
        }
        rows.push_back(std::move(row));
        if (end == std::string_view::npos) {
            return rows;
        }
        start = end + 1;
    }
}

double frictionAngle(double phi) {
    if (!(phi >= 0 && phi <= kRightAngle)) {
        throw CalcError(ErrorKind::InvalidArgument);
    }
    return phi;
}

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

// One value per block, or one for all of them (c, φ, U).
std::vector<double> perBlock(const Form& form, FieldId field, std::size_t blocks, bool oneForAll,
                             double none) {
    if (form.text(field).empty() && none == 0) {
        return std::vector<double>(blocks, none);
    }
    std::vector<double> v = form.readWith(field, numberList);
    if (oneForAll && v.size() == 1) {
        v.assign(blocks, v.front());
    }
    if (v.size() != blocks) {
        throw FieldError(CalcError(ErrorKind::InvalidArgument), field);
    }
    return v;
}

} // namespace

std::vector<SlidingBlock> readBlocks(const Form& form) {
    const std::vector<double> G = form.readWith(in::G, numberList);
    if (G.size() > kMaxBlocks) {
        throw FieldError(CalcError(ErrorKind::SubscriptOutOfRange), in::G);
    }
    const std::vector<double> theta = perBlock(form, in::theta, G.size(), false, 1);
    const std::vector<double> c = perBlock(form, in::c, G.size(), true, 1);
    const std::vector<double> phi = perBlock(form, in::phi, G.size(), true, 1);
    const std::vector<double> l = perBlock(form, in::l, G.size(), false, 1);
    const std::vector<double> U = perBlock(form, in::U, G.size(), false, 0);
    std::vector<SlidingBlock> blocks;
    for (std::size_t i = 0; i < G.size(); ++i) {
        if (!(phi[i] >= 0 && phi[i] <= kRightAngle)) {
            throw FieldError(CalcError(ErrorKind::InvalidArgument), in::phi);
        }
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
    return form.readWith(in::phi,
                         [](std::string_view t) { return frictionAngle(textToDouble(t)); });
}

} // namespace subprogram::slope
