// The gravity wall's inputs as every part of it reads them.
#include "gravitywallinputs.h"

#include "calculators/domains.h"
#include "core/numerictext.h"

#include <optional>

namespace subprogram::wall {

WallInputs readWall(const Form& form) {
    WallInputs w{};
    w.x2 = form.readSingle(in::x2);
    w.x3 = form.readSingle(in::x3);
    w.b4 = form.readSingle(in::b4);
    w.b5 = form.readSingle(in::b5);
    w.h4 = form.readSingle(in::h4);

    w.alpha0 = form.readSingle(in::alpha0);
    w.alphaS = form.readSingle(in::alpha);
    w.deltaS = form.readSingle(in::delta);
    w.mu = form.readSingle(in::mu);
    w.b = form.readSingle(in::b);
    w.gammaW = form.readSingle(in::gammaW);
    w.b1 = form.readSingle(in::b1);
    w.b2 = form.readSingle(in::b2);
    w.b3 = form.readSingle(in::b3);
    w.Ht = form.readSingle(in::Ht);
    w.n = form.readSingle(in::n);
    w.HS = form.readSingle(in::H);
    w.h1 = form.readSingle(in::h1);
    w.h2 = form.readSingle(in::h2);

    w.alpha = form.readDouble(in::alpha);
    w.beta = form.readDouble(in::beta);
    w.delta = form.readDouble(in::delta);
    w.q = form.readDouble(in::q);
    w.c = form.readDouble(in::c);
    w.phi = form.readDouble(in::phi);
    w.gamma = form.readDouble(in::gamma);
    w.H = form.readDouble(in::H);
    w.section = Section(form.readWith(in::section, chosenFrom(kSections)));
    // the tension rule as typed; left empty, the program's rule of the one soil or the ground's
    const bool ruleGiven = !form.blank(in::tension);
    const auto rule =
        ruleGiven ? std::optional(Tension(form.readWith(in::tension, chosenFrom(kTensions))))
                  : std::nullopt;
    w.lever = Lever(form.readWith(in::lever, chosenFrom(kLevers)));
    Backfill fill = readBackfill(form, {in::layers, in::water, in::gw, in::loads, in::kh}, w.q);
    if (!fill.strata.empty() || fill.water || !fill.loads.empty() || fill.kh != 0) {
        if (fill.strata.empty()) { // the one soil of the wall's own fields
            fill.strata.push_back({w.H, w.gamma, w.c, w.phi, w.gamma});
        }
        w.ground = std::move(fill);
    }
    w.tension = rule.value_or(w.ground ? Tension::Ignored : Tension::Counted);
    if (w.ground) {
        w.ground->tensionCounted = w.tension == Tension::Counted;
    }
    return w;
}

namespace {

// The program's defaults: the least factors against sliding and overturning, in an earthquake,
// and the eccentricity allowed as a part of b on soil and on rock.
constexpr double kLeastAntiSliding = 1.3, kLeastAntiOverturning = 1.6;
constexpr double kSeismicAntiSliding = 1.1, kSeismicAntiOverturning = 1.3;
constexpr double kSoilEccentricity = 6, kRockEccentricity = 4; // b/6, b/4

Limit factor(const Form& form, FieldId field, double byDefault, std::string_view defaultName,
             std::string_view setName) {
    if (form.blank(field)) {
        return {byDefault, defaultName, false};
    }
    return {readWithin(form, field, kPositive), setName, true};
}

} // namespace

WallLimits readLimits(const Form& form, float b, bool seismic) {
    // each read, so that one out of its range is refused whichever case it is for
    const Limit sliding = factor(form, in::KsReq, kLeastAntiSliding, "", "指定值");
    const Limit overturning = factor(form, in::KtReq, kLeastAntiOverturning, "", "指定值");
    const Limit seismicSliding =
        factor(form, in::KsReqSeismic, kSeismicAntiSliding, "1.1（地震工况）", "地震工况指定值");
    const Limit seismicOverturning = factor(form, in::KtReqSeismic, kSeismicAntiOverturning,
                                            "1.3（地震工况）", "地震工况指定值");
    WallLimits limits{
        seismic ? seismicSliding : sliding, seismic ? seismicOverturning : overturning, {}};
    // the eccentricity: a length, or b/N as typed
    if (form.blank(in::eReq)) {
        const bool rock = Ground(form.choice(in::ground)) == Ground::Rock;
        limits.eccentricity = {b / (rock ? kRockEccentricity : kSoilEccentricity),
                               rock ? "b/4" : "b/6", false};
    } else if (const std::string e = form.text(in::eReq); e.starts_with("b/")) {
        const double parts = form.readWith(in::eReq, [](std::string_view t) {
            return within(textToDouble(t.substr(2)), kPositive);
        });
        limits.eccentricity = {b / parts, "指定值", true};
    } else {
        limits.eccentricity = {readWithin(form, in::eReq, kNonNegative), "指定值", true};
    }
    return limits;
}

WallSizes sizesOf(const WallInputs& w, float b2, float h2) {
    return {w.alpha0, w.alphaS, w.deltaS, w.b,  w.b1, w.Ht, w.n,  w.h1, h2,
            w.b3,     b2,       w.b4,     w.b5, w.h4, w.x2, w.x3, w.HS};
}

LayeredPressure groundPressure(const WallInputs& w, Trace* trace) {
    return layeredPressure({w.H, w.alpha, w.beta, w.delta}, *w.ground, trace, false);
}

PressureLaw wallLaw(const WallInputs& w) {
    return PressureLaw::coulomb(w.gamma, w.phi, w.c, w.q, w.delta, w.beta, w.alpha);
}
std::optional<double> pressureCentroid(const WallInputs& w, const PressureLaw& law) {
    return resultantHeight(law, w.H, w.tension == Tension::Ignored);
}

} // namespace subprogram::wall
