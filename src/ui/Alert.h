#pragma once

#include <QPointer>
#include <QWidget>

namespace marten {

// A small alert drawn inside the window it belongs to: it dims the whole window, takes every
// click and key while it is up, and shows a card in the middle with a bold title, a message
// and one button that dismisses it. Escape and Return dismiss it too. Screen readers meet it
// as an alert. It deletes itself when dismissed and gives the focus back to where it was.
class Alert final : public QWidget {
    Q_OBJECT
public:
    // The alert covers `host`'s window.
    Alert(const QString& title, const QString& message, const QString& button, QWidget* host);

    // Shows the alert over its window with the focus on its button, and announces it.
    void open();

    // The card in the middle of the overlay.
    QWidget* card() const { return m_card; }

signals:
    void dismissed();

public slots:
    void dismiss();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void placeCard();

    QWidget* m_card;
    QWidget* m_button = nullptr;
    QPointer<QWidget> m_returnFocus;
};

} // namespace marten
