// The image viewer's scaling and centring, and pictures decoded through the private folder.
#include "Pictures.h"
#include "WindowFixture.h"

#include "window/PictureFile.h"
#include "window/frmImagen.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using namespace kp;
using namespace kp::test;

namespace {

struct FitCase {
    const char* name;
    double width, height;
    TwipsBox expected;
    bool stretched;
};

void PrintTo(const FitCase& c, std::ostream* os) {
    *os << c.name;
}

class ViewerFit : public ::testing::TestWithParam<FitCase> {};

TEST_P(ViewerFit, ScalesByHeightFirstThenByWidthAndCentres) {
    const FitCase& c = GetParam();
    bool stretched = false;
    const TwipsBox b = frmImagen::fitInImageArea(c.width, c.height, &stretched);
    EXPECT_NEAR(b.left, c.expected.left, 0.01);
    EXPECT_NEAR(b.top, c.expected.top, 0.01);
    EXPECT_NEAR(b.width, c.expected.width, 0.01);
    EXPECT_NEAR(b.height, c.expected.height, 0.01);
    EXPECT_EQ(stretched, c.stretched);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, ViewerFit,
    ::testing::Values(
        FitCase{"FitsAtOwnSize", 4000, 3000, {2327.5, 1807.5, 4000, 3000}, false},
        FitCase{"TallScaledByHeight", 4000, 8000, {2733.75, 120, 3187.5, 6375}, true},
        FitCase{"WideScaledByWidth", 10000, 5000, {240, 1263.75, 8175, 4087.5}, true},
        // Height wins even when the result is wider than the window.
        FitCase{"TallAndWideByHeightOnly", 20000, 7000, {-4779.64, 120, 18214.29, 6375}, true},
        FitCase{"ExactlyTheAreaIsNotScaled", 8175, 6375, {240, 120, 8175, 6375}, false},
        FitCase{"NoPictureKeepsTheDesignedBox", 255, 255, {4200, 3180, 255, 255}, false}),
    [](const auto& info) { return std::string(info.param.name); });

class Viewer : public WindowFixture {
protected:
    // Opens the viewer on question 1 of an exam whose only question has the given picture and
    // returns what it showed.
    struct Seen {
        TwipsBox box;
        bool stretched = false;
        bool hasPicture = false;
        QString title;
        QColor background;
    };
    Seen view(const QString& name, const QByteArray& bytes) {
        ExamBuilder b;
        b.exam().setColorFondo(0x00102030);
        b.pregunta(u"A"_s, u"?"_s, {{u"a"_s}, {u"b"_s}}, name, bytes);
        b.serie(1, {u"A"_s});
        openAndStart(b.build());
        Seen seen;
        prompts.onModal = [&](QDialog& d) {
            auto& viewer = static_cast<frmImagen&>(d);
            seen = {viewer.box(viewer.Imagen), viewer.Imagen->stretch(),
                    viewer.Imagen->hasPicture(), viewer.windowTitle(),
                    viewer.palette().color(QPalette::Window)};
            EXPECT_EQ(viewer.SalirBtn->text(), u"&Salir"_s);
            EXPECT_EQ(viewer.box(viewer.SalirBtn), (TwipsBox{7080, 6720, 1575, 375}));
            viewer.SalirBtn->click();
            EXPECT_EQ(viewer.result(), QDialog::Accepted);
        };
        w->ImagenBtn->click();
        return seen;
    }
};

TEST_F(Viewer, WidePictureIsScaledToTheAreaWidth) {
    // 600 x 400 px = 9000 x 6000 twips: wider than 8175, so 8175 x 5450.
    const Seen s = view(u"mapa.png"_s, pictureBytes(600, 400));
    EXPECT_TRUE(s.hasPicture);
    EXPECT_EQ(s.box, (TwipsBox{240, 582.5, 8175, 5450}));
    EXPECT_TRUE(s.stretched);
    EXPECT_EQ(s.title, u"Imagen"_s);
    EXPECT_EQ(s.background, QColor(0x30, 0x20, 0x10));
}

TEST_F(Viewer, SmallPictureIsCentredAtItsOwnSize) {
    const Seen s = view(u"icono.bmp"_s, pictureBytes(20, 10, "BMP"));
    EXPECT_EQ(s.box, (TwipsBox{(8175 - 300) / 2.0 + 240, (6375 - 150) / 2.0 + 120, 300, 150}));
    EXPECT_FALSE(s.stretched);
}

TEST_F(Viewer, SignatureDecidesTheFormatNotTheName) {
    EXPECT_TRUE(view(u"foto.jpg"_s, pictureBytes(8, 8, "PNG")).hasPicture);
}

TEST_F(Viewer, BytesThatAreNoPictureOpenAnEmptyViewer) {
    const Seen s = view(u"foto.png"_s, "<svg>definitely not a png</svg>");
    EXPECT_FALSE(s.hasPicture);
    EXPECT_EQ(s.box, (TwipsBox{4200, 3180, 255, 255}));
}

// ----- The private folder -----

TEST(PictureFileName, KeepsOnlyASafeBaseNameAndExtension) {
    const std::pair<QString, QString> cases[] = {
        {u"logo.png"_s, u"logo.png"_s},
        {u"../../evil.png"_s, u"evil.png"_s},
        {u"..\\..\\Windows\\evil.bmp"_s, u"evil.bmp"_s},
        {u"C:\\Fotos\\mapa.JPG"_s, u"mapa.JPG"_s},
        {u"C:mapa.gif"_s, u"mapa.gif"_s},
        {u"/etc/passwd"_s, u"passwd"_s},
        {u"CON.png"_s, u"imagen.png"_s},
        {u"lpt1.jpg"_s, u"imagen.jpg"_s},
        {u".."_s, u"imagen"_s},
        {u"evil.png/.."_s, u"imagen"_s},
        {QString(), u"imagen"_s},
        {u"mi foto*?.png"_s, u"mi_foto__.png"_s},
        {u"x.p/n\\g"_s, u"g"_s},
    };
    for (const auto& [stored, safe] : cases)
        EXPECT_EQ(PictureFile::safeFileName(stored), safe) << stored.toStdString();
}

TEST(PictureFileName, HostileNamesWriteNothingOutsideThePrivateFolder) {
    QTemporaryDir sandbox;
    ASSERT_TRUE(sandbox.isValid());
    // A file that a hostile name aims at must survive untouched.
    QFile target(sandbox.filePath(u"evil.png"_s));
    ASSERT_TRUE(target.open(QIODevice::WriteOnly));
    target.write("keep");
    target.close();

    const QString previous = QDir::currentPath();
    QDir::setCurrent(sandbox.path()); // relative names would land here
    {
        PictureFile pictures(sandbox.path());
        const QString privateFolder = QDir(pictures.folder()).dirName();
        const QByteArray png = pictureBytes(4, 4);
        for (const QString& name :
             {u"../evil.png"_s, u"..\\evil.png"_s, u"../../evil.png"_s,
              sandbox.filePath(u"evil.png"_s), u"C:\\evil.png"_s, u"sub/dir/evil.png"_s, u"CON"_s,
              u"NUL.png"_s, u".."_s, u"."_s, u"evil.png\\.."_s}) {
            EXPECT_FALSE(pictures.load(png, name).isNull()) << name.toStdString();
            EXPECT_EQ(QDir(sandbox.path())
                          .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                      (QStringList{u"evil.png"_s, privateFolder}))
                << name.toStdString();
            EXPECT_TRUE(QDir(pictures.folder())
                            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)
                            .isEmpty())
                << "removed right after loading: " << name.toStdString();
        }
    }
    QDir::setCurrent(previous);
    ASSERT_TRUE(target.open(QIODevice::ReadOnly));
    EXPECT_EQ(target.readAll(), "keep");
    EXPECT_EQ(QDir(sandbox.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{u"evil.png"_s})
        << "the private folder goes with its owner";
}

} // namespace
