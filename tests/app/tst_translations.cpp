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

// Every text on the steps (a button's as its accessible name), the rows' and social buttons'
// included.
struct Shown {
    QStringList fixed;
};

static Shown walkFlow(Variant variant, bool signedIn)
{
    test::OnboardingRun run(variant, signedIn);
    OnboardingWindow& window = run.window;
    Shown shown{{window.windowTitle()}};
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
                shown.fixed << row->text();
            else if (auto* social = qobject_cast<MartenSocialButton*>(w))
                shown.fixed << social->text();
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

    // German for German; English for English and for languages we have nothing for; none
    // at all for C, so that it shows the texts as written.
    void picksTheCatalogueForTheLocale()
    {
        const std::pair<const char*, const char*> cases[] = {{"de_DE", "de_DE"},
                                                             {"de_AT", "de_DE"},
                                                             {"C", "none"},
                                                             {"en_US", "en"},
                                                             {"fr_FR", "en"}};
        for (const auto& [locale, language] : cases) {
            QTranslator translator;
            QCOMPARE(loadTranslation(translator, QLocale(locale)) ? translator.language() : "none",
                     QString::fromLatin1(language));
        }
    }

    // Both programs, every step: the C locale shows the product's texts exactly as written,
    // an English one this system's words and none of the other system's.
    void cShowsSourceTextsEnglishShowsLinuxWords_data() { test::addEveryScreenRows(); }
    void cShowsSourceTextsEnglishShowsLinuxWords()
    {
        QFETCH(Variant, variant);
        QFETCH(bool, signedIn);
        const auto walkIn = [&](const char* locale) {
            QTranslator translator;
            const bool loaded = loadTranslation(translator, QLocale(QString::fromLatin1(locale)));
            if (loaded)
                QCoreApplication::installTranslator(&translator);
            const QString shown = walkFlow(variant, signedIn).fixed.join(QLatin1Char('\n'));
            QCoreApplication::removeTranslator(&translator);
            return std::pair{loaded, shown};
        };
        const auto [cLoaded, c] = walkIn("C");
        const auto [enLoaded, en] = walkIn("en_US");
        QVERIFY(!cLoaded && enLoaded);
        const QString key = variant == Variant::Full ? "Press the Right Command key (⌘)"
                                                     : "Hold the Right Command key";
        QVERIFY(c.contains(key));
        QVERIFY(!en.contains(key));
        for (const char* word : {"the right Super key", "Input Access", "input access"})
            QVERIFY2(en.contains(QString::fromUtf8(word)), word);
        for (const char* foreign : {"Command", "⌘", "Accessibility", "System Settings"})
            QVERIFY2(!en.contains(QString::fromUtf8(foreign)), foreign);
    }

    void flowShowsGermanEverywhere_data() { test::addEveryScreenRows(); }
    void flowShowsGermanEverywhere()
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
    }
};

MARTEN_TEST_MAIN(TestTranslations)
#include "tst_translations.moc"
