#pragma once

#include <QDialog>
#include <QString>
#include <QUrl>

class QTimer;
class ShellOpen;

// The about box: the program's name and version, the maker's contacts with links
// that open a new mail message or the web page, and a title that scrolls.
class Toprogramu final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Toprogramu)

public:
    static constexpr int kScrollInterval = 120;

    explicit Toprogramu(ShellOpen& shell, QWidget* parent = nullptr);
    ~Toprogramu() override;

    // What the title scrolls through: "O programu - Zorivka" between 18 and 17 blanks.
    static QString scrollingTitle();
    static QUrl mailUrl();
    static QUrl webUrl();

    // One tick of the title scroll: shows the text, then rotates it left by one character.
    void Timer1Timer();

    // Closing by "OK", Esc or the close box stops the scroll.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void createContent();

    ShellOpen& m_shell;
    QString m_titulek = scrollingTitle();
    QTimer* m_timer = nullptr;
    QWidget* m_strips[2] = {};
    int m_phase = 0;
    bool m_placed = false;
};
