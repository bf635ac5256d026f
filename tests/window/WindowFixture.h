#pragma once

#include "FakeClock.h"
#include "FakePrompts.h"
#include "FakeRandom.h"
#include "Rows.h"
#include "SkippedStatements.h"
#include "TestExamBuilder.h"
#include "WindowControls.h"
#include "widgets/ImageBox.h"
#include "widgets/RichTextBox.h"
#include "window/frmMain.h"

#include <QtWidgets>
#include <gtest/gtest.h>

namespace kp {

inline void PrintTo(const TwipsBox& b, std::ostream* os) {
    *os << "{left " << b.left << ", top " << b.top << ", " << b.width << " x " << b.height << "}";
}

namespace test {

// The bytes of a picture file of the given size in pixels (one pixel is 15 twips).
inline QByteArray pictureBytes(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return buffer.data();
}

// Boxes equal to the hundredth of a twip.
inline void expectNear(const TwipsBox& actual, const TwipsBox& expected) {
    EXPECT_NEAR(actual.left, expected.left, 0.01);
    EXPECT_NEAR(actual.top, expected.top, 0.01);
    EXPECT_NEAR(actual.width, expected.width, 0.01);
    EXPECT_NEAR(actual.height, expected.height, 0.01);
}

// A real exam window with scripted prompts, a fixed clock and chosen draws, its client area
// fixed at the designed 16395 x 10710 twips so layouts are exact.
class WindowFixture : public ::testing::Test, protected WindowControls {
protected:
    ExamState state;
    FakePrompts prompts;
    FakeClock clock;
    FakeRandom random;
    std::unique_ptr<frmMain> w;
    QTemporaryDir places; // the program's folder, the documents folder, the journals

    void SetUp() override { renew(); }

    // A fresh window with nothing asked yet, for each row of a table.
    void renew(double clientHeight = frmMain::DesignedClientHeight) {
        w = std::make_unique<frmMain>(state, prompts, clock, random);
        setWindow(w.get());
        w->setClientSizeTwips(frmMain::DesignedClientWidth, clientHeight);
        w->setProgramFolder(places.filePath(QStringLiteral("programa")));
        w->setDocumentsFolder(places.filePath(QStringLiteral("Documentos")));
        w->setJournalFolder(places.filePath(QStringLiteral("programa")));
        prompts.messages.clear();
        prompts.modalWindows.clear();
    }
    // What opening an exam does (the file itself is not needed here).
    void open(std::shared_ptr<KipsaPrubex> exam) {
        TestExamBuilder::install(state, std::move(exam));
        w->showOpenedExam();
    }
    // Opens the exam and starts it at question 1, through the button.
    void openAndStart(std::shared_ptr<KipsaPrubex> exam) {
        open(std::move(exam));
        button("EmpezarBtn")->click();
    }

    bool shown(const QWidget* c) const { return c && !c->isHidden(); }
    TwipsBox box(const QWidget* c) const { return w->box(c); }
    ImageBox* sin(int j) const { return rowControl<ImageBox>("boton_sin", j); }
    ImageBox* con(int j) const { return rowControl<ImageBox>("boton_con", j); }
    // The only message shown so far, checked to be an "Atención" warning with an Ok button.
    void expectOnlyMessage(const QString& text, PromptIcon icon = PromptIcon::Exclamation) {
        ASSERT_EQ(prompts.messages.size(), 1u);
        const auto& m = prompts.messages[0];
        EXPECT_EQ(std::tuple(m.title, m.text, m.icon, m.buttons),
                  std::tuple(QStringLiteral("Atención"), text, icon, PromptButtons::Ok));
    }
    // Marks as the page shows them: the rows whose ticked box is visible.
    std::vector<int> tickedRows() const {
        std::vector<int> rows;
        for (int j = 1; j <= w->highestRow(); ++j)
            if (shown(con(j)))
                rows.push_back(j);
        return rows;
    }
    // The recorded marks as (question, answer) pairs, in collection order.
    std::vector<std::pair<int, int>> recorded() const {
        std::vector<std::pair<int, int>> out;
        for (const auto& e : *state.Resultado->RespuestasKipsa())
            out.emplace_back(e->NumPregunta(), e->NumRespuesta());
        return out;
    }
};

} // namespace test
} // namespace kp
