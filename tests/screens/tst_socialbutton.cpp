#include "screens/MartenSocialButton.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QTemporaryDir>

#include <memory>

using namespace marten;

namespace {
// gray at opacity 0.2 over white
const QColor kPlaceholder(232, 232, 233);

bool near(const QColor& a, const QColor& b)
{
    return qAbs(a.red() - b.red()) <= 3 && qAbs(a.green() - b.green()) <= 3 &&
           qAbs(a.blue() - b.blue()) <= 3;
}
} // namespace

class TestSocialButton final : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    std::unique_ptr<MartenSocialButton> m_button;
    int m_presses = 0;

    MartenSocialButton* make(IconKind icon, int width = 400,
                             const QString& title = QStringLiteral("Continue with Google"))
    {
        m_button = std::make_unique<MartenSocialButton>(
            title, std::move(icon), [this] { ++m_presses; }, nullptr,
            AssetPaths{m_home.path(), QString(), QString()});
        m_button->resize(width, m_button->height());
        m_button->show();
        return m_button.get();
    }

    QString assetPath(const QString& name) const
    {
        return m_home.path() + QStringLiteral("/Documents/voice_to_text/assets/") + name;
    }

    QColor slotCentre() const
    {
        return test::render(m_button.get()).pixelColor(m_button->iconRect().center());
    }

private slots:
    void init()
    {
        QVERIFY(QDir().mkpath(assetPath(QString())));
        m_presses = 0;
    }

    void cleanup() { m_button.reset(); }

    void geometry()
    {
        MartenSocialButton* button = make(IconKind::system(QStringLiteral("applelogo")), 700);
        QCOMPARE(button->height(), 37);
        QCOMPARE(button->iconRect(), QRect(12, 10, 16, 16));
        QCOMPARE(button->titleRect().x(), 12 + 16 + 9 + 1 + 9);
        const QImage image = test::render(button);
        // A pill: outline in the middle of the left edge, nothing in the corner.
        QVERIFY(image.pixelColor(0, 18).value() < 250);
        QCOMPARE(image.pixelColor(1, 1), QColor(Qt::white));
        QVERIFY(image.pixelColor(20, 19).value() < 80); // the black symbol
        QCOMPARE(button->accessibleName(), QStringLiteral("Continue with Google"));

        // Too narrow for the title: one line, elided.
        button->resize(160, 37);
        QVERIFY(button->displayedTitle().endsWith(QChar(0x2026)));
        QVERIFY(QFontMetrics(button->font()).horizontalAdvance(button->displayedTitle()) <=
                button->titleRect().width());
    }

    void missingAssetShowsPlaceholderAndStillWorks()
    {
        make(IconKind::asset(QStringLiteral("logo-google.png")));
        QCOMPARE(m_button->iconStatus(), MartenSocialButton::IconStatus::Missing);
        QVERIFY(near(slotCentre(), kPlaceholder));
        QTest::mouseClick(m_button.get(), Qt::LeftButton);
        QCOMPARE(m_presses, 1);
    }

    void assetLoadsInTheBackground()
    {
        QImage red(32, 32, QImage::Format_ARGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(assetPath(QStringLiteral("logo.png"))));
        make(IconKind::asset(QStringLiteral("logo.png")));
        // Never decoded on the spot: the placeholder shows first.
        QCOMPARE(m_button->iconStatus(), MartenSocialButton::IconStatus::Loading);
        QVERIFY(near(slotCentre(), kPlaceholder));
        QTRY_COMPARE(m_button->iconStatus(), MartenSocialButton::IconStatus::Loaded);
        QVERIFY(near(slotCentre(), QColor(Qt::red)));
    }

    void unreadableAssetKeepsPlaceholder()
    {
        test::writeFile(assetPath(QStringLiteral("broken.png")), "not a picture");
        QVERIFY(QDir().mkpath(assetPath(QStringLiteral("folder.png"))));
        for (const char* name : {"broken.png", "folder.png"}) {
            make(IconKind::asset(QLatin1String(name)));
            QTRY_COMPARE(m_button->iconStatus(), MartenSocialButton::IconStatus::Failed);
            QVERIFY(near(slotCentre(), kPlaceholder));
        }
    }

    // The decoding job must not call back into a button that is gone.
    void destroyedWhileLoading()
    {
        QImage big(2000, 2000, QImage::Format_ARGB32);
        big.fill(Qt::blue);
        QVERIFY(big.save(assetPath(QStringLiteral("big.png"))));
        make(IconKind::asset(QStringLiteral("big.png")));
        m_button.reset();
        QTest::qWait(300);
    }

    void keyboard()
    {
        make(IconKind::system(QStringLiteral("applelogo")));
        QVERIFY(m_button->focusPolicy() & Qt::TabFocus);
        QTest::keyClick(m_button.get(), Qt::Key_Space);
        QCOMPARE(m_presses, 1);
        QTest::keyClick(m_button.get(), Qt::Key_Return);
        QTRY_COMPARE(m_presses, 2);
        QTest::keyClick(m_button.get(), Qt::Key_Enter, Qt::KeypadModifier);
        QTRY_COMPARE(m_presses, 3);
    }
};

MARTEN_TEST_MAIN(TestSocialButton)
#include "tst_socialbutton.moc"
