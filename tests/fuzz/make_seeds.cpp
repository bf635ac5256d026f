// fuzz_seeds DIR: writes the seeds of every fuzz target into DIR/<target>/.
#include "Seeds.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds DIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    int written = 0;
    for (const kp::fuzz::Seed& s : kp::fuzz::makeSeeds(QStringLiteral(KP_EXAMPLES_DIR))) {
        QFile f(out.filePath(s.target + u'/' + s.name));
        if (!out.mkpath(s.target) || !f.open(QIODevice::WriteOnly) ||
            f.write(s.bytes) != s.bytes.size()) {
            std::fprintf(stderr, "fuzz_seeds: cannot write %s\n", qPrintable(f.fileName()));
            return 1;
        }
        ++written;
    }
    std::printf("%d seeds in %s\n", written, qPrintable(out.path()));
    return 0;
}
