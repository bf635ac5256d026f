#include "FakePrompts.h"
#include "about/RegistryReader.h"
#include "about/frmAcerca.h"

#include <QApplication>
#include <QHash>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace kp {
namespace {

// A registry held in memory, under HKEY_LOCAL_MACHINE only: "key|value" -> type and bytes.
struct FakeRegistry final : RegistryReader {
    QHash<QString, std::pair<quint32, QByteArray>> values;
    bool queryValue(quint32 root, const QString& key, const QString& name, quint32& type,
                    QByteArray& data) const override {
        std::tie(type, data) = values.value(key + u'|' + name);
        return root == HKEY_LOCAL_MACHINE && values.contains(key + u'|' + name);
    }
};

constexpr quint32 Sz = RegistryReader::REG_SZ, Dword = RegistryReader::REG_DWORD;
const QString MsInfo = u"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"_s;

// Type (0: the value is missing), bytes, and the value read (empty: the lookup fails).
TEST(GetKeyValue, ConvertsTextAndDoubleWordsAndEmptiesTheValueOnFailure) {
    const std::tuple<quint32, QByteArray, QString> cases[] = {
        {Sz, QByteArray("C:\\m.exe", 9), u"C:\\m.exe"_s}, // the terminating NUL dropped
        {Sz, QByteArray(1025, 'x'), QString()},           // over the buffer
        // Bytes from last to first as hexadecimal, each without its leading zero, "0" for a zero
        // byte inside: 05 00 0A 01 -> &h1A05.
        {Dword, QByteArray::fromHex("05000a01"), u"6661"_s},
        {Dword, QByteArray::fromHex("ffff"), u"-1"_s}, // four digits are 16-bit
        {0, {}, QString()},
    };
    for (const auto& [type, data, expected] : cases) {
        SCOPED_TRACE(data.toHex().toStdString());
        FakeRegistry reg;
        if (type != 0)
            reg.values.insert(MsInfo + u"|V"_s, {type, data});
        QString val = u"old"_s;
        EXPECT_EQ(reg.GetKeyValue(RegistryReader::HKEY_LOCAL_MACHINE, MsInfo, u"V"_s, val),
                  !expected.isEmpty());
        EXPECT_EQ(val, expected);
    }
}

// A mouse event on w, with the button given held.
void mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button = Qt::NoButton) {
    QMouseEvent e(type, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)), button, button, {});
    QApplication::sendEvent(w, &e);
}

class AboutWindow : public ::testing::Test {
protected:
    test::FakePrompts prompts;
    FakeRegistry registry;
    frmAcerca about{prompts, registry};
};

TEST_F(AboutWindow, LinkUnderlinesOnlyWhileTheMouseMovesOverItAndOpensThePageOnClick) {
    mouse(about.norvanelab, QEvent::MouseMove);
    mouse(about.norvanelab, QEvent::MouseMove); // a second move keeps it
    EXPECT_TRUE(about.norvanelab->font().underline());
    mouse(&about, QEvent::MouseMove);
    EXPECT_FALSE(about.norvanelab->font().underline());
    mouse(about.norvanelab, QEvent::MouseButtonPress, Qt::LeftButton);
    mouse(about.norvanelab, QEvent::MouseButtonRelease, Qt::LeftButton);
    EXPECT_EQ(prompts.openedUrls, QStringList{QString::fromUtf16(frmAcerca::WebAddress)});
}

TEST_F(AboutWindow, SysInfoStartsTheProgramTheRegistryNamesElseSaysItIsNotAvailable) {
    QStringList started;
    about.startProgram = [&](const QString& p) { return (started << p).size() == 1; };
    registry.values.insert(MsInfo + u"|PATH"_s, {Sz, QByteArray("C:\\x.exe\0", 9)});
    about.cmdSysInfo->click(); // starts
    about.cmdSysInfo->click(); // will not start
    registry.values.clear();
    about.cmdSysInfo->click(); // none named
    EXPECT_EQ(started, QStringList(2, u"C:\\x.exe"_s));
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages.back().text,
              u"La información del sistema no está disponible en este momento"_s);

    // Without a PATH value: the location's program, if it is there.
    registry.values.insert(u"SOFTWARE\\Microsoft\\Shared Tools Location|MSINFO"_s,
                           {Sz, QByteArray("D:\\Tools\0", 9)});
    const auto there = [](const QString& p) { return p == u"D:\\Tools\\MSINFO32.EXE"_s; };
    EXPECT_EQ(frmAcerca::sysInfoProgram(registry, there), u"D:\\Tools\\MSINFO32.EXE"_s);
}

} // namespace
} // namespace kp
