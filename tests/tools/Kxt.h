#pragma once

#include "FileBytes.h"
#include "tools/Commands.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

namespace kp::test {

// What a kxt command returned and printed.
struct CommandRun {
    int status;
    QString out;
    QString err;
};

inline CommandRun kxt(int (*command)(const QStringList&, QTextStream&, QTextStream&),
                      const QStringList& args) {
    CommandRun r{};
    QTextStream out(&r.out), err(&r.err);
    r.status = command(args, out, err);
    out.flush();
    err.flush();
    return r;
}

// A file of the project's examples folder.
inline QString example(const QString& name) {
    return QDir(qEnvironmentVariable("KP_TEST_DATA"))
        .filePath(QStringLiteral("../../examples/") + name);
}

// A temporary folder; write() gives back the path of the file it wrote.
struct ToolFiles : QTemporaryDir {
    QString path(const QString& name) const { return filePath(name); }
    QString write(const QString& name, const QByteArray& bytes) const {
        return writeFile(path(name), bytes) ? path(name) : QString();
    }
};

} // namespace kp::test
