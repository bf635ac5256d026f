#pragma once

#include "widgets/TwipsBox.h"

#include <QDialog>
#include <functional>

class QFrame;
class QLabel;
class QPushButton;

namespace kp {

class Prompts;
class RegistryReader;

// The About window: product name and version, a legal warning, the link to the project's web
// page and the system-information tool. Shown modally by the exam window.
class frmAcerca : public QDialog {
    Q_OBJECT
public:
    // The project's web page. A reserved ".example" name until the project has a site of its
    // own, so the link can never lead a student to somebody else's page.
    static constexpr char16_t WebAddress[] = u"https://kipsaprubex.example/";

    // Designed client area and boxes, in twips.
    static constexpr TwipsBox ClientArea{0, 0, 6600, 4140};
    static constexpr TwipsBox VersionBox{1560, 360, 4800, 420};
    static constexpr TwipsBox LinkBox{1560, 900, 4800, 330};
    static constexpr TwipsBox LineBox{240, 2460, 6120, 30};
    static constexpr TwipsBox DisclaimerBox{240, 2640, 4020, 1320};
    static constexpr TwipsBox OkBox{4440, 2640, 1920, 420};
    static constexpr TwipsBox SysInfoBox{4440, 3180, 1920, 420};
    static constexpr TwipsBox EmblemBox{240, 360, 1080, 1320};

    frmAcerca(Prompts& prompts, const RegistryReader& registry, QWidget* parent = nullptr);

    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void norvanelab_Click();
    void StartSysInfo();

    // "Kipsa Prubex " and major.minor.revision of a build version, without leading zeros.
    static QString versionText(const QString& buildVersion);
    // The system-information program the registry names, or empty when there is none.
    static QString sysInfoProgram(const RegistryReader& registry,
                                  const std::function<bool(const QString&)>& fileExists);

    // Starts a program; replaced by tests so nothing real is run.
    std::function<bool(const QString&)> startProgram;

    QLabel* lblVersion = nullptr;
    QLabel* norvanelab = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QFrame* Line2 = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void setLinkUnderline(bool on);

    Prompts& prompts_;
    const RegistryReader& registry_;
};

} // namespace kp
