// Start-up to ready, whole process, on the offscreen platform: the program on the sample exam
// (KP_EXIT_WHEN_READY makes it end once its window stands laid out and painted) against a bare
// maximised main window that ends after its first paint. The two alternate, run by run.
#include <QElapsedTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

// Runs the program to its end; the wall time in milliseconds, or a negative value on failure.
double timedRun(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    QElapsedTimer t;
    t.start();
    pid_t pid = 0;
    if (posix_spawn(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0)
        return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void BM_StartUpSample(benchmark::State& state) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("KP_EXIT_WHEN_READY", "1", 1);
    std::vector<double> program, bare;
    for (auto _ : state) {
        const double b = timedRun({KP_BARE_WINDOW});
        const double p = timedRun({KP_PROGRAM, KP_SAMPLE_EXAM});
        if (b < 0 || p < 0) {
            state.SkipWithError("a run failed");
            break;
        }
        bare.push_back(b);
        program.push_back(p);
        state.SetIterationTime(p / 1000);
    }
    state.counters["median_ms"] = median(program);
    state.counters["bare_median_ms"] = median(bare);
    state.counters["extra_ms"] = median(program) - median(bare);
    state.counters["ratio"] = median(program) / median(bare);
}
BENCHMARK(BM_StartUpSample)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(40);

} // namespace

BENCHMARK_MAIN();
