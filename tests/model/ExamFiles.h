#pragma once

#include "model/KipsaPrubex.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace kp::test {

// A temporary folder for the files one test writes and reads.
class ExamFiles {
public:
    QString path(const QString& name) const { return dir_.filePath(name); }

    QString write(const QString& name, const QByteArray& bytes) const {
        QFile f(path(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return {};
        return f.fileName();
    }

    QByteArray read(const QString& name) const {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Loads bytes as an exam file into exam; the result of Cargar.
    bool load(const QByteArray& bytes, KipsaPrubex& exam) const {
        return exam.Cargar(write(QStringLiteral("examen.kxt"), bytes));
    }

private:
    QTemporaryDir dir_;
};

} // namespace kp::test
