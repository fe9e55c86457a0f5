// The ground behind a wall: its report step.
#include "ground.h"

namespace subprogram::ground {

namespace {

// clang-format off
const std::string_view kNotes[] = {
    "各层主动土压力系数 K<sub>ai</sub> 按本层 φ<sub>i</sub> 以库仑公式（c = 0，q = 0）计算；"
    "e = K<sub>ai</sub>σ′<sub>v</sub> − 2c<sub>i</sub>√K<sub>ai</sub>，σ′<sub>v</sub> 为其上各层的竖向有效应力，"
    "地表均布荷载按库仑公式计入：q′ = q·sinα·cosβ ÷ sin(α + β)",
    "地下水位以下取浮重度 γ<sub>sat</sub> − γ<sub>水</sub>（水土分算），水压力 γ<sub>水</sub>(z − d<sub>w</sub>) 单独计为 P<sub>w</sub>，水平作用",
    "局部荷载按 GB 50330-2013 附录B：线荷载（第B.0.1条）的附加侧向压力为等腰三角形，分布于 a·tanφ 至 a·tanβ，"
    "h = a(tanβ − tanφ)，β = 45° + φ/2，K<sub>a</sub> = tan²(45° − φ/2)，峰值取 e<sub>h,max</sub> = 2Q<sub>L</sub>√K<sub>a</sub> ÷ h；"
    "条形荷载（第B.0.2条）为矩形 e<sub>h</sub> = K<sub>a</sub>q<sub>L</sub>，分布于 a·tanβ 至 (a + b)·tanβ（程序按图B.0.2 取用）；"
    "φ 取第1层土，超出墙底的部分不计",
    "k<sub>h</sub> &gt; 0 时按 Mononobe–Okabe 法：地震角 ρ = arctan k<sub>h</sub>，K<sub>ai</sub> = K′<sub>ai</sub>·sin²(α − ρ) ÷ (sin²α·cosρ)，"
    "K′<sub>ai</sub> 为以 α − ρ、β + ρ 代入的库仑系数；水位以下亦取同一 ρ（程序的处理）",
    "不计拉力区时，土压力与局部荷载附加压力之和 e 为负（拉）的部分不计入 E<sub>a</sub>；水压力不受此影响，另计",
};
constexpr ValueUnit kUnits[] = {{"Ea", "kN/m"}, {"Pw", "kN/m"}, {"za", "m"}, {"zw", "m"},
                                {"hw", "m"}, {"q′", "kPa"}, {"Ma", "kN·m/m"}};
// clang-format on

} // namespace

const Step kStep{"layeredPressure", "分层土压力与水压力", kNotes, kUnits};

} // namespace subprogram::ground
