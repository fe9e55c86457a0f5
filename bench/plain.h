#pragma once

#include <utility>
#include <vector>

// The routines' formulas in plain double, with no checks: the floor against which the checked
// routines are measured. Same steps, same order, same narrowing to single; no CalcError.
namespace plain {

void coulombActive(double H, double g, double phi, double c, double q, double delta, double beta,
                   double alpha, double& Ka, double& Ea);
void atRestEarthPressure(double phi, double q, double g, double H, double& K0, double& E0);
void limitedFillEarthPressure(double H, double g, double dr, double c, double delta, double theta,
                              double beta, double alpha, double& Ka, double& Ea);
void anchorBarDesign(int n, double D, double Htk, double a, double fy, bool permanent,
                     double gamma0, double frb, double fb, double d, double out[5]);
void uprightWallWeight(float n, float Ht, float h1, float alpha0, float b1, float b2, float gw,
                       float b, float& G, float& x0);
void shelfWallWeight(float n, float x2, float x3, float h1, float Ht, float h4, float b1, float b2,
                     float b3, float b4, float b5, float b, float gw, float& G, float& x0);
float antiSlidingFactor(float G, float Ea, float alpha0, float alpha, float delta, float mu);
float antiOverturningFactor(float G, float Ea, float alpha0, float z, float alpha, float delta,
                            float b, float x0);
void baseStress(float G, float H, float Ht, float h2, float x0, float delta, float alpha, float Ea,
                float b, float out[3]);
// Spans of `length`, both ends hinged unless `fixedEnds`; returns each span's end moments, as
// the routine does.
std::vector<std::pair<double, double>> solveContinuousBeam(int n, double length, double b, double h,
                                                           double q, double Ec, bool fixedEnds);

} // namespace plain
