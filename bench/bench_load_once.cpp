// Loads one exam in a fresh process, as the program does when it opens one, and reports the
// load itself on stdout as one line of key=value:
//
//   ok=1 bytes=N load_ns=N minflt=N majflt=N rss_before_kb=N hwm_kb=N again_ns=N
//
// minflt and majflt are the page faults taken during the load; rss_before_kb is what the
// process held before it (Qt's own and ours), hwm_kb its peak after it. With --touch BYTES it
// measures instead the floor of a load on this machine: writing to that much fresh memory.
// again_ns is a second load in the same process, once the first exam is gone.
#include "model/KipsaPrubex.h"

#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

long statusKb(const char* field) {
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f)
        return -1;
    char line[256];
    long kb = -1;
    const size_t n = std::strlen(field);
    while (std::fgets(line, sizeof line, f))
        if (std::strncmp(line, field, n) == 0 && line[n] == ':')
            kb = std::strtol(line + n + 1, nullptr, 10);
    std::fclose(f);
    return kb;
}

long long nowNs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000000000LL + t.tv_nsec;
}

} // namespace

// The floor of any load that keeps what it reads: writing to as many bytes of fresh memory,
// one 4 KiB page after another, in pieces of 1 MiB.
int touchFreshMemory(long long bytes) {
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    const long long start = nowNs();
    constexpr long long kPiece = 1 << 20;
    for (long long done = 0; done < bytes; done += kPiece) {
        auto* piece = static_cast<volatile char*>(std::malloc(kPiece));
        for (long long i = 0; i < kPiece; i += 4096)
            piece[i] = 1;
    }
    const long long elapsed = nowNs() - start;
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    std::printf("ok=1 bytes=%lld load_ns=%lld minflt=%ld majflt=0 rss_before_kb=0 hwm_kb=0 "
                "again_ns=0\n",
                bytes, elapsed, after.ru_minflt - before.ru_minflt);
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--touch") == 0)
        return touchFreshMemory(std::atoll(argv[2]));
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_load_once EXAMEN.kxt | --touch BYTES\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const long long bytes = QFileInfo(path).size();
    const long rssBefore = statusKb("VmRSS");
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    const long long start = nowNs();

    auto* exam = new kp::KipsaPrubex;
    const bool ok = exam->Cargar(path);

    const long long elapsed = nowNs() - start;
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    const long hwm = statusKb("VmHWM");

    // The same load again in memory the first one gave back: the work without the first
    // touch of fresh pages (the allocator is told to keep what it got).
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    delete exam;
    exam = new kp::KipsaPrubex;
    const long long againStart = nowNs();
    exam->Cargar(path);
    const long long again = nowNs() - againStart;

    std::printf("ok=%d bytes=%lld load_ns=%lld minflt=%ld majflt=%ld rss_before_kb=%ld "
                "hwm_kb=%ld again_ns=%lld\n",
                ok ? 1 : 0, bytes, elapsed, after.ru_minflt - before.ru_minflt,
                after.ru_majflt - before.ru_majflt, rssBefore, hwm, again);
    std::fflush(stdout);
    _exit(ok ? 0 : 1);
}
