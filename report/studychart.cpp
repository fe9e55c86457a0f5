#include "studychart.h"

#include "core/numerictext.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

using subprogram::Study;

namespace {

std::optional<double> numberIn(std::string_view text) {
    double value = 0;
    ErrorKind error{};
    return !text.empty() && ::readDouble(text, value, error) && std::isfinite(value)
               ? std::optional(value)
               : std::nullopt;
}

std::string label(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", value);
    return text;
}

// Round values for an axis from `low` to `high`: steps of 1, 2 or 5 times a power of ten, some
// four to ten of them.
std::vector<double> roundTicks(double low, double high) {
    const double rough = (high - low) / 5;
    const double power = std::pow(10, std::floor(std::log10(rough)));
    double step = 10 * power;
    for (const double m : {5.0, 2.0, 1.0}) {
        if (m * power >= rough * 0.999) {
            step = m * power;
        }
    }
    std::vector<double> ticks;
    for (double k = std::ceil(low / step); k * step <= high + step * 1e-9; ++k) {
        ticks.push_back(k == 0 ? 0 : k * step);
    }
    return ticks;
}

// A tick's value with the decimals its step needs, so that neighbours read apart (88.046, not
// 88.05 for each of them).
std::string tickLabel(double value, const std::vector<double>& ticks) {
    const double step = ticks.size() > 1 ? ticks[1] - ticks[0] : 0;
    if (!(step > 0) || std::abs(value) >= 1e6 || step < 1e-9) {
        return label(value);
    }
    const int decimals = std::max(0, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// The span of values that are not far outside the others: beyond three quartile ranges from
// the middle half a value is drawn at the chart's edge with its value, so that it does not
// flatten the rest. The whole span while the middle half has no width.
std::pair<double, double> usualSpan(std::vector<double> values) {
    if (values.size() < 5) {
        return {-HUGE_VAL, HUGE_VAL};
    }
    std::sort(values.begin(), values.end());
    const double q1 = values[values.size() / 4], q3 = values[values.size() * 3 / 4];
    if (!(q3 > q1)) {
        return {-HUGE_VAL, HUGE_VAL};
    }
    return {q1 - 3 * (q3 - q1), q3 + 3 * (q3 - q1)};
}

} // namespace

Sketch studyChart(const Study& study, ResultId result) {
    const subprogram::Calculator& calculator = study.calculator();
    const std::size_t column = study.columnOf(result);
    const subprogram::Verdict* verdict = nullptr;
    std::size_t verdictIndex = 0;
    for (std::size_t v = 0; v < calculator.verdicts.size(); ++v) {
        if (calculator.verdicts[v].result == result) {
            verdict = &calculator.verdicts[v];
            verdictIndex = v;
        }
    }
    // the points: x, y, the check held; the limits: x, limit
    bool numeric = true;
    for (const Study::Row& row : study.rows()) {
        numeric = numeric && numberIn(row.value).has_value();
    }
    struct Point {
        double x, y;
        bool holds;
    };
    std::vector<Point> points;
    std::vector<std::pair<double, double>> limits;
    for (std::size_t i = 0; i < study.rows().size(); ++i) {
        const Study::Row& row = study.rows()[i];
        const double x = numeric ? *numberIn(row.value) : static_cast<double>(i);
        const std::optional<double> y = column == RowForm::kNoColumn || !row.error.empty()
                                            ? std::nullopt
                                            : numberIn(row.cell(column));
        if (y) {
            points.push_back({x, *y, Study::holds(row)});
        }
        if (verdict && !row.judgements.empty() &&
            row.judgements[verdictIndex].outcome != subprogram::Outcome::NotChecked &&
            row.judgements[verdictIndex].outcome != subprogram::Outcome::Absent) {
            limits.emplace_back(x, row.judgements[verdictIndex].limit);
        }
    }
    Sketch s;
    constexpr double kWidth = 9000, kHeight = 5400, kLeft = 1500, kRight = 600, kTop = 500,
                     kBottom = 1000;
    s.width = kWidth;
    s.height = kHeight;
    s.textSize = 240;
    s.stroke = 18;
    s.lineStroke = 10;
    std::vector<double> ys;
    for (const Point& p : points) {
        ys.push_back(p.y);
    }
    const auto [usualLow, usualHigh] = usualSpan(std::move(ys));
    double x0 = 1e300, x1 = -1e300, y0 = 1e300, y1 = -1e300;
    for (const Point& p : points) {
        x0 = std::min(x0, p.x), x1 = std::max(x1, p.x);
        if (p.y >= usualLow && p.y <= usualHigh) {
            y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
        }
    }
    for (const auto& [x, limit] : limits) {
        x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, limit),
        y1 = std::max(y1, limit);
    }
    // the axes by the captions the window gives the field and the result, with their units
    const subprogram::Field& field = calculator[study.field()];
    const subprogram::Result& shown = calculator[result];
    std::string fieldName = subprogram::fieldCaption(field);
    if (!field.unit.empty() && !fieldName.ends_with(')')) {
        fieldName += " (" + std::string(field.unit) + ")";
    }
    std::string resultName = subprogram::resultCaption(shown);
    if (!shown.unit.empty()) {
        resultName += " (" + std::string(shown.unit) + ")";
    }
    s.texts.push_back({kWidth / 2, kHeight - 250, fieldName});
    s.texts.push_back({kLeft + 600, kTop - 250, resultName});
    const double plotWidth = kWidth - kLeft - kRight, plotHeight = kHeight - kTop - kBottom;
    s.lines.push_back({kLeft, kTop, kLeft, kTop + plotHeight});
    s.lines.push_back({kLeft, kTop + plotHeight, kLeft + plotWidth, kTop + plotHeight});
    if (points.empty() && limits.empty()) {
        s.texts.push_back({kLeft + plotWidth / 2, kTop + plotHeight / 2, "（无成功的计算）"});
        return s;
    }
    if (x1 <= x0) {
        x0 -= 1, x1 += 1;
    }
    if (y1 <= y0) {
        const double pad = std::max(std::abs(y0) * 0.1, 1.0);
        y0 -= pad, y1 += pad;
    }
    const double margin = (y1 - y0) * 0.08;
    y0 -= margin, y1 += margin;
    const auto px = [&](double x) { return kLeft + (x - x0) / (x1 - x0) * plotWidth; };
    // a value far outside the others stands at the edge
    const auto py = [&](double y) {
        return kTop + (y1 - std::clamp(y, y0, y1)) / (y1 - y0) * plotHeight;
    };
    // the scales at round values, with a light grid
    const std::vector<double> yTicks = roundTicks(y0, y1);
    for (const double y : yTicks) {
        s.lines.push_back({kLeft - 80, py(y), kLeft, py(y)});
        s.grid.push_back({kLeft, py(y), kLeft + plotWidth, py(y)});
        s.texts.push_back({kLeft - 500, py(y), tickLabel(y, yTicks)});
    }
    if (numeric) {
        const std::vector<double> xTicks = roundTicks(x0, x1);
        for (const double x : xTicks) {
            s.lines.push_back({px(x), kTop + plotHeight, px(x), kTop + plotHeight + 80});
            s.grid.push_back({px(x), kTop, px(x), kTop + plotHeight});
            s.texts.push_back({px(x), kTop + plotHeight + 330, tickLabel(x, xTicks)});
        }
    }
    // the result: a line through its points, each marked
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        s.lines.push_back(
            {px(points[i].x), py(points[i].y), px(points[i + 1].x), py(points[i + 1].y)});
    }
    for (const Point& p : points) {
        if (p.y < y0 || p.y > y1) { // at the edge: its value beside it
            s.texts.push_back({px(p.x), py(p.y) + (p.y > y1 ? 260 : -260), label(p.y)});
        }
        if (p.holds) {
            s.circles.push_back({px(p.x), py(p.y), 45});
        } else { // a check failed here
            s.lines.push_back({px(p.x) - 90, py(p.y) - 90, px(p.x) + 90, py(p.y) + 90});
            s.lines.push_back({px(p.x) - 90, py(p.y) + 90, px(p.x) + 90, py(p.y) - 90});
        }
    }
    // the limit, in short dashes
    for (std::size_t i = 0; i + 1 < limits.size(); ++i) {
        const auto [ax, ay] = limits[i];
        const auto [bx, by] = limits[i + 1];
        const double length = std::hypot(px(bx) - px(ax), py(by) - py(ay));
        const int dashes = std::max(1, static_cast<int>(length / 160));
        for (int d = 0; d < dashes; d += 2) {
            const double t0 = double(d) / dashes, t1 = double(d + 1) / dashes;
            s.lines.push_back({px(ax + (bx - ax) * t0), py(ay + (by - ay) * t0),
                               px(ax + (bx - ax) * t1), py(ay + (by - ay) * t1)});
        }
    }
    if (!limits.empty()) {
        const auto [lx, ly] = limits.back();
        s.texts.push_back({std::min(px(lx), kWidth - 700.0), py(ly) - 220,
                           "限值 " + std::string(verdict->limit)});
    }
    return s;
}
