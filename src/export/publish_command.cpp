#include "export/publish_command.h"

#include "calendar/day_table.h"
#include "export/publish_state.h"
#include "export/publishing.h"
#include "platform/clock.h"
#include "export/stream_messenger.h"
#include "platform/messenger.h"
#include "platform/parts.h"
#include "platform/terminal.h"
#include "records/data_file.h"
#include "settings/settings.h"
#include "settings/settings_file.h"

#include <QFile>
#include <QTextStream>

namespace publish_command {

namespace {
int fail(QTextStream& err, const QString& message)
{
    err << "zorivka: " << message << Qt::endl;
    return 1;
}

// The first line of standard input, without its line end.
QString passwordFromInput()
{
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly))
        return {};
    QByteArray line = input.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}
} // namespace

int run(const QString& programDir, QTextStream& out, QTextStream& err)
{
    const publish_state::Address address = publish_state::readAddress(programDir);
    if (address.collection.isEmpty())
        return fail(err,
            QStringLiteral("adresa kalendáře pro publikování není nastavena; zadejte ji v okně programu "
                           "(Publikovat...) a zaškrtněte „Zapamatovat“"));
    if (!data_file::exists(programDir))
        return fail(err, QStringLiteral("soubor %1 neexistuje").arg(data_file::kFileName));
    QString error;
    auto* part = parts::load<PublishPart>(publishing::kPart, &error);
    if (!part)
        return fail(err, error);

    QString password;
    if (part->readPassword(publishing::passwordKey(address.collection, address.user), password, error)
        != publish::Store::Ok) {
        if (terminal::standardInputIsTerminal())
            return fail(err,
                QStringLiteral("heslo pro %1 není v úložišti hesel; pošlete ho na standardní vstup, "
                               "například: zorivka --publish < soubor-s-heslem")
                    .arg(address.collection));
        password = passwordFromInput();
    }

    DayTable table;
    Settings settings;
    StreamMessenger messenger(out, err);
    data_file::LoadData(programDir, table, messenger);
    if (messenger.failed())
        return 1;
    settings_file::read(programDir, settings);
    const publishing::Outcome outcome = publishing::publish(*part,
        { programDir, table.records(), settings,
            { publishing::collectionUrl(address.collection), address.user, password }, clock_source::now() },
        messenger);
    return outcome.ok ? 0 : 1;
}

} // namespace publish_command
