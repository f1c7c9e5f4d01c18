#include "support/TestEnv.h"

#include "ui/Theme.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QWidget>

namespace marten::test {

IsolatedHome::IsolatedHome()
{
    const QString root = m_dir.path();
    for (const char* sub : {"config", "data", "cache", "state", "runtime"})
        QDir(root).mkpath(QString::fromLatin1(sub));
    QFile::setPermissions(root + QStringLiteral("/runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("HOME", QFile::encodeName(root));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(root + QStringLiteral("/data")));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(root + QStringLiteral("/cache")));
    qputenv("XDG_STATE_HOME", QFile::encodeName(root + QStringLiteral("/state")));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir()));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

QString IsolatedHome::configHome() const
{
    return m_dir.path() + QStringLiteral("/config");
}

QString IsolatedHome::runtimeDir() const
{
    return m_dir.path() + QStringLiteral("/runtime");
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

QImage render(QWidget* widget)
{
    QImage image(widget->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    widget->render(&painter, QPoint(), QRegion(),
                   QWidget::DrawWindowBackground | QWidget::DrawChildren);
    painter.end();
    return image;
}

void prepareApplication(QApplication& app)
{
    app.setOrganizationName(QStringLiteral("Marten"));
    app.setApplicationName(QStringLiteral("Marten"));
    theme::apply(app);
}

} // namespace marten::test
