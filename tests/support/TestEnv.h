#pragma once

#include <QApplication>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace marten::test {

// A throw-away HOME with its own XDG folders, set in the environment before the
// application object exists, so nothing a test does reaches the real user's files.
class IsolatedHome final {
public:
    IsolatedHome();
    QString home() const { return m_dir.path(); }
    QString configHome() const;
    QString runtimeDir() const;

private:
    QTemporaryDir m_dir;
};

// Writes `bytes` to `home`/`name`.
void writeFile(const QString& path, const QByteArray& bytes);

// Renders a widget (and its children) into an image at device pixel ratio 1.
QImage render(QWidget* widget);

} // namespace marten::test

// Like QTEST_MAIN, with an isolated home and the product's theme installed.
#define MARTEN_TEST_MAIN(TestObject)                                                               \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        marten::test::IsolatedHome isolatedHome;                                                   \
        QApplication app(argc, argv);                                                              \
        marten::test::prepareApplication(app);                                                     \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }

namespace marten::test {
void prepareApplication(QApplication& app);
}
