#include "platform/cp1250.h"
#include "platform/profile_file.h"

#include "test_files.h"

#include <QtTest>

#include <csignal>
#include <numeric>
#include <iconv.h>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

using test_files::readRaw;
using test_files::writeRaw;

// glibc's converter as an independent reference: the converted bytes, or a null array when refused.
QByteArray viaIconv(const char* to, const char* from, QByteArray in)
{
    const iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        qFatal("no iconv converter from %s to %s", from, to);
    char out[16];
    char *inPtr = in.data(), *outPtr = out;
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
    void profile_reading();
    void profile_values();
    void profile_writing();
    void profile_disk();
};

void PlatformTest::cp1250()
{
    // glibc refuses the five undefined bytes; they pass through as C1 controls.
    const auto undefined
        = [](unsigned c) { return c < 256 && QByteArray("\x81\x83\x88\x90\x98").contains(char(c)); };
    for (unsigned byte = 0; byte < 256; ++byte) {
        const QByteArray raw(1, char(byte)), expected = viaIconv("UTF-8", "CP1250", raw);
        QVERIFY2(expected.isNull() == undefined(byte), qPrintable(raw.toHex()));
        QCOMPARE(cp1250::decode(raw), undefined(byte) ? QString(QChar(byte)) : QString::fromUtf8(expected));
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
    // Whole texts: every byte there and back.
    QByteArray all(256, 0);
    std::iota(all.begin(), all.end(), char(0));
    QCOMPARE(cp1250::encode(cp1250::decode(all)), all);

    // One '?' per character the code page lacks, a surrogate pair being one character.
    const std::pair<QString, QByteArray> unencodable[]
        = { { u"a中b"_s, "a?b" }, { u"x😀y"_s, "x?y" }, { QString(QChar(0xD800)) + u'z', "?z" } };
    for (const auto& [text, encoded] : unencodable) {
        QVERIFY(!cp1250::canEncode(text));
        QCOMPARE(cp1250::encode(text), encoded);
    }
}

void PlatformTest::profile_reading()
{
    const QStringList lines = { u"[první]"_s, u"a=1"_s, u"[druhá]"_s, u"a=3"_s };
    for (const QString& lineEnd : { u"\r"_s, u"\n"_s, u"\r\n"_s }) {
        const ProfileFile profile = profileOf(lines.join(lineEnd) + lineEnd);
        QCOMPARE(profile.readString(u"druhá"_s, u"a"_s, u"-"_s), u"3"_s);
        // CR LF is one line end, not two.
        QCOMPARE(profile.bytes(), cp1250::encode(lines.join(u"\r\n"_s) + u"\r\n"_s));
    }
    ProfileFile mixed;
    mixed.setBytes("[s]\n\nx=1\r\r\ny=2");
    QCOMPARE(mixed.readString(u"s"_s, u"y"_s, u"-"_s), u"2"_s);
    QCOMPARE(mixed.bytes(), QByteArray("[s]\r\n\r\nx=1\r\n\r\ny=2\r\n"));

    const ProfileFile profile = profileOf(u"k=0\r\n  [  Obecné  ]  \r\n\t Klíč \t=\t a=b c \t\r\nflag\r\n"
                                          "; flag=x\r\n[a]b]\r\nk=1\r\nK=2\r\n[OBECNÉ]\r\nx=3\r\n[t]\r\n"_s);
    // Trimmed, split at the first '=', names matched without regard to Czech case.
    QCOMPARE(profile.readString(u"obecné"_s, u"KLÍČ"_s, u"-"_s), u"a=b c"_s);
    QVERIFY(!profile.hasKey(u"obecne"_s, u"klíč"_s));
    QVERIFY(!profile.hasKey(u"Obecné"_s, u"flag"_s)); // a line without '=' is no key
    // A section name runs to the last ']'; the first key and the first section win.
    QCOMPARE(profile.readString(u"a]b"_s, u"k"_s, u"-"_s), u"1"_s);
    QVERIFY(!profile.hasKey(u"a"_s, u"k"_s));
    QVERIFY(!profile.hasKey(u"Obecné"_s, u"x"_s));
    // Keys above the first header and in other sections do not leak in.
    QCOMPARE(profile.readInt(u"t"_s, u"k"_s, -4), -4);
}

void PlatformTest::profile_values()
{
    const std::pair<QString, QString> quoted[] = { { u"\"x y\""_s, u"x y"_s }, { u"'x'"_s, u"x"_s },
        { u"\" x \""_s, u" x "_s }, { u"\"\""_s, u""_s }, { u"\"\"x\"\""_s, u"\"x\""_s },
        { u"\"x'"_s, u"\"x'"_s }, { u"\""_s, u"\""_s }, { u"x\""_s, u"x\""_s } };
    const int no = 777; // the fallback
    const std::pair<QString, int> numbers[] = { { u" -5 "_s, -5 }, { u"+7"_s, 7 }, { u"007"_s, 7 },
        { u"\"42\""_s, 42 }, { u"$1F"_s, 31 }, { u"0x1f"_s, 31 }, { u"-$10"_s, -16 },
        { u"0X80000013"_s, -2147483629 }, { u"2147483647"_s, 2147483647 },
        { u"-2147483648"_s, -2147483647 - 1 }, { u"2147483648"_s, no }, { u"-2147483649"_s, no },
        { u"99999999999999999999"_s, no }, { u"0x100000000"_s, no }, { u"12abc"_s, no }, { u""_s, no },
        { u"-"_s, no }, { u"$"_s, no }, { u"0x"_s, no }, { u"1 2"_s, no }, { u"- 5"_s, no },
        { u"0x1G"_s, no }, { u"$-1"_s, no }, { u"--1"_s, no }, { u"\u0663"_s, no } };
    for (const auto& [raw, value] : quoted)
        QCOMPARE(profileOf(u"[s]\r\nk = "_s + raw + u" \r\n"_s).readString(u"s"_s, u"k"_s, u"-"_s), value);
    for (const auto& [raw, value] : numbers) {
        ProfileFile profile;
        profile.writeString(u"s"_s, u"k"_s, raw);
        QVERIFY2(profile.readInt(u"s"_s, u"k"_s, no) == value, qPrintable(raw));
    }
}

void PlatformTest::profile_writing()
{
    // A key written in place keeps every other line byte for byte.
    const QString original
        = u"; nastavení\r\n\r\n[Obecné]\r\n   Písmo   =  Arial \r\nVelikost=10\r\npoznámka bez rovnítka  \r\n"
          "  \t \r\n[Barvy]\r\n\tPozadí = -2147483629\r\nVelikost=99\r\n"_s;
    ProfileFile profile = profileOf(original);
    QCOMPARE(profile.bytes(), cp1250::encode(original));
    profile.writeString(u"obecné"_s, u"VELIKOST"_s, u"12"_s);
    profile.writeString(u"OBECNÉ"_s, u"písmo"_s, u"Tahoma"_s);
    profile.writeString(u"barvy"_s, u"pozadí"_s, u"0x80000005"_s);
    QCOMPARE(profile.bytes(),
        cp1250::encode(
            u"; nastavení\r\n\r\n[Obecné]\r\nPísmo=Tahoma\r\nVelikost=12\r\n"
            "poznámka bez rovnítka  \r\n  \t \r\n[Barvy]\r\nPozadí=0x80000005\r\nVelikost=99\r\n"_s));

    profile = profileOf(u"[a]\r\nx=1\r\n; c\r\n\r\n[b]\r\n\r\n[A]\r\nz=2");
    profile.writeString(u"a"_s, u"w"_s, u"3"_s); // after the section's last line that is not blank
    profile.writeString(u"b"_s, u"k"_s, u"v"_s); // into an empty section
    profile.writeString(u"A"_s, u"z"_s, u"4"_s); // into the first of duplicate sections
    profile.writeString(u"Nová"_s, u"k"_s, u"v"_s); // a new section at the end
    profile.writeString(u"nová"_s, u"m"_s, u"5"_s); // the end of the last section
    QCOMPARE(profile.bytes(),
        cp1250::encode(u"[a]\r\nx=1\r\n; c\r\nw=3\r\nz=4\r\n\r\n[b]\r\nk=v\r\n\r\n[A]\r\nz=2\r\n"
                       "[Nová]\r\nk=v\r\nm=5\r\n"_s));
    QCOMPARE(profile.readString(u"a"_s, u"z"_s, u"-"_s), u"4"_s);
    ProfileFile empty;
    empty.writeString(u"s"_s, u"k"_s, u"v"_s);
    QCOMPARE(empty.bytes(), QByteArray("[s]\r\nk=v\r\n"));
    // A line break in a value cannot smuggle in a key of its own.
    empty.writeString(u"s"_s, u"t"_s, u"a\r\nb=c\nd"_s);
    QCOMPARE(empty.bytes(), QByteArray("[s]\r\nk=v\r\nt=a  b=c d\r\n"));
    QVERIFY(!empty.hasKey(u"s"_s, u"b"_s));
}

void PlatformTest::profile_disk()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"nastavení.ini"_s);
    ProfileFile profile;
    profile.writeString(u"1. položka"_s, u"Tučné"_s, u"ano"_s);
    QVERIFY(profile.save(path));
    QCOMPARE(readRaw(path), QByteArray("[1. polo\x9Eka]\r\nTu\xE8n\xE9=ano\r\n"));
    ProfileFile loaded;
    QVERIFY(loaded.load(path));
    QCOMPARE(loaded.readString(u"1. POLOŽKA"_s, u"TUČNÉ"_s, u"-"_s), u"ano"_s);

    // A missing file loads as empty; an empty profile saves as an empty file.
    QVERIFY(loaded.load(dir.filePath(u"missing.ini"_s)));
    QVERIFY(loaded.bytes().isEmpty() && !loaded.hasKey(u"1. položka"_s, u"Tučné"_s));
    QVERIFY(loaded.save(path));
    QCOMPARE(readRaw(path), QByteArray(""));

    // A directory cannot be loaded or saved over, and nothing is left behind.
    QVERIFY(!loaded.load(dir.path()));
    QVERIFY(QDir(dir.path()).mkdir(u"target"_s));
    QVERIFY(!profile.save(dir.filePath(u"target"_s)));
    QVERIFY(!profile.save(dir.filePath(u"nowhere/profile.ini"_s)));
    QCOMPARE(entries(dir.path()), (QStringList { u"nastavení.ini"_s, u"target"_s }));
    QVERIFY(entries(dir.filePath(u"target"_s)).isEmpty());

    // A save that fails midway keeps the previous file whole: the profile is larger than the
    // file size limit below (permissions would not stop root).
    QVERIFY(profile.save(path));
    const QByteArray previous = readRaw(path);
    profile.setBytes("[s]\r\nk=" + QByteArray(4 << 20, 'x'));
    rlimit saved {};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const rlimit limited { 1024 * 1024, saved.rlim_max };
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool written = profile.save(path);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    QVERIFY(!written);
    QCOMPARE(readRaw(path), previous);
    QCOMPARE(entries(dir.path()), (QStringList { u"nastavení.ini"_s, u"target"_s }));
}

QTEST_GUILESS_MAIN(PlatformTest)
#include "tst_platform.moc"
