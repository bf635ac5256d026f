#include "SkippedStatements.h"

#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// As Qt's own widget tests do in cleanup(): every test closes what it opened.
class NoWindowLeftOpen final : public testing::EmptyTestEventListener {
    void OnTestEnd(const testing::TestInfo&) override {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const QWidgetList left = QApplication::topLevelWidgets();
        for (QWidget* w : left) {
            ADD_FAILURE() << "window left open: " << w->metaObject()->className() << " "
                          << w->objectName().toStdString();
            delete w; // so that the next test starts clean
        }
    }
};

} // namespace

// Widget tests need one QApplication for the whole run.
int main(int argc, char** argv) {
    // Also when ctest lists the tests, which happens without the tests' environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    kp::test::ExpectSkippedStatements::install();
    testing::UnitTest::GetInstance()->listeners().Append(new NoWindowLeftOpen);
    return RUN_ALL_TESTS();
}
