// The slope calculator's list inputs: numbers separated by ';', rows of numbers separated by
// spaces, each read as a field reads a number before any is counted.
#include "slopeinputs.h"

#include "calculators/domains.h"
#include "calculators/listtext.h"
#include "calculators/slicing.h"
#include "core/numerictext.h"

#include <algorithm>
#include <cmath>

namespace subprogram::slope {

namespace {

std::vector<Point> pointsOf(std::string_view text) {
    std::vector<Point> points;
    for (const auto& row : rowsOf(text, 2)) {
        if (!points.empty() && !(row[0] > points.back().x)) {
            refuseInput("x 坐标应自左向右递增");
        }
        points.push_back({row[0], row[1]});
    }
    if (points.size() < 2) {
        refuseInput("应至少有两个点");
    }
    return points;
}

// A stratum 'y_top γ c φ [γsat]', or '(x y, x y, …) γ c φ [γsat]' with its top as it lies (its
// `top` then the line's highest point); the numbers are read before they are counted.
Stratum stratumOf(const std::vector<std::string_view>& words) {
    std::vector<Point> line;
    std::size_t first = 0;
    if (!words.empty() && words.front().front() == '(') {
        const std::string_view group = words.front();
        if (group.back() != ')') {
            refuseInput("土层顶面折线应写在一对括号中：“(x y, x y, …) γ c φ [γsat]”");
        }
        std::string_view inside = group.substr(1, group.size() - 2);
        for (std::size_t start = 0;;) {
            const std::size_t comma = inside.find(',', start);
            const auto point = itemsOf(inside.substr(start, comma - start)).front();
            if (point.size() != 2) {
                refuseInput("土层顶面折线的各点应为“x y”，以逗号分隔");
            }
            line.push_back({listNumber(point[0]), listNumber(point[1])});
            if (line.size() > 1 && !(line.back().x > line[line.size() - 2].x)) {
                refuseInput("土层顶面折线的 x 坐标应自左向右递增");
            }
            if (comma == std::string_view::npos) {
                break;
            }
            start = comma + 1;
        }
        if (line.size() < 2) {
            refuseInput("土层顶面折线应至少有两个点");
        }
        first = 1;
    }
    std::vector<double> row;
    for (std::size_t i = first; i < words.size(); ++i) {
        row.push_back(listNumber(words[i]));
    }
    const std::size_t least = line.empty() ? 4 : 3;
    if (row.size() < least || row.size() > least + 1) {
        refuseInput("列表中有一项的数的个数不对（各项以分号“;”分隔，一项中的各数以空格分隔）");
    }
    if (line.empty()) {
        return {row[0], row[1], row[2], row[3], row.size() > 4 ? row[4] : row[1]};
    }
    const double top =
        std::max_element(line.begin(), line.end(), [](const Point& a, const Point& b) {
            return a.y < b.y;
        })->y;
    return {top, row[0], row[1], row[2], row.size() > 3 ? row[3] : row[0], std::move(line)};
}

// Strata some of whose tops lie as polylines: no top may rise above the one over it, at any
// corner of either or of the ground.
void checkTops(const std::vector<Stratum>& strata, const std::vector<Point>& surface) {
    std::vector<double> xs;
    for (const Point& p : surface) {
        xs.push_back(p.x);
    }
    for (const Stratum& st : strata) {
        for (const Point& p : st.line) {
            xs.push_back(p.x);
        }
    }
    for (std::size_t i = 1; i < strata.size(); ++i) {
        for (const double x : xs) {
            if (slicing::topAt(strata[i], x) > slicing::topAt(strata[i - 1], x)) {
                refuseInput("分层土的顶面应自上而下，下层的顶面不得高于上层的顶面");
            }
        }
    }
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

// A range of x, `x1 x2` with x1 < x2, that must reach into [left, right].
Range rangeOf(std::string_view text, double left, double right) {
    const auto rows = rowsOf(text, 2);
    if (rows.size() != 1) {
        refuseInput("应为一个范围“x1 x2”");
    }
    if (!(rows[0][0] < rows[0][1])) {
        refuseInput("范围应自左向右（x1 < x2）");
    }
    if (!(rows[0][1] >= left && rows[0][0] <= right)) {
        refuseInput("范围应与地面线的 x 范围相交");
    }
    return {rows[0][0], rows[0][1]};
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
    s.surface = form.readWith(in::surface, [](std::string_view t) {
        std::vector<Point> points = pointsOf(t);
        if (points.size() > kMostSurfacePoints) {
            refuseInput("地面线的点数应不多于200");
        }
        return points;
    });
    if (form.text(in::layers).empty()) { // the one soil, read only where no strata are given
        const double gamma = readWithin(form, in::gamma, kPositive);
        const double c = readWithin(form, in::c, kNonNegative);
        const double phi = readFriction(form);
        s.strata.push_back({s.surface.front().y, gamma, c, phi, gamma});
    } else {
        s.strata = form.readWith(in::layers, [&](std::string_view t) {
            std::vector<Stratum> read;
            for (const auto& words : itemsOf(t)) {
                read.push_back(stratumOf(words));
            }
            const bool level = std::all_of(read.begin(), read.end(),
                                           [](const Stratum& st) { return st.line.empty(); });
            if (!level) {
                checkTops(read, s.surface);
            }
            std::vector<Stratum> strata;
            for (const Stratum& st : read) {
                if (level && !strata.empty() && !(st.top < strata.back().top)) {
                    refuseInput("分层土的顶面高程应自上而下递减");
                }
                if (!(st.gamma > 0)) {
                    refuseInput("重度应大于0");
                }
                if (!(st.c >= 0)) {
                    refuseInput("粘聚力应不小于0");
                }
                if (!(st.phi >= 0 && st.phi < kRightAngle)) {
                    refuseInput("内摩擦角应在 0° 与 90° 之间（不含 90°）");
                }
                if (!(st.gammaSat > 0)) {
                    refuseInput("饱和重度应大于0");
                }
                strata.push_back(st);
            }
            return strata;
        });
    }
    if (!form.text(in::water).empty()) {
        s.water = form.readWith(in::water, pointsOf);
        // γsat = (Gs + e)·γw ÷ (1 + e) is not below γw for any grain heavier than water
        if (!form.text(in::layers).empty() &&
            std::any_of(s.strata.begin(), s.strata.end(),
                        [&](const Stratum& st) { return !(st.gammaSat >= gammaWater); })) {
            throw FieldError(
                CalcError(ErrorKind::InvalidArgument, "浸润线以下土的饱和重度应不小于水的重度"),
                in::layers);
        }
    }
    s.slices = static_cast<int>(form.readWith(in::slices, [](std::string_view t) {
        const double n = textToDouble(t);
        if (n != std::floor(n) || n < 1 || n > kMostSlices) {
            refuseInput("应为 1 至 1000 的整数");
        }
        return n;
    }));
    s.minDepth = readWithin(form, in::minDepth, kNonNegative);
    s.crack = readWithin(form, in::crack, kNonNegative);
    s.crackFilled = readWithin(form, in::crackFilled, kShare);
    if (!form.text(in::loads).empty()) {
        s.loads = form.readWith(in::loads, [](std::string_view t) {
            std::vector<StripLoad> loads;
            for (const auto& row : rowsOf(t, 3)) {
                if (!(row[0] >= 0)) {
                    refuseInput("荷载 q 应不小于0");
                }
                if (!(row[1] < row[2])) {
                    refuseInput("荷载范围应自左向右（x1 < x2）");
                }
                loads.push_back({row[0], row[1], row[2]});
            }
            return loads;
        });
    }
    return s;
}

std::optional<std::vector<Point>> readSlip(const Form& form) {
    if (form.text(in::slip).empty()) {
        return std::nullopt;
    }
    if (!form.text(in::circle).empty()) {
        throw FieldError(CalcError(ErrorKind::InvalidArgument, "指定滑弧与指定滑面线只能给出其一"),
                         in::slip);
    }
    return form.readWith(in::slip, [](std::string_view t) {
        std::vector<Point> points = pointsOf(t);
        if (points.size() > kMostSurfacePoints) {
            refuseInput("滑面线的点数应不多于200");
        }
        return points;
    });
}

std::optional<Circle> readCircle(const Form& form) {
    if (form.text(in::circle).empty()) {
        return std::nullopt;
    }
    return form.readWith(in::circle, [](std::string_view t) {
        const auto rows = rowsOf(t, 3);
        if (rows.size() != 1) {
            refuseInput("应为一个滑弧“xc yc R”");
        }
        if (!(rows[0][2] > 0)) {
            refuseInput("半径应大于0");
        }
        return Circle{rows[0][0], rows[0][1], rows[0][2]};
    });
}

SearchLimits readLimits(const Form& form, const SlopeSection& section) {
    const double left = section.surface.front().x, right = section.surface.back().x;
    SearchLimits limits;
    for (const auto& [field, range] :
         {std::pair{in::entry, &limits.entry}, std::pair{in::exit, &limits.exit}}) {
        if (!form.text(field).empty()) {
            *range =
                form.readWith(field, [&](std::string_view t) { return rangeOf(t, left, right); });
        }
    }
    if (!form.text(in::centres).empty()) {
        form.readWith(in::centres, [&](std::string_view t) {
            const auto rows = rowsOf(t, 4);
            if (rows.size() != 1) {
                refuseInput("应为一个范围“x1 x2 y1 y2”");
            }
            const auto& r = rows[0];
            if (!(r[0] < r[1]) || !(r[2] < r[3])) {
                refuseInput("范围应自小到大（x1 < x2，y1 < y2）");
            }
            limits.centreX = Range{r[0], r[1]};
            limits.centreY = Range{r[2], r[3]};
            return 0;
        });
    }
    return limits;
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
