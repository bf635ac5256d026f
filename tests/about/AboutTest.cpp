#include "FakePrompts.h"
#include "about/RegistryReader.h"
#include "about/frmAcerca.h"

#include <QApplication>
#include <QHash>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <gtest/gtest.h>
#include <optional>

using namespace Qt::StringLiterals;

namespace kp {
namespace {

// A registry held in memory, under HKEY_LOCAL_MACHINE only: "key|value" -> type and bytes.
class FakeRegistry final : public RegistryReader {
public:
    QHash<QString, std::pair<quint32, QByteArray>> values;

    void put(const QString& key, const QString& name, quint32 type, const QByteArray& data) {
        values.insert(key + u'|' + name, {type, data});
    }

protected:
    bool queryValue(quint32 root, const QString& key, const QString& name, quint32& type,
                    QByteArray& data) const override {
        const auto it = values.constFind(key + u'|' + name);
        if (root != HKEY_LOCAL_MACHINE || it == values.constEnd())
            return false;
        std::tie(type, data) = *it;
        return true;
    }
};

constexpr quint32 Sz = RegistryReader::REG_SZ, Dword = RegistryReader::REG_DWORD;
const QString MsInfo = u"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"_s;
const QString Location = u"SOFTWARE\\Microsoft\\Shared Tools Location"_s;

TEST(GetKeyValue, ConvertsTextAndDoubleWordsAndEmptiesTheValueOnFailure) {
    const struct {
        const char* name;
        quint32 type; // 0: the value is missing
        QByteArray data;
        std::optional<QString> expected; // none: fails, the value emptied
    } cases[] = {
        {"text loses its terminating NUL", Sz, QByteArray("C:\\m.exe", 9), u"C:\\m.exe"_s},
        {"unterminated text", Sz, QByteArray("abc"), u"abc"_s},
        {"two NULs keep one", Sz, QByteArray("ab\0\0", 4), QString(u"ab\0"_s)},
        {"empty text", Sz, QByteArray("\0", 1), QString()},
        {"single-byte code page", Sz, QByteArray::fromHex("45f16500"), u"Eñe"_s},
        {"text the size of the buffer", Sz, QByteArray(1024, 'x'), QString(1024, u'x')},
        {"text over the buffer", Sz, QByteArray(1025, 'x'), std::nullopt},
        // Bytes from last to first as hexadecimal: 78 56 34 12 -> &h12345678.
        {"four full bytes", Dword, QByteArray::fromHex("78563412"), u"305419896"_s},
        // A high zero byte is taken for a terminating NUL and dropped: 03 02 01 -> &h123.
        {"high zero byte dropped", Dword, QByteArray::fromHex("03020100"), u"291"_s},
        // Zero bytes inside give "0", small bytes lose their leading zero: 05 00 0A 01 -> &h1A05.
        {"no leading zeros per byte", Dword, QByteArray::fromHex("05000a01"), u"6661"_s},
        {"four digits are 16-bit", Dword, QByteArray::fromHex("ffff"), u"-1"_s},
        {"eight digits are 32-bit", Dword, QByteArray::fromHex("feffffff"), u"-2"_s},
        {"a lone zero byte", Dword, QByteArray::fromHex("00"), std::nullopt},
        {"five bytes", Dword, QByteArray::fromHex("1122334455"), std::nullopt},
        {"missing value", 0, {}, std::nullopt},
        {"other type leaves the value", 3, QByteArray("\x01\x02"), u"old"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeRegistry reg;
        if (c.type != 0)
            reg.put(MsInfo, u"V"_s, c.type, c.data);
        QString val = u"old"_s;
        EXPECT_EQ(reg.GetKeyValue(RegistryReader::HKEY_LOCAL_MACHINE, MsInfo, u"V"_s, val),
                  c.expected.has_value());
        EXPECT_EQ(val, c.expected.value_or(QString()));
    }
}

TEST(SysInfoProgram, PathValueWinsUncheckedElseTheLocationIfTheProgramIsThere) {
    FakeRegistry reg;
    reg.put(Location, u"MSINFO"_s, Sz, QByteArray("D:\\Tools\0", 9));
    QStringList checked;
    const auto there = [&](const QString& p) { return checked << p, true; };
    const auto missing = [](const QString&) { return false; };
    EXPECT_EQ(frmAcerca::sysInfoProgram(reg, there), u"D:\\Tools\\MSINFO32.EXE"_s);
    EXPECT_EQ(checked, QStringList{u"D:\\Tools\\MSINFO32.EXE"_s});
    EXPECT_TRUE(frmAcerca::sysInfoProgram(reg, missing).isEmpty());
    // The PATH value is taken as it is: a check of the file would refuse it here.
    reg.put(MsInfo, u"PATH"_s, Sz, QByteArray("C:\\Prog\\msinfo32.exe\0", 21));
    EXPECT_EQ(frmAcerca::sysInfoProgram(reg, missing), u"C:\\Prog\\msinfo32.exe"_s);
}

TEST(VersionText, NumbersWithoutLeadingZeros) {
    EXPECT_EQ(frmAcerca::versionText(u"1.0.102"_s), u"Kipsa Prubex 1.0.102"_s);
    EXPECT_EQ(frmAcerca::versionText(u"01.02.0030"_s), u"Kipsa Prubex 1.2.30"_s);
    EXPECT_EQ(frmAcerca::versionText(u"3"_s), u"Kipsa Prubex 3.0.0"_s);
}

// A mouse move over w (no button), or a left press or release on it.
void mouse(QWidget* w, QEvent::Type type) {
    const auto button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const auto held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent e(type, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)), button, held, {});
    QApplication::sendEvent(w, &e);
}

class AboutWindow : public ::testing::Test {
protected:
    test::FakePrompts prompts;
    FakeRegistry registry;
    frmAcerca about{prompts, registry};
    void SetUp() override { about.show(); }
};

TEST_F(AboutWindow, LinkUnderlinesOnlyWhileTheMouseMovesOverIt) {
    EXPECT_FALSE(about.norvanelab->font().underline());
    for (QWidget* other : std::initializer_list<QWidget*>{
             about.cmdOK, about.cmdSysInfo, about.lblVersion, about.lblDisclaimer, &about}) {
        SCOPED_TRACE(other->objectName().toStdString());
        mouse(about.norvanelab, QEvent::MouseMove);
        mouse(about.norvanelab, QEvent::MouseMove); // a second move keeps it
        EXPECT_TRUE(about.norvanelab->font().underline());
        mouse(other, QEvent::MouseMove);
        EXPECT_FALSE(about.norvanelab->font().underline());
    }
}

TEST_F(AboutWindow, LinkClickOpensTheProjectPage) {
    mouse(about.norvanelab, QEvent::MouseButtonPress);
    mouse(about.norvanelab, QEvent::MouseButtonRelease);
    EXPECT_EQ(prompts.openedUrls, QStringList{QString::fromUtf16(frmAcerca::WebAddress)});
}

TEST_F(AboutWindow, SysInfoStartsTheProgramTheRegistryNamesElseSaysItIsNotAvailable) {
    const struct {
        const char* name;
        QByteArray path; // empty: the registry names nothing
        int starts;      // 1 starts, 0 will not start, -1 throws
    } cases[] = {
        {"starts", QByteArray("C:\\Tools\\msinfo32.exe\0", 22), 1},
        {"no program", {}, 1},
        {"will not start", "C:\\x.exe", 0},
        {"throws", "C:\\x.exe", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        registry.values.clear();
        if (!c.path.isEmpty())
            registry.put(MsInfo, u"PATH"_s, Sz, c.path);
        prompts.messages.clear();
        QStringList started;
        about.startProgram = [&](const QString& p) {
            started << p;
            if (c.starts < 0)
                throw std::runtime_error("boom");
            return c.starts == 1;
        };
        about.cmdSysInfo->click();
        EXPECT_EQ(started, c.path.isEmpty() ? QStringList()
                                            : QStringList{QString::fromLatin1(c.path.constData())});
        const bool ok = !c.path.isEmpty() && c.starts == 1;
        ASSERT_EQ(prompts.messages.size(), ok ? 0u : 1u);
        EXPECT_TRUE(ok || prompts.messages[0].text ==
                              u"La información del sistema no está disponible en este momento"_s);
    }
}

} // namespace
} // namespace kp
