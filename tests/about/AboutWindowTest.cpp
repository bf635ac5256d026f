#include "FakePrompts.h"
#include "about/RegistryReader.h"
#include "about/SystemRegistryReader.h"
#include "about/frmAcerca.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace kp {
namespace {

// Hands out one program path for the tool, or nothing.
class OneValueRegistry final : public RegistryReader {
public:
    QByteArray path;

protected:
    bool queryValue(quint32, const QString&, const QString& valueName, quint32& type,
                    QByteArray& data) const override {
        if (path.isEmpty() || valueName != u"PATH"_s)
            return false;
        type = REG_SZ;
        data = path;
        return true;
    }
};

void moveOver(QWidget* w) {
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

void clickOn(QWidget* w) {
    const QPointF at(3, 3);
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QApplication::sendEvent(w, &release);
}

class AboutWindow : public ::testing::Test {
protected:
    test::FakePrompts prompts;
    OneValueRegistry registry;
    frmAcerca about{prompts, registry};
};

TEST_F(AboutWindow, ShowsCaptionVersionOfTheBuildAndControls) {
    EXPECT_EQ(about.windowTitle(), u" Acerca de Prubex v3.0"_s);
    EXPECT_EQ(about.lblVersion->text(), frmAcerca::versionText(QStringLiteral(KP_VERSION_STRING)));
    EXPECT_TRUE(about.lblVersion->text().startsWith(u"Kipsa Prubex "_s));
    EXPECT_EQ(about.cmdOK->text(), u"Aceptar"_s);
    EXPECT_EQ(about.cmdSysInfo->text(), u"&Info. del sistema..."_s);
    EXPECT_FALSE(about.lblDisclaimer->text().isEmpty());
    for (const char* name :
         {"cmdOK", "cmdSysInfo", "norvanelab", "lblVersion", "lblDisclaimer", "Line2"})
        EXPECT_NE(about.findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
}

TEST_F(AboutWindow, LinkUnderlinesOnlyWhileTheMouseMovesOverIt) {
    about.show();
    EXPECT_FALSE(about.norvanelab->font().underline());
    moveOver(about.norvanelab);
    EXPECT_TRUE(about.norvanelab->font().underline());
    moveOver(about.norvanelab);
    EXPECT_TRUE(about.norvanelab->font().underline());
    for (QWidget* other : std::initializer_list<QWidget*>{
             about.cmdOK, about.cmdSysInfo, about.lblVersion, about.lblDisclaimer, &about}) {
        moveOver(about.norvanelab);
        moveOver(other);
        EXPECT_FALSE(about.norvanelab->font().underline()) << other->objectName().toStdString();
    }
}

TEST_F(AboutWindow, LinkClickOpensTheProjectPage) {
    about.show();
    clickOn(about.norvanelab);
    ASSERT_EQ(prompts.openedUrls.size(), 1);
    EXPECT_EQ(prompts.openedUrls.front(), QString::fromUtf16(frmAcerca::WebAddress));
    EXPECT_EQ(about.norvanelab->text(), QString::fromUtf16(frmAcerca::WebAddress));
    clickOn(about.lblVersion);
    EXPECT_EQ(prompts.openedUrls.size(), 1);
}

TEST_F(AboutWindow, SysInfoWithoutToolShowsTheMessageOnly) {
    bool started = false;
    about.startProgram = [&](const QString&) { return started = true; };
    about.cmdSysInfo->click();
    EXPECT_FALSE(started);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text,
              u"La información del sistema no está disponible en este momento"_s);
    EXPECT_TRUE(prompts.messages[0].title.isEmpty());
    EXPECT_EQ(prompts.messages[0].buttons, PromptButtons::Ok);
}

TEST_F(AboutWindow, SysInfoStartsTheProgramTheRegistryNames) {
    registry.path = QByteArray("C:\\Tools\\msinfo32.exe\0", 22);
    QStringList started;
    about.startProgram = [&](const QString& p) {
        started << p;
        return true;
    };
    about.cmdSysInfo->click();
    EXPECT_EQ(started, QStringList{u"C:\\Tools\\msinfo32.exe"_s});
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(AboutWindow, ProgramThatWillNotStartOrThrowsEndsInTheMessage) {
    registry.path = QByteArray("C:\\nothing.exe");
    about.startProgram = [](const QString&) { return false; };
    about.cmdSysInfo->click();
    about.startProgram = [](const QString&) -> bool { throw std::runtime_error("boom"); };
    about.cmdSysInfo->click();
    EXPECT_EQ(prompts.messages.size(), 2u);
}

TEST(SystemRegistry, FindsNothingOffWindows) {
#ifndef Q_OS_WIN
    SystemRegistryReader reg;
    QString val = u"x"_s;
    EXPECT_FALSE(reg.GetKeyValue(RegistryReader::HKEY_LOCAL_MACHINE,
                                 u"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"_s, u"PATH"_s, val));
    EXPECT_TRUE(val.isEmpty());
#endif
}

TEST_F(AboutWindow, OkClosesTheWindow) {
    about.show();
    about.cmdOK->click();
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

} // namespace
} // namespace kp
