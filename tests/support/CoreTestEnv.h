#pragma once

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>

#include <unistd.h>

namespace marten::test {

// A throw-away HOME with its own XDG folders, set before the application object exists.
class IsolatedHome final {
public:
    IsolatedHome();

private:
    QTemporaryDir m_dir;
};

// Ends the test process (SIGALRM) when still in this scope after `limit`: a FIFO opened blocking.
class FailIfBlocked final {
public:
    explicit FailIfBlocked(std::chrono::seconds limit) { ::alarm(unsigned(limit.count())); }
    ~FailIfBlocked() { ::alarm(0); }
};

// Writes the file, making its folder first; an executable one is left to its owner alone.
void writeFile(const QString& path, const QByteArray& bytes, bool executable = false);
QByteArray readFile(const QString& path); // none when unreadable

} // namespace marten::test

// Like QTEST_GUILESS_MAIN, with an isolated home: for tests of code that needs no widgets.
#define MARTEN_CORE_TEST_MAIN(TestObject)                                                          \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        marten::test::IsolatedHome isolatedHome;                                                   \
        QCoreApplication app(argc, argv);                                                          \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }
