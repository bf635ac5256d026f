#pragma once

namespace kp::test {

// Widget tests fail when a window handler skips a failing statement (the handler guard logs
// it), unless the test says it expects that: within the scope of one of these, skipped
// statements are counted instead, and at least one must happen.
class ExpectSkippedStatements {
public:
    ExpectSkippedStatements();
    ~ExpectSkippedStatements();
    ExpectSkippedStatements(const ExpectSkippedStatements&) = delete;
    ExpectSkippedStatements& operator=(const ExpectSkippedStatements&) = delete;

    // Statements skipped since this scope began.
    int count() const;

    // Installed by the widget tests' main(): reports every skipped statement.
    static void install();

private:
    int before_;
};

} // namespace kp::test
