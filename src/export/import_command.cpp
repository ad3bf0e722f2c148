#include "export/import_command.h"

#include "calendar/day_table.h"
#include "export/ical_import.h"
#include "platform/instance_lock.h"
#include "export/stream_messenger.h"
#include "platform/messenger.h"
#include "platform/program_dir.h"
#include "records/data_file.h"
#include "settings/settings.h"
#include "settings/settings_file.h"

#include <QDir>
#include <QTextStream>

namespace import_command {

namespace {
int fail(QTextStream& err, const QString& message, int status = Failed)
{
    err << "zorivka: " << message << Qt::endl;
    return status;
}
} // namespace

int run(const QString& path, const QString& dir, QTextStream& out, QTextStream& err)
{
    InstanceLock lock;
    if (!lock.hold(dir))
        return fail(err,
            QStringLiteral("okno programu Zorivka pracuje se soubory ve složce %1; zavřete ho a spusťte "
                           "import znovu")
                .arg(QDir::toNativeSeparators(dir)),
            WindowRuns);
    StreamMessenger messenger(out, err);
    program_dir::adoptFiles(dir, messenger);
    if (!data_file::exists(dir))
        return fail(err,
            QStringLiteral("soubor %1 neexistuje; spusťte nejdřív program, aby kalendář vytvořil")
                .arg(QDir::toNativeSeparators(QDir(dir).filePath(data_file::kFileName))));

    DayTable table;
    data_file::LoadData(dir, table, messenger);
    // A damaged data file is the window's to mend: it keeps a copy before it saves over it.
    if (messenger.failed())
        return fail(
            err, QStringLiteral("import nebyl proveden, soubor %1 se nezměnil").arg(data_file::kFileName));
    Settings settings;
    settings_file::read(dir, settings);

    ical_import::Plan plan = ical_import::prepare(path, table.records(), settings);
    if (plan.outcome != ical_import::Outcome::Ready)
        return fail(err, ical_import::failure(plan, path));
    out << ical_import::describe(plan.counts) << Qt::endl;
    if (plan.records.empty()) {
        out << QStringLiteral("Do kalendáře není co přidat.") << Qt::endl;
        return Imported;
    }
    table.replaceRecords(std::move(plan.records));
    if (!data_file::SaveData(dir, table, messenger))
        return Failed;
    out << QStringLiteral("Akce byly přidány do kalendáře.") << Qt::endl;
    return Imported;
}

} // namespace import_command
