#include "app/Translations.h"
#include "support/TestEnv.h"

#include <QtTest>

using namespace marten;

static const QString kCatalogues = MARTEN_SOURCE_DIR "/translations";

// A catalogue's messages, each its context, source, comment, translation and the translation's
// type on one line: what lupdate changes when a text changes, and not where a text is found,
// which any reformatting moves.
static QSet<QString> messages(const QByteArray& catalogue)
{
    QSet<QString> found;
    QString context, message;
    QXmlStreamReader xml(catalogue);
    while (xml.readNext() != QXmlStreamReader::EndDocument && !xml.hasError()) {
        const QString name = xml.name().toString();
        if (xml.isEndElement() && name == "message")
            found << message;
        if (!xml.isStartElement())
            continue;
        if (name == "name") {
            context = xml.readElementText();
        } else if (name == "message") {
            message = context;
        } else if (name == "source" || name == "comment" || name == "translation") {
            const QString type = xml.attributes().value("type").toString();
            message += " | " + name + (type.isEmpty() ? "" : " " + type) + ": " +
                       xml.readElementText(QXmlStreamReader::IncludeChildElements);
        }
    }
    if (xml.hasError())
        found << "unreadable: " + xml.errorString();
    return found;
}

class TestTranslations final : public QObject {
    Q_OBJECT

private slots:
    // lupdate, run on copies as update_translations runs it, changes no message (the places
    // where texts are found aside) and complains of nothing.
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
            const QSet<QString> before = messages(original);
            const QSet<QString> after =
                messages(test::readFile(home.filePath("translations/" + name)));
            QString stale;
            for (const QString& message : before - after)
                stale += "\n- " + message;
            for (const QString& message : after - before)
                stale += "\n+ " + message;
            QVERIFY2(stale.isEmpty(),
                     qPrintable(name + " is stale: run the update_translations target" + stale));
            // German has every text translated; no language keeps an old meaning for a changed one.
            const char* unfinished = name == "marten_de.ts"
                                         ? "<translation type=\"unfinished\""
                                         : "<translation type=\"unfinished\">[^<]";
            QVERIFY2(!QString::fromUtf8(original).contains(QRegularExpression(unfinished)),
                     qPrintable(name + ": check the translations marked unfinished"));
        }
    }

    // The catalogue from the environment, a child per row (Qt reads the locale once): English
    // for a language without one (C: every end-to-end run); an unknown tag in LANGUAGE passed over.
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
