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
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace kp {
namespace {

// A registry held in memory, under HKEY_LOCAL_MACHINE only: "key|value" -> type and bytes.
struct FakeRegistry final : RegistryReader {
    QHash<QString, std::pair<quint32, QByteArray>> values;
    void put(const QString& key, const QString& name, quint32 type, const QByteArray& data) {
        values.insert(key + u'|' + name, {type, data});
    }
    bool queryValue(quint32 root, const QString& key, const QString& name, quint32& type,
                    QByteArray& data) const override {
        std::tie(type, data) = values.value(key + u'|' + name);
        return root == HKEY_LOCAL_MACHINE && values.contains(key + u'|' + name);
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
        {"single-byte code page", Sz, QByteArray::fromHex("45f16500"), u"Eñe"_s},
        {"text over the buffer", Sz, QByteArray(1025, 'x'), std::nullopt},
        // Bytes from last to first as hexadecimal: 78 56 34 12 -> &h12345678.
        {"four full bytes", Dword, QByteArray::fromHex("78563412"), u"305419896"_s},
        // A high zero byte is taken for a terminating NUL and dropped: 03 02 01 -> &h123.
        {"high zero byte dropped", Dword, QByteArray::fromHex("03020100"), u"291"_s},
        // Zero bytes inside give "0", small bytes lose their leading zero: 05 00 0A 01 -> &h1A05.
        {"no leading zeros per byte", Dword, QByteArray::fromHex("05000a01"), u"6661"_s},
        {"four digits are 16-bit", Dword, QByteArray::fromHex("ffff"), u"-1"_s},
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

TEST_F(AboutWindow, LinkUnderlinesOnlyWhileTheMouseMovesOverItAndOpensThePageOnClick) {
    EXPECT_FALSE(about.norvanelab->font().underline());
    for (QWidget* other :
         std::initializer_list<QWidget*>{about.cmdOK, about.lblDisclaimer, &about}) {
        mouse(about.norvanelab, QEvent::MouseMove);
        mouse(about.norvanelab, QEvent::MouseMove); // a second move keeps it
        EXPECT_TRUE(about.norvanelab->font().underline());
        mouse(other, QEvent::MouseMove);
        EXPECT_FALSE(about.norvanelab->font().underline());
    }
    mouse(about.norvanelab, QEvent::MouseButtonPress);
    mouse(about.norvanelab, QEvent::MouseButtonRelease);
    EXPECT_EQ(prompts.openedUrls, QStringList{QString::fromUtf16(frmAcerca::WebAddress)});
}

TEST_F(AboutWindow, SysInfoStartsTheProgramTheRegistryNamesElseSaysItIsNotAvailable) {
    QStringList started, told;
    about.startProgram = [&](const QString& p) {
        started << p;
        if (started.size() == 3)
            throw std::runtime_error("boom");
        return started.size() == 1; // starts, then will not start, then throws
    };
    registry.put(MsInfo, u"PATH"_s, Sz, QByteArray("C:\\x.exe\0", 9));
    for (int i = 0; i < 3; ++i)
        about.cmdSysInfo->click();
    registry.values.clear(); // and none named
    about.cmdSysInfo->click();
    EXPECT_EQ(started, QStringList(3, u"C:\\x.exe"_s));
    for (const auto& m : prompts.messages)
        told << m.text;
    EXPECT_EQ(told,
              QStringList(3, u"La información del sistema no está disponible en este momento"_s));

    // Without a PATH value: the location's program, if it is there.
    registry.put(Location, u"MSINFO"_s, Sz, QByteArray("D:\\Tools\0", 9));
    const auto there = [](const QString& p) { return p == u"D:\\Tools\\MSINFO32.EXE"_s; };
    EXPECT_EQ(frmAcerca::sysInfoProgram(registry, there), u"D:\\Tools\\MSINFO32.EXE"_s);
    EXPECT_TRUE(
        frmAcerca::sysInfoProgram(registry, [](const QString&) { return false; }).isEmpty());
}

} // namespace
} // namespace kp
