#include "../routinedraws.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <bit>
#include <cstdint>

namespace {

// Inputs from the fuzzer's data: any double's bits, infinities and NaNs among them, or a
// plausible value.
class FuzzDraw : public routines::Draw {
  public:
    explicit FuzzDraw(FuzzedDataProvider& data) : data_(data) {}
    double any() override {
        return data_.ConsumeBool() ? std::bit_cast<double>(data_.ConsumeIntegral<std::uint64_t>())
                                   : data_.ConsumeFloatingPointInRange(-400.0, 400.0);
    }
    std::size_t pick(std::size_t n) override {
        return data_.ConsumeIntegralInRange<std::size_t>(0, n - 1);
    }

  private:
    FuzzedDataProvider& data_;
};

} // namespace

// The untraced and the traced evaluation of a routine give the same bits or the same failure.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    FuzzDraw draw(data);
    const auto& routine = routines::kRoutines[draw.pick(std::size(routines::kRoutines))];
    const routines::Runs runs = routine.second(draw);
    if (runs.untraced != runs.traced) {
        __builtin_trap();
    }
    return 0;
}
