#include "support/TestEnv.h"

#include "screens/InputAccessCommands.h"
#include "screens/InputAccessPanel.h"
#include "ui/Spinner.h"

#include <QClipboard>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QTextLayout>
#include <QTimer>

using namespace marten;
using namespace std::chrono_literals;

namespace {

// A shown window of the onboarding's size, with fake services.
struct Host {
    Host()
    {
        window.resize(809, 500);
        window.show();
    }
    InputAccessPanel* panel(bool canGrant)
    {
        f.granter.grantable = canGrant;
        auto* panel = new InputAccessPanel(f.scheduler, f.granter, &window);
        panel->present();
        return panel;
    }
    QWidget* grantButton() const { return window.findChild<QWidget*>("grantAccessButton"); }

    fake::Services f;
    QWidget window;
};

} // namespace

class TestInputAccessPanel final : public QObject {
    Q_OBJECT

private slots:
    // The panel does not block; where nothing can grant, it offers only the commands.
    void commandsOnlyWhereNothingCanGrant()
    {
        Host h;
        bool nestedLoop = false;
        QTimer::singleShot(0, &h.window, [&] { nestedLoop = true; });
        InputAccessPanel* panel = h.panel(false);
        QVERIFY(!nestedLoop && panel->isVisible() && !h.grantButton());
        QCOMPARE(panel->findChild<QLabel*>("panelTerminalHeading")->text(),
                 "Run these commands in a terminal:");
        QTest::mouseClick(panel->findChild<QWidget*>("copyButton"), Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 InputAccessCommands::commands().first().command);
        // Drawn lines of a command end at a space or a line break, never inside a word.
        for (QLabel* label : panel->findChildren<QLabel*>("commandText")) {
            const QString text = QString(label->text()).replace(u'\n', QChar::LineSeparator);
            QTextLayout layout(text, label->font());
            layout.beginLayout();
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
                line.setLineWidth(label->contentsRect().width());
            layout.endLayout();
            for (int i = 0; i + 1 < layout.lineCount(); ++i) {
                const int end = layout.lineAt(i).textStart() + layout.lineAt(i).textLength();
                QVERIFY2(text.at(end - 1).isSpace(), qPrintable(text.left(end)));
            }
        }
    }

    // While a run waits the button is off and a spinner turns; after a failure it stays, focused.
    void eachOutcomeSaysWhatHappened()
    {
        using O = InputAccessGranter::Outcome;
        const std::tuple<O, QString, QString> runs[] = {
            {O::Granted, {}, "Access granted."},
            {O::Dismissed, {}, "Nothing was changed."},
            {O::NotAuthorised, {}, "administrator must do it"},
            {O::Stopped, {}, "stopped before it finished"},
            {O::Failed, "complaint", "complaint"},
            {O::Failed, {}, "Input access could not be granted."},
        };
        for (const auto& [outcome, detail, says] : runs) {
            Host h;
            QVERIFY(QTest::qWaitForWindowActive(&h.window));
            InputAccessPanel* panel = h.panel(true);
            QCOMPARE(panel->findChild<QLabel*>("panelTerminalHeading")->text(),
                     "Or in a terminal:");
            QWidget* button = h.grantButton();
            QVERIFY(button->hasFocus());
            auto* spinner = panel->findChild<Spinner*>("grantSpinner");
            auto* status = panel->findChild<QLabel*>("grantStatus");
            QTest::mouseClick(button, Qt::LeftButton);
            QVERIFY(!button->isEnabled() && spinner->isVisible() && h.f.granter.runs == 1);
            h.f.granter.finish(outcome, detail);
            QVERIFY2(status->text().contains(says), qPrintable(status->text()));
            QVERIFY(button->isEnabled() && !spinner->isVisible());
            const bool granted = outcome == O::Granted;
            QVERIFY(button->isVisible() != granted && button->hasFocus() != granted);
            // A grant this session never picks up (remote, no logind): advice to log in anew.
            h.f.scheduler.advance(5s);
            QCOMPARE(status->text().contains("Log out and back in"), granted);
        }
    }

    // The commands, run with a pass-through sudo into a scratch /etc, do what the helper does.
    void commandsDoWhatTheHelperDoes()
    {
        QTemporaryDir root;
        const QString sudo = root.filePath("bin/sudo");
        for (const char* folder : {"bin", "etc/udev/rules.d", "etc/modules-load.d"})
            QVERIFY(QDir(root.path()).mkpath(folder));
        test::writeFile(sudo, R"(#!/bin/sh
case "$1" in tee) exec "$@" ;; esac
echo "$*" >> "$RAN"
)");
        QFile::setPermissions(sudo, QFile::ReadOwner | QFile::ExeOwner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PATH", root.filePath("bin") + ':' + env.value("PATH"));
        env.insert("RAN", root.filePath("ran"));
        for (const auto& step : InputAccessCommands::commands()) {
            QProcess shell;
            shell.setProcessEnvironment(env);
            shell.start(
                "sh", {"-c", QString(step.command).replace(" /etc/", " " + root.filePath("etc/"))});
            QVERIFY(shell.waitForFinished(10000) && shell.exitCode() == 0);
        }
        const auto read = [&](const QString& name) {
            return QString::fromUtf8(test::readFile(root.filePath(name)));
        };
        const QString helper =
            QString::fromUtf8(test::readFile(MARTEN_SOURCE_DIR "/dist/grant-input-access"));
        const auto fromHelper = [&](const char* pattern) {
            QStringList found;
            const QRegularExpression re(pattern, QRegularExpression::MultilineOption);
            for (auto it = re.globalMatch(helper); it.hasNext();)
                found << it.next().captured(1);
            return found;
        };
        const QStringList rules = fromHelper("^((KERNEL|SUBSYSTEM)==.*)$");
        QCOMPARE(read("etc/udev/rules.d/70-marten-input-access.rules"), rules.join('\n') + '\n');
        QCOMPARE(read("etc/modules-load.d/marten-uinput.conf"), QString("uinput\n"));
        // The helper also waits for udev to settle; the terminal user need not.
        const QStringList steps = fromHelper("^step \"[^\"]*\" (.*)$");
        QCOMPARE(read("ran").trimmed().split('\n'), steps.mid(0, 3));
    }
};

MARTEN_TEST_MAIN(TestInputAccessPanel)
#include "tst_inputaccesspanel.moc"
