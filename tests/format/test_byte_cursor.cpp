#include "ExamBytes.h"

#include "format/ByteCursor.h"
#include "format/FileWindow.h"

#include <gtest/gtest.h>
#include <unistd.h>

using namespace kp;
using namespace kp::test;
using namespace Qt::StringLiterals;

namespace {

using Number = ByteCursor::Number;

// The value of one decimal field read as a 32-bit number under rule, or the KpError it raises.
struct Read {
    qint64 value;
    int error;
    bool operator==(const Read&) const = default;
};

Read int32Of(const QByteArray& field, Number rule) {
    ByteCursor in(field);
    qint64 value = 0;
    const int error = codeOf([&] { value = in.int32(rule); });
    return {error ? 0 : value, error};
}

qint64 repunit(int digits) {
    qint64 v = 0;
    for (int i = 0; i < digits; ++i)
        v = v * 10 + 1;
    return v;
}

void PrintTo(const Read& r, std::ostream* os) {
    *os << r.value << " (error " << r.error << ")";
}

} // namespace

TEST(ByteCursor, FieldsOfTenDigitsAndEveryOtherShapeReadAsTheFormatSays) {
    const struct {
        const char* field;
        Number rule;
        Read want;
    } cases[] = {
        {"0123456789", Number::Leading, {123456789, 0}},
        {"2147483647", Number::Whole, {2147483647, 0}},
        {"2147483648", Number::Leading, {0, KpError::Overflow}},
        {"9876543210", Number::Padded, {0, KpError::Overflow}},
        {"0000000000", Number::Padded, {0, 0}},
        {"00000000-5", Number::Padded, {-5, 0}},
        {"  -12     ", Number::Whole, {-12, 0}},
        {"000000012a", Number::Whole, {0, KpError::TypeMismatch}},
        {"0000012.50", Number::Leading, {12, 0}},
        {"0000013.50", Number::Whole, {14, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(int32Of(c.field, c.rule), c.want) << c.field;

    // A byte just outside '0'..'9' (or a blank, or a point) at each place in turn: the leading
    // digits before it are the value, whatever follows.
    for (int at = 0; at < 10; ++at)
        for (const char odd : {'/', ':', ' ', '.', '\xb0'}) {
            QByteArray field(10, '1');
            field[at] = odd;
            EXPECT_EQ(int32Of(field, Number::Leading), (Read{repunit(at), 0})) << field.data();
        }

    ByteCursor flags("0000000001"
                     "1.00000000"
                     "0000000011"
                     "0000000000");
    EXPECT_EQ((QList<bool>{flags.flag(), flags.flag(), flags.flag(), flags.flag()}),
              (QList<bool>{true, true, false, false}));
    ByteCursor counts("0000032767"
                      "0000032768");
    EXPECT_EQ(counts.int16(), 32767);
    EXPECT_EQ(codeOf([&] { counts.int16(); }), KpError::Overflow);
}

TEST(FileWindow, AFileWalkedInPiecesReadsAsWholeAndOneThatChangesFailsCleanly) {
    ExamFiles files;
    QByteArray content;
    for (int i = 0; content.size() < 700 * 1024; ++i)
        content += QByteArray::number(i) + ';';
    const QString path = files.write(u"datos.bin"_s, content);

    FileWindow window(path, 1 << 20);
    EXPECT_EQ(window.size(), content.size());
    // Small pieces, one larger than the read-ahead, pieces across its edges, going back.
    const struct {
        qint64 from;
        qsizetype n;
    } pieces[] = {{0, 10}, {5, 300 * 1024}, {262140, 10}, {100, 5}, {600 * 1024, 1024}};
    for (const auto& p : pieces)
        EXPECT_EQ(window.bytes(p.from, p.n).toByteArray(), content.mid(p.from, p.n)) << p.from;
    EXPECT_EQ(window.copy(262100, 400 * 1024), content.mid(262100, 400 * 1024));
    EXPECT_EQ(window.readAll(), content);

    // Cut short while open: what is gone fails as the end of the file, and readAll gives what
    // is left; grown: readAll reads on, but never past the size allowed.
    ASSERT_EQ(::truncate(QFile::encodeName(path).constData(), 1000), 0);
    try {
        window.bytes(5000, 10);
        ADD_FAILURE() << "bytes past the new end";
    } catch (const KpError& e) {
        EXPECT_EQ(e.code(), KpError::PastEnd);
        EXPECT_EQ(e.message(), path + u" terminó antes de lo esperado (posición 5001, 10 bytes): "
                                      u"cambió mientras se leía"_s);
    }
    EXPECT_EQ(codeOf([&] { window.copy(900, 200); }), KpError::PastEnd);
    EXPECT_EQ(window.readAll(), content.left(1000));
    const auto append = [&path](const QByteArray& bytes) {
        QFile file(path);
        return file.open(QIODevice::Append) && file.write(bytes) == bytes.size();
    };
    FileWindow grown(path, 5000);
    ASSERT_TRUE(append(QByteArray(2000, 'x')));
    EXPECT_EQ(grown.readAll(), content.left(1000) + QByteArray(2000, 'x'));
    FileWindow grownTooMuch(path, 5000);
    ASSERT_TRUE(append(QByteArray(3000, 'y')));
    EXPECT_EQ(codeOf([&] { grownTooMuch.readAll(); }), KpError::BadValue);
    EXPECT_EQ(codeOf([&] { FileWindow(path, 5999); }), KpError::BadValue);
}
