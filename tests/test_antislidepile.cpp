#include "calculators/antislidepile.h"
#include "calculators/antislidepileinputs.h"
#include "calculators/pile.h"
#include "core/numerictext.h"
#include "mapform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

using namespace subprogram;

namespace {

// A uniform load q over h1 above the slip surface, the ground below of one stratum.
PileModel uniform(FoundationMethod method, double value, double EI, double Bp, double h1, double h2,
                  double q, PileFoot foot = PileFoot::Free) {
    PileModel p;
    p.EI = EI, p.Bp = Bp, p.h1 = h1, p.h2 = h2, p.qTop = q, p.qBottom = q;
    p.method = method, p.strata = {{h2, value}}, p.foot = foot;
    return p;
}

} // namespace

// Hetényi's semi-infinite beam on a constant foundation k = K·Bp, loaded at its end by the
// shear H and the moment M the load above the slip surface passes on: w = 2β(H + βM)/k and
// M(x) = (H/β)·e^(−βx)·sin βx + M·e^(−βx)·(cos βx + sin βx) (Hetényi, Beams on Elastic Foundation,
// 1946, §II.11); a pile of βh2 = 10 with a free foot is long.
TEST(Pile, ALongPileInAConstantFoundationIsHetenyisBeam) {
    const double K = 200000, Bp = 2.5, EI = 2.0e6, h1 = 6, q = 300;
    const double beta = std::pow(K * Bp / (4 * EI), 0.25), h2 = 10 / beta;
    const PileResponse r(uniform(FoundationMethod::K, K, EI, Bp, h1, h2, q));
    const double H = q * h1, M = q * h1 * h1 / 2, k = K * Bp;
    EXPECT_NEAR(r.w(h1) / (2 * beta * (H + beta * M) / k), 1, 1e-6);
    double most = M;
    double at = h1;
    for (int i = 0; i <= 200000; ++i) {
        const double x = h2 * i / 200000;
        const double m = H / beta * std::exp(-beta * x) * std::sin(beta * x) +
                         M * std::exp(-beta * x) * (std::cos(beta * x) + std::sin(beta * x));
        if (m > most) {
            most = m, at = h1 + x;
        }
    }
    EXPECT_NEAR(r.greatestMoment().value / most, 1, 1e-6);
    EXPECT_NEAR(r.greatestMoment().z, at, 1e-3);
}

// JGJ 94-2008's head-displacement coefficient υx of the m method, x0 = υx·H0/(α³EI), for a pile
// whose foot stands in soil, its head free to rotate (铰接) or held (刚接), at the depths the
// table gives (表 as published: www.dy1905.net/a1038133.htm; 2.441 at αh = 4 also
// app.ixiawen.com/question/1187069). The pile is loaded at the ground by H0 alone: two loads
// above it (a rectangle, a triangle) pass on H with M = H/2 and M = H/3, and the pile is linear.
TEST(Pile, TheMMethodsHeadDisplacementIsJgj94sTable) {
    const double m = 10000, Bp = 1.5, EI = 5.0e5, H = 100;
    const double alpha = std::pow(m * Bp / EI, 0.2);
    struct Row {
        double alphaH, free, held;
    };
    for (const Row& row :
         {Row{4.0, 2.441, 0.940}, Row{3.5, 2.502, 0.970}, Row{3.0, 2.727, 1.028},
          Row{2.8, 2.905, 1.055}, Row{2.6, 3.163, 1.079}, Row{2.4, 3.526, 1.095}}) {
        PileModel p = uniform(FoundationMethod::M, m, EI, Bp, 1, row.alphaH / alpha, H);
        const PileResponse rectangle(p);
        p.qTop = 0, p.qBottom = 2 * H;
        const PileResponse triangle(p);
        const double wH = 3 * triangle.w(1) - 2 * rectangle.w(1); // per H, M = 0
        const double wM = 6 * (rectangle.w(1) - triangle.w(1)) / H;
        const double tH = 3 * triangle.rotation(1) - 2 * rectangle.rotation(1);
        const double tM = 6 * (rectangle.rotation(1) - triangle.rotation(1)) / H;
        const double unit = H / (std::pow(alpha, 3) * EI);
        EXPECT_NEAR(wH / unit, row.free, 0.0006) << row.alphaH;
        EXPECT_NEAR((wH - wM * tH / tM) / unit, row.held, 0.0006) << row.alphaH;
    }
}

