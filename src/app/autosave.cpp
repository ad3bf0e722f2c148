#include "app/autosave.h"

#include "calendar/day_table.h"
#include "platform/messenger.h"
#include "settings/settings_file.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace {
const QString kTitle = QStringLiteral("Chyba");
const QString kFileError = QStringLiteral("Chyba při vytváření souboru");
const QString kBackupFailed
    = QStringLiteral("Poškozený soubor „data.zrk“ se nepodařilo zkopírovat do souboru "
                     "„data.zrk.bak“, a proto nebyl přepsán. Záznamy nebyly uloženy.");
} // namespace

AutoSave::AutoSave(
    const QString& dir, DayTable& table, Settings& settings, Messenger& messenger, QObject* parent)
    : QObject(parent)
    , m_dir(dir)
    , m_table(table)
    , m_settings(settings)
    , m_messenger(messenger)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(kDelayMs);
    connect(&m_timer, &QTimer::timeout, this, &AutoSave::saveSoon);
}

void AutoSave::watchTable()
{
    connect(&m_table, &DayTable::rowsInserted, this, &AutoSave::changed);
    connect(&m_table, &DayTable::rowsRemoved, this, &AutoSave::changed);
    connect(&m_table, &DayTable::rowChanged, this, &AutoSave::changed);
    connect(&m_table, &DayTable::resetDone, this, &AutoSave::changed);
    connect(&m_table, &DayTable::listsChanged, this, &AutoSave::changed);
}

void AutoSave::changed()
{
    // While waiting for a modal window the save follows its closing anyway.
    if (!m_waitingFor)
        m_timer.start();
}

void AutoSave::saveSoon()
{
    if (QWidget* modal = QApplication::activeModalWidget()) {
        waitFor(modal);
        return;
    }
    const Outcome outcome = saveFiles();
    report(outcome, false);
    emit saved(outcome.complete());
}

void AutoSave::waitFor(QWidget* modal)
{
    m_waitingFor = modal;
    modal->installEventFilter(this);
    // Once per window however often the timer looks (a lambda cannot be a unique connection).
    disconnect(modal, &QObject::destroyed, this, nullptr);
    connect(modal, &QObject::destroyed, this, [this] { m_timer.start(); });
}

bool AutoSave::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_waitingFor && event->type() == QEvent::Hide) {
        watched->removeEventFilter(this);
        disconnect(watched, &QObject::destroyed, this, nullptr);
        m_waitingFor = nullptr;
        // Another modal window may follow right away; the timer looks again.
        m_timer.start();
    }
    return QObject::eventFilter(watched, event);
}

void AutoSave::saveAtClose()
{
    m_timer.stop();
    if (m_waitingFor) {
        m_waitingFor->removeEventFilter(this);
        disconnect(m_waitingFor, &QObject::destroyed, this, nullptr);
        m_waitingFor = nullptr;
    }
    report(saveFiles(), true);
}

AutoSave::Outcome AutoSave::saveFiles()
{
    Outcome outcome;
    // A data.zrk without its settings would make the next start a normal run
    // that reads every missing flag as set, so the first one is written last.
    const bool firstDataFile = !data_file::exists(m_dir);
    if (!firstDataFile)
        outcome.records = saveRecords(outcome);
    outcome.settingsSaved = settings_file::save(m_dir, m_settings, m_table);
    if (firstDataFile)
        outcome.records = saveRecords(outcome);
    return outcome;
}

data_file::SaveResult AutoSave::saveRecords(Outcome& outcome)
{
    if (m_damagedDataFile && m_table.rowCount() > 0) {
        // The bytes the program could not read are kept before anything replaces them.
        if (data_file::exists(m_dir) && !data_file::backUp(m_dir)) {
            outcome.backupFailed = true;
            return data_file::SaveResult::Failed;
        }
        m_damagedDataFile = false;
    }
    return data_file::writeData(m_dir, m_table);
}

bool AutoSave::Outcome::complete() const
{
    return records != data_file::SaveResult::Failed && settingsSaved;
}

void AutoSave::report(const Outcome& outcome, bool atClose)
{
    if (!atClose) {
        // Saved again and again while the user works: a failure is told once, an
        // empty list only at close.
        if (outcome.complete()) {
            m_failureReported = false;
            return;
        }
        if (m_failureReported)
            return;
        m_failureReported = true;
    }
    if (outcome.backupFailed)
        m_messenger.show(Messenger::Icon::Error, kTitle, kBackupFailed);
    else if (atClose || outcome.records != data_file::SaveResult::Empty)
        data_file::reportSave(outcome.records, m_messenger);
    if (!outcome.settingsSaved)
        m_messenger.show(Messenger::Icon::Error, kTitle, kFileError);
}
