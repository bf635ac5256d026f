#include "about/RegistryReader.h"
#include "about/frmAcerca.h"

#include <QHash>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace kp {
namespace {

// A registry held in memory: "root|key|value" -> type and bytes.
class FakeRegistry final : public RegistryReader {
public:
    struct Value {
        quint32 type;
        QByteArray data;
    };
    QHash<QString, Value> values;
    mutable QStringList asked;

    void put(const QString& key, const QString& name, quint32 type, const QByteArray& data) {
        values.insert(path(HKEY_LOCAL_MACHINE, key, name), {type, data});
    }

protected:
    bool queryValue(quint32 root, const QString& keyName, const QString& valueName, quint32& type,
                    QByteArray& data) const override {
        asked << keyName + u'|' + valueName;
        const auto it = values.constFind(path(root, keyName, valueName));
        if (it == values.constEnd())
            return false;
        type = it->type;
        data = it->data;
        return true;
    }

private:
    static QString path(quint32 root, const QString& key, const QString& name) {
        return QString::number(root) + u'|' + key + u'|' + name;
    }
};

constexpr quint32 Root = RegistryReader::HKEY_LOCAL_MACHINE;
const QString Key = u"SOFTWARE\\K"_s;

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

TEST(GetKeyValue, TextValueLosesOnlyItsTerminatingNul) {
    const struct {
        const char* name;
        QByteArray data;
        QString expected;
    } cases[] = {
        {"terminated", QByteArray("C:\\msinfo32.exe", 16), u"C:\\msinfo32.exe"_s},
        {"unterminated", QByteArray("abc"), u"abc"_s},
        {"two NULs keep one", QByteArray("ab\0\0", 4), QString(u"ab\0"_s)},
        {"empty", QByteArray("\0", 1), QString()},
        {"single-byte code page", bytes({'E', 0xF1, 'e', 0}), u"Eñe"_s},
    };
    for (const auto& c : cases) {
        FakeRegistry reg;
        reg.put(Key, u"V"_s, RegistryReader::REG_SZ, c.data);
        QString val = u"old"_s;
        EXPECT_TRUE(reg.GetKeyValue(Root, Key, u"V"_s, val)) << c.name;
        EXPECT_EQ(val, c.expected) << c.name;
    }
}

TEST(GetKeyValue, DoubleWordReadsItsBytesBackwardsAsHexWithoutLeadingZeros) {
    const struct {
        const char* name;
        QByteArray data;
        QString expected;
    } cases[] = {
        // 0x12345678 little-endian: bytes 78 56 34 12, read back as &h12345678.
        {"four full bytes", bytes({0x78, 0x56, 0x34, 0x12}), u"305419896"_s},
        // A high zero byte is taken for a terminating NUL and dropped: 03 02 01 -> &h123.
        {"high zero byte dropped", bytes({0x03, 0x02, 0x01, 0x00}), u"291"_s},
        // Zero bytes inside give "0" each, small bytes lose their leading zero: 05 00 0A 01
        // -> "1" "A" "0" "5" -> &h1A05.
        {"no leading zeros per byte", bytes({0x05, 0x00, 0x0A, 0x01}), u"6661"_s},
        {"four digits are 16-bit", bytes({0xFF, 0xFF}), u"-1"_s},
        {"eight digits are 32-bit", bytes({0xFE, 0xFF, 0xFF, 0xFF}), u"-2"_s},
        {"one", bytes({0x01, 0x00, 0x00, 0x00}), u"1"_s},
    };
    for (const auto& c : cases) {
        FakeRegistry reg;
        reg.put(Key, u"V"_s, RegistryReader::REG_DWORD, c.data);
        QString val = u"old"_s;
        EXPECT_TRUE(reg.GetKeyValue(Root, Key, u"V"_s, val)) << c.name;
        EXPECT_EQ(val, c.expected) << c.name;
    }
}

TEST(GetKeyValue, FailuresEmptyTheValue) {
    FakeRegistry reg;
    reg.put(Key, u"Big"_s, RegistryReader::REG_SZ, QByteArray(1025, 'x'));
    reg.put(Key, u"Zero"_s, RegistryReader::REG_DWORD, bytes({0x00}));
    reg.put(Key, u"Long"_s, RegistryReader::REG_DWORD, bytes({0x11, 0x22, 0x33, 0x44, 0x55}));
    for (const QString& name : {u"Missing"_s, u"Big"_s, u"Zero"_s, u"Long"_s}) {
        QString val = u"old"_s;
        EXPECT_FALSE(reg.GetKeyValue(Root, Key, name, val)) << name.toStdString();
        EXPECT_TRUE(val.isEmpty()) << name.toStdString();
    }
}

TEST(GetKeyValue, BufferSizedValueIsStillRead) {
    FakeRegistry reg;
    reg.put(Key, u"V"_s, RegistryReader::REG_SZ, QByteArray(1024, 'x'));
    QString val;
    EXPECT_TRUE(reg.GetKeyValue(Root, Key, u"V"_s, val));
    EXPECT_EQ(val.size(), 1024);
}

TEST(GetKeyValue, OtherTypeLeavesTheValueAsItWas) {
    FakeRegistry reg;
    reg.put(Key, u"V"_s, 3, QByteArray("\x01\x02"));
    QString val = u"old"_s;
    EXPECT_TRUE(reg.GetKeyValue(Root, Key, u"V"_s, val));
    EXPECT_EQ(val, u"old"_s);
}

const QString MsInfo = u"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"_s;
const QString Location = u"SOFTWARE\\Microsoft\\Shared Tools Location"_s;

TEST(SysInfoProgram, PathValueWinsWithoutCheckingTheFile) {
    FakeRegistry reg;
    reg.put(MsInfo, u"PATH"_s, RegistryReader::REG_SZ, QByteArray("C:\\Prog\\msinfo32.exe\0", 21));
    reg.put(Location, u"MSINFO"_s, RegistryReader::REG_SZ, QByteArray("D:\\Other\0", 9));
    EXPECT_EQ(frmAcerca::sysInfoProgram(reg, [](const QString&) { return false; }),
              u"C:\\Prog\\msinfo32.exe"_s);
    EXPECT_EQ(reg.asked, QStringList{MsInfo + u"|PATH"_s});
}

TEST(SysInfoProgram, LocationValueNeedsTheProgramToExist) {
    FakeRegistry reg;
    reg.put(Location, u"MSINFO"_s, RegistryReader::REG_SZ, QByteArray("D:\\Tools\0", 9));
    QString checked;
    EXPECT_EQ(frmAcerca::sysInfoProgram(reg,
                                        [&](const QString& p) {
                                            checked = p;
                                            return true;
                                        }),
              u"D:\\Tools\\MSINFO32.EXE"_s);
    EXPECT_EQ(checked, u"D:\\Tools\\MSINFO32.EXE"_s);
    EXPECT_TRUE(frmAcerca::sysInfoProgram(reg, [](const QString&) { return false; }).isEmpty());
}

TEST(SysInfoProgram, EmptyRegistryFindsNothing) {
    FakeRegistry reg;
    EXPECT_TRUE(frmAcerca::sysInfoProgram(reg, [](const QString&) { return true; }).isEmpty());
}

TEST(VersionText, NumbersWithoutLeadingZeros) {
    EXPECT_EQ(frmAcerca::versionText(u"1.0.102"_s), u"Kipsa Prubex 1.0.102"_s);
    EXPECT_EQ(frmAcerca::versionText(u"01.02.0030"_s), u"Kipsa Prubex 1.2.30"_s);
    EXPECT_EQ(frmAcerca::versionText(u"3"_s), u"Kipsa Prubex 3.0.0"_s);
}

} // namespace
} // namespace kp
