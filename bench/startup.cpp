#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

// Starts two programs in turn, RUNS times each, interleaved (ours, floor, ours, floor …), each
// ending after its first frame (SLOPE_EXIT_AFTER_FIRST_FRAME); prints as JSON the medians of the
// CPU time (user + system) and peak memory of each, and the median and quartiles of the ratio
// within each pair, so that drift of the machine cancels.
namespace {

struct Sample {
    double seconds; // CPU, user and system
    long peakKiB;
};

Sample runOnce(const char* program) {
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("SLOPE_EXIT_AFTER_FIRST_FRAME", "1", 1);
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "bench_startup: %s did not end cleanly\n", program);
        std::exit(1);
    }
    return {seconds(usage.ru_utime) + seconds(usage.ru_stime), usage.ru_maxrss};
}

template <typename T> T quantile(std::vector<T> v, double q) {
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(q * static_cast<double>(v.size() - 1) + 0.5)];
}
template <typename T> T median(const std::vector<T>& v) {
    return quantile(v, 0.5);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: bench_startup PROGRAM FLOOR RUNS\n");
        return 2;
    }
    const int runs = std::atoi(argv[3]);
    std::vector<double> time[2], timeRatio, memoryRatio;
    std::vector<long> memory[2];
    runOnce(argv[1]); // warm the file cache for both
    runOnce(argv[2]);
    for (int i = 0; i < runs; ++i) {
        for (int p = 0; p < 2; ++p) {
            const Sample s = runOnce(argv[1 + p]);
            time[p].push_back(s.seconds);
            memory[p].push_back(s.peakKiB);
        }
        timeRatio.push_back(time[0].back() / time[1].back());
        memoryRatio.push_back(static_cast<double>(memory[0].back()) / memory[1].back());
    }
    std::printf("{\"program_seconds\": %.6f, \"floor_seconds\": %.6f, "
                "\"program_peak_kib\": %ld, \"floor_peak_kib\": %ld, "
                "\"time_ratio\": [%.4f, %.4f, %.4f], \"memory_ratio\": [%.4f, %.4f, %.4f]}\n",
                median(time[0]), median(time[1]), median(memory[0]), median(memory[1]),
                quantile(timeRatio, 0.25), median(timeRatio), quantile(timeRatio, 0.75),
                quantile(memoryRatio, 0.25), median(memoryRatio), quantile(memoryRatio, 0.75));
    return 0;
}
