#pragma once

// The test cases of a folder are linked into one program, which runs the case named by its
// first argument (tests/CMakeLists.txt makes its main). A case's source defines its entry with
// one of the macros below instead of Qt Test's QTEST_*MAIN, which would each define main();
// the build names the entry after the case, in MOXON_TEST_ENTRY.

#include <QtTest/QTest>

namespace moxon::test {

using TestEntry = int (*)(int argc, char *argv[]);

struct TestCase
{
    const char *name;
    TestEntry entry;
};

// Runs the case that argv[1] names, with the other arguments, as if it were the program itself.
int runTestCase(const TestCase *cases, int count, int argc, char *argv[]);

} // namespace moxon::test

// Qt Test's own main, under the case's name: the same application object, set up alike.
#define MOXON_TEST_MAIN_WRAPPER(TestObject, ...)                                                   \
    int MOXON_TEST_ENTRY(int argc, char *argv[])                                                   \
    {                                                                                              \
        QTest::Internal::callInitMain<TestObject>();                                               \
        __VA_ARGS__                                                                                \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }

#define MOXON_TEST_MAIN(TestObject) MOXON_TEST_MAIN_WRAPPER(TestObject, QTEST_MAIN_SETUP())
#define MOXON_TEST_GUILESS_MAIN(TestObject)                                                        \
    MOXON_TEST_MAIN_WRAPPER(TestObject, QTEST_QAPP_SETUP(QCoreApplication))
#define MOXON_TEST_APPLESS_MAIN(TestObject) MOXON_TEST_MAIN_WRAPPER(TestObject)
