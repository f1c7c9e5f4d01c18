#include "app/OnboardingWindow.h"
#include "app/Translations.h"
#include "core/OnboardingFlow.h"
#include "support/TestEnv.h"
#include "ui/InstructionRow.h"
#include "ui/MartenSocialButton.h"

#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace marten;

static const QString kCatalogue = MARTEN_SOURCE_DIR "/translations/marten_de.ts";

// Fixed texts on the steps (a button's as its accessible name), and data texts passed in.
struct Shown {
    QStringList fixed, rows, social;
};

static Shown walkFlow(Variant variant, bool signedIn)
{
    test::OnboardingRun run(variant, signedIn);
    OnboardingWindow& window = run.window;
    Shown shown{{window.windowTitle()}, {}, {}};
    for (; window.flow().currentStep(); window.flow().nextStep()) {
        for (QWidget* w : window.findChildren<QWidget*>()) {
            if (!w->isVisibleTo(&window))
                continue;
            shown.fixed << w->accessibleName();
            if (auto* label = qobject_cast<QLabel*>(w))
                shown.fixed << label->text();
            else if (auto* edit = qobject_cast<QLineEdit*>(w))
                shown.fixed << edit->placeholderText();
            else if (auto* row = qobject_cast<InstructionRow*>(w))
                shown.rows << row->text();
            else if (auto* social = qobject_cast<MartenSocialButton*>(w))
                shown.social << social->text();
        }
    }
    return shown;
}

class TestTranslations final : public QObject {
    Q_OBJECT

private slots:
    // lupdate merged into a copy of the catalogue marks what the sources gained or lost since
    // the translation, and complains of a tr() it cannot place (no Q_OBJECT): never translated.
    void catalogueHoldsEveryMarkedTextFinished()
    {
        const QString copy = QDir::home().filePath("marten_de.ts");
        QVERIFY(QFile::copy(kCatalogue, copy));
        QProcess lupdate;
        lupdate.start(QLibraryInfo::path(QLibraryInfo::BinariesPath) + "/lupdate",
                      {"-silent", MARTEN_SOURCE_DIR "/src", "-ts", copy});
        QCOMPARE(lupdate.waitForFinished(120000) ? lupdate.exitCode() : -1, 0);
        QCOMPARE(QString::fromLocal8Bit(lupdate.readAllStandardError().trimmed()), QString());
        QFile merged(copy);
        QVERIFY2(merged.open(QIODevice::ReadOnly) &&
                     !QString::fromUtf8(merged.readAll())
                          .contains(QRegularExpression("<translation( type=|></)")),
                 "run the update_translations target and finish what it marks in marten_de.ts");
    }

    // LANG=C and languages we have nothing for must find nothing, not a fallback file.
    void loadsGermanForGermanOnly()
    {
        for (const QString locale : {"de_DE", "de_AT", "C", "en_US", "fr_FR"}) {
            QTranslator translator;
            QCOMPARE(loadTranslation(translator, QLocale(locale)) ? translator.language() : "none",
                     locale.startsWith("de") ? "de_DE" : "none");
        }
    }

    void flowShowsGermanFixedTextsAndDataAsWritten_data() { test::addEveryScreenRows(); }
    void flowShowsGermanFixedTextsAndDataAsWritten()
    {
        QFETCH(Variant, variant);
        QFETCH(bool, signedIn);
        const Shown en = walkFlow(variant, signedIn);
        QTranslator translator;
        QVERIFY(loadTranslation(translator, QLocale("de_DE")));
        QCoreApplication::installTranslator(&translator);
        const Shown de = walkFlow(variant, signedIn);
        QCoreApplication::removeTranslator(&translator);

        QFile file(kCatalogue);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        for (QString source; !xml.atEnd(); xml.readNext()) {
            if (xml.isStartElement() && xml.name() == u"source")
                source = xml.readElementText();
            if (!xml.isStartElement() || xml.name() != u"translation")
                continue;
            const QString translation = xml.readElementText();
            QVERIFY2(translation == source || !de.fixed.contains(source), qPrintable(source));
            QVERIFY2(translation == source || !en.fixed.contains(translation), qPrintable(source));
        }
        QVERIFY(!de.rows.isEmpty());
        QCOMPARE(de.rows, en.rows);
        QCOMPARE(de.social, en.social);
        QCOMPARE(de.social.isEmpty(), variant == Variant::Simple || signedIn);
    }
};

MARTEN_TEST_MAIN(TestTranslations)
#include "tst_translations.moc"
