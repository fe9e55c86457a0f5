#pragma once

#include "calculators/slipsurface.h"

#include <bit>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

// The last few searches by their inputs, bit for bit. A search is deterministic, and a report or
// a drawing of a calculation asks again for what its calculation found: it gets it at once, not
// after a second search on the window's thread.
template <typename Found> class SearchMemory {
  public:
    template <typename Search>
    Found recall(const subprogram::SlopeSection& section, const subprogram::SearchLimits& limits,
                 std::optional<subprogram::Interslice> rigorous, Search search) {
        using namespace subprogram;
        std::vector<std::uint64_t> key;
        const auto add = [&](double v) { key.push_back(std::bit_cast<std::uint64_t>(v)); };
        for (const auto* line : {&section.surface, &section.water}) {
            add(double(line->size()));
            for (const Point& p : *line) {
                add(p.x), add(p.y);
            }
        }
        for (const Stratum& s : section.strata) {
            add(s.top), add(s.gamma), add(s.c), add(s.phi), add(s.gammaSat);
            add(double(s.line.size()));
            for (const Point& p : s.line) {
                add(p.x), add(p.y);
            }
        }
        add(section.gammaWater), add(section.kh), add(section.slices), add(section.minDepth);
        add(section.crack), add(section.crackFilled), add(double(section.loads.size()));
        for (const StripLoad& l : section.loads) {
            add(l.q), add(l.from), add(l.to);
        }
        add(rigorous ? 1 + int(*rigorous) : 0);
        for (const auto& r : {limits.entry, limits.exit, limits.centreX, limits.centreY}) {
            add(r ? 1 : 0), add(r ? r->from : 0), add(r ? r->to : 0);
        }
        {
            const std::lock_guard lock(mutex_);
            for (const auto& [k, found] : kept_) {
                if (k == key) {
                    return found;
                }
            }
        }
        Found found = search(); // a refusal or a stop keeps nothing
        const std::lock_guard lock(mutex_);
        kept_.emplace_front(std::move(key), found);
        if (kept_.size() > kKept) {
            kept_.pop_back();
        }
        return found;
    }

  private:
    static constexpr std::size_t kKept = 4;
    std::mutex mutex_;
    std::deque<std::pair<std::vector<std::uint64_t>, Found>> kept_;
};
