#include "export/import_dialog.h"

#include "calendar/day_table.h"
#include "export/ical_import.h"
#include "platform/messenger.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {
const QString kTitle = QStringLiteral("Importovat");

// The file dialog opens where the last import was read from.
QString& lastDir()
{
    static QString dir = QDir::homePath();
    return dir;
}
} // namespace

OpenFileChooser openFileDialogChooser()
{
    return [](QWidget* parent, const QString& caption, const QString& dir, const QString& filter) {
        return QFileDialog::getOpenFileName(parent, caption, dir, filter);
    };
}

int importFromWindow(QWidget* parent, DayTable& table, const Settings& settings, Messenger& messenger,
    const OpenFileChooser& chooser)
{
    const QString path = chooser(parent, QStringLiteral("Importovat akce"), lastDir(),
        QStringLiteral("Kalendář iCalendar (*.ics);;Všechny soubory (*)"));
    if (path.isEmpty())
        return -1;
    lastDir() = QFileInfo(path).absolutePath();
    const QString name = QDir::toNativeSeparators(path);

    QApplication::setOverrideCursor(Qt::WaitCursor);
    ical_import::Plan plan = ical_import::prepare(path, table.records(), settings);
    QApplication::restoreOverrideCursor();
    if (plan.outcome != ical_import::Outcome::Ready) {
        messenger.show(Messenger::Icon::Error, kTitle, ical_import::failure(plan, name));
        return -1;
    }
    const QString counts = ical_import::describe(plan.counts);
    if (plan.records.empty()) {
        messenger.show(Messenger::Icon::Information, kTitle,
            QStringLiteral("Akce ze souboru %1:\n\n%2\n\nDo kalendáře není co přidat.").arg(name, counts));
        return -1;
    }
    if (!messenger.ask(kTitle,
            QStringLiteral("Akce ze souboru %1:\n\n%2\n\nPřidat akce do kalendáře?").arg(name, counts)))
        return -1;
    table.replaceRecords(std::move(plan.records));
    return plan.firstAdded;
}
