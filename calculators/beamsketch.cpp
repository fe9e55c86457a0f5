#include "beam.h"

// The beam window's sketch, drawn as its picture box draws it: the geometry is judged by looking.
namespace subprogram {

namespace {

constexpr double kTop = 100;     // the member's upper end in the picture
constexpr double kBottom = 4500; // its lower end
constexpr double kLength = 4400;
constexpr double kPictureWidth = 2655; // the window's picture box
constexpr double kPictureHeight = 4935;

void endSymbol(EndCondition condition, double y, double hatchDirection, Sketch& s) {
    if (condition == EndCondition::Hinged) {
        s.circles.push_back({600, y, 50});
    } else if (condition == EndCondition::Fixed) {
        s.lines.push_back({300, y, 750, y});
        for (int k = 0; k <= 9; ++k) {
            s.lines.push_back({300.0 + 50 * k, y, 350.0 + 50 * k, y + 50 * hatchDirection});
        }
    }
}

void intermediateSupports(std::string_view count, Sketch& s) {
    const Num n = textToDouble(count);
    if (n.value() > kMaxSpans) {
        // beyond the supports a member can have; also keeps a huge count from stalling drawing
        throw CalcError(ErrorKind::SubscriptOutOfRange);
    }
    for (int i = 1; Num(i) <= n - 1; ++i) {
        const double y = roundToInt16((i * Num(kLength) / n + kTop).value());
        s.circles.push_back({600, y, 50});
    }
}

} // namespace

void drawBeamSketch(std::string_view count, EndCondition upper, EndCondition lower,
                    bool supportsAfterLowerEnd, Sketch& s) {
    s = Sketch{};
    s.width = kPictureWidth;
    s.height = kPictureHeight;
    s.lines.push_back({500, kTop, 500, kBottom});
    s.lines.push_back({550, kTop, 550, kBottom});
    s.lines.push_back({500, kTop, 550, kTop});
    s.lines.push_back({500, kBottom, 550, kBottom});
    endSymbol(upper, kTop, -1, s);
    if (supportsAfterLowerEnd) {
        endSymbol(lower, kBottom, 1, s);
        intermediateSupports(count, s);
    } else {
        intermediateSupports(count, s);
        endSymbol(lower, kBottom, 1, s);
    }
    for (int i = 1; i <= 20; ++i) {
        const double y = roundToInt16(((i - 1) * Num(kLength) / 20 + kTop).value());
        const double x = i <= 4 ? 500 - (i - 1) * 300.0 / 4 : 200;
        s.lines.push_back({x, y, 500, y});
    }
    s.lines.push_back({200, kBottom, 500, kBottom});
    s.lines.push_back({500, kTop, 200, 980});
    s.lines.push_back({200, 980, 200, kBottom});
}

} // namespace subprogram
