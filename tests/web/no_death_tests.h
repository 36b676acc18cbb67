#pragma once
// Node runs the web tests in one process, and a page has no child process to
// end in a fatal stop: GoogleTest has no death tests here. Every file is
// compiled with this header first, so the tests that check a fatal stop
// build as they are and are skipped, saying why, at their first such check.

#include <gtest/gtest.h>

namespace testing {

class ExitedWithCode {
public:
    explicit ExitedWithCode(int) {}
    bool operator()(int) const { return false; }
};

}  // namespace testing

// The statement is compiled, never run.
#define KVOR_NO_DEATH_TEST(statement) \
    switch (0)                        \
    case 0:                           \
    default:                          \
        if (false) {                  \
            statement;                \
        } else                        \
            GTEST_SKIP() << "a fatal stop ends its process, and there is no child process to end here"
#define EXPECT_EXIT(statement, predicate, regex) KVOR_NO_DEATH_TEST(statement)
#define ASSERT_EXIT(statement, predicate, regex) KVOR_NO_DEATH_TEST(statement)
#define EXPECT_DEATH(statement, regex) KVOR_NO_DEATH_TEST(statement)
#define ASSERT_DEATH(statement, regex) KVOR_NO_DEATH_TEST(statement)
