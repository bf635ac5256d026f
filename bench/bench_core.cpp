// The core rows of the performance table, each against its baseline, run in fresh processes
// and interleaved (baseline, then subject, in every iteration) so that the noise of a shared
// machine falls on both:
//
//   bench_core --inputs=DIR --sample=muestra.kxt --kxt=kxt --load-once=bench_load_once
//              --read-floor=bench_read_floor [Google Benchmark flags]
//
// DIR is what bench_inputs makes. After the runs it prints the rows as a Markdown table with
// the date and the load average.
#include "ChildProcess.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fstream>
#include <map>
#include <sstream>
#include <sys/stat.h>

namespace {

using kp::bench::ChildRun;
using kp::bench::runChild;
using Command = std::vector<std::string>;

std::map<std::string, std::string> options;

std::string option(const std::string& name) {
    return options[name];
}

long long fileBytes(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? static_cast<long long>(info.st_size) : 0;
}

double median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

std::string format(const char* pattern, double a, double b = 0, double c = 0) {
    char text[128];
    std::snprintf(text, sizeof text, pattern, a, b, c);
    return text;
}

std::string loadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

// One line of the closing table.
struct Row {
    std::string what, figure, baseline, ratio, goal;
    bool met = false;
};
std::vector<Row> rows;

// Runs baseline and subject in turn, once to warm the page cache, then once per iteration.
// Returns the subject's runs.
std::vector<ChildRun> interleaved(benchmark::State& state, const Command& baseline,
                                  const Command& subject, bool captureSubject,
                                  std::vector<double>& baseSeconds) {
    runChild(baseline);
    runChild(subject, captureSubject);
    std::vector<ChildRun> runs;
    for (auto _ : state) {
        const ChildRun base = runChild(baseline);
        const ChildRun run = runChild(subject, captureSubject);
        if (!base.ok || !run.ok) {
            state.SkipWithError("a program failed");
            break;
        }
        state.SetIterationTime(run.seconds);
        baseSeconds.push_back(base.seconds);
        runs.push_back(run);
    }
    return runs;
}

// The ratio of the medians of the subject's and the baseline's seconds, kept with the
// baseline's median as counters.
double ratioToBase(benchmark::State& state, const std::vector<double>& seconds,
                   const std::vector<double>& base) {
    const double ratio = median(seconds) / median(base);
    state.counters["base_ms"] = median(base) * 1e3;
    state.counters["ratio"] = ratio;
    return ratio;
}

// The wall-clock seconds of each run.
std::vector<double> wallSeconds(const std::vector<ChildRun>& runs) {
    std::vector<double> seconds;
    for (const ChildRun& r : runs)
        seconds.push_back(r.seconds);
    return seconds;
}

// kxt info against cat of the same file: time and peak memory.
void info(benchmark::State& state, const std::string& what, const std::string& file,
          double timeGoal, double peakGoal) {
    std::vector<double> base;
    const auto runs =
        interleaved(state, {"/bin/cat", file}, {option("kxt"), "info", file}, false, base);
    if (runs.empty())
        return;
    const std::vector<double> seconds = wallSeconds(runs);
    long peakKb = 0;
    for (const ChildRun& r : runs)
        peakKb = std::max(peakKb, r.peakKb);
    const double ratio = ratioToBase(state, seconds, base);
    const double peak = peakKb * 1024.0 / static_cast<double>(fileBytes(file));
    state.counters["peak_x_file"] = peak;
    // A file smaller than Qt's own memory makes a ratio meaningless: give megabytes then.
    Row row{what,
            format("%.3f s, ", median(seconds)) +
                (timeGoal > 0 ? format("peak %.2f× file", peak)
                              : format("peak %.0f MB", static_cast<double>(peakKb) / 1024.0)),
            format("`cat` %.3f s", median(base)), format("%.1f×", ratio),
            timeGoal > 0 ? format("≤ %.0f× `cat`, peak ≤ %.1f× file", timeGoal, peakGoal) : "–"};
    row.met = timeGoal <= 0 || (ratio <= timeGoal && peak <= peakGoal);
    rows.push_back(row);
}

long field(const std::string& line, const std::string& key) {
    const auto at = line.find(key + "=");
    return at == std::string::npos ? -1 : std::stol(line.substr(at + key.size() + 1));
}

// Loading alone, timed inside a fresh process (bench_load_once), against cat of the file.
void load(benchmark::State& state, const std::string& what, const std::string& file,
          bool pictures) {
    std::vector<double> base;
    const auto runs =
        interleaved(state, {"/bin/cat", file}, {option("load-once"), file}, true, base);
    if (runs.empty())
        return;
    std::vector<double> seconds, again;
    double faults = 0;
    long extraKb = 0;
    for (const ChildRun& r : runs) {
        seconds.push_back(static_cast<double>(field(r.out, "load_ns")) / 1e9);
        again.push_back(static_cast<double>(field(r.out, "again_ns")) / 1e9);
        faults += static_cast<double>(field(r.out, "minflt"));
        extraKb = std::max(extraKb, field(r.out, "hwm_kb") - field(r.out, "rss_before_kb"));
    }
    faults /= static_cast<double>(runs.size());
    const double bytes = static_cast<double>(fileBytes(file));
    const double mbps = bytes / median(seconds) / 1e6;
    const double ratio = ratioToBase(state, seconds, base);
    const double extra = extraKb * 1024.0 / bytes;
    state.counters["MB_per_s"] = mbps;
    state.counters["page_faults"] = faults;
    state.counters["peak_over_start_x_file"] = extra;
    state.counters["again_MB_per_s"] = bytes / median(again) / 1e6;
    Row row{what,
            format("%.3f s, %.0f MB/s, ", median(seconds), mbps) +
                format("%.0f page faults, peak +%.2f× file; ", faults, extra) +
                format("again in the same process %.0f MB/s", bytes / median(again) / 1e6),
            format("`cat` %.3f s", median(base)), format("%.1f×", ratio), ""};
    if (pictures) {
        // Qt's own: what loading the 10 KB sample adds to a fresh process (code pages of the
        // libraries it first runs, their first heap). A quarter of a megabyte more is left for
        // the records of the exam's questions.
        long fixedKb = 0;
        for (int i = 0; i < 5; ++i) {
            const ChildRun sample = runChild({option("load-once"), option("sample")}, true);
            fixedKb =
                std::max(fixedKb, field(sample.out, "hwm_kb") - field(sample.out, "rss_before_kb"));
        }
        const double overFileMb = (static_cast<double>(extraKb) * 1024.0 - bytes) / 1e6;
        row.figure += format("; %.1f MB over the file, the sample's load adds %.1f MB", overFileMb,
                             static_cast<double>(fixedKb) * 1024.0 / 1e6);
        row.goal = "≤ 1.5× `cat`, peak ≤ file + Qt's own";
        row.met = ratio <= 1.5 && overFileMb <= static_cast<double>(fixedKb) * 1024.0 / 1e6 + 0.25;
    } else {
        row.goal = "≥ 400 MB/s";
        row.met = mbps >= 400;
    }
    rows.push_back(row);
}

// Writing to as much fresh memory as the file holds, in a fresh process: the floor of any
// load that keeps what it reads, on this machine.
void freshMemory(benchmark::State& state, const std::string& what, const std::string& file) {
    std::vector<double> base;
    const auto runs =
        interleaved(state, {"/bin/cat", file},
                    {option("load-once"), "--touch", std::to_string(fileBytes(file))}, true, base);
    if (runs.empty())
        return;
    std::vector<double> seconds;
    double faults = 0;
    for (const ChildRun& r : runs) {
        seconds.push_back(static_cast<double>(field(r.out, "load_ns")) / 1e9);
        faults += static_cast<double>(field(r.out, "minflt"));
    }
    faults /= static_cast<double>(runs.size());
    const double ratio = ratioToBase(state, seconds, base);
    state.counters["us_per_fault"] = median(seconds) * 1e6 / faults;
    rows.push_back(Row{what,
                       format("%.3f s, %.0f page faults, ", median(seconds), faults) +
                           format("%.1f µs each", median(seconds) * 1e6 / faults),
                       format("`cat` %.3f s", median(base)), format("%.1f×", ratio), "–"});
}

// Reading the file and hashing it with libcrypto, in a fresh process: the least kxt info can do
// for the pictures.
void hashFloor(benchmark::State& state, const std::string& what, const std::string& file) {
    std::vector<double> base;
    const auto runs = interleaved(state, {"/bin/cat", file},
                                  {option("read-floor"), "--sha256", file}, false, base);
    if (runs.empty())
        return;
    const std::vector<double> seconds = wallSeconds(runs);
    const double ratio = ratioToBase(state, seconds, base);
    rows.push_back(Row{what, format("%.3f s", median(seconds)),
                       format("`cat` %.3f s", median(base)), format("%.1f×", ratio), "–"});
}

std::vector<std::string> resultsFiles() {
    std::vector<std::string> files;
    const std::string dir = option("inputs") + "/resultados";
    if (DIR* d = opendir(dir.c_str())) {
        while (const dirent* e = readdir(d))
            if (std::strstr(e->d_name, ".kxa"))
                files.push_back(dir + "/" + e->d_name);
        closedir(d);
    }
    std::sort(files.begin(), files.end());
    return files;
}

// kxt grade of every results file against open/read/close of each.
void grade(benchmark::State& state, const std::string& what, const std::string& form) {
    static const std::vector<std::string> files = resultsFiles();
    Command floor{option("read-floor")};
    floor.insert(floor.end(), files.begin(), files.end());
    Command kxt{option("kxt"), "grade", option("inputs") + "/examen60.kxt"};
    kxt.insert(kxt.end(), files.begin(), files.end());
    if (!form.empty())
        kxt.push_back(form);
    std::vector<double> base;
    const auto runs = interleaved(state, floor, kxt, false, base);
    if (runs.empty())
        return;
    const std::vector<double> seconds = wallSeconds(runs);
    const double ratio = ratioToBase(state, seconds, base);
    state.counters["files"] = static_cast<double>(files.size());
    Row row{what, format("%.3f s", median(seconds)), format("open/read/close %.3f s", median(base)),
            format("%.1f×", ratio), "≤ 3× that floor"};
    row.met = ratio <= 3;
    rows.push_back(row);
}

void registerRows() {
    const std::string pictures = option("inputs") + "/imagenes.kxt";
    const std::string text = option("inputs") + "/texto.kxt";
    const auto add = [](const char* name, int iterations, auto body) {
        benchmark::RegisterBenchmark(name, body)
            ->Iterations(iterations)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    };
    add("info/pictures", 7,
        [=](benchmark::State& s) { info(s, "`kxt info`, picture-heavy", pictures, 3, 1.2); });
    add("floor/sha256", 7, [=](benchmark::State& s) {
        hashFloor(s, "(context) reading and hashing the picture-heavy file", pictures);
    });
    add("info/text", 5,
        [=](benchmark::State& s) { info(s, "`kxt info`, text-heavy", text, 30, 3); });
    add("info/sample", 15,
        [=](benchmark::State& s) { info(s, "`kxt info`, sample exam", option("sample"), 0, 0); });
    add("load/text", 9, [=](benchmark::State& s) {
        load(s, "loading alone, text-heavy (fresh process)", text, false);
    });
    add("load/pictures", 9, [=](benchmark::State& s) {
        load(s, "loading alone, picture-heavy (fresh process)", pictures, true);
    });
    add("memory/fresh", 5, [=](benchmark::State& s) {
        freshMemory(s, "(context) writing to 200 MB of fresh memory", pictures);
    });
    add("grade/table", 5,
        [](benchmark::State& s) { grade(s, "`kxt grade`, 10,000 files, table", ""); });
    add("grade/csv", 5,
        [](benchmark::State& s) { grade(s, "`kxt grade`, 10,000 files, CSV", "--csv"); });
    add("grade/json", 5,
        [](benchmark::State& s) { grade(s, "`kxt grade`, 10,000 files, JSON", "--json"); });
}

void printTable(const std::string& loadBefore, const std::string& loadAfter) {
    char date[32];
    const std::time_t now = std::time(nullptr);
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M", std::localtime(&now));
    std::printf("\nCore rows, %s; load average (1, 5, 15 min) %s before, %s after\n\n", date,
                loadBefore.c_str(), loadAfter.c_str());
    std::printf("| What | Figure | Baseline | Ratio | Goal | Met |\n|---|---|---|---|---|---|\n");
    for (const Row& r : rows)
        std::printf("| %s | %s | %s | %s | %s | %s |\n", r.what.c_str(), r.figure.c_str(),
                    r.baseline.c_str(), r.ratio.c_str(), r.goal.c_str(),
                    r.goal == "–" ? "–"
                    : r.met       ? "yes"
                                  : "**no**");
}

} // namespace

int main(int argc, char** argv) {
    std::vector<char*> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const auto eq = a.find('=');
        const std::string name = a.substr(2, eq == std::string::npos ? 0 : eq - 2);
        if (a.rfind("--", 0) == 0 && eq != std::string::npos &&
            (name == "inputs" || name == "sample" || name == "kxt" || name == "load-once" ||
             name == "read-floor"))
            options[name] = a.substr(eq + 1);
        else
            rest.push_back(argv[i]);
    }
    for (const char* needed : {"inputs", "sample", "kxt", "load-once", "read-floor"})
        if (options[needed].empty()) {
            std::fprintf(stderr, "bench_core: --%s=... is missing\n", needed);
            return 2;
        }
    int restCount = static_cast<int>(rest.size());
    benchmark::Initialize(&restCount, rest.data());
    registerRows();
    const std::string before = loadAverage();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printTable(before, loadAverage());
    return 0;
}
