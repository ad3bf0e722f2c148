#include "export/publish_state.h"

#include "export/export_events.h"
#include "export/icalendar.h"
#include "platform/profile_file.h"
#include "settings/settings.h"
#include "settings/settings_file.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace publish_state {

namespace {
const QByteArray kHeader = "Zorivka publikace 1";
const QString kSection = QStringLiteral("Publikování");
const QString kCollectionKey = QStringLiteral("Adresa");
const QString kUserKey = QStringLiteral("Uživatel");
constexpr int kHashBytes = 16;

QString pathIn(const QString& dir)
{
    return QDir(dir).filePath(kFileName);
}
} // namespace

std::optional<std::vector<Item>> items(
    const std::vector<EventRecord>& records, const Settings& settings, const QDateTime& stamp, QString* error)
{
    const export_events::Columns columns = export_events::Columns::from(settings);
    std::vector<Item> result;
    for (const export_events::Event& event : export_events::collect(records, {}, {})) {
        std::optional<QByteArray> body = icalendar::write({ event }, columns, stamp, error);
        if (!body)
            return std::nullopt;
        QByteArray hash = hashOf(*body);
        result.push_back({ icalendar::uidOf(event), std::move(*body), std::move(hash) });
    }
    return result;
}

QByteArray hashOf(const QByteArray& body)
{
    QByteArray stable = body;
    const qsizetype start = stable.indexOf("\r\nDTSTAMP:");
    if (start >= 0)
        stable.remove(start, stable.indexOf("\r\n", start + 2) - start);
    return QCryptographicHash::hash(stable, QCryptographicHash::Sha256).left(kHashBytes).toHex();
}

// A header line with the collection's address, then "UID<TAB>ETag<TAB>hash" a line.
ReadResult read(const QString& dir, const QString& collection, State& state)
{
    state = { collection, {} };
    QFile file(pathIn(dir));
    if (!file.exists())
        return ReadResult::Missing;
    if (!file.open(QIODevice::ReadOnly))
        return ReadResult::Damaged;
    const QList<QByteArray> lines = file.readAll().split('\n');
    if (lines.size() < 3 || lines[0] != kHeader || QString::fromUtf8(lines[1]) != collection
        || !lines.last().isEmpty())
        return ReadResult::Damaged;
    for (qsizetype i = 2; i + 1 < lines.size(); ++i) {
        const QList<QByteArray> fields = lines[i].split('\t');
        if (fields.size() != 3 || fields[0].isEmpty()
            || (fields[2].size() != 2 * kHashBytes && !fields[2].isEmpty())
            || QByteArray::fromHex(fields[2]).toHex() != fields[2])
            return ReadResult::Damaged;
        state.entries[QString::fromUtf8(fields[0])] = { QString::fromUtf8(fields[1]), fields[2] };
    }
    return ReadResult::Ok;
}

bool write(const QString& dir, const State& state, QString* error)
{
    QByteArray bytes = kHeader + '\n' + state.collection.toUtf8() + '\n';
    for (const auto& [uid, entry] : state.entries)
        bytes += uid.toUtf8() + '\t' + entry.etag.toUtf8() + '\t' + entry.hash + '\n';
    QSaveFile file(pathIn(dir));
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}

State rebuilt(const QString& collection, const std::vector<publish::Resource>& resources)
{
    State state { collection, {} };
    for (const publish::Resource& resource : resources) {
        if (icalendar::isOwnUid(resource.uid) && !resource.etag.isEmpty())
            state.entries[resource.uid] = { resource.etag, {} };
    }
    return state;
}

Plan plan(const std::vector<Item>& items, State& state)
{
    using Kind = publish::Operation::Kind;
    Plan plan;
    std::map<QString, const Item*> current;
    for (const Item& item : items)
        current.emplace(item.uid, &item);
    for (auto& [uid, entry] : state.entries) {
        const auto found = current.find(uid);
        if (found == current.end()) {
            plan.operations.push_back({ Kind::Remove, uid, {}, entry.etag });
            plan.hashes.emplace_back();
        } else if (entry.hash.isEmpty()) {
            entry.hash = found->second->hash;
        }
    }
    for (const Item& item : items) {
        const auto known = state.entries.find(item.uid);
        if (known == state.entries.end())
            plan.operations.push_back({ Kind::Create, item.uid, item.body, {} });
        else if (known->second.hash != item.hash)
            plan.operations.push_back({ Kind::Replace, item.uid, item.body, known->second.etag });
        else
            continue;
        plan.hashes.push_back(item.hash);
    }
    return plan;
}

void apply(
    State& state, const publish::Operation& operation, const QByteArray& hash, const publish::Result& result)
{
    if (result.problem != publish::Problem::None)
        return;
    if (operation.kind == publish::Operation::Kind::Remove)
        state.entries.erase(operation.uid);
    else
        state.entries[operation.uid] = { result.etag, hash };
}

Address readAddress(const QString& dir)
{
    ProfileFile file;
    if (!file.load(QDir(dir).filePath(settings_file::kFileName)))
        return {};
    return { file.readString(kSection, kCollectionKey, {}), file.readString(kSection, kUserKey, {}) };
}

bool writeAddress(const QString& dir, const Address& address, const Settings& settings)
{
    const QString path = QDir(dir).filePath(settings_file::kFileName);
    ProfileFile file;
    if (!file.load(path) || file.bytes().isEmpty()) {
        if (!settings_file::write(dir, settings) || !file.load(path))
            return false;
    }
    file.writeString(kSection, kCollectionKey, address.collection);
    file.writeString(kSection, kUserKey, address.user);
    return file.save(path);
}

} // namespace publish_state
