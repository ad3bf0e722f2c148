#pragma once

#include "records/data_file.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

class DayTable;
class Messenger;
struct Settings;

// Writes the user's work to disk: the close's save, and the same save about a
// second after the changes pause, so that a crash or a killed process loses at
// most the last second of work. It never saves while a modal window is open,
// since dialogs rewrite the overview files between steps of their own.
class AutoSave final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AutoSave)

public:
    static constexpr int kDelayMs = 1000;

    AutoSave(const QString& dir, DayTable& table, Settings& settings, Messenger& messenger,
        QObject* parent = nullptr);

    // The data file was not read whole: before the first save over it, it is
    // copied to data.zrk.bak, and it is never saved over without that copy.
    void setDamagedDataFile(bool damaged) { m_damagedDataFile = damaged; }
    // From now on every change of the table leads to a save; loading and building
    // the first year happen before, so they are no change.
    void watchTable();
    void setDelay(int ms) { m_timer.setInterval(ms); }

    // A change the table does not announce (the settings); the save follows
    // once the changes have paused.
    void changed();
    bool isPending() const { return m_timer.isActive() || m_waitingFor; }

    // The close's save: the records, then the settings and both overview lists,
    // every failure reported.
    void saveAtClose();

signals:
    // After each save that ran once the changes paused, whether it wrote everything.
    void saved(bool complete);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Outcome {
        data_file::SaveResult records = data_file::SaveResult::Saved;
        bool backupFailed = false;
        bool settingsSaved = true;
        bool complete() const;
    };

    void saveSoon();
    void waitFor(QWidget* modal);
    Outcome saveFiles();
    data_file::SaveResult saveRecords(Outcome& outcome);
    void report(const Outcome& outcome, bool atClose);

    QString m_dir;
    DayTable& m_table;
    Settings& m_settings;
    Messenger& m_messenger;
    QTimer m_timer;
    QPointer<QWidget> m_waitingFor;
    bool m_damagedDataFile = false;
    bool m_failureReported = false;
};
