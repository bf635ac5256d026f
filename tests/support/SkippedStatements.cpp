#include "SkippedStatements.h"

#include "widgets/Guarded.h"

#include <QtGlobal>
#include <cstring>
#include <gtest/gtest.h>

namespace kp::test {

namespace {

int expecting = 0; // open ExpectSkippedStatements scopes
int skipped = 0;   // statements skipped while one was open
QtMessageHandler next = nullptr;

void onMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (context.category && std::strcmp(context.category, lcGuarded().categoryName()) == 0) {
        if (expecting > 0)
            ++skipped;
        else
            ADD_FAILURE() << "unexpected in a window handler: " << text.toStdString();
        return;
    }
    if (next)
        next(type, context, text);
}

} // namespace

ExpectSkippedStatements::ExpectSkippedStatements() : before_(skipped) {
    ++expecting;
}

ExpectSkippedStatements::~ExpectSkippedStatements() {
    --expecting;
    EXPECT_GT(count(), 0) << "a statement was expected to fail and be skipped";
}

int ExpectSkippedStatements::count() const {
    return skipped - before_;
}

void ExpectSkippedStatements::install() {
    next = qInstallMessageHandler(onMessage);
}

} // namespace kp::test
