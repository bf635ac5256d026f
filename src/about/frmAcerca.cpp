#include "about/frmAcerca.h"

#include "about/RegistryReader.h"
#include "widgets/Prompts.h"

#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QPushButton>

using namespace Qt::StringLiterals;

#ifndef KP_VERSION_STRING
#define KP_VERSION_STRING "0.0.0"
#endif

namespace kp {

namespace {

const QString sysInfoKey = u"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"_s;
const QString sysInfoLocationKey = u"SOFTWARE\\Microsoft\\Shared Tools Location"_s;

} // namespace

frmAcerca::frmAcerca(Prompts& prompts, const RegistryReader& registry, QWidget* parent)
    : QDialog(parent), prompts_(prompts), registry_(registry) {
    setObjectName(u"frmAcerca"_s);
    setWindowTitle(u" Acerca de Prubex v3.0"_s);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(ClientArea.pixels().size());
    startProgram = [](const QString& program) { return QProcess::startDetached(program, {}); };

    lblVersion = new QLabel(this);
    lblVersion->setObjectName(u"lblVersion"_s);
    lblVersion->setTextFormat(Qt::PlainText);
    lblVersion->setGeometry(VersionBox.pixels());
    QFont big = lblVersion->font();
    big.setPointSize(12);
    big.setBold(true);
    lblVersion->setFont(big);

    norvanelab = new QLabel(QString::fromUtf16(WebAddress), this);
    norvanelab->setObjectName(u"norvanelab"_s);
    norvanelab->setTextFormat(Qt::PlainText);
    norvanelab->setGeometry(LinkBox.pixels());
    norvanelab->setCursor(Qt::PointingHandCursor);
    QPalette linkPalette = norvanelab->palette();
    linkPalette.setColor(QPalette::WindowText, QColor(0, 0, 192));
    norvanelab->setPalette(linkPalette);

    Line2 = new QFrame(this);
    Line2->setObjectName(u"Line2"_s);
    Line2->setFrameShape(QFrame::HLine);
    Line2->setFrameShadow(QFrame::Sunken);
    Line2->setGeometry(LineBox.pixels());

    lblDisclaimer = new QLabel(this);
    lblDisclaimer->setObjectName(u"lblDisclaimer"_s);
    lblDisclaimer->setTextFormat(Qt::PlainText);
    lblDisclaimer->setWordWrap(true);
    lblDisclaimer->setGeometry(DisclaimerBox.pixels());
    lblDisclaimer->setText(
        u"Aviso: Kipsa Prubex es una obra protegida por la legislación de propiedad "
        u"intelectual. Queda prohibida la copia, distribución o modificación de este programa, "
        u"total o parcial, sin la autorización de sus autores."_s);

    cmdOK = new QPushButton(u"Aceptar"_s, this);
    cmdOK->setObjectName(u"cmdOK"_s);
    cmdOK->setGeometry(OkBox.pixels());
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });

    cmdSysInfo = new QPushButton(u"&Info. del sistema..."_s, this);
    cmdSysInfo->setObjectName(u"cmdSysInfo"_s);
    cmdSysInfo->setGeometry(SysInfoBox.pixels());
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { cmdSysInfo_Click(); });

    // Every movement of the mouse over the window decides the link's underline.
    setMouseTracking(true);
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) {
        child->setMouseTracking(true);
        child->installEventFilter(this);
    }

    Form_Load();
}

QString frmAcerca::versionText(const QString& buildVersion) {
    const QStringList parts = buildVersion.split(u'.');
    QStringList numbers;
    for (int i = 0; i < 3; ++i) {
        const qlonglong n = i < parts.size() ? parts[i].trimmed().toLongLong() : 0;
        numbers << QString::number(n);
    }
    return u"Kipsa Prubex "_s + numbers.join(u'.');
}

void frmAcerca::Form_Load() {
    lblVersion->setText(versionText(QString::fromLatin1(KP_VERSION_STRING)));
}

void frmAcerca::cmdOK_Click() {
    accept();
}

void frmAcerca::cmdSysInfo_Click() {
    StartSysInfo();
}

void frmAcerca::norvanelab_Click() {
    try {
        prompts_.openUrl(QString::fromUtf16(WebAddress));
    } catch (...) {
        // A page that cannot be opened is not worth a message.
    }
}

QString frmAcerca::sysInfoProgram(const RegistryReader& registry,
                                  const std::function<bool(const QString&)>& fileExists) {
    QString value;
    if (registry.GetKeyValue(RegistryReader::HKEY_LOCAL_MACHINE, sysInfoKey, u"PATH"_s, value))
        return value;
    if (registry.GetKeyValue(RegistryReader::HKEY_LOCAL_MACHINE, sysInfoLocationKey, u"MSINFO"_s,
                             value)) {
        const QString program = value + u"\\MSINFO32.EXE"_s;
        if (fileExists(program))
            return program;
    }
    return {};
}

void frmAcerca::StartSysInfo() {
    bool started = false;
    try {
        const QString program =
            sysInfoProgram(registry_, [](const QString& path) { return QFileInfo::exists(path); });
        started = !program.isEmpty() && startProgram && startProgram(program);
    } catch (...) {
        started = false;
    }
    if (!started)
        prompts_.message(this, QString(),
                         u"La información del sistema no está disponible en este momento"_s,
                         PromptIcon::None, PromptButtons::Ok);
}

void frmAcerca::setLinkUnderline(bool on) {
    QFont f = norvanelab->font();
    if (f.underline() == on)
        return;
    f.setUnderline(on);
    norvanelab->setFont(f);
}

bool frmAcerca::eventFilter(QObject* watched, QEvent* event) {
    try {
        if (event->type() == QEvent::MouseMove) {
            setLinkUnderline(watched == norvanelab);
            // Taken here, so the label's parent never sees the move and turns it off again.
            if (watched == norvanelab)
                return true;
        } else if (watched == norvanelab && event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton &&
                norvanelab->rect().contains(mouse->position().toPoint()))
                norvanelab_Click();
        }
    } catch (...) {
    }
    return QDialog::eventFilter(watched, event);
}

void frmAcerca::paintEvent(QPaintEvent*) {
    // Our own background: a soft sky gradient and a small answer sheet with a ticked box.
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0, QColor(214, 230, 247));
    sky.setColorAt(1, QColor(250, 252, 255));
    p.fillRect(rect(), sky);

    const QRectF sheet = EmblemBox.pixels();
    p.setPen(QPen(QColor(90, 110, 140), 1.5));
    p.setBrush(Qt::white);
    p.drawRoundedRect(sheet, 4, 4);
    const double unit = sheet.width() / 6.0;
    for (int row = 0; row < 4; ++row) {
        const double y = sheet.top() + unit * (1.0 + row * 1.5);
        const QRectF box(sheet.left() + unit * 0.8, y, unit, unit);
        p.setPen(QPen(QColor(90, 110, 140), 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(box);
        p.drawLine(QPointF(box.right() + unit * 0.6, box.center().y()),
                   QPointF(sheet.right() - unit * 0.7, box.center().y()));
        if (row == 1) {
            p.setPen(QPen(QColor(30, 140, 60), 2.2));
            p.drawLine(QPointF(box.left() + unit * 0.2, box.center().y()),
                       QPointF(box.left() + unit * 0.45, box.bottom() - unit * 0.15));
            p.drawLine(QPointF(box.left() + unit * 0.45, box.bottom() - unit * 0.15),
                       QPointF(box.right() + unit * 0.2, box.top() - unit * 0.2));
        }
    }
}

} // namespace kp
