#include "platform/cp1250.h"
#include "platform/profile_file.h"

#include "test_files.h"

#include <QtTest>

#include <csignal>
#include <iconv.h>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

using test_files::readRaw;

// glibc's converter as an independent reference: the converted bytes, or a null array when refused.
QByteArray viaIconv(const char* to, const char* from, QByteArray in)
{
    const iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        qFatal("no iconv converter from %s to %s", from, to);
    char out[16], *inPtr = in.data(), *outPtr = out;
    size_t inLeft = size_t(in.size()), outLeft = sizeof out;
    const bool ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != size_t(-1) && inLeft == 0;
    iconv_close(cd);
    return ok ? QByteArray(out, outPtr - out) : QByteArray();
}

ProfileFile profileOf(QStringView text)
{
    ProfileFile profile;
    profile.setBytes(cp1250::encode(text));
    return profile;
}

QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

} // namespace

class PlatformTest : public QObject {
    Q_OBJECT

private slots:
    void cp1250();
    void profileText();
    void profileDisk();
};

void PlatformTest::cp1250()
{
    // glibc refuses the five undefined bytes; they pass through as C1 controls.
    const auto undefined
        = [](unsigned c) { return c < 256 && QByteArray("\x81\x83\x88\x90\x98").contains(char(c)); };
    for (unsigned byte = 0; byte < 256; ++byte) {
        const QByteArray raw(1, char(byte)), expected = viaIconv("UTF-8", "CP1250", raw);
        QCOMPARE(cp1250::decode(raw), undefined(byte) ? QString(QChar(byte)) : QString::fromUtf8(expected));
        QCOMPARE(cp1250::encode(cp1250::decode(raw)), raw); // every byte there and back
    }
    for (unsigned unit = 0; unit <= 0xFFFF; ++unit) {
        const QChar c { char16_t(unit) };
        if (c.isSurrogate())
            continue;
        const QByteArray bytes = viaIconv("CP1250", "UTF-8", QString(c).toUtf8());
        const int expected = undefined(unit) ? int(unit) : bytes.size() == 1 ? uchar(bytes[0]) : -1;
        if (cp1250::byteFor(c) != expected || cp1250::canEncode(QStringView(&c, 1)) != (expected >= 0))
            QFAIL(qPrintable(
                u"U+%1: got %2, expected %3"_s.arg(unit, 4, 16).arg(cp1250::byteFor(c)).arg(expected)));
    }
    // One '?' per character the code page lacks, a surrogate pair being one character.
    QVERIFY(!cp1250::canEncode(u"x😀y"_s));
    QCOMPARE(cp1250::encode(u"a中b x😀y "_s + QChar(0xD800) + u'z'), QByteArray("a?b x?y ?z"));
}

