#include "plain.h"

#include <array>
#include <cmath>

namespace plain {

namespace {
constexpr double kPi = 3.1415926;
double rad(double d) {
    return d * kPi / 180;
}
float s(double v) {
    return static_cast<float>(v);
}
} // namespace

void coulombActive(double H, double g, double phi, double c, double q, double delta, double beta,
                   double alpha, double& Ka, double& Ea) {
    const double a = rad(alpha), b = rad(beta), d = rad(delta), f = rad(phi);
    const double s1 = b + a, s2 = a - d, w = b + a - f - d, s3 = d + f, s4 = f - b;
    const double Kq = (q + q) * std::sin(a) * std::cos(b) / (H * g * std::sin(s1)) + 1;
    const double eta = (c + c) / g / H;
    const double T = std::sin(s1) * std::sin(s2) + std::sin(s4) * std::sin(s3);
    const double A = Kq * T + eta * 2 * std::sin(a) * std::cos(f) * std::cos(w);
    const double B1 = Kq * std::sin(s1) * std::sin(s4) + eta * std::sin(a) * std::cos(f);
    const double B2 = Kq * std::sin(s2) * std::sin(s3) + eta * std::sin(a) * std::cos(f);
    const double S = std::sqrt(B1 * B2);
    const double F = std::sin(s1) / (std::sin(a) * std::sin(a) * std::sin(w) * std::sin(w));
    Ka = F * (A - (S + S));
    Ea = H * g * H * Ka / 2;
}

void atRestEarthPressure(double phi, double q, double g, double H, double& K0, double& E0) {
    K0 = 1 - std::sin(rad(phi));
    E0 = (g * H + q) * K0;
}

void limitedFillEarthPressure(double H, double g, double dr, double c, double delta, double theta,
                              double beta, double alpha, double& Ka, double& Ea) {
    const double a = rad(alpha), b = rad(beta), d = rad(delta), r = rad(dr), t = rad(theta);
    const double s1 = b + a, s2 = a - d + t - r, s3 = t - b, s4 = t + a, s5 = t - r;
    const double A = std::sin(s1) / std::sin(s2) / std::sin(s3);
    const double B = std::sin(s4) * std::sin(s5) / std::sin(a) / std::sin(a);
    const double eta = (c + c) / g / H;
    const double C = eta * std::cos(r) / std::sin(a);
    Ka = A * (B - C);
    Ea = H * g * H * Ka / 2;
}

void anchorBarDesign(int n, double D, double Htk, double a, double fy, bool permanent,
                     double gamma0, double frb, double fb, double d, double out[5]) {
    const double xi1 = permanent ? 1 : 1.33, xi2 = permanent ? 0.69 : 0.92,
                 xi3 = permanent ? 0.6 : 0.72;
    const double Nak = Htk / std::cos(rad(a));
    const double Na = Nak * 1.25;
    out[0] = Na * gamma0 / xi2 / fy * 1000;
    out[1] = Nak / xi1 / kPi / (D / 1000) / frb;
    out[2] = Na * gamma0 / xi3 / n / kPi / (d / 1000) / fb;
    out[3] = Na;
    out[4] = Nak;
}

void uprightWallWeight(float n, float Ht, float h1, float alpha0, float b1, float b2, float gw,
                       float b, float& G, float& x0) {
    const float r0 = s(rad(alpha0)), t = s(std::tan(double(r0)));
    const float A = s((Ht - b1 * double(t)) / (1 / double(n) + t));
    const float B = s(Ht - b1 * double(t));
    const float W2 = s((double(Ht) + Ht - b1 * double(t)) * b1 * gw / 2);
    const float W1 = s(double(A) * B * gw / 2);
    const float W3 = s(double(b2) * h1 * gw);
    const float L3 = s((double(n) * h1 + b2) / 2);
    const float m2 = s(((double(Ht) + Ht + B) * b1 / 3) / (double(B) + Ht));
    const float m1 = s(2.0 / 3 * A);
    const float c0 = s(double(b) - A - b1);
    G = s(double(W1) + W2 + W3);
    x0 = s(((double(m2) + c0 + A) * W2 + (double(c0) + m1) * W1 + double(W3) * L3) / G);
}

void shelfWallWeight(float n, float x2, float x3, float h1, float Ht, float h4, float b1, float b2,
                     float b3, float b4, float b5, float b, float gw, float& G, float& x0) {
    const double hp = double(Ht) - h1 - h4;
    const float A1 = s(double(n) * h1 * h1 / 2);
    const float L1 = s(hp * n + b4 + b2 - x2 * double(h1) - (double(h1) / 3) * n);
    const float A2 = s(double(b5) * h1);
    const float L2 = s(hp * n + b4 + (double(n) * h1 + b5) / 2);
    const float A3 = s(double(x2) * h1 * h1 / 2);
    const float L3 = s(hp * n + b4 + b2 - (double(x2) * h1 + double(x2) * h1) / 3);
    const float A4 = s(hp * b3);
    const float L4 = s((hp * n + b3) / 2 + b4);
    const float A5 = s(hp * (double(b1) + b2 - b3) / 2);
    const double outer = hp * x3, inner = hp * x3 - b2 - b1 + b3;
    const double M5 = (hp * x3 * hp * 0.5 / 3) * outer - (inner * hp * 0.5 / 3) * inner;
    const float L5 = s(M5 / A5 + b4 + b3);
    const float A6 = s(double(b) * h4), L6 = s(double(b) / 2);
    const float A7 = s((double(b3) + b4 - b) * h4 / 2), L7 = s((double(b3) + b4 - b) / 2 + b);
    const float A = s(double(A1) + A2 + A3 + A4 + A5 + A6 + A7);
    x0 = s((double(A1) * L1 + double(A2) * L2 + double(A3) * L3 + double(A4) * L4 +
            double(A5) * L5 + double(A6) * L6 + double(A7) * L7) /
           A);
    G = s(double(gw) * A);
}

float antiSlidingFactor(float G, float Ea, float alpha0, float alpha, float delta, float mu) {
    const float r0 = s(rad(alpha0)), ra = s(rad(alpha)), rd = s(rad(delta));
    const float Gn = s(G * std::cos(double(r0))), Gt = s(G * std::sin(double(r0)));
    const double psi = double(ra) - r0 - rd;
    const float Eat = s(Ea * std::sin(psi)), Ean = s(Ea * std::cos(psi));
    return s((double(Gn) + Ean) * mu / (double(Eat) - Gt));
}

float antiOverturningFactor(float G, float Ea, float alpha0, float z, float alpha, float delta,
                            float b, float x0) {
    const float rd = s(rad(delta)), r0 = s(rad(alpha0)), ra = s(rad(alpha));
    const float Eax = s(Ea * std::sin(double(ra) - rd)), Eaz = s(Ea * std::cos(double(ra) - rd));
    const float xf = s(b - z / std::tan(double(ra)));
    const float zf = s(z - b * std::tan(double(r0)));
    return s((double(x0) * G + double(xf) * Eaz) / (double(zf) * Eax));
}

void baseStress(float G, float H, float Ht, float h2, float x0, float delta, float alpha, float Ea,
                float b, float out[3]) {
    const float zE = s(double(H) / 3 + Ht - H - h2);
    const float ra = s(rad(alpha)), rd = s(rad(delta));
    const double theta = 3.14159 / 2 + rd - ra;
    const float N = s(Ea * std::sin(theta) + G);
    const float c = s((double(G) * x0 - Ea * std::cos(theta) * zE + Ea * std::sin(theta) * b) / N);
    const float e = s(double(b) / 2 - c);
    if (e > s(double(b) / 6)) {
        out[0] = s((double(N) + N) / 3 / c);
        out[1] = 0;
    } else {
        out[0] = s((double(e) * 6 / b + 1) * (double(N) / b));
        out[1] = s((1 - double(e) * 6 / b) * (double(N) / b));
    }
    out[2] = e;
}

void combinedLoad(double a1, double a2, double a3, double a4, double& up, double& low) {
    const double L = a1 + a2, al = a1 / L, c = a2, d = a1 + a2 / 2, e = a2 / 2;
    up = -1.0 / 12 * a3 * L * L + -a4 * a1 * a1 / 6 * (2 - 3 * al + 6 * al * al / 5) +
         -a4 * c / 12 / L / L * (12 * d * e * e - 3 * e * c * c + c * c * L);
    low = 1.0 / 12 * a3 * L * L + a1 * a4 * a1 * a1 / 4 / L * (1 - 4 * al / 5) +
          a4 * c / 12 / L / L * (12 * d * d * e + 3 * e * c * c - 2 * c * c * L);
}

std::vector<std::pair<double, double>> solveContinuousBeam(int n, double length, double b, double h,
                                                           double q, double Ec, bool fixedEnds) {
    constexpr std::size_t size = 101;
    std::array<double, size> L{}, EI{}, k{}, R{};
    std::array<std::array<double, 3>, size> F{};
    std::array<double, size> D{}, U{};
    const int m = n + 1;
    double H = 0;
    for (int i = 1; i <= n; ++i) {
        L[i] = length;
        H = H + L[i];
    }
    const double p = q / 0.2 / H;
    double x = 0;
    for (int i = 1; i <= n; ++i) {
        x = x + L[i];
        if (x <= 0.2 * H) {
            const double a3 = (x - L[i]) * p, a4 = x * p - a3;
            combinedLoad(L[i], 0, a3, a4, F[i][1], F[i][2]);
        } else {
            F[i][1] = -1.0 / 12 * q * L[i] * L[i];
            F[i][2] = 1.0 / 12 * q * L[i] * L[i];
        }
        EI[i] = Ec / 12 * b / 1000 * h / 1000 * h / 1000 * h / 1000;
    }
    for (int i = 1; i <= n; ++i) {
        k[i] = EI[i] / L[i];
    }
    R[1] = -F[1][1];
    R[m] = -F[n][2];
    for (int j = 2; j <= n; ++j) {
        R[j] = -F[j - 1][2] - F[j][1];
    }
    D[1] = 4 * k[1];
    D[m] = 4 * k[n];
    for (int j = 2; j <= m; ++j) {
        U[j - 1] = 2 * k[j - 1];
    }
    for (int j = 2; j <= n; ++j) {
        D[j] = 4 * k[j - 1] + 4 * k[j];
    }
    if (fixedEnds) {
        D[1] = 1, U[1] = 0, R[1] = 0;
        D[m] = 1, U[n] = 0, R[m] = 0;
    }
    for (int kk = 1; kk <= n; ++kk) { // the band of a tridiagonal system
        const double f = U[kk] / D[kk];
        D[kk + 1] = D[kk + 1] - f * U[kk];
        R[kk + 1] = R[kk + 1] - f * R[kk];
    }
    R[m] = R[m] / D[m];
    for (int i = n; i >= 1; --i) {
        R[i] = (R[i] - U[i] * R[i + 1]) / D[i];
    }
    std::vector<std::pair<double, double>> moments;
    moments.reserve(static_cast<std::size_t>(n));
    for (int i = 1; i <= n; ++i) {
        moments.emplace_back((4 * k[i] * R[i] + 2 * k[i] * R[i + 1]) + F[i][1],
                             (2 * k[i] * R[i] + 4 * k[i] * R[i + 1]) + F[i][2]);
    }
    return moments;
}

} // namespace plain
