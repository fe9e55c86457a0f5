#pragma once

#include "core/trace.h"

#include <optional>

// The gravity retaining wall, per metre run: self-weight and centroid of the two wall types, and
// the checks against sliding, overturning and base stress. Arguments and results are singles;
// the arithmetic is double on the single values, and every value the method names is narrowed to
// a single where it is formed and used as that single afterwards. Angles in degrees, lengths in
// m, unit weights in kN/m³, forces in kN, stresses in kPa.
namespace subprogram {

struct WallWeight {
    float G;      // self-weight
    float x0;     // horizontal distance of the centroid from the toe
    float c0 = 0; // of the upright wall: the room before its face, from the toe to its foot
};

// An upright wall's sizes, named so that no two can change places unseen (singles, as the
// window's fields read them): m, degrees, kN/m³.
struct UprightWall {
    float n;      // face batter
    float Ht;     // total height at the back
    float h1, b2; // height and width of the toe block
    float alpha0; // base inclination, rising from heel to toe
    float b1;     // top width
    float gammaW; // unit weight of the wall material
    float b;      // horizontal projected width of the base
};
WallWeight uprightWallWeight(const UprightWall& wall, Trace* trace = nullptr);

// The upper wall (height h1, top width b5, bottom width b2, back slope x2) stands on the lower
// wall (height Ht − h1 − h4, front band b3, back slope x3), which stands on a footing b × h4
// whose toe projects b4. b1 enters only through the width b1 + b2 − b3 of the lower back wedge.
struct ShelfWall {
    float n;          // face batter
    float x2, x3;     // back slopes of the upper and the lower wall
    float h1, Ht, h4; // upper wall height, total height, footing height
    float b1, b2;     // top width; the upper wall's bottom width
    float b3, b4, b5; // the lower wall's front band, the toe projection, the upper wall's top
    float b;          // horizontal projected width of the base
    float gammaW;     // unit weight of the wall material
};
WallWeight shelfWallWeight(const ShelfWall& wall, Trace* trace = nullptr);

// The loads of the ground as it stands, beside the earth's thrust: the water's horizontal thrust
// on the back, Pw at zw above the heel; its uplift on the base, U, vertical, xU from the toe; in
// an earthquake the wall's own inertia Fi = kh·G, horizontal, zi above the heel.
struct GroundLoads {
    float Pw = 0, zw = 0, U = 0, xU = 0, Fi = 0, zi = 0;
    float u = 0; // the water's head at the heel, kPa
};

// Forms them: the water stands dw below the wall's top, behind it, down to the heel (none before
// it): it pushes on the back over hw = Ht − dw, Pw = ½γw·hw² at hw/3 above the heel, and lifts the
// base with the head at the heel u = γw·hw falling to nothing at the toe, U = ½u·b at 2b/3 from
// the toe, on the base's horizontal projection b — the thrust and the uplift of one water; Fi =
// kh·G at the section's centroid y0 above the heel. A water table at or below the heel gives
// neither (dw: none, no water).
GroundLoads groundLoads(float gammaWater, std::optional<float> dw, float Ht, float b, float kh,
                        float G, float y0, Trace* trace = nullptr);

// Ks = (Gn + Ean)·μ ÷ (Eat − Gt), with G and Ea resolved normal and tangential to the base.
// `drive`, when given, receives the force that drives the wall outward along its base, Eat − Gt:
// at or below zero, nothing does.
// With `ground`, its horizontal loads Fh = Pw + Fi and the uplift U resolved the same way:
// Ks = (Gn + Ean + Fh·sin α0 − U·cos α0)·μ ÷ (Eat − Gt + Fh·cos α0 + U·sin α0).
float antiSlidingFactor(float G, float Ea, float alpha0, float alpha, float delta, float mu,
                        Trace* trace = nullptr, double* drive = nullptr,
                        const GroundLoads* ground = nullptr);
// The same where something drives the wall outward along its base; none where nothing does
// (the driving force ≤ 0: the wall does not slide, and no factor is formed by dividing by it).
std::optional<float> antiSlidingFactorIfDriven(float G, float Ea, float alpha0, float alpha,
                                               float delta, float mu, Trace* trace, double* drive,
                                               const GroundLoads* ground);

// Kt = (G·x0 + Eaz·xf) ÷ (Eax·zf), about the toe; z is the height of Ea above the heel.
// With `ground`, its moments about the toe join Ea's overturning one: Pw and Fi at their heights
// above the toe (z − b·tan α0, as Ea's), U at xU.
// `moment`, when given, receives the overturning moment about the toe, zf·Eax (+ the ground's):
// at or below zero, nothing tips the wall.
float antiOverturningFactor(float G, float Ea, float alpha0, float z, float alpha, float delta,
                            float b, float x0, Trace* trace = nullptr,
                            const GroundLoads* ground = nullptr, double* moment = nullptr);
// The same where something tips the wall about its toe; none where nothing does.
std::optional<float> antiOverturningFactorIfTipped(float G, float Ea, float alpha0, float z,
                                                   float alpha, float delta, float b, float x0,
                                                   Trace* trace, const GroundLoads* ground,
                                                   double* moment);

// The base's rise from heel to toe as its width and inclination make it, h2 = b·tanα0 (α0 in
// radians stored, as the weight routines store it).
float baseRise(float b, float alpha0, Trace* trace = nullptr);

// The shelf wall's upper wall at its foot, b2 = b5 + (n + x2)·h1: as wide as its top, its face's
// batter and its back's slope make it over its height (formed in double, then narrowed).
float upperWallFootWidth(float b5, float n, float x2, float h1, Trace* trace = nullptr);

// Height of the earth-pressure resultant above the heel: a third of the retained height H above
// the foot of the retained soil, which lies Ht − H above the heel, or, when `zc` is given, the
// height of the centroid of the pressure diagram above that foot. Formed in double from the
// singles, then narrowed.
float earthPressureLeverHeight(float H, float Ht, Trace* trace = nullptr,
                               std::optional<float> zc = {});

struct BaseStress {
    float pmax;
    float pmin;
    float e;     // eccentricity of the base resultant, positive towards the toe
    float N = 0; // the base resultant's component normal to the base
};

// Linear distribution while the resultant lies within the middle third, else triangular on
// the compressed part. h2: rise of the base from heel to toe.
// Ea acts H/3 above the foot of the soil, or zc above it when given.
// With `ground`, N loses U and the moment about the toe Pw's, Fi's (at their heights above the
// toe, z − h2) and U's.
BaseStress baseStress(float G, float H, float Ht, float h2, float x0, float delta, float alpha,
                      float Ea, float b, Trace* trace = nullptr, std::optional<float> zc = {},
                      const GroundLoads* ground = nullptr);

// The mean pressure on the base, pk = N ÷ b, for the bearing check.
float meanBasePressure(float N, float b, Trace* trace = nullptr);

} // namespace subprogram
