#include "export/command_line.h"

#include "calendar/day_table.h"
#include "export/export_events.h"
#include "export/export_file.h"
#include "export/import_command.h"
#include "export/publish_command.h"
#include "platform/clock.h"
#include "platform/messenger.h"
#include "platform/program_dir.h"
#include "platform/translations.h"
#include "records/data_file.h"
#include "settings/settings.h"
#include "settings/settings_file.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>
#include <QByteArrayView>

#include <algorithm>
#include <cstdio>

namespace command_line {

namespace {
const QString kDateSyntax = QStringLiteral("dd.mm.yyyy");

// Keeps what the data file would have shown in a message box, for standard error.
class CollectingMessenger final : public Messenger {
public:
    void show(Icon, const QString&, const QString& text) override { m_texts << text; }
    bool ask(const QString&, const QString&) override { return false; }
    const QStringList& texts() const { return m_texts; }

private:
    QStringList m_texts;
};

struct Options {
    QCommandLineOption ics { QStringLiteral("export-ics"),
        QStringLiteral("Vyveze akce do souboru iCalendar pro kalendáře (Thunderbird, Evolution, "
                       "KOrganizer, GNOME Kalendář, telefon)."),
        QStringLiteral("soubor") };
    QCommandLineOption csv { QStringLiteral("export-csv"),
        QStringLiteral("Vyveze akce do souboru CSV pro tabulkové procesory (UTF-8, středníky)."),
        QStringLiteral("soubor") };
    QCommandLineOption pdf { QStringLiteral("export-pdf"),
        QStringLiteral(
            "Uloží dny jako stránky PDF (A4), jak je ukazuje seznam; bez --from a --to celý kalendář."),
        QStringLiteral("soubor") };
    QCommandLineOption bw { QStringLiteral("bw"), QStringLiteral("Stránky PDF černobíle.") };
    QCommandLineOption from { QStringLiteral("from"),
        QStringLiteral("První den vyváženého rozsahu (bez této volby od začátku kalendáře)."), kDateSyntax };
    QCommandLineOption to { QStringLiteral("to"),
        QStringLiteral("Poslední den vyváženého rozsahu (bez této volby do konce kalendáře)."), kDateSyntax };
    QCommandLineOption importIcs { QStringLiteral("import-ics"),
        QStringLiteral("Přidá do kalendáře akce ze souboru iCalendar, které v něm ještě nejsou; okno "
                       "programu přitom nesmí běžet."),
        QStringLiteral("soubor") };
    QCommandLineOption publish { QStringLiteral("publish"),
        QStringLiteral("Publikuje akce do kalendáře na serveru CalDAV, jehož adresu a jméno si zapamatovalo "
                       "okno programu; heslo vezme z úložiště hesel, jinak ze standardního vstupu.") };
};

int fail(QTextStream& err, const QString& message)
{
    err << QCoreApplication::applicationName().toLower() << ": " << message << Qt::endl;
    return Failure;
}

// An option's date, or an invalid date when the option is absent; false for a bad date.
bool dateOption(const QCommandLineParser& parser, const QCommandLineOption& option, QDate& date)
{
    date = QDate();
    if (!parser.isSet(option))
        return true;
    date = export_events::parseDate(parser.value(option).trimmed());
    return date.isValid();
}

// "-" names standard output, so that the export can feed a pipe.
const QString kStandardOutput = QStringLiteral("-");

export_file::Result toStandardOutput(const export_file::Request& request, const DayTable& table,
    const Settings& settings, const QDateTime& stamp, QString& error)
{
    QByteArray bytes;
    const export_file::Result result
        = export_file::render(request, table.records(), settings, stamp, bytes, &error);
    if (result != export_file::Result::Written)
        return result;
    QFile out;
    if (out.open(stdout, QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.flush())
        return result;
    error = out.errorString();
    return export_file::Result::Failed;
}

// Reads data.zrk and the column titles; false (reported) when data.zrk cannot be read whole.
bool load(const QString& dir, DayTable& table, Settings& settings, QTextStream& err)
{
    const QString path = QDir(dir).filePath(data_file::kFileName);
    if (!data_file::exists(dir)) {
        fail(err, QStringLiteral("soubor %1 neexistuje").arg(QDir::toNativeSeparators(path)));
        return false;
    }
    CollectingMessenger messenger;
    data_file::LoadData(dir, table, messenger);
    if (!messenger.texts().isEmpty()) {
        fail(err,
            QStringLiteral("soubor %1 nelze přečíst: %2")
                .arg(QDir::toNativeSeparators(path), messenger.texts().join(QStringLiteral("; "))));
        return false;
    }
    settings_file::read(dir, settings);
    return true;
}
} // namespace

bool wanted(int argc)
{
    return argc > 1;
}

QString dataDir(const QString& workingDir, const QString& programDir)
{
    return !data_file::exists(workingDir) && data_file::exists(programDir) ? programDir : workingDir;
}

bool wantsPdf(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArrayView argument(argv[i]);
        if (argument == "--export-pdf" || argument.startsWith("--export-pdf="))
            return true;
    }
    return false;
}

int exec(const QStringList& arguments, const QString& programDir, QTextStream& out, QTextStream& err,
    const PdfWriter& pdf)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Zorivka, kalendář kulturních akcí. Bez voleb otevře své okno; s volbou --export-ics "
        "nebo --export-csv vyveze akce a s volbou --export-pdf uloží stránky ze souboru "
        "data.zrk bez otevření okna; soubor „-“ je standardní výstup (ne pro PDF). S volbou "
        "--publish publikuje akce na server CalDAV. S volbou --import-ics přidá akce ze souboru iCalendar."));
    const QCommandLineOption help(
        { QStringLiteral("h"), QStringLiteral("help") }, QStringLiteral("Vypíše tuto nápovědu."));
    const QCommandLineOption version(
        { QStringLiteral("v"), QStringLiteral("version") }, QStringLiteral("Vypíše verzi programu."));
    const Options options;
    parser.addOptions({ help, version, options.ics, options.csv, options.pdf, options.bw, options.from,
        options.to, options.importIcs, options.publish });

    if (!parser.parse(arguments))
        return fail(err, parser.errorText());
    if (parser.isSet(help)) {
        out << parser.helpText();
        return Ok;
    }
    if (parser.isSet(version)) {
        out << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion()
            << Qt::endl;
        return Ok;
    }
    if (!parser.positionalArguments().isEmpty())
        return fail(err, QStringLiteral("nečekaný argument „%1“").arg(parser.positionalArguments().first()));

    const bool exports = parser.isSet(options.ics) || parser.isSet(options.csv) || parser.isSet(options.pdf)
        || parser.isSet(options.bw) || parser.isSet(options.from) || parser.isSet(options.to);
    if (parser.isSet(options.importIcs)) {
        if (exports || parser.isSet(options.publish) || parser.values(options.importIcs).size() > 1)
            return fail(err, QStringLiteral("volbu --import-ics lze zadat jen jednou a bez dalších voleb"));
        return import_command::run(parser.value(options.importIcs), programDir, out, err);
    }
    if (parser.isSet(options.publish)) {
        if (exports)
            return fail(err, QStringLiteral("volbu --publish nelze spojit s vývozem do souboru"));
        return publish_command::run(programDir, out, err);
    }

    std::vector<export_file::Request> requests;
    for (const auto& [option, format] : { std::pair { &options.ics, export_file::Format::ICalendar },
             std::pair { &options.csv, export_file::Format::Csv } }) {
        for (const QString& path : parser.values(*option))
            requests.push_back({ format, path, {}, {} });
    }
    const QStringList pdfPaths = parser.values(options.pdf);
    if (requests.empty() && pdfPaths.isEmpty())
        return fail(
            err, QStringLiteral("chybí volba --export-ics, --export-csv nebo --export-pdf (viz --help)"));
    if (pdfPaths.contains(kStandardOutput))
        return fail(err, QStringLiteral("stránky PDF nelze zapsat na standardní výstup"));
    if (!pdfPaths.isEmpty() && !pdf)
        return fail(err, QStringLiteral("stránky PDF zde nelze vytvořit"));
    if (std::count_if(
            requests.begin(), requests.end(), [](const auto& r) { return r.path == kStandardOutput; })
        > 1)
        return fail(err, QStringLiteral("standardní výstup „-“ lze zvolit jen jednou"));

    QDate from;
    QDate to;
    if (!dateOption(parser, options.from, from))
        return fail(err,
            QStringLiteral("neplatné datum --from „%1“, čeká se %2")
                .arg(parser.value(options.from), kDateSyntax));
    if (!dateOption(parser, options.to, to))
        return fail(err,
            QStringLiteral("neplatné datum --to „%1“, čeká se %2")
                .arg(parser.value(options.to), kDateSyntax));
    if (from.isValid() && to.isValid() && from > to)
        return fail(err, QStringLiteral("datum --from je pozdější než --to"));

    DayTable table;
    Settings settings;
    if (!load(programDir, table, settings, err))
        return Failure;

    int status = Ok;
    const QDateTime stamp = clock_source::now();
    for (export_file::Request& request : requests) {
        request.from = from;
        request.to = to;
        QString error;
        switch (request.path == kStandardOutput
                ? toStandardOutput(request, table, settings, stamp, error)
                : export_file::write(request, table.records(), settings, stamp, &error)) {
        case export_file::Result::Written:
            break;
        case export_file::Result::NoEvents:
            fail(err,
                QStringLiteral("v zadaném rozsahu není žádná akce, soubor %1 nebyl vytvořen")
                    .arg(request.path));
            status = std::max<int>(status, NothingToExport);
            break;
        case export_file::Result::Failed:
            fail(err, QStringLiteral("soubor %1 nelze zapsat: %2").arg(request.path, error));
            status = Failure;
            break;
        case export_file::Result::NoPart:
            fail(err, QStringLiteral("soubor %1 nelze vytvořit: %2").arg(request.path, error));
            status = Failure;
            break;
        }
    }
    for (const QString& path : pdfPaths) {
        QString error;
        switch (pdf({ path, from, to, parser.isSet(options.bw) }, table, settings, &error)) {
        case PdfResult::Written:
            break;
        case PdfResult::Empty:
            fail(err, QStringLiteral("zadaný rozsah leží mimo kalendář, soubor %1 nebyl vytvořen").arg(path));
            status = std::max<int>(status, NothingToExport);
            break;
        case PdfResult::Failed:
            fail(err, QStringLiteral("soubor %1 nelze zapsat: %2").arg(path, error));
            status = Failure;
            break;
        }
    }
    return status;
}

int run(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    return runIn(app, {});
}

int runIn(QCoreApplication& app, const PdfWriter& pdf)
{
    QCoreApplication::setApplicationName(QStringLiteral("Zorivka"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZORIVKA_VERSION));
    translations::installQtCzech(app);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList arguments = QCoreApplication::arguments();
    // An import writes where the window would, creating the per-user directory when needed.
    const bool imports = std::any_of(arguments.begin() + 1, arguments.end(), [](const QString& a) {
        return a == QLatin1String("--import-ics") || a.startsWith(QLatin1String("--import-ics="));
    });
    return exec(arguments,
        imports ? program_dir::resolve()
                : dataDir(program_dir::locate(), QCoreApplication::applicationDirPath()),
        out, err, pdf);
}

} // namespace command_line
