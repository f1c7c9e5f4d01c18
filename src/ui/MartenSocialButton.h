#pragma once

#include "core/AssetLookup.h"

#include <QAbstractButton>
#include <QImage>

template <typename T> class QFutureWatcher;

namespace marten {

// What a social button shows in its icon slot: one of the program's symbols, by name, or an
// image file found by the asset lookup ("logo-google.png").
struct IconKind {
    enum class Case { system, asset };

    Case kind;
    QString name;

    static IconKind system(const QString& symbolName) { return {Case::system, symbolName}; }
    static IconKind asset(const QString& fileName) { return {Case::asset, fileName}; }
};

// A full-width, outlined pill button with a small icon and a title on its leading side,
// 37 px high. An image icon loads in the background; a light gray square stands in for it
// until it is ready, and stays if the file is missing or not an image.
class MartenSocialButton final : public QAbstractButton {
    Q_OBJECT
public:
    enum class IconStatus { Symbol, Loading, Loaded, Missing, Failed };

    static constexpr int kHeight = 37;
    static constexpr int kRadius = 19;
    static constexpr int kHorizontalPadding = 12;
    static constexpr int kIconSide = 16;
    static constexpr int kSpacing = 9;
    static constexpr int kSpacerWidth = 1;
    // Where the title starts: padding, icon slot, then spacing, a 1 px spacer and spacing.
    static constexpr int kTitleX =
        kHorizontalPadding + kIconSide + kSpacing + kSpacerWidth + kSpacing;

    MartenSocialButton(const QString& title, IconKind icon, const AssetPaths& assets,
                       QWidget* parent = nullptr);
    ~MartenSocialButton() override;

    IconStatus iconStatus() const { return m_status; }
    // The title as drawn at the current width (elided when it does not fit).
    QString displayedTitle() const;
    QRect iconRect() const;
    QRect titleRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void loadAssetIcon(const AssetPaths& assets);
    void setStatus(IconStatus status);

    IconKind m_icon;
    IconStatus m_status = IconStatus::Symbol;
    QImage m_image;
    QFutureWatcher<QImage>* m_loader = nullptr;
};

} // namespace marten
