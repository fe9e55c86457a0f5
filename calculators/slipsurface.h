#pragma once

#include "calculators/calculator.h"
#include "calculators/slopegrade.h"

#include <optional>
#include <span>
#include <vector>

// The stability of a slope by GB 50330-2013 附录A: a planar slide (A.0.2), a broken-line slide
// by the transfer coefficient method (A.0.3, its implicit solution), the transfer thrust of
// GB 50007-2011 第6.4.3条 (the explicit solution), and a circular slide by the simplified Bishop
// method (A.0.1) with a search for the critical circle. Forces per metre run of slope in kN/m,
// lengths in m, stresses in kPa, angles in degrees where they are typed.
namespace subprogram {

enum class SlopeMethod {
    Planar,
    BrokenLine,
    BrokenLineExplicit,
    Bishop,
    Spencer,
    MorgensternPrice
};
// The situation the required factor is chosen for: it changes nothing else.
enum class SlopeCase { Permanent, Seismic, Temporary };

// The factor a slope of `grade` must reach in `situation` (the program's defaults).
double requiredStabilityFactor(SlopeGrade grade, SlopeCase situation);
// 稳定, 基本稳定, 欠稳定 or 不稳定, for Fs against the required Fst (the program's bounds).
std::string_view stabilityState(double Fs, double Fst);

// A block sliding on one plane (A.0.2), with water in its rear tension crack, a vertical load on
// it, an earthquake's horizontal force kh·G out of the slope, and an anchor force P inclined
// `anchorAngle` below the horizontal into the slope, taken as an external force on the block.
struct PlanarInputs {
    double G, theta, L, c, phi;
    double hw = 0, gammaWater = 10, Gb = 0, kh = 0, P = 0, anchorAngle = 0;
};
// No factor where nothing drives the block down its plane (T ≤ 0): it does not slide.
struct PlanarSlide {
    double R, T;
    std::optional<double> Fs;
};
PlanarSlide planarSlide(const PlanarInputs& in, Trace* trace = nullptr);

// One block of a broken-line slide, from the top down: its weight, the inclination of its base
// (positive where the base dips the way the mass slides), the base's strength and length, and
// the water force on its base.
struct SlidingBlock {
    double G, theta, c, phi, l, U = 0;
};
struct BrokenLineSlide {
    std::vector<double> T, R; // each block's sliding and resisting forces
    std::vector<double> psi; // ψi carries the thrust of block i into block i + 1 (n − 1 of them)
    std::vector<double> P;   // each block's residual thrust: at Fs (implicit), Fi (explicit)
    std::optional<double> Fs; // none where nothing drives the mass (it does not slide)
    double thrust = 0;        // what the support must carry: the last block's, never below 0
    int iterations = 0;
    // (implicit) each block's thrust at Fst as it is passed on, never below 0: the last is thrust
    std::vector<double> Pst;
};
// Fs with the last block's residual thrust 0, a negative thrust of a block above the last
// passing on as 0; `thrust` with the required factor Fst in the place of Fs. Where the last
// block is pushed by nothing even with no strength at all (the thrusts of the sliding forces
// alone, Ti passed on by cos(θi−1 − θi), leave it none), there is no factor: ψ and P stay empty.
BrokenLineSlide transferImplicit(std::span<const SlidingBlock> blocks, double kh, double Fst,
                                 Trace* trace = nullptr);
// Fi = Fi−1·ψ + γt·Ti − Ri (a negative Fi passes on as 0), ψ without Fs, and the explicit Fs;
// no factor where its sliding sum Σ Ti·Πψ + Tn is not positive and no thrust is left. A sliding
// sum not positive beside a thrust left at the last block (a block driven below ones held back)
// has no factor that means anything: refused.
BrokenLineSlide transferExplicit(std::span<const SlidingBlock> blocks, double kh, double gammaT,
                                 Trace* trace = nullptr);

// The horizontal tension one anchor takes of a design thrust Pn (kN/m) acting along the last
// block's base at θn (°), for anchors `spacing` m apart along the slope in `rows` rows:
// Htk = Pn·cosθn·s ÷ n (kN).
double anchorTension(double thrust, double theta, double spacing, double rows);

// The section of a slope for a circular slide: its ground surface from left to right, strata
// (each from its top down to the next one's, a top level or a polyline), a phreatic line. Water
// above the ground (a pond at the toe, a flooded bench) presses on the ground; below the phreatic
// line the soil weighs γsat.
struct Point {
    double x, y;
};
struct Stratum {
    double top, gamma, c, phi, gammaSat;
    // its top as it lies: a polyline with x increasing, level beyond its ends; none: level at
    // `top` (which then orders it among the others)
    std::vector<Point> line = {};
};
// A vertical load q (kPa) on the ground from x = from to x = to: a crest's surcharge, a
// building's strip footing.
struct StripLoad {
    double q, from, to;
};
// The most points a ground surface may have, and the most slices.
inline constexpr std::size_t kMostSurfacePoints = 200;
inline constexpr int kMostSlices = 1000;
struct SlopeSection {
    std::vector<Point> surface;
    std::vector<Stratum> strata; // from the top down; the first also holds the ground above it
    std::vector<Point> water;    // none: dry
    double gammaWater = 10, kh = 0;
    int slices = 50;
    // A slip mass must somewhere be this deep below the ground (m): a thinner one is refused.
    double minDepth = 0.1;
    // A tension crack at the slip mass's upper end, this deep (m; 0: none), its water filling
    // `crackFilled` (0 to 1) of it; and the loads on the ground.
    double crack = 0, crackFilled = 0;
    std::vector<StripLoad> loads;
};
struct Circle {
    double xc, yc, R;
};
// One slice as the method takes it, in the slope's own direction (x as typed).
struct Slice {
    double xLeft, xRight, yLeft, yRight; // the ends of its base
    double W, theta, c, phi, l, U;       // theta in degrees, positive where the base dips
    // Water standing on its top: the pressure's vertical part (a load), its horizontal part
    // (positive the way the mass slides) and that part's lever arm below the centre (yc − top).
    double Pw, Hw, zw;
    double T, R;  // (W + Pw)·sinθ + kh·W·cosθ + Hw·zw ÷ R; its term of the resisting sum
    double m;     // mθ = cosθ + tanφ·sinθ ÷ F at the F its term R was taken at
    double q = 0; // the loads on its top (kN/m), on its centre line
    // The water in a tension crack pushing on its rear face (the first slice's alone), and the
    // height it acts at.
    double Hc = 0, yHc = 0;
    // The ground's height over its centre line, and the height of its weight's centroid.
    double top = 0, yG = 0;
};
struct FoundCircle {
    Circle circle;
    double Fs;
};
struct CircularSlide {
    Circle circle;
    std::optional<double> Fs; // none: nothing drives the mass out of the slope (ΣT ≤ 0)
    std::vector<Slice> slices;
    std::vector<double> iterates; // Fs after each iteration from 1
    // Where an iterate left the method's domain (some mθ ≤ 0) or the iteration did not settle:
    // the bound F > max(−tanφ·sinθ ÷ cosθ) above which Fs was then bracketed and bisected, and
    // the bisections it took.
    std::optional<double> bound;
    int bisections = 0;
    std::vector<FoundCircle> others; // a search's next-lowest distinct circles, lowest first
};
// A range of x (from < to).
struct Range {
    double from, to;
};
// What an engineer may limit a search to (none: anywhere): where a circle enters the ground (its
// upper end) and leaves it (its lower end), and where its centre lies.
struct SearchLimits {
    std::optional<Range> entry, exit, centreX, centreY;
};
// The slices of `circle` through `section`: refused (CalcError InvalidArgument, with the reason)
// unless the circle cuts the surface in one arc that enters and leaves it within its ends, and
// the mass above that arc is somewhere at least section.minDepth deep.
std::vector<Slice> slicesOf(const SlopeSection& section, const Circle& circle);
// The simplified Bishop factor of one circle, iterated from 1 until it changes by less than
// 1e-8; where an iterate leaves mθ > 0 or the iteration does not settle, bracketed and bisected
// above the bound of mθ > 0. A circle with no driving sum (ΣT ≤ 0) has no factor; one it cannot
// solve (no root with every mθ > 0) is refused, as are the circles slicesOf refuses.
CircularSlide bishopFactor(const SlopeSection& section, const Circle& circle,
                           Trace* trace = nullptr);
// The least factor over circles within the limits: a grid of circles through the ground, each by
// where it enters and leaves it and how deep it bends, then a pattern search from the lowest
// distinct minima of the grid, within a budget of evaluations. Circles slicesOf refuses and
// circles with no factor are skipped; refused when none is left.
CircularSlide criticalCircle(const SlopeSection& section, const SearchLimits& limits = {},
                             Trace* trace = nullptr);

// The rigorous methods: every slice in balance of forces both ways and of moments, the
// interslice shear X = λ·f(x)·E. Spencer's f is constant; Morgenstern and Price's is the
// engineer's, here constant or a half-sine over the mass, f = sin(π·(x − x0) ÷ (xn − x0)).
enum class Interslice { Constant, HalfSine };
// A slip surface given: a circle, or a polyline 'x y' from left to right whose ends lie at or
// above the ground.
struct SlipSurface {
    std::optional<Circle> circle;
    std::vector<Point> line;
};
// The forces between two slices, on the boundary at x (as typed), from the left slice on the
// right one in the direction the mass slides: E normal, X the shear (down on the lower slice),
// and the height their resultant acts at (the line of thrust; none where E is no push).
struct SideForce {
    double x, base, E, X;
    std::optional<double> thrust;
};
struct RigorousSlide {
    std::optional<Circle> circle; // the circle it was solved on, or none: the polyline
    std::optional<double> Fs;     // none: nothing drives the mass out of the slope
    double lambda = 0;
    std::vector<Slice> slices;
    std::vector<SideForce> sides; // each slice's boundaries from the upper end to the lower
    int iterations = 0;           // the steps of λ
    std::vector<FoundCircle> others;
};
// The factor of safety and λ by the rigorous method with `function` (Spencer: Constant), to
// 1e-12 in Fs: refused where it has no solution (a slice's normal force coefficient not
// positive at the root, or the iteration of λ does not settle), as are the surfaces that cut
// no single mass of the section.
RigorousSlide rigorousFactor(const SlopeSection& section, const SlipSurface& surface,
                             Interslice function, Trace* trace = nullptr);
// The critical circle by the rigorous method: the search of criticalCircle, each circle judged
// by rigorousFactor.
RigorousSlide criticalRigorous(const SlopeSection& section, const SearchLimits& limits,
                               Interslice function, Trace* trace = nullptr);
// The critical slip surface of any shape by the rigorous method: the critical circle's arc as a
// polyline of 6 pieces, its ends moved along the ground and its corners across and up and down
// by a pattern search while its base flattens from the upper end down, then again with the
// pieces halved. Its `others` holds the critical circle it started from.
RigorousSlide criticalPolyline(const SlopeSection& section, const SearchLimits& limits,
                               Interslice function, Trace* trace = nullptr);

// The blocks' and slices' table of a report, and the section's drawing (slopesketch.cpp).
// A slip surface as it is drawn: its slices, its circle's centre where it is one, its factor, a
// search's next-lowest circles and the line of thrust where it was found.
struct DrawnSlip {
    std::span<const Slice> slices;
    std::optional<Circle> circle;
    std::optional<double> Fs;
    std::span<const FoundCircle> others;
    std::span<const SideForce> sides;
};
// The section with the slip surface and its slices, and faintly its other circles and the limits
// a search was held to.
void drawSlopeSection(const SlopeSection& section, const DrawnSlip* slip,
                      const SearchLimits& limits, Sketch& sketch);
void drawBlocks(std::span<const SlidingBlock> blocks, Sketch& sketch);
void drawPlanarBlock(const PlanarInputs& in, Sketch& sketch);

} // namespace subprogram
