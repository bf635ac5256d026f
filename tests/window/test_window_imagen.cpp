// The image viewer's scaling and centring, and pictures decoded through the private folder.
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

TEST(ViewerFit, ScalesByHeightFirstThenByWidthAndCentres) {
    const struct {
        const char* name;
        double width, height;
        TwipsBox expected;
        bool stretched;
    } cases[] = {
        {"FitsAtOwnSize", 4000, 3000, {2327.5, 1807.5, 4000, 3000}, false},
        {"TallScaledByHeight", 4000, 8000, {2733.75, 120, 3187.5, 6375}, true},
        {"WideScaledByWidth", 10000, 5000, {240, 1263.75, 8175, 4087.5}, true},
        // Height wins even when the result is wider than the window.
        {"TallAndWideByHeightOnly", 20000, 7000, {-4779.64, 120, 18214.29, 6375}, true},
        {"ExactlyTheAreaIsNotScaled", 8175, 6375, {240, 120, 8175, 6375}, false},
        {"NoPictureKeepsTheDesignedBox", 255, 255, {4200, 3180, 255, 255}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bool stretched = false;
        const TwipsBox b = frmImagen::fitInImageArea(c.width, c.height, &stretched);
        EXPECT_NEAR(b.left, c.expected.left, 0.01);
        EXPECT_NEAR(b.top, c.expected.top, 0.01);
        EXPECT_NEAR(b.width, c.expected.width, 0.01);
        EXPECT_NEAR(b.height, c.expected.height, 0.01);
        EXPECT_EQ(stretched, c.stretched);
    }
}

class Viewer : public WindowFixture {};

// Through the button on the question shown (the second; the first has no picture), in pixels
// of 15 twips.
TEST_F(Viewer, ButtonShowsTheQuestionsPictureDecodedByItsSignature) {
    const struct {
        const char* name;
        const char16_t* file;
        QByteArray bytes;
        bool hasPicture, stretched;
        TwipsBox box;
    } cases[] = {
        // 9000 x 6000 twips: wider than 8175, so 8175 x 5450. The name's extension is wrong.
        {"WideScaledToTheAreaWidth",
         u"mapa.jpg",
         pictureBytes(600, 400),
         true,
         true,
         {240, 582.5, 8175, 5450}},
        {"NoPictureOpensEmpty",
         u"foto.png",
         "<svg>definitely not a png</svg>",
         false,
         false,
         {4200, 3180, 255, 255}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        renew();
        ExamBuilder b;
        b.exam().setColorFondo(0x00102030);
        b.pregunta(u"A"_s, u"?"_s, {{u"a"_s}, {u"b"_s}});
        b.pregunta(u"B"_s, u"?"_s, {{u"a"_s}, {u"b"_s}}, QString::fromUtf16(c.file), c.bytes);
        b.serie(1, {u"A"_s, u"B"_s});
        openAndStart(b.build());
        EXPECT_FALSE(shown(w->ImagenBtn));
        w->ShowPregunta(2);
        prompts.onModal = [&](QDialog& d) {
            auto& viewer = static_cast<frmImagen&>(d);
            EXPECT_EQ(viewer.Imagen->hasPicture(), c.hasPicture);
            EXPECT_EQ(viewer.Imagen->stretch(), c.stretched);
            EXPECT_EQ(viewer.box(viewer.Imagen), c.box);
            EXPECT_EQ(viewer.palette().color(QPalette::Window), QColor(0x30, 0x20, 0x10));
            viewer.SalirBtn->click();
        };
        w->ImagenBtn->click();
        EXPECT_EQ(prompts.modalWindows, (std::vector<QString>{u"frmImagen"_s}));
    }
}

TEST(PictureFileName, HostileNamesWriteNothingOutsideThePrivateFolder) {
    QTemporaryDir sandbox;
    // A file that a hostile name aims at must survive untouched.
    QFile target(sandbox.filePath(u"evil.png"_s));
    ASSERT_TRUE(target.open(QIODevice::WriteOnly));
    target.write("keep");
    target.close();
    const auto entries = [](const QString& folder) {
        return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    };

    const QString previous = QDir::currentPath();
    QDir::setCurrent(sandbox.path()); // relative names would land here
    {
        PictureFile pictures(sandbox.path());
        const QString privateFolder = QDir(pictures.folder()).dirName();
        for (const QString& name :
             {u"../evil.png"_s, u"..\\evil.png"_s, u"../../evil.png"_s,
              sandbox.filePath(u"evil.png"_s), u"C:\\evil.png"_s, u"sub/dir/evil.png"_s, u"CON"_s,
              u"NUL.png"_s, u".."_s, u"."_s, u"evil.png\\.."_s}) {
            SCOPED_TRACE(name.toStdString());
            EXPECT_FALSE(pictures.load(pictureBytes(4, 4), name).isNull());
            EXPECT_EQ(entries(sandbox.path()), (QStringList{u"evil.png"_s, privateFolder}));
            EXPECT_TRUE(entries(pictures.folder()).isEmpty()) << "removed right after loading";
        }
    }
    QDir::setCurrent(previous);
    ASSERT_TRUE(target.open(QIODevice::ReadOnly));
    EXPECT_EQ(target.readAll(), "keep");
    EXPECT_EQ(entries(sandbox.path()), QStringList{u"evil.png"_s})
        << "the private folder goes with its owner";
}

} // namespace
