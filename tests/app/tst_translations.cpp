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

    // German for German (de_AT takes de); English for English and for a language with no
    // catalogue (Greenlandic); none for C, so that it shows the texts as written.
    void picksTheCatalogueForTheLocale()
    {
        for (const QString row : {"de_AT:de", "C:C", "en_US:en", "kl_GL:en"}) {
            QTranslator translator;
            const bool loaded = loadTranslation(translator, QLocale(row.section(':', 0, 0)));
            QCOMPARE(QLocale(loaded ? translator.language() : "C").language(),
                     QLocale(row.section(':', 1)).language());
        }
    }
};

MARTEN_TEST_MAIN(TestTranslations)
#include "tst_translations.moc"
