#include "app/Translations.h"
#include "support/TestEnv.h"

#include <QtTest>

using namespace marten;

static const QString kCatalogues = MARTEN_SOURCE_DIR "/translations";

// A catalogue's messages with their contexts, without the locations reformatting moves.
static QStringList messages(const QByteArray& catalogue)
{
    static const QRegularExpression location(R"(\s*<location [^>]*/>)"),
        message("<message.*?</message>", QRegularExpression::DotMatchesEverythingOption);
    QStringList found;
    for (const QString& context : QString::fromUtf8(catalogue).remove(location).split("<context>"))
        for (const QRegularExpressionMatch& match : message.globalMatch(context))
            found << context.section("</name>", 0, 0) + match.captured();
    found.sort();
    return found;
}

class TestTranslations final : public QObject {
    Q_OBJECT

private slots:
    // lupdate, run on copies as update_translations does, changes no message and says nothing.
    void everyCatalogueIsCurrent()
    {
        const QDir home = QDir::home();
        QVERIFY(QFile::link(MARTEN_SOURCE_DIR "/src", home.filePath("src")));
        QVERIFY(home.mkpath("translations"));
        const QStringList names = QDir(kCatalogues).entryList({"marten_*.ts"});
        QStringList arguments{"-silent", "-no-obsolete", home.filePath("src"), "-ts"};
        for (const QString& name : names) {
            arguments << home.filePath("translations/" + name);
            QVERIFY(QFile::copy(kCatalogues + '/' + name, arguments.last()));
        }
        QProcess lupdate;
        lupdate.start(QLibraryInfo::path(QLibraryInfo::BinariesPath) + "/lupdate", arguments);
        QCOMPARE(lupdate.waitForFinished(120000) ? lupdate.exitCode() : -1, 0);
        QCOMPARE(QString::fromLocal8Bit(lupdate.readAllStandardError().trimmed()), QString());
        for (const QString& name : names) {
            const QByteArray original = test::readFile(kCatalogues + '/' + name);
            QVERIFY2(messages(original) ==
                         messages(test::readFile(home.filePath("translations/" + name))),
                     qPrintable(name + " is stale: run the update_translations target"));
            // German has every text translated; no language keeps an old meaning for a changed one.
            const char* unfinished = name == "marten_de.ts"
                                         ? "<translation type=\"unfinished\""
                                         : "<translation type=\"unfinished\">[^<]";
            QVERIFY2(!QString::fromUtf8(original).contains(QRegularExpression(unfinished)),
                     qPrintable(name + ": check the translations marked unfinished"));
        }
    }

    // The catalogue the environment picks, a child per row (Qt reads the locale once).
    void picksTheCatalogueForTheEnvironment()
    {
        if (const QString expected = qEnvironmentVariable("MARTEN_EXPECTED"); !expected.isEmpty()) {
            QTranslator translator;
            QVERIFY(loadTranslation(translator, QLocale()));
            QCOMPARE(translator.translate("marten::PermissionsView", "Open System Settings"),
                     expected);
            return;
        }
        const QList<QStringList> rows{
            {"LANG=kl_GL.UTF-8", "Open Input Access Panel"},
            {"LANG=de_DE.UTF-8 LANGUAGE=en_GB:de", "Open Input Access Panel"},
            {"LANG=de_AT.UTF-8", "Bereich für Eingabezugriff öffnen"},
            {"LANG=en_US.UTF-8 LANGUAGE=xx:de", "Bereich für Eingabezugriff öffnen"},
        };
        for (const QStringList& row : rows) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG", "LANGUAGE"})
                environment.remove(name);
            for (const QString& assignment : row[0].split(' '))
                environment.insert(assignment.section('=', 0, 0), assignment.section('=', 1));
            environment.insert("MARTEN_EXPECTED", row[1]);
            QProcess child;
            child.setProcessEnvironment(environment);
            child.setProcessChannelMode(QProcess::MergedChannels);
            child.start(QCoreApplication::applicationFilePath(),
                        {"picksTheCatalogueForTheEnvironment"});
            QVERIFY2(child.waitForFinished(60000) && child.exitCode() == 0,
                     qPrintable(row[0] + ":\n" + QString::fromLocal8Bit(child.readAll())));
        }
    }
};

MARTEN_TEST_MAIN(TestTranslations)
#include "tst_translations.moc"
