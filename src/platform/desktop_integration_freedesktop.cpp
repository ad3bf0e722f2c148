#include "platform/desktop_integration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QString kAutostartName = QStringLiteral("zorivka.desktop");
// The launchers carry the installed program's desktop-file name, so that the one in
// the user's menu takes the installed entry's place instead of standing beside it.
const QString kLauncherName = QStringLiteral("cz.zorivka.Zorivka.desktop");

// A base directory from the environment as the base-directory rules want it:
// only an absolute path counts, otherwise the fallback below the home folder.
QString baseDir(const char* variable, const QString& belowHome)
{
    const QString value = qEnvironmentVariable(variable);
    if (QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    const QString home = qEnvironmentVariable("HOME");
    if (!QDir::isAbsolutePath(home))
        return {};
    return QDir::cleanPath(home + u'/' + belowHome);
}

QString configHome()
{
    return baseDir("XDG_CONFIG_HOME", QStringLiteral(".config"));
}
QString dataHome()
{
    return baseDir("XDG_DATA_HOME", QStringLiteral(".local/share"));
}

// One value of the user-dirs file: "$HOME/..." or an absolute path, in double quotes
// with shell escapes. Empty when the line is of any other form.
QString userDirValue(QByteArrayView quoted, const QString& home)
{
    if (quoted.size() < 2 || !quoted.startsWith('"') || !quoted.endsWith('"'))
        return {};
    QByteArray path;
    const QByteArrayView inner = quoted.sliced(1, quoted.size() - 2);
    for (qsizetype i = 0; i < inner.size(); ++i) {
        if (inner[i] == '\\' && i + 1 < inner.size())
            ++i;
        path += inner[i];
    }
    QString value = QString::fromUtf8(path);
    if (value == QStringLiteral("$HOME") || value.startsWith(QStringLiteral("$HOME/")))
        return home.isEmpty() ? QString() : home + value.mid(5);
    return value;
}

// The desktop folder as the session names it in its user-dirs file, or the folder
// "Desktop" in the home folder when it names none (as xdg-user-dir does; the file is
// read here because that tool breaks on a configuration home with a blank in it).
QString desktopDir()
{
    const QString home = qEnvironmentVariable("HOME");
    const QString config = configHome();
    QByteArray setting; // the last one counts, as when the file is sourced
    QFile dirs(config + QStringLiteral("/user-dirs.dirs"));
    if (!config.isEmpty() && dirs.open(QIODevice::ReadOnly)) {
        const QByteArray key = "XDG_DESKTOP_DIR=";
        for (const QByteArray& line : dirs.readAll().split('\n')) {
            const QByteArray trimmed = line.trimmed();
            if (trimmed.startsWith(key))
                setting = trimmed.mid(key.size());
        }
    }
    if (!setting.isEmpty() && setting != "\"\"")
        return userDirValue(setting, home);
    return home.isEmpty() ? QString() : home + QStringLiteral("/Desktop");
}

// A folder a launcher may go into: named, absolute and not the filesystem's root
// (an unset home must never put files there).
bool usableFolder(const QString& dir)
{
    return QDir::isAbsolutePath(dir) && !QDir(dir).isRoot();
}

// A value of the string type: backslash and the control characters escaped, and a
// leading blank kept.
QString escapeValue(const QString& text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\\')
            out += QStringLiteral("\\\\");
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c == u'\t')
            out += QStringLiteral("\\t");
        else if (c == u'\r')
            out += QStringLiteral("\\r");
        else if (c == u' ' && i == 0)
            out += QStringLiteral("\\s");
        else
            out += c;
    }
    return out;
}

// The program as one quoted argument of the Exec key: inside the quotes ", `, $
// and \ get a backslash, a percent sign is doubled (it would start a field code),
// and the whole is then escaped as any string value.
QString execArgument(const QString& path)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : path) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        if (c == u'%')
            quoted += u'%';
        quoted += c;
    }
    quoted += u'"';
    return escapeValue(quoted);
}

QByteArray desktopEntry(const QString& executablePath)
{
    const QString folder = QFileInfo(executablePath).absolutePath();
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Version=1.0\n"
                                        "Name=Zorivka\n"
                                        "Icon=cz.zorivka.Zorivka\n"
                                        "Exec=%1\n"
                                        "Path=%2\n"
                                        "Terminal=false\n"
                                        "Categories=Office;Calendar;\n")
                             .arg(execArgument(executablePath), escapeValue(folder));
    return text.toUtf8();
}

// Writes the whole entry or leaves what was there before.
bool writeEntry(const QString& path, const QByteArray& entry, QFile::Permissions permissions)
{
    if (!usableFolder(QFileInfo(path).path()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(entry) != entry.size() || !file.flush() || !file.setPermissions(permissions))
        return false;
    return file.commit();
}

constexpr QFile::Permissions kReadable = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser
    | QFile::WriteUser | QFile::ReadGroup | QFile::ReadOther;
// Desktops run a launcher on the desktop only when it is executable.
constexpr QFile::Permissions kRunnable
    = kReadable | QFile::ExeOwner | QFile::ExeUser | QFile::ExeGroup | QFile::ExeOther;

// Log-on entry and launchers as desktop entries: the autostart folder of the
// configuration home, the desktop folder and the data home's applications menu.
class FreedesktopIntegration final : public DesktopIntegration {
public:
    explicit FreedesktopIntegration(const QString& executablePath)
        : m_executablePath(QFileInfo(executablePath).absoluteFilePath())
    {
    }
    Q_DISABLE_COPY_MOVE(FreedesktopIntegration)

    AutostartResult setAutostart(bool enabled) override
    {
        // Without a configuration home the entry's place is unknown: an entry the
        // session finds elsewhere could be neither written nor removed.
        const QString config = configHome();
        if (!usableFolder(config))
            return AutostartResult::KeyNotOpened;
        const QString dir = config + QStringLiteral("/autostart");
        const QString path = QDir(dir).filePath(kAutostartName);
        bool written = false;
        if (enabled) {
            written = QDir().mkpath(dir) && writeEntry(path, desktopEntry(m_executablePath), kReadable);
        } else {
            QFile entry(path);
            written = !entry.exists() || entry.remove();
        }
        return written ? AutostartResult::Done : AutostartResult::ValueNotWritten;
    }

    bool autostartEnabled() const override
    {
        const QString config = configHome();
        return usableFolder(config)
            && QFileInfo::exists(config + QStringLiteral("/autostart/") + kAutostartName);
    }

    bool createShortcut(Place place) override
    {
        if (place == Place::Desktop) {
            // The desktop folder belongs to the session: never created here.
            const QString dir = desktopDir();
            return QFileInfo(dir).isDir()
                && writeEntry(QDir(dir).filePath(kLauncherName), desktopEntry(m_executablePath), kRunnable);
        }
        const QString data = dataHome();
        if (!usableFolder(data))
            return false;
        const QString dir = data + QStringLiteral("/applications");
        return QDir().mkpath(dir)
            && writeEntry(QDir(dir).filePath(kLauncherName), desktopEntry(m_executablePath), kReadable);
    }

private:
    const QString m_executablePath;
};

} // namespace

std::unique_ptr<DesktopIntegration> makeDesktopIntegration(const QString& executablePath)
{
    return std::make_unique<FreedesktopIntegration>(executablePath);
}
