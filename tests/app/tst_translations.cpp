#include "app/OnboardingWindow.h"
#include "app/Translations.h"
#include "flow/FTUEView.h"
#include "flow/LoadingView.h"
#include "platform/fake/Fakes.h"
#include "platform/linux/InputAccessPanel.h"
#include "screens/InstructionRow.h"
#include "screens/MartenSocialButton.h"
#include "support/TestEnv.h"

#include <QAbstractButton>
#include <QFile>
#include <QHash>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>

#include <algorithm>
#include <optional>

using namespace marten;

namespace {

const QString kCatalogue = QStringLiteral(MARTEN_SOURCE_DIR "/translations/marten_de.ts");

struct Message {
    QString translation;
    bool finished = false;
};
using Key = QPair<QString, QString>; // context, source text
using Catalogue = QMap<Key, Message>;

// Reads a Linguist catalogue; a message is finished when it carries no type marker
// ("unfinished", "vanished", "obsolete") and every form of it is filled in.
Catalogue readCatalogue(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read ") + path;
        return {};
    }
    Catalogue result;
    QString context;
    QXmlStreamReader xml(&file);
    while (xml.readNext() != QXmlStreamReader::Invalid && !xml.atEnd()) {
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"name") {
            context = xml.readElementText();
        } else if (xml.name() == u"message") {
            QString source;
            Message message;
            while (xml.readNextStartElement()) {
                if (xml.name() == u"source") {
                    source = xml.readElementText();
                } else if (xml.name() == u"translation") {
                    const bool typed = !xml.attributes().value(QLatin1String("type")).isEmpty();
                    QStringList forms;
                    QString text;
                    while (!xml.atEnd()) {
                        xml.readNext();
                        if (xml.isCharacters())
                            text += xml.text();
                        else if (xml.isStartElement() && xml.name() == u"numerusform")
                            forms << xml.readElementText();
                        else if (xml.isEndElement() && xml.name() == u"translation")
                            break;
                    }
                    if (forms.isEmpty())
                        forms << text;
                    message.translation = forms.first();
                    message.finished =
                        !typed && std::none_of(forms.cbegin(), forms.cend(),
                                               [](const QString& f) { return f.isEmpty(); });
                } else {
                    xml.skipCurrentElement();
                }
            }
            result.insert({context, source}, message);
        }
    }
    if (xml.hasError())
        *error = path + QStringLiteral(": ") + xml.errorString();
    return result;
}

QString lupdatePath()
{
    const QString beside =
        QLibraryInfo::path(QLibraryInfo::BinariesPath) + QStringLiteral("/lupdate");
    if (QFile::exists(beside))
        return beside;
    return QStandardPaths::findExecutable(QStringLiteral("lupdate"));
}

// Installs a translator for the life of the guard.
class InstalledTranslator final {
public:
    explicit InstalledTranslator(const QLocale& locale)
    {
        m_loaded = marten::loadTranslation(m_translator, locale);
        if (m_loaded)
            QCoreApplication::installTranslator(&m_translator);
    }
    ~InstalledTranslator()
    {
        if (m_loaded)
            QCoreApplication::removeTranslator(&m_translator);
    }
    bool loaded() const { return m_loaded; }

private:
    QTranslator m_translator;
    bool m_loaded = false;
};

// Everything a person sees or hears (accessible names) in a widget tree, plus what is
// cut off: a label whose text needs more room than it was given.
struct Shown {
    QStringList texts;
    QStringList rowTexts;
    QStringList socialTitles;
    QStringList clipped;

    void collect(QWidget* root)
    {
        const auto visible = [root](QWidget* w) { return w == root || w->isVisibleTo(root); };
        QList<QWidget*> all = root->findChildren<QWidget*>();
        all.prepend(root);
        for (QWidget* w : all) {
            if (!visible(w))
                continue;
            if (!w->accessibleName().isEmpty())
                texts << w->accessibleName();
            if (!w->windowTitle().isEmpty() && w->isWindow())
                texts << w->windowTitle();
            if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().isEmpty()) {
                texts << label->text();
                if (isClipped(label))
                    clipped << label->text();
            } else if (auto* button = qobject_cast<QAbstractButton*>(w);
                       button && !button->text().isEmpty()) {
                texts << button->text();
                if (qobject_cast<MartenSocialButton*>(button))
                    socialTitles << button->text();
            } else if (auto* edit = qobject_cast<QLineEdit*>(w);
                       edit && !edit->placeholderText().isEmpty()) {
                texts << edit->placeholderText();
            } else if (auto* row = qobject_cast<InstructionRow*>(w)) {
                rowTexts << row->text();
            }
        }
    }

    static bool isClipped(const QLabel* label)
    {
        if (label->wordWrap())
            return label->heightForWidth(label->width()) > label->height();
        const QSize wanted = label->sizeHint();
        return wanted.width() > label->width() || wanted.height() > label->height();
    }
};