// Seven piles against an independent model (50-digit power series by superposition, checked
// against a closed form and a second integrator; its results to 12 digits): both methods, every
// foot, one and two strata, a nearly rigid pile.
TEST(Pile, SevenPilesAgreeWithAnIndependentModelToTenDigits) {
    struct Case {
        FoundationMethod method;
        std::vector<PileStratum> strata;
        double Bp, EI, h1, h2, qTop, qBottom;
        PileFoot foot;
        double yHead, ySlip, rotSlip, M, zM, V, zV;
        std::vector<std::pair<double, double>> sigma;
    };
    using enum FoundationMethod;
    using enum PileFoot;
    // clang-format off
    const Case cases[] = {
        {K, {{14, 2e5}}, 2.5, 2e6, 6, 14, 300, 300, Free, 76.5002055157, 9.00002072973, -0.00720003079766,
         5809.03527585, 6.48995621437, 1872.8037827, 8.06073003183, {{1800.00414595, 6}}},
        {M, {{12, 4e4}}, 2.5, 2e6, 6, 12, 0, 600, Free, 99.1440876267, 22.8542322, -0.0105549759044,
         5448.25014446, 7.69998682377, 1800, 6, {{571.875437709, 7.40033223323}}},
        {M, {{12, 4e4}}, 2.5, 2e6, 6, 12, 0, 600, Hinged, 99.1417022607, 22.8531529028, -0.0105547582263,
         5448.32332292, 7.70007353275, 1800, 6, {{571.832180032, 7.40028998712}}},
        {M, {{12, 4e4}}, 2.5, 2e6, 6, 12, 0, 600, Fixed, 99.1397005774, 22.8528211313, -0.0105544799077,
         5448.33110758, 7.70007520274, 1800, 6, {{571.835451943, 7.40033162357}}},
        {M, {{3, 2e4}, {5, 8e4}}, 2, 1.5e6, 5, 8, 100, 400, Hinged, 94.2056034253, 27.483083419,
         -0.0114695040013, 4090.22257022, 7.15819972057, 1440.05391602, 9.30148504859,
         {{377.666580346, 6.52940148649}, {813.349147183, 8}}},
        {K, {{4, 1e5}, {3, 4e5}}, 2, 1.5e6, 5, 7, 250, 250, Fixed, 58.5483811007, 10.8371420619,
         -0.0069380811411, 3544.82678577, 5.73707553009, 1250, 5, {{1083.71420619, 5}, {234.081215556, 9.05610650087}}},
        {K, {{3, 5e4}}, 2, 1e9, 4, 3, 100, 100, Free, 35.5635555124, 10.6671466608, -0.0062233022129,
         881.629545548, 4.42855674587, 514.279905578, 5.71425885366, {{533.357333039, 4}}},
    };
    // clang-format on
    const auto near = [](double ours, double theirs) {
        EXPECT_NEAR(ours, theirs, 1e-10 * std::max(1.0, std::abs(theirs)));
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(++n);
        PileModel p;
        p.EI = c.EI, p.Bp = c.Bp, p.h1 = c.h1, p.h2 = c.h2, p.qTop = c.qTop, p.qBottom = c.qBottom;
        p.method = c.method, p.strata = c.strata, p.foot = c.foot;
        const PileResponse r(p);
        near(r.w(0) * 1000, c.yHead);
        near(r.w(c.h1) * 1000, c.ySlip);
        near(r.rotation(c.h1), c.rotSlip);
        near(r.greatestMoment().value, c.M);
        EXPECT_NEAR(r.greatestMoment().z, c.zM, 1e-7);
        near(r.greatestShear().value, c.V);
        EXPECT_NEAR(r.greatestShear().z, c.zV, 1e-7);
        ASSERT_EQ(r.greatestStress().size(), c.sigma.size());
        for (std::size_t i = 0; i < c.sigma.size(); ++i) {
            near(r.greatestStress()[i].value, c.sigma[i].first);
            EXPECT_NEAR(r.greatestStress()[i].z, c.sigma[i].second, 1e-7);
        }
        // shorter stretches change nothing: the series are summed to the last bit
        p.stretch = 0.3;
        const PileResponse finer(p);
        EXPECT_NEAR(finer.w(0) / r.w(0), 1, 1e-10);
        EXPECT_NEAR(finer.greatestMoment().value / r.greatestMoment().value, 1, 1e-10);
        // equilibrium: the load, the ground's reaction and the foot's, in force and in moment
        // about the head, integrated apart from the series' own shear and moment
        std::vector<double> breaks{0, c.h1};
        for (const PileStratum& s : c.strata) {
            breaks.push_back(std::min(breaks.back() + s.thickness, c.h1 + c.h2));
        }
        double force = 0, moment = 0, scale = 0;
        for (std::size_t b = 0; b + 1 < breaks.size(); ++b) {
            constexpr int kPanels = 400;
            const double x[] = {-0.8611363115940526, -0.3399810435848563, 0.3399810435848563,
                                0.8611363115940526};
            const double wt[] = {0.3478548451374538, 0.6521451548625461, 0.6521451548625461,
                                 0.3478548451374538};
            const double h = (breaks[b + 1] - breaks[b]) / kPanels;
            for (int k = 0; k < kPanels; ++k) {
                for (int g = 0; g < 4; ++g) {
                    const double z = breaks[b] + h * (k + (x[g] + 1) / 2);
                    const double net = r.load(z) - r.coefficient(z) * c.Bp * r.w(z);
                    force += wt[g] * h / 2 * net;
                    moment += wt[g] * h / 2 * net * z;
                    scale += wt[g] * h / 2 * r.load(z);
                }
            }
        }
        const double L = c.h1 + c.h2;
        EXPECT_NEAR(force + r.footForce(), 0, 1e-9 * scale);
        EXPECT_NEAR(moment + r.footForce() * L - r.footMoment(), 0, 1e-9 * scale * L);
    }
}

