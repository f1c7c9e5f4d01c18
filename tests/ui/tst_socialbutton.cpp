#include "support/TestEnv.h"
#include "ui/MartenSocialButton.h"

#include <QDir>
#include <QVBoxLayout>

using namespace marten;

class TestSocialButton final : public QObject {
    Q_OBJECT

private slots:
    // A missing or unloadable logo keeps its gray square, and the button still works.
    void layoutAndPlaceholder()
    {
        QVERIFY(QDir::home().mkpath("Documents/voice_to_text/assets/folder.png"));
        for (const char* name : {"missing.png", "folder.png"}) {
            QWidget column;
            QVBoxLayout layout(&column);
            int presses = 0;
            auto* button = new MartenSocialButton("Continue with Google", IconKind::asset(name),
                                                  AssetPaths::forCurrentProcess());
            connect(button, &QAbstractButton::clicked, [&] { ++presses; });
            layout.addWidget(button);
            column.resize(400, 200);
            column.show();
            QTRY_VERIFY(button->iconStatus() != MartenSocialButton::IconStatus::Loading);
            QTest::mouseClick(button, Qt::LeftButton);
            QCOMPARE(presses, 1);
            column.resize(160, 200);
            QVERIFY(button->displayedTitle().endsWith(QChar(0x2026)));
            QVERIFY(QFontMetrics(button->font()).horizontalAdvance(button->displayedTitle()) <=
                    button->titleRect().width());
        }
    }
};

MARTEN_TEST_MAIN(TestSocialButton)
#include "tst_socialbutton.moc"
