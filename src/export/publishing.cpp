#include "export/publishing.h"

#include "export/publish_state.h"
#include "platform/messenger.h"

#include <QDir>

namespace publishing {

namespace {
using publish::Problem;
using Kind = publish::Operation::Kind;

void count(Outcome& outcome, Kind kind)
{
    ++(kind == Kind::Create ? outcome.created : kind == Kind::Replace ? outcome.replaced : outcome.removed);
}

QString summaryOf(const Outcome& outcome)
{
    if (outcome.created + outcome.replaced + outcome.removed == 0)
        return QStringLiteral("Kalendář na serveru je aktuální, nebylo co odeslat.");
    return QStringLiteral("Publikováno na server: nových akcí %1, změněných %2, smazaných %3.")
        .arg(outcome.created)
        .arg(outcome.replaced)
        .arg(outcome.removed);
}

// The state as it is stored, or rebuilt from the collection's own list when missing or damaged.
bool loadState(
    PublishPart& part, const Request& request, publish_state::State& state, publish::Result& failure)
{
    const QString collection = request.connection.collection.toString();
    if (publish_state::read(request.dir, collection, state) == publish_state::ReadResult::Ok)
        return true;
    std::vector<publish::Resource> resources;
    failure = part.list(request.connection, resources);
    state = publish_state::rebuilt(collection, resources);
    return failure.problem == Problem::None;
}

// Sends the plan's operations, recording each finished one; the conflicts' indexes come back.
std::vector<std::size_t> send(PublishPart& part, const Request& request, const publish_state::Plan& plan,
    publish_state::State& state, Outcome& outcome, publish::Result& failure, const Progress& progress,
    int& done, int total)
{
    std::vector<std::size_t> conflicts;
    failure = part.send(
        request.connection, plan.operations, [&](std::size_t index, const publish::Result& result) {
            const publish::Operation& operation = plan.operations[index];
            publish_state::apply(state, operation, plan.hashes[index], result);
            if (result.problem == Problem::None)
                count(outcome, operation.kind);
            else if (result.problem == Problem::Conflict)
                conflicts.push_back(index);
            if (progress)
                progress(++done, total);
        });
    return conflicts;
}

// The conflicting operations again, without the precondition: they overwrite what is there.
publish_state::Plan forced(const publish_state::Plan& plan, const std::vector<std::size_t>& conflicts)
{
    publish_state::Plan again;
    for (std::size_t index : conflicts) {
        publish::Operation operation = plan.operations[index];
        operation.etag.clear();
        again.operations.push_back(operation);
        again.hashes.push_back(plan.hashes[index]);
    }
    return again;
}
} // namespace

QUrl collectionUrl(const QString& text)
{
    const QString address = text.trimmed();
    return QUrl(address.contains(QStringLiteral("://")) ? address : QStringLiteral("https://") + address);
}

QString passwordKey(const QString& collection, const QString& user)
{
    return user + u' ' + collection;
}

QString messageOf(const publish::Result& result, const QUrl& collection)
{
    const QString detail = result.detail.isEmpty() ? QString() : u'\n' + result.detail;
    switch (result.problem) {
    case Problem::None:
        return {};
    case Problem::Insecure:
        return QStringLiteral("Adresa „%1“ nepoužívá šifrované spojení https://. Heslo lze poslat "
                              "nešifrovaně (http://) jen na tento počítač: localhost nebo 127.0.0.1.")
            .arg(result.detail);
    case Problem::NoConnection:
        return QStringLiteral("Nelze se spojit se serverem %1.").arg(collection.host()) + detail;
    case Problem::Unauthorized:
        return QStringLiteral("Server odmítl uživatelské jméno nebo heslo (401).");
    case Problem::NoCollection:
        return QStringLiteral("Kalendář „%1“ na serveru neexistuje (404). Zkontrolujte adresu kalendáře.")
            .arg(collection.toString());
    case Problem::Refused:
        return result.status == 507
            ? QStringLiteral("Server odmítl zápis do kalendáře (507): na serveru došlo místo.")
            : QStringLiteral("Server odmítl zápis do kalendáře (%1): uživatel do něj nesmí zapisovat.")
                  .arg(result.status);
    case Problem::Conflict:
        return QStringLiteral("Akci mezitím na serveru změnil někdo jiný (412).");
    case Problem::Server:
        return QStringLiteral("Server ohlásil chybu (%1).").arg(result.status) + detail;
    case Problem::Cancelled:
        return QStringLiteral("Publikování bylo zrušeno. Co už bylo odesláno, zůstává na serveru; "
                              "zbytek se odešle při dalším publikování.");
    }
    return {};
}

Outcome publish(PublishPart& part, const Request& request, Messenger& messenger, const Progress& progress)
{
    Outcome outcome;
    const QUrl& collection = request.connection.collection;
    const auto fail = [&](const publish::Result& result) {
        messenger.show(
            result.problem == Problem::Cancelled ? Messenger::Icon::Information : Messenger::Icon::Error,
            kTitle, messageOf(result, collection));
        return outcome;
    };
    // The events first: without the iCalendar part nothing can be sent.
    QString error;
    const std::optional<std::vector<publish_state::Item>> items
        = publish_state::items(request.records, request.settings, request.stamp, &error);
    if (!items) {
        messenger.show(Messenger::Icon::Error, kTitle, error);
        return outcome;
    }
    publish::Result failure = part.check(request.connection);
    if (failure.problem != Problem::None)
        return fail(failure);
    publish_state::State state;
    if (!loadState(part, request, state, failure))
        return fail(failure);

    const publish_state::Plan plan = publish_state::plan(*items, state);
    int done = 0;
    int total = static_cast<int>(plan.operations.size());
    if (progress)
        progress(0, total);
    std::vector<std::size_t> conflicts
        = send(part, request, plan, state, outcome, failure, progress, done, total);
    if (failure.problem == Problem::None && !conflicts.empty()
        && messenger.ask(kTitle,
            QStringLiteral("Akcí, které mezitím na serveru změnil někdo jiný (412): %1.\n\n"
                           "Přepsat je verzí ze Zorivky?")
                .arg(conflicts.size()))) {
        const publish_state::Plan again = forced(plan, conflicts);
        total += static_cast<int>(again.operations.size());
        conflicts = send(part, request, again, state, outcome, failure, progress, done, total);
    }

    if (!publish_state::write(request.dir, state, &error)) {
        messenger.show(Messenger::Icon::Error, kTitle,
            QStringLiteral("Stav publikování nelze uložit do souboru %1: %2")
                .arg(QDir::toNativeSeparators(QDir(request.dir).filePath(publish_state::kFileName)), error));
        return outcome;
    }
    if (failure.problem != Problem::None)
        return fail(failure);
    if (!conflicts.empty()) {
        messenger.show(Messenger::Icon::Warning, kTitle,
            summaryOf(outcome)
                + QStringLiteral(
                    "\nAkce, které mezitím na serveru změnil někdo jiný (412), nebyly přepsány: %1.")
                      .arg(conflicts.size()));
        return outcome;
    }
    outcome.ok = true;
    messenger.show(Messenger::Icon::Information, kTitle, summaryOf(outcome));
    return outcome;
}

} // namespace publishing
