// The gravity wall's inputs as every part of it reads them.
#include "gravitywallinputs.h"

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
    const bool ruleGiven = !form.text(in::tension).empty();
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

WallSizes sizesOf(const WallInputs& w, float b2) {
    return {w.alpha0, w.alphaS, w.deltaS, w.b,  w.b1, w.Ht, w.n,  w.h1, w.h2,
            w.b3,     b2,       w.b4,     w.b5, w.h4, w.x2, w.x3, w.HS};
}

LayeredPressure groundPressure(const WallInputs& w, Trace* trace) {
    return layeredPressure({w.H, w.alpha, w.beta, w.delta}, *w.ground, trace, false);
}

PressureLaw wallLaw(const WallInputs& w) {
    return PressureLaw::coulomb(w.gamma, w.phi, w.c, w.q, w.delta, w.beta, w.alpha);
}
double pressureCentroid(const WallInputs& w) {
    return resultantHeight(wallLaw(w), w.H, w.tension == Tension::Ignored);
}

} // namespace subprogram::wall
