#include "app/Translations.h"
#include "support/TestEnv.h"

#include <QtTest>

using namespace marten;

static const QString kCatalogues = MARTEN_SOURCE_DIR "/translations";

class TestTranslations final : public QObject {
    Q_OBJECT

private slots:
    // lupdate, run as the update_translations target runs it, into copies of every catalogue
    // laid out beside a link to the sources (so locations read as in the originals), must
    // change nothing: a catalogue that lacks a marked text, keeps one that is gone or names a
    // moved file is stale. lupdate also complains of a tr() it cannot place (no Q_OBJECT).
    void everyCatalogueIsCurrent()
    {
        const QDir home = QDir::home();
        QVERIFY(QFile::link(MARTEN_SOURCE_DIR "/src", home.filePath("src")));
        QVERIFY(home.mkpath("translations"));
        const QStringList names = QDir(kCatalogues).entryList({"marten_*.ts"});
        QVERIFY(names.contains("marten_de.ts") && names.contains("marten_en.ts"));
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
            QVERIFY2(test::readFile(home.filePath("translations/" + name)) == original,
                     qPrintable(name + " is stale: run the update_translations target"));
            // An untranslated text shows as written, which German must not; an old translation
            // lupdate kept for a changed text would show the old meaning in any language.
            const char* unfinished = name == "marten_de.ts"
                                         ? "<translation type=\"unfinished\""
                                         : "<translation type=\"unfinished\">[^<]";
            QVERIFY2(!QString::fromUtf8(original).contains(QRegularExpression(unfinished)),
                     qPrintable(name + ": check the translations marked unfinished"));
        }
    }

    // The catalogue as the program picks it from the environment. Qt reads the locale once per
    // process, so each row runs this test again in a child with the row's environment. The
    // source texts are keys and never show: C.UTF-8 and POSIX get the Linux words, a language
    // with no catalogue (Greenlandic) English, de_AT German, and an unknown tag ahead of
    // German in LANGUAGE is passed over rather than ending the list.
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
            {"LANG=C.UTF-8", "Open Input Access Panel"},
            {"LANG=POSIX", "Open Input Access Panel"},
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
            const bool finished = child.waitForFinished(60000);
            QVERIFY2(finished && child.exitCode() == 0,
                     qPrintable(row[0] + ":\n" + QString::fromLocal8Bit(child.readAll())));
        }
    }
};

MARTEN_TEST_MAIN(TestTranslations)
#include "tst_translations.moc"
