#pragma once
// What the file tests share: readable Qt values in failures, exam bytes built by hand, temporary
// files, and error codes of calls that raise.

#include "FileBytes.h"
#include "model/KipsaPrubex.h"
#include "model/KpError.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <ostream>

// Readable failure messages for Qt strings (found by argument-dependent lookup).
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QByteArray& b, std::ostream* os) {
    *os << '"' << b.left(200).toStdString() << '"';
}

namespace kp::test {

using namespace Qt::StringLiterals;

// Builds exam file bytes field by field, so a test can state exactly what the file holds,
// including what our own writer would never produce.
class ExamBytes {
public:
    ExamBytes& raw(const QByteArray& b) {
        bytes_ += b;
        return *this;
    }
    // A 10-character field holding exactly the given characters (padded with zeros on the left
    // when shorter).
    ExamBytes& field(const QByteArray& f) { return raw(QByteArray(10 - f.size(), '0') + f); }
    ExamBytes& dec(qint64 v) { return field(QByteArray::number(v)); }
    ExamBytes& text(const QByteArray& t) { return dec(t.size()).raw(t); }

    // An exam header with every text empty, the given logo name and no logo bytes; fields 10 to
    // 18 and 20 to 24 in file order.
    ExamBytes& header(const QByteArray& logoName = {}, const QByteArray& version = "300",
                      const QByteArray& tipo = "1",
                      const QList<QByteArray>& fields10to18 = QList<QByteArray>(9, "0"),
                      const QList<QByteArray>& fields20to24 = QList<QByteArray>(5, "0")) {
        field(version);
        for (int i = 0; i < 7; ++i)
            text({});
        field(tipo);
        for (const auto& f : fields10to18)
            field(f);
        text({});
        for (const auto& f : fields20to24)
            field(f);
        return text(logoName);
    }
    // A question record with no answers and no image.
    ExamBytes& question(const QByteArray& id) {
        dec(300).text({}).text({}).text(id).text({});
        return dec(0).dec(0);
    }

    const QByteArray& bytes() const { return bytes_; }
    qsizetype size() const { return bytes_.size(); }

private:
    QByteArray bytes_;
};

// A temporary folder for the files one test writes and reads.
class ExamFiles {
public:
    QString path(const QString& name) const { return dir_.filePath(name); }

    QString write(const QString& name, const QByteArray& bytes) const {
        return writeFile(path(name), bytes) ? path(name) : QString();
    }

    QByteArray read(const QString& name) const {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Loads bytes as an exam file into exam; the result of Cargar.
    bool load(const QByteArray& bytes, KipsaPrubex& exam) const {
        return exam.Cargar(write(u"examen.kxt"_s, bytes));
    }

private:
    QTemporaryDir dir_;
};

// The code of the KpError call raises; 0 when it raises none.
inline int codeOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const KpError& e) {
        return e.code();
    }
    return 0;
}

} // namespace kp::test
