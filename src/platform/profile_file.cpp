#include "platform/profile_file.h"

#include "platform/cp1250.h"

#include <QFile>
#include <QSaveFile>

#include <cstdint>
#include <limits>
#include <optional>

namespace {

// The name of a "[name]" line, or nothing when the line is not a section header.
// The name runs to the last ']', so "[a]b]" is section "a]b".
std::optional<QStringView> sectionName(QStringView line)
{
    const QStringView trimmed = line.trimmed();
    if (!trimmed.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = trimmed.lastIndexOf(u']');
    if (close < 1)
        return std::nullopt;
    return trimmed.mid(1, close - 1).trimmed();
}

// The key of a "key=value" line, or nothing when the line has no '='.
// Section headers are checked by the callers first.
std::optional<QStringView> keyName(QStringView line)
{
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0)
        return std::nullopt;
    return line.left(equals).trimmed();
}

QStringView rawValue(QStringView line)
{
    return line.mid(line.indexOf(u'=') + 1).trimmed();
}

QStringView unquoted(QStringView value)
{
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == u'"' || first == u'\'') && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

bool sameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// Hex gives a 32-bit pattern (colours are stored as 0x80000013 as well as
// -2147483629); decimal must fit an int as written.
std::optional<int> parseInt(QStringView text)
{
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'+' || text.front() == u'-')) {
        negative = text.front() == u'-';
        text = text.mid(1);
    }

    int base = 10;
    if (text.startsWith(u'$')) {
        base = 16;
        text = text.mid(1);
    } else if (text.startsWith(u"0x") || text.startsWith(u"0X")) {
        base = 16;
        text = text.mid(2);
    }
    if (text.isEmpty())
        return std::nullopt;

    if (base == 16) {
        std::uint32_t value = 0;
        for (QChar c : text) {
            const int digit = hexDigit(c);
            if (digit < 0 || value > 0x0FFFFFFFu)
                return std::nullopt;
            value = value << 4 | std::uint32_t(digit);
        }
        if (negative)
            value = 0u - value;
        return static_cast<std::int32_t>(value);
    }

    const std::int64_t limit = negative ? -std::int64_t(std::numeric_limits<int>::min())
                                        : std::int64_t(std::numeric_limits<int>::max());
    std::int64_t value = 0;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < u'0' || u > u'9')
            return std::nullopt;
        value = value * 10 + (u - u'0');
        if (value > limit)
            return std::nullopt;
    }
    return static_cast<int>(negative ? -value : value);
}

} // namespace

bool ProfileFile::load(const QString& path)
{
    m_lines.clear();
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    setBytes(data);
    return true;
}

void ProfileFile::setBytes(const QByteArray& bytes)
{
    m_lines.clear();
    const QString text = cp1250::decode(bytes);
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        m_lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < size && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    // A last line without a line end is still a line.
    if (start < size)
        m_lines.append(text.mid(start));
}

QByteArray ProfileFile::bytes() const
{
    QByteArray result;
    for (const QString& line : m_lines) {
        result += cp1250::encode(line);
        result += "\r\n";
    }
    return result;
}

bool ProfileFile::save(const QString& path) const
{
    const QByteArray data = bytes();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(data) != data.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

int ProfileFile::findSection(const QString& section) const
{
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const auto name = sectionName(m_lines.at(i));
        if (name && sameName(*name, section))
            return int(i);
    }
    return -1;
}

int ProfileFile::findKey(int sectionLine, const QString& key) const
{
    for (qsizetype i = sectionLine + 1; i < m_lines.size(); ++i) {
        const QString& line = m_lines.at(i);
        if (sectionName(line))
            break;
        const auto name = keyName(line);
        if (name && sameName(*name, key))
            return int(i);
    }
    return -1;
}

bool ProfileFile::hasKey(const QString& section, const QString& key) const
{
    const int sectionLine = findSection(section);
    return sectionLine >= 0 && findKey(sectionLine, key) >= 0;
}

QString ProfileFile::readString(const QString& section, const QString& key, const QString& fallback) const
{
    const int sectionLine = findSection(section);
    if (sectionLine < 0)
        return fallback;
    const int keyLine = findKey(sectionLine, key);
    if (keyLine < 0)
        return fallback;
    return unquoted(rawValue(m_lines.at(keyLine))).toString();
}

int ProfileFile::readInt(const QString& section, const QString& key, int fallback) const
{
    const int sectionLine = findSection(section);
    if (sectionLine < 0)
        return fallback;
    const int keyLine = findKey(sectionLine, key);
    if (keyLine < 0)
        return fallback;
    return parseInt(unquoted(rawValue(m_lines.at(keyLine))).trimmed()).value_or(fallback);
}

void ProfileFile::writeString(const QString& section, const QString& key, const QString& text)
{
    // A line break inside a value would end the line and turn the rest into a key
    // of its own; it is stored as a blank instead.
    QString value = text;
    value.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const int sectionLine = findSection(section);
    if (sectionLine < 0) {
        m_lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
        m_lines.append(key + QLatin1Char('=') + value);
        return;
    }

    const int keyLine = findKey(sectionLine, key);
    if (keyLine >= 0) {
        // Keep the key's spelling from the file; only the value changes.
        const QString written = keyName(m_lines.at(keyLine))->toString();
        m_lines[keyLine] = written + QLatin1Char('=') + value;
        return;
    }

    // After the section's last non-blank line, so blank lines that separate
    // it from the next section stay where they are.
    qsizetype last = sectionLine;
    for (qsizetype i = sectionLine + 1; i < m_lines.size(); ++i) {
        if (sectionName(m_lines.at(i)))
            break;
        if (!m_lines.at(i).trimmed().isEmpty())
            last = i;
    }
    m_lines.insert(last + 1, key + QLatin1Char('=') + value);
}
