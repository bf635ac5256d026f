#pragma once

#include "widgets/Guarded.h"

#include <QtGlobal>
#include <cstring>
#include <gtest/gtest.h>

namespace kp::test {

// Widget tests fail when a window handler skips a failing statement (the handler guard logs
// it), unless the test says it expects that: within the scope of one of these, skipped
// statements are counted instead, and at least one must happen.
class ExpectSkippedStatements {
public:
    ExpectSkippedStatements() : before_(skipped_) { ++open_; }
    ~ExpectSkippedStatements() {
        --open_;
        EXPECT_GT(skipped_ - before_, 0) << "a statement was expected to fail and be skipped";
    }
    ExpectSkippedStatements(const ExpectSkippedStatements&) = delete;
    ExpectSkippedStatements& operator=(const ExpectSkippedStatements&) = delete;

    // Called by the widget tests' main(): from then on every skipped statement is reported.
    static void install() { next_ = qInstallMessageHandler(onMessage); }

private:
    static void onMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (!context.category || std::strcmp(context.category, lcGuarded().categoryName()) != 0)
            return next_ ? next_(type, context, text) : void();
        if (open_ > 0)
            ++skipped_;
        else
            ADD_FAILURE() << "unexpected in a window handler: " << text.toStdString();
    }

    int before_;
    static inline int open_ = 0;    // scopes open now
    static inline int skipped_ = 0; // statements skipped while one was open
    static inline QtMessageHandler next_ = nullptr;
};

} // namespace kp::test