// A short pile far stiffer than its ground turns as a rigid body, w = w0 + φ·x below the slip
// surface: the ground's reaction k·Bp·w balances the load's shear H and moment M there, so
// k·(w0·L + φ·L²/2) = H and k·(w0·L²/2 + φ·L³/6) = M + H·L.
TEST(Pile, AStiffShortPileTurnsAsARigidBody) {
    const double K = 50000, Bp = 2, h1 = 4, L = 3, q = 100;
    const PileResponse r(uniform(FoundationMethod::K, K, 1e15, Bp, h1, L, q));
    const double k = K * Bp, H = q * h1, M = q * h1 * h1 / 2;
    // the two equations solved by Cramer's rule
    const double a11 = L, a12 = L * L / 2, a21 = L * L / 2, a22 = L * L * L / 6;
    const double b1 = H / k, b2 = (M + H * L) / k, det = a11 * a22 - a12 * a21;
    EXPECT_NEAR(r.w(h1) / ((b1 * a22 - a12 * b2) / det), 1, 1e-8);
    EXPECT_NEAR(r.rotation(h1) / ((a11 * b2 - a21 * b1) / det), 1, 1e-8);
    EXPECT_NEAR(r.rotation(h1 + L) / r.rotation(h1), 1, 1e-8);
}

