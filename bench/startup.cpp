#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

// Starts two programs in turn, RUNS times each, interleaved, each ending after its first frame
// (SLOPE_EXIT_AFTER_FIRST_FRAME); prints the medians of wall time and peak memory as JSON.
namespace {

struct Sample {
    double seconds;
    long peakKiB;
};

Sample runOnce(const char* program) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("SLOPE_EXIT_AFTER_FIRST_FRAME", "1", 1);
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "bench_startup: %s did not end cleanly\n", program);
        std::exit(1);
    }
    return {std::chrono::duration<double>(end - start).count(), usage.ru_maxrss};
}

template <typename T> T median(std::vector<T> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: bench_startup PROGRAM FLOOR RUNS\n");
        return 2;
    }
    const int runs = std::atoi(argv[3]);
    std::vector<double> time[2];
    std::vector<long> memory[2];
    runOnce(argv[1]); // warm the file cache for both
    runOnce(argv[2]);
    for (int i = 0; i < runs; ++i) {
        for (int p = 0; p < 2; ++p) {
            const Sample s = runOnce(argv[1 + p]);
            time[p].push_back(s.seconds);
            memory[p].push_back(s.peakKiB);
        }
    }
    std::printf("{\"program_seconds\": %.6f, \"floor_seconds\": %.6f, "
                "\"program_peak_kib\": %ld, \"floor_peak_kib\": %ld}\n",
                median(time[0]), median(time[1]), median(memory[0]), median(memory[1]));
    return 0;
}
