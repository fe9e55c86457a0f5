#pragma once

#include <random>

// Values drawn evenly from [low, high) by a seeded generator, so that a failing case comes back.
class Uniform {
  public:
    explicit Uniform(unsigned seed) : random_(seed) {}
    double operator()(double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random_);
    }

  private:
    std::mt19937 random_;
};
