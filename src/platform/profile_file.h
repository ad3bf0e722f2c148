#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// An INI file read and written the way the Windows profile-file service does it:
// lines end at CR, LF or both and are trimmed; "[name]" runs to the last ']';
// the first '=' splits key and value, both trimmed; one pair of matching quotes
// around a value is removed; section and key names match without regard to case;
// the first matching section and key win. Writing a key replaces its value in
// place and keeps every other line byte for byte; a new key goes at the end of
// its section, a new section at the end of the file. Lines are written with CR LF.
// The file's bytes are Windows-1250.
class ProfileFile final {
public:
    ProfileFile() = default;

    // Replaces the contents with the file's lines. A missing file reads as empty
    // and succeeds; a file that exists but cannot be read returns false.
    bool load(const QString& path);
    void setBytes(const QByteArray& bytes);

    QByteArray bytes() const;
    // Writes atomically: a failed save leaves the previous file whole.
    bool save(const QString& path) const;

    bool hasKey(const QString& section, const QString& key) const;
    QString readString(const QString& section, const QString& key, const QString& fallback) const;
    // Optional sign, then decimal digits, or hex after "$" or "0x"; the whole
    // value must be a number, otherwise (or when the key is missing) the fallback.
    int readInt(const QString& section, const QString& key, int fallback) const;
    void writeString(const QString& section, const QString& key, const QString& value);

private:
    int findSection(const QString& section) const;
    int findKey(int sectionLine, const QString& key) const;

    QStringList m_lines;
};