void settle()
{
    // Layouts are applied through posted events, one nesting level at a time.
    for (int i = 0; i < 4; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

// Walks the whole flow of one program and gathers what every step shows.
Shown walkFlow(Variant variant, bool signedIn, QString* windowTitle)
{
    fake::Services services;
    services.platform.homeDir = QDir::homePath();
    const QString account = QDir::homePath() + QStringLiteral("/.marten_auth_local.json");
    QFile::remove(account);
    if (signedIn)
        test::writeFile(account, "{\"token\":\"t\"}");

    Shown shown;
    OnboardingWindow window(variant, services.platform);
    FTUEView* flow = window.flow();
    window.show();
    if (!QTest::qWaitFor([flow] { return !flow->isLoading(); }, 5000))
        return shown;
    *windowTitle = window.windowTitle();
    while (flow->currentStep()) {
        settle();
        shown.collect(&window);
        flow->nextStep();
    }
    QFile::remove(account);
    return shown;
}

} // namespace

class TestTranslations final : public QObject {
    Q_OBJECT

    Catalogue m_german;
    QHash<QString, QSet<QString>> m_translationsOf; // source text -> its translations
    QSet<QString> m_changedTranslations;            // translations that differ from their source

    // A text that stayed in English although the catalogue has German for it.
    QStringList untranslated(const QStringList& texts) const
    {
        QStringList result;
        for (const QString& text : texts) {
            const auto it = m_translationsOf.constFind(text);
            if (it != m_translationsOf.cend() && !it->contains(text))
                result << text;
        }
        return result;
    }

    // A text shown in German although no translation is installed.
    QStringList inGerman(const QStringList& texts) const
    {
        QStringList result;
        for (const QString& text : texts) {
            if (m_changedTranslations.contains(text))
                result << text;
        }
        return result;
    }

private slots:
    void initTestCase()
    {
        QString error;
        m_german = readCatalogue(kCatalogue, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(!m_german.isEmpty());
        for (auto it = m_german.cbegin(); it != m_german.cend(); ++it) {
            m_translationsOf[it.key().second].insert(it->translation);
            if (it->translation != it.key().second)
                m_changedTranslations.insert(it->translation);
        }
    }

    // The catalogue must hold exactly what the sources mark for translation today,
    // all of it finished. lupdate reads the sources the way the translation build does.
    void catalogueCoversEveryMarkedText()
    {
        const QString lupdate = lupdatePath();
        QVERIFY2(!lupdate.isEmpty(), "lupdate not found");
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString probePath = dir.filePath(QStringLiteral("probe_de.ts"));
        QProcess run;
        run.setProcessChannelMode(QProcess::MergedChannels);
        run.start(lupdate, {QStringLiteral("-silent"), QStringLiteral(MARTEN_SOURCE_DIR "/src"),
                            QStringLiteral("-ts"), probePath, QStringLiteral("-no-obsolete")});
        QVERIFY(run.waitForFinished(120000));
        QCOMPARE(run.exitCode(), 0);
        // lupdate complains about tr() it cannot attribute (a class without Q_OBJECT):
        // such a text would be looked up under another class's name and never translate.
        const QString complaints = QString::fromLocal8Bit(run.readAll()).trimmed();
        QVERIFY2(complaints.isEmpty(), qPrintable(complaints));

        QString error;
        const Catalogue marked = readCatalogue(probePath, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(!marked.isEmpty());

        QStringList problems;
        for (auto it = marked.cbegin(); it != marked.cend(); ++it) {
            const auto found = m_german.constFind(it.key());
            if (found == m_german.cend())
                problems << QStringLiteral("missing: ") + it.key().first + QStringLiteral(" / ") +
                                it.key().second;
            else if (!found->finished)
                problems << QStringLiteral("unfinished: ") + it.key().second;
        }
        for (auto it = m_german.cbegin(); it != m_german.cend(); ++it) {
            if (!marked.contains(it.key()))
                problems << QStringLiteral("no longer in the sources: ") + it.key().first +
                                QStringLiteral(" / ") + it.key().second;
        }
        QVERIFY2(
            problems.isEmpty(),
            qPrintable(QStringLiteral("run the update_translations target, then translate:\n") +
                       problems.join(QLatin1Char('\n'))));
    }

    // A lost %1 makes arg() misfire; a lost symbol or ending changes what the text says.
    void translationsKeepPlaceholdersSymbolsAndEndings()
    {
        static const QRegularExpression placeholder(QStringLiteral("%(?:\\d+|n)"));
        const auto placeholders = [](const QString& text) {
            QStringList found;
            for (auto match = placeholder.globalMatch(text); match.hasNext();)
                found << match.next().captured();
            found.sort();
            return found;
        };
        const auto symbols = [](const QString& text) {
            QSet<char32_t> found;
            for (const char32_t c : text.toUcs4()) {
                if (c > 0x7f && !QChar::isLetterOrNumber(c) && !QChar::isPunct(c) &&
                    !QChar::isSpace(c))
                    found.insert(c);
            }
            return found;
        };
        QStringList problems;
        for (auto it = m_german.cbegin(); it != m_german.cend(); ++it) {
            const QString& source = it.key().second;
            const QString& german = it->translation;
            const auto complain = [&](const char* what) {
                problems << QLatin1String(what) + QStringLiteral(": ") + source +
                                QStringLiteral(" -> ") + german;
            };
            if (placeholders(source) != placeholders(german))
                complain("placeholders differ");
            if (!symbols(german).contains(symbols(source)))
                complain("symbol or emoji lost");
            if (source.contains(QLatin1String("Marten")) &&
                !german.contains(QLatin1String("Marten")))
                complain("product name lost");
            if (source.count(QLatin1Char('\n')) != german.count(QLatin1Char('\n')))
                complain("line breaks differ");
            if (source.endsWith(QLatin1String("...")) != german.endsWith(QLatin1String("...")))
                complain("\"...\" differs");
            const QChar last = source.isEmpty() ? QChar() : source.back();
            if (QStringLiteral("!?:.").contains(last) && !german.endsWith(last))
                complain("closing punctuation differs");
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }

    void translationFollowsTheLocale_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<bool>("german");
        QTest::newRow("de_DE") << QLocale(QStringLiteral("de_DE")) << true;
        QTest::newRow("de_AT") << QLocale(QStringLiteral("de_AT")) << true;
        QTest::newRow("de_CH") << QLocale(QStringLiteral("de_CH")) << true;
        // LANG=C and languages we have nothing for must find nothing, not a fallback file.
        QTest::newRow("C") << QLocale::c() << false;
        QTest::newRow("en_US") << QLocale(QStringLiteral("en_US")) << false;
        QTest::newRow("fr_FR") << QLocale(QStringLiteral("fr_FR")) << false;
    }

    void translationFollowsTheLocale()
    {
        QFETCH(QLocale, locale);
        QFETCH(bool, german);
        QTranslator translator;
        QCOMPARE(marten::loadTranslation(translator, locale), german);
        if (german)
            QCOMPARE(translator.language(), QStringLiteral("de_DE"));
    }

    void flowShowsGermanFixedTextsAndDataAsWritten_data()
    {
        QTest::addColumn<Variant>("variant");
        QTest::addColumn<bool>("signedIn");
        QTest::newRow("full, new user") << Variant::Full << false;
        QTest::newRow("full, signed in (purchase)") << Variant::Full << true;
        QTest::newRow("simple, new user") << Variant::Simple << false;
    }

    void flowShowsGermanFixedTextsAndDataAsWritten()
    {
        QFETCH(Variant, variant);
        QFETCH(bool, signedIn);

        QString englishTitle;
        const Shown english = walkFlow(variant, signedIn, &englishTitle);
        QVERIFY(!english.texts.isEmpty());

        QString germanTitle;
        Shown german;
        {
            InstalledTranslator translator(QLocale(QStringLiteral("de_DE")));
            QVERIFY(translator.loaded());
            german = walkFlow(variant, signedIn, &germanTitle);
        }
        QVERIFY(!german.texts.isEmpty());

        // Without a translation the keys show exactly as written.
        QCOMPARE(englishTitle, QStringLiteral("Welcome to Marten"));
        QVERIFY(english.texts.contains(QStringLiteral("Welcome to Marten")));
        const QStringList leaked = inGerman(english.texts);
        QVERIFY2(leaked.isEmpty(), qPrintable(leaked.join(QLatin1String(" | "))));

        QCOMPARE(germanTitle, QStringLiteral("Willkommen bei Marten"));
        QVERIFY(german.texts.contains(QStringLiteral("Weiter")));
        const QStringList stayedEnglish = untranslated(german.texts);
        QVERIFY2(stayedEnglish.isEmpty(), qPrintable(stayedEnglish.join(QLatin1String(" | "))));

        // Row texts and social button titles are data: the same in every language.
        QVERIFY(!german.rowTexts.isEmpty());
        QCOMPARE(german.rowTexts, english.rowTexts);
        QCOMPARE(german.socialTitles, english.socialTitles);
        if (variant == Variant::Full && !signedIn)
            QVERIFY(!german.socialTitles.isEmpty());

        // The longer German must still fit the fixed window.
        QVERIFY2(german.clipped.isEmpty(), qPrintable(german.clipped.join(QLatin1String(" | "))));
        QVERIFY2(english.clipped.isEmpty(), qPrintable(english.clipped.join(QLatin1String(" | "))));
    }

    // The loading caption is what a person sees first (and for three seconds as a subscriber).
    void loadingCaptionsFit_data()
    {
        QTest::addColumn<Variant>("variant");
        QTest::addColumn<bool>("german");
        QTest::newRow("full, English") << Variant::Full << false;
        QTest::newRow("full, German") << Variant::Full << true;
        QTest::newRow("simple, English") << Variant::Simple << false;
        QTest::newRow("simple, German") << Variant::Simple << true;
    }

    void loadingCaptionsFit()
    {
        QFETCH(Variant, variant);
        QFETCH(bool, german);
        std::optional<InstalledTranslator> translator;
        if (german) {
            translator.emplace(QLocale(QStringLiteral("de_DE")));
            QVERIFY(translator->loaded());
        }
        fake::Services services;
        LoadingView view(traitsFor(variant), services.platform);
        view.resize(FTUEView::kWidth, FTUEView::kHeight);
        view.show();
        settle();
        Shown shown;
        shown.collect(&view);
        QVERIFY(!shown.texts.isEmpty());
        const QStringList wrongLanguage =
            german ? untranslated(shown.texts) : inGerman(shown.texts);
        QVERIFY2(wrongLanguage.isEmpty(), qPrintable(wrongLanguage.join(QLatin1String(" | "))));
        QVERIFY2(shown.clipped.isEmpty(), qPrintable(shown.clipped.join(QLatin1String(" | "))));
    }

    // The input access panel carries the longest texts; in German it must still fit the
    // window without cutting anything off.
    void inputAccessPanelFitsInGerman()
    {
        InstalledTranslator translator(QLocale(QStringLiteral("de_DE")));
        QVERIFY(translator.loaded());
        fake::Services services;
        QWidget host;
        host.resize(FTUEView::kWidth, FTUEView::kHeight);
        auto* panel = new InputAccessPanel(services.scheduler, services.probe, &host);
        host.show();
        panel->present();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        settle();

        Shown shown;
        shown.collect(panel);
        QVERIFY(shown.texts.contains(QStringLiteral("Eingabezugriff erlauben")));
        const QStringList stayedEnglish = untranslated(shown.texts);
        QVERIFY2(stayedEnglish.isEmpty(), qPrintable(stayedEnglish.join(QLatin1String(" | "))));
        QVERIFY2(shown.clipped.isEmpty(), qPrintable(shown.clipped.join(QLatin1String(" | "))));
        QWidget* sheet = panel->sheet();
        QVERIFY(host.rect().contains(sheet->geometry()));
        QVERIFY(sheet->heightForWidth(sheet->width()) <= sheet->height());
    }
};

MARTEN_TEST_MAIN(TestTranslations)
#include "tst_translations.moc"