void PlatformTest::profileText()
{
    // CR, LF and CR LF each end a line, CR LF being one line end; lines are written with CR LF.
    ProfileFile profile = profileOf(
        u"k=0\n  [  Obecné  ]  \r\t Klíč \t=\t a=b c \t\r\nflag\r\n   Písmo   =  Arial "
        "\r\nVelikost=10\r\r\n; flag=x\n\n[a]b]\r\nk=1\r\nK=2\r\n[b]\r\n\r\n[OBECNÉ]\r\nx=3\r\n[t]"_s);
    // Trimmed, split at the first '=', names matched without regard to Czech case; a line
    // without '=' is no key; a section name runs to the last ']'; the first key and the
    // first section win; keys above the first header and in other sections do not leak in.
    const auto read = [&profile] {
        QStringList values;
        for (const QString& at :
            u"obecné/KLÍČ obecne/klíč Obecné/flag a]b/k a/k Obecné/x t/k b/b"_s.split(u' '))
            values << profile.readString(at.section(u'/', 0, 0), at.section(u'/', 1), u"-"_s);
        return values.join(u'|');
    };
    QCOMPARE(read(), u"a=b c|-|-|1|-|-|-|-"_s);
    // A key written in place keeps every other line byte for byte; a new key goes after the
    // last line of its section that is not blank, a new section at the end of the file.
    profile.writeString(u"obecné"_s, u"VELIKOST"_s, u"12"_s);
    profile.writeString(u"OBECNÉ"_s, u"písmo"_s, u"Tahoma"_s);
    profile.writeString(u"Obecné"_s, u"x"_s, u"4"_s); // into the first of duplicate sections
    // Into an empty section; a line break in a value cannot smuggle in a key of its own.
    profile.writeString(u"b"_s, u"k"_s, u"v\r\nb=c\nd"_s);
    profile.writeString(u"Nová"_s, u"k"_s, u"v"_s);
    profile.writeString(u"nová"_s, u"m"_s, u"5"_s);
    QCOMPARE(profile.bytes(),
        cp1250::encode(
            u"k=0\r\n  [  Obecné  ]  \r\n\t Klíč \t=\t a=b c \t\r\nflag\r\nPísmo=Tahoma\r\n"
            "Velikost=12\r\n\r\n; flag=x\r\nx=4\r\n\r\n[a]b]\r\nk=1\r\nK=2\r\n[b]\r\nk=v  b=c d\r\n\r\n"
            "[OBECNÉ]\r\nx=3\r\n[t]\r\n[Nová]\r\nk=v\r\nm=5\r\n"_s));
    QCOMPARE(read(), u"a=b c|-|-|1|-|4|-|-"_s);

    // One pair of matching quotes is removed, after trimming.
    QStringList quoted;
    for (const QString& raw : u"\"x y\"|'x'|\" x \"|\"\"|\"\"x\"\"|\"x'|\"|x\""_s.split(u'|'))
        quoted << profileOf(u"[s]\r\nk = "_s + raw + u" \r\n"_s).readString(u"s"_s, u"k"_s, u"-"_s);
    QCOMPARE(quoted, QStringList({ "x y", "x", " x ", "", "\"x\"", "\"x'", "\"", "x\"" }));
    // Numbers are read strictly: the whole value, or else the fallback (777).
    QStringList numbers;
    const QString raws
        = u" -5 |+7|007|\"42\"|$1F|0x1f|-$10|0X80000013|2147483647|-2147483648|2147483648|-2147483649|"
          "99999999999999999999|0x100000000|12abc||-|$|0x|1 2|- 5|0x1G|$-1|--1|\u0663"_s;
    for (const QString& raw : raws.split(u'|')) {
        profile.writeString(u"s"_s, u"k"_s, raw);
        numbers << QString::number(profile.readInt(u"s"_s, u"k"_s, 777));
    }
    QCOMPARE(numbers.join(u' '),
        u"-5 7 7 42 31 31 -16 -2147483629 2147483647 -2147483648"_s + u" 777"_s.repeated(15));
}

void PlatformTest::profileDisk()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"nastavení.ini"_s);
    ProfileFile profile, loaded;
    profile.writeString(u"1. položka"_s, u"Tučné"_s, u"ano"_s);
    QVERIFY(profile.save(path) && loaded.load(path));
    QCOMPARE(readRaw(path), QByteArray("[1. polo\x9Eka]\r\nTu\xE8n\xE9=ano\r\n"));
    QCOMPARE(loaded.readString(u"1. POLOŽKA"_s, u"TUČNÉ"_s, u"-"_s), u"ano"_s);

    // A missing file loads as empty; an empty profile saves as an empty file.
    QVERIFY(loaded.load(dir.filePath(u"missing.ini"_s)) && loaded.bytes().isEmpty() && loaded.save(path));
    QCOMPARE(readRaw(path), QByteArray(""));

    // A directory cannot be loaded or saved over, nor a file written into a missing folder.
    QVERIFY(!loaded.load(dir.path()) && QDir(dir.path()).mkdir(u"target"_s));
    QVERIFY(
        !profile.save(dir.filePath(u"target"_s)) && !profile.save(dir.filePath(u"nowhere/profile.ini"_s)));

    // A save that fails midway keeps the previous file whole: the profile is larger than the
    // file size limit below (permissions would not stop root).
    QVERIFY(profile.save(path));
    profile.setBytes("[s]\r\nk=" + QByteArray(4 << 20, 'x'));
    rlimit saved {};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const rlimit limited { 1024 * 1024, saved.rlim_max };
    std::signal(SIGXFSZ, SIG_IGN); // a failed write, not the end of the test
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool written = profile.save(path);
    setrlimit(RLIMIT_FSIZE, &saved);
    QVERIFY(!written);
    QCOMPARE(readRaw(path), QByteArray("[1. polo\x9Eka]\r\nTu\xE8n\xE9=ano\r\n"));
    // Nothing is left behind by any failed save.
    QCOMPARE(entries(dir.path()), (QStringList { u"nastavení.ini"_s, u"target"_s }));
}

QTEST_GUILESS_MAIN(PlatformTest)
#include "tst_platform.moc"
