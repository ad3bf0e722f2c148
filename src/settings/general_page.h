#pragma once

#include <QString>
#include <QWidget>

#include <array>

class DesktopIntegration;
class Messenger;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
struct Settings;
struct YearRange;

// The settings dialog's first page, "Obecné nastavení": the five general options, the
// year range with its information, the day-name format and the two launcher buttons.
// It edits the dialog's working copy and year range, as the other pages do.
class GeneralPage final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GeneralPage)

public:
    static constexpr int kOptionCount = 5;

    // `desktop` may be null: then no launcher can be made.
    GeneralPage(Settings& working, YearRange& range, DesktopIntegration* desktop, Messenger& messenger,
        QWidget* parent);

    // Shows the working copy's options and format and the range.
    void load();
    // "Výchozí nastavení": every option and the format back to their defaults.
    void restoreDefaults();
    // "ZMĚNA" once the user chose a format; until then the format the rebuild compares with.
    const QString& formatkontrola() const { return m_formatkontrola; }
    // Hands the options this page edits from one settings record to another.
    static void copyOptions(const Settings& from, Settings& to);

signals:
    void formatChanged(int format);
    void gridLinesChanged(bool shown);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Option {
        QCheckBox* box = nullptr;
        QLabel* text = nullptr;
    };

    QWidget* createOptions();
    QWidget* createYearSection();
    QWidget* createFormatSection();
    QWidget* createShortcutSection();

    // Whatever changes a box, its label and the copy follow.
    void optionChanged(int option);
    void setFormat(int format, bool marked);
    void Button40Click();
    void showRange();
    void createShortcut(bool desktop);

    Settings& m_work;
    YearRange& m_range;
    DesktopIntegration* m_desktop;
    Messenger& m_messenger;
    QString m_formatkontrola = QStringLiteral("1");

    std::array<Option, kOptionCount> m_options;
    QComboBox* m_format = nullptr;
    QPushButton* m_addYear = nullptr;
    QLabel* m_doroku = nullptr;
    QLabel* m_pocetnroku = nullptr;
    QLabel* m_pocetdni = nullptr;
};
