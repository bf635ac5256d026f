// Start-up to ready, whole process, on the offscreen platform: the program on the sample exam
// (KP_EXIT_WHEN_READY makes it end once its window stands laid out and painted) against a bare
// maximised main window that ends after its first paint. The two alternate, run by run.
#include <QElapsedTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

struct Run {
    double wallMs = -1; // negative: the run failed
    double cpuMs = 0;   // user and system time of the process
};

// Runs the program to its end and times it.
Run timedRun(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    QElapsedTimer t;
    t.start();
    pid_t pid = 0;
    if (posix_spawn(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0)
        return {};
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    const auto ms = [](const timeval& tv) {
        return static_cast<double>(tv.tv_sec) * 1e3 + static_cast<double>(tv.tv_usec) / 1e3;
    };
    return {static_cast<double>(t.nsecsElapsed()) / 1e6, ms(usage.ru_utime) + ms(usage.ru_stime)};
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void BM_StartUpSample(benchmark::State& state) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("KP_EXIT_WHEN_READY", "1", 1);
    std::vector<double> program, bare, programCpu, bareCpu;
    for (auto _ : state) {
        const Run b = timedRun({KP_BARE_WINDOW});
        const Run p = timedRun({KP_PROGRAM, KP_SAMPLE_EXAM});
        if (b.wallMs < 0 || p.wallMs < 0) {
            state.SkipWithError("a run failed");
            break;
        }
        bare.push_back(b.wallMs);
        program.push_back(p.wallMs);
        bareCpu.push_back(b.cpuMs);
        programCpu.push_back(p.cpuMs);
        state.SetIterationTime(p.wallMs / 1000);
    }
    state.counters["median_ms"] = median(program);
    state.counters["bare_median_ms"] = median(bare);
    state.counters["extra_ms"] = median(program) - median(bare);
    state.counters["ratio"] = median(program) / median(bare);
    // CPU time of the processes, which the load of other programs inflates far less.
    state.counters["cpu_median_ms"] = median(programCpu);
    state.counters["bare_cpu_median_ms"] = median(bareCpu);
    state.counters["cpu_extra_ms"] = median(programCpu) - median(bareCpu);
}
BENCHMARK(BM_StartUpSample)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(40);

} // namespace

BENCHMARK_MAIN();
