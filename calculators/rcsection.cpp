#include "rcsection.h"

#include <algorithm>

namespace subprogram {

SectionDesign rectangularSection(const SectionLoad& load, double width, double height, double cover,
                                 const ConcreteGrade& grade, double strength, Trace* trace) {
    return evaluate<Keep>(trace, "rectangularSection", [=]<typename Num>(Keep<Num> keep) {
        const Num Mk = keep.input(load.moment, load.Mk), gamma0 = keep.input("γ0", load.gamma0);
        const Num gammaF = keep.input("γF", load.gammaF);
        const Num M = keep("M", gamma0 * gammaF * Mk), b = keep.input("b", width);
        const Num h = keep.input("h", height), as = keep.input("as", cover);
        const Num fc = keep.input("fc", grade.fc);
        const Num ft = keep.input("ft", grade.ft), fy = keep.input("fy", strength);
        const Num alpha1 = keep.input("α1", 1.0), beta1 = keep.input("β1", 0.8);
        const Num ecu = keep.input("εcu", 0.0033);
        const Num Es = keep.input("Es", strength <= 270 ? 2.1e5 : 2.0e5);
        const Num kilo = keep.input("10⁶", 1e6); // kN·m to N·mm

        const Num h0 = keep("h0", h - as);
        const Num xiB = keep("ξb", beta1 / (1 + fy / (Es * ecu)));
        const Num byTension = keep("45ft/fy%", Num(45) * ft / fy / 100);
        const Num rhoMin = keep("ρmin", byTension > Num(0.002) ? byTension : Num(0.002));
        const Num AsMin = keep("As,min", rhoMin * b * h);
        SectionDesign s{h0.value(), 0, 0, xiB.value(), AsMin.value(), AsMin.value(), false};
        if (!(M > Num(0))) {
            return s; // nothing in tension on this face: the least ratio
        }
        const Num alphaS = keep("αs", M * kilo / (alpha1 * fc * b * h0 * h0));
        s.alphaS = alphaS.value();
        const Num room = 1 - 2 * alphaS;
        if (!(room > Num(0))) {
            s.overReinforced = true;
            return s;
        }
        const Num xi = keep("ξ", 1 - sqrt(room));
        s.xi = xi.value();
        if (xi > xiB) {
            s.overReinforced = true;
            return s;
        }
        const Num As = keep("As", alpha1 * fc * b * xi * h0 / fy);
        s.As = std::max(As.value(), AsMin.value());
        return s;
    });
}

} // namespace subprogram
