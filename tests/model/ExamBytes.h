#pragma once

#include <QByteArray>
#include <QString>

namespace kp::test {

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

    // The header of an exam with no logo; every text empty unless given.
    ExamBytes& header(qint64 tipoExamen = 1, const QByteArray& logoName = {}) {
        dec(300);
        for (int i = 0; i < 7; ++i)
            text({});
        dec(tipoExamen);
        for (int i = 0; i < 9; ++i) // fields 10 to 18
            dec(i == 5 ? 2 : 0);
        text({});
        for (int i = 0; i < 5; ++i) // fields 20 to 24
            dec(0);
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

} // namespace kp::test