namespace {

MapForm pile(std::vector<std::pair<const char*, const char*>> texts = {}) {
    MapForm form(kAntiSlidePile);
    for (const auto& [field, text] : texts) {
        form.texts[field] = text;
    }
    return form;
}
double number(const MapForm& form, const std::string& name) {
    return textToDouble(form.texts.at(name));
}
// The verdicts of the calculation of `form`, on what it wrote.
std::vector<Judgement> judged(MapForm& form) {
    CalculationRecord record;
    recordCalculation(form, record, [](Form& f, Trace* t) { calculateAntiSlidePile(f, t); });
    return judge(kAntiSlidePile, 0, form,
                 WrittenTexts([&](ResultId r) { return record.written(r); }));
}

} // namespace

// The load on one pile and its shape, the pile's stiffness and width by hand: (500 − 100)·6 =
// 2400 kN over 8 m; a trapezoid of r = 0.5, q底 = 2·2400/(8·1.5) = 400; a 2 m × 3 m C30 pile,
// EI = 0.85·3.0e7·2·27/12 = 1.1475e8 kN·m², Bp = b + 1 = 3; a round one of 0.8 m,
// Bp = 0.9(1.5·0.8 + 0.5) = 1.53 m (JGJ 94-2008 5.7.5, as the exam answer works it).
TEST(AntiSlidePile, LoadsThePileAsItsInputsSay) {
    MapForm f = pile({{"Epx", "100"}, {"shapex", "梯形"}});
    calculateAntiSlidePile(f);
    EXPECT_EQ(number(f, "E_pile"), 2400);
    EXPECT_NEAR(number(f, "q_bottom"), 400, 1e-12);
    EXPECT_NEAR(number(f, "q_top"), 200, 1e-12);
    EXPECT_NEAR(number(f, "EI_used"), 1.1475e8, 1e-4);
    EXPECT_EQ(number(f, "Bp_used"), 3);
    MapForm round = pile({{"sectionx", "圆形"}, {"dx", "0.8"}, {"sx", "3"}});
    calculateAntiSlidePile(round);
    EXPECT_NEAR(number(round, "Bp_used"), 1.53, 1e-12);
    EXPECT_NEAR(number(round, "EI_used"), 0.85 * 3.0e7 * 3.141592653589793 * 0.4096 / 64, 1e-6);
    // the other two widths: a round pile over 1 m, 0.9(d + 1); a rectangle within it, 1.5b + 0.5
    for (const auto& [section, width, Bp] :
         {std::tuple{"圆形", "1.5", 2.25}, {"矩形", "0.8", 1.7}}) {
        MapForm f2 = pile({{"sectionx", section}, {"dx", width}, {"bx", width}});
        calculateAntiSlidePile(f2);
        EXPECT_NEAR(number(f2, "Bp_used"), Bp, 1e-12) << section;
    }
    // the shear where the ground starts to hold the pile: the whole load above it
    EXPECT_NEAR(analyseAntiSlidePile(f).response->shear(8), 2400, 1e-6);
}

// What cannot be a pile is refused, naming the field that makes it so; nothing is written.
TEST(AntiSlidePile, RefusesWhatCannotBeAPile) {
    const struct {
        std::vector<std::pair<const char*, const char*>> texts;
        const char* field;
    } cases[] = {
        {{{"h1x", "0"}}, "h1"},
        {{{"h2x", "-1"}}, "h2"},
        {{{"stratax", ""}}, "strata"},
        {{{"stratax", "3 0 600"}}, "strata"},
        {{{"stratax", "3 1e5"}}, "strata"},
        {{{"stratax", "0 1e5 600"}}, "strata"},
        {{{"bx", "0"}}, "b"},
        {{{"sx", "1.5"}}, "s"},
        {{{"Bpx", "7"}}, "Bp"},
        {{{"Epx", "600"}}, "Ep"},
        {{{"asx", "3000"}}, "a_s"},
        {{{"methodx", "p"}}, "method"},
        {{{"EIx", "0"}}, "EI"},
    };
    for (const auto& c : cases) {
        MapForm form = pile(c.texts);
        try {
            calculateAntiSlidePile(form);
            ADD_FAILURE() << c.field << ": calculated";
        } catch (const FieldError& e) {
            EXPECT_EQ(kAntiSlidePile[e.field()].name, c.field);
        }
        EXPECT_EQ(form.texts.at("Mmax"), "0") << c.field;
    }
    std::string many;
    for (int j = 1; j <= 21; ++j) {
        many += (j > 1 ? ";" : "") + std::string("1 1e5 600");
    }
    MapForm deep = pile({{"stratax", many.c_str()}});
    EXPECT_THROW(calculateAntiSlidePile(deep), FieldError);
}

// Each stratum's stress against its allowable, the head against the displacement allowed, the
// section's ξ against ξb; a stratum below the pile's foot, and a limit not given, not judged.
TEST(AntiSlidePile, JudgesEveryStratumAndTheHead) {
    MapForm f = pile({{"stratax", "3 150000 600;20 400000 1500;5 1e6 100"}, {"ylimitx", "10"}});
    const std::vector<Judgement> j = judged(f);
    EXPECT_EQ(j[0].outcome, Outcome::Met);    // ξ
    EXPECT_EQ(j[1].outcome, Outcome::NotMet); // 20.6 mm > 10
    EXPECT_EQ(j[2].outcome, Outcome::NotMet); // 918 kPa > 600
    EXPECT_EQ(j[3].outcome, Outcome::Met);    // 1067 kPa ≤ 1500
    EXPECT_EQ(j[4].outcome, Outcome::Absent); // below the foot
    // a pile barely embedded moves by kilometres: said beside its results
    MapForm shallow = pile({{"h2x", "0.01"}});
    CalculationRecord record;
    recordCalculation(shallow, record, [](Form& f, Trace* t) { calculateAntiSlidePile(f, t); });
    const auto written = WrittenTexts([&](ResultId r) { return record.written(r); });
    EXPECT_EQ(kAntiSlidePile.warnings(0, shallow, written).size(), 1u);
    EXPECT_TRUE(kAntiSlidePile
                    .warnings(0, f, WrittenTexts([&](ResultId r) {
                                  return f.texts.at(std::string(kAntiSlidePile[r].name));
                              }))
                    .empty());
    MapForm loose = pile({{"ylimitx", ""}});
    EXPECT_EQ(judged(loose)[1].outcome, Outcome::Absent);
}

// The last stratum reaches the foot whatever its thickness says, in the solution and in the
// stress on it; the pile's class takes the strata's mean over h2: (3·150000 + 4·400000)/7 kN/m³
// on a 2 m × 3 m C30 pile, βh2 = (292857·3/(4·1.1475e8))^¼·7 = 1.4642 by hand.
TEST(AntiSlidePile, TheLastStratumReachesTheFoot) {
    MapForm stated = pile({{"stratax", "3 150000 600;4 400000 1500"}});
    MapForm short_ = pile({{"stratax", "3 150000 600;1 400000 1500"}});
    calculateAntiSlidePile(stated);
    calculateAntiSlidePile(short_);
    for (const char* name : {"y_head", "Mmax", "sigma_max2", "z_sigma2", "alpha_h"}) {
        EXPECT_EQ(stated.texts.at(name), short_.texts.at(name)) << name;
    }
    EXPECT_NEAR(number(stated, "alpha_h"), 1.4642, 5e-5);
    // and so in the diagrams: the stress near the foot, below the short stratum's stated base
    EXPECT_EQ(analyseAntiSlidePile(short_).response->stress(14),
              analyseAntiSlidePile(stated).response->stress(14));
}
