#include "platform/cp1250.h"
#include "platform/profile_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <array>
#include <optional>

#include <iconv.h>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace Qt::StringLiterals;

namespace {

constexpr std::array<unsigned char, 5> undefinedBytes = { 0x81, 0x83, 0x88, 0x90, 0x98 };

bool isUndefined(unsigned byte)
{
    for (unsigned char b : undefinedBytes) {
        if (b == byte)
            return true;
    }
    return false;
}

// glibc's converter as an independent reference for the code page.
class Iconv {
public:
    Iconv(const char* to, const char* from)
        : m_cd(iconv_open(to, from))
    {
    }
    ~Iconv()
    {
        if (isValid())
            iconv_close(m_cd);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool isValid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // The converted bytes, or nothing when the input is rejected.
    std::optional<QByteArray> convert(QByteArrayView input)
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        QByteArray in = input.toByteArray();
        char out[16];
        char* inPtr = in.data();
        size_t inLeft = size_t(in.size());
        char* outPtr = out;
        size_t outLeft = sizeof(out);
        if (iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1) || inLeft != 0)
            return std::nullopt;
        return QByteArray(out, outPtr - out);
    }

private:
    iconv_t m_cd;
};

QByteArray cp(QStringView text)
{
    return cp1250::encode(text);
}

ProfileFile profileOf(QStringView text)
{
    ProfileFile profile;
    profile.setBytes(cp(text));
    return profile;
}

QByteArray readRaw(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll();
}

bool writeRaw(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class PlatformTest : public QObject {
    Q_OBJECT

private slots:
    // Code page
    void cp1250_decodeMatchesIconv();
    void cp1250_byteForMatchesIconv();
    void cp1250_everyByteRoundTrips();
    void cp1250_czechLettersAreSingleBytes();
    void cp1250_unencodable_data();
    void cp1250_unencodable();

    // Profile file: reading
    void profile_lineEnds_data();
    void profile_lineEnds();
    void profile_blankLinesAndLastLine();
    void profile_trimming();
    void profile_sectionNameRunsToLastBracket();
    void profile_namesIgnoreCase();
    void profile_firstMatchWins();
    void profile_linesWithoutEqualsAreNotKeys();
    void profile_quotes_data();
    void profile_quotes();
    void profile_readInt_data();
    void profile_readInt();
    void profile_readIntMissingKey();

    // Profile file: writing
    void profile_writeReplacesInPlace();
    void profile_writeNewKeyEndsItsSection();
    void profile_writeNewKeyIntoEmptySection();
    void profile_writeNewKeyGoesToFirstDuplicate();
    void profile_writeNewSectionAtEnd();
    void profile_emptyFileWritesNothing();

    // Profile file: disk
    void profile_czechNamesAreCp1250OnDisk();
    void profile_loadMissingFileIsEmpty();
    void profile_loadDirectoryFails();
    void profile_saveIntoMissingDirectoryFails();
    void profile_saveOverDirectoryFails();
    void profile_failedSaveKeepsPreviousFile();
};

void PlatformTest::cp1250_decodeMatchesIconv()
{
    Iconv reference("UTF-16LE", "CP1250");
    QVERIFY(reference.isValid());

    for (unsigned byte = 0; byte < 256; ++byte) {
        const char raw = char(byte);
        const QString decoded = cp1250::decode(QByteArrayView(&raw, 1));
        QCOMPARE(decoded.size(), 1);
        const auto expected = reference.convert(QByteArrayView(&raw, 1));
        if (isUndefined(byte)) {
            // Windows passes these through as C1 controls; glibc refuses them.
            QVERIFY2(!expected, qPrintable(QString::number(byte, 16)));
            QCOMPARE(decoded.at(0).unicode(), char16_t(byte));
            continue;
        }
        QVERIFY2(expected && expected->size() == 2, qPrintable(QString::number(byte, 16)));
        const char16_t unit = char16_t(uchar(expected->at(0)) | uchar(expected->at(1)) << 8);
        QCOMPARE(decoded.at(0).unicode(), unit);
    }
}

void PlatformTest::cp1250_byteForMatchesIconv()
{
    Iconv reference("CP1250", "UTF-16LE");
    QVERIFY(reference.isValid());

    for (unsigned unit = 0; unit <= 0xFFFF; ++unit) {
        if (unit >= 0xD800 && unit <= 0xDFFF)
            continue;
        int expected = -1;
        if (unit < 256 && isUndefined(unit)) {
            expected = int(unit);
        } else {
            const char utf16[2] = { char(unit & 0xFF), char(unit >> 8) };
            if (const auto converted = reference.convert(QByteArrayView(utf16, 2))) {
                QCOMPARE(converted->size(), 1);
                expected = uchar(converted->at(0));
            }
        }
        const QChar c { char16_t(unit) };
        if (cp1250::byteFor(c) != expected)
            QFAIL(qPrintable(QStringLiteral("U+%1: got %2, expected %3")
                                 .arg(unit, 4, 16, QLatin1Char('0'))
                                 .arg(cp1250::byteFor(c))
                                 .arg(expected)));
        QCOMPARE(cp1250::canEncode(QStringView(&c, 1)), expected >= 0);
    }
}

void PlatformTest::cp1250_everyByteRoundTrips()
{
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte)
        all.append(char(byte));

    const QString decoded = cp1250::decode(all);
    QCOMPARE(decoded.size(), 256);
    QVERIFY(cp1250::canEncode(decoded));
    QCOMPARE(cp1250::encode(decoded), all);
}

void PlatformTest::cp1250_czechLettersAreSingleBytes()
{
    const QString letters = QStringLiteral("áčďéěíňóřšťúůýžÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ");
    QVERIFY(cp1250::canEncode(letters));
    const QByteArray encoded = cp1250::encode(letters);
    QCOMPARE(encoded.size(), letters.size());
    for (char byte : encoded)
        QVERIFY(uchar(byte) >= 0x80);
    QCOMPARE(cp1250::decode(encoded), letters);
}

void PlatformTest::cp1250_unencodable_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("encoded");

    QTest::newRow("cjk") << QStringLiteral("a中b") << QByteArray("a?b");
    QTest::newRow("o with stroke") << QStringLiteral("ø") << QByteArray("?");
    QTest::newRow("greek") << QStringLiteral("Ωx") << QByteArray("?x");
    QTest::newRow("other c1 control") << QString(QChar(0x85)) << QByteArray("?");
    QTest::newRow("surrogate pair is one character") << QStringLiteral("x😀y") << QByteArray("x?y");
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + u'z' << QByteArray("?z");
}

void PlatformTest::cp1250_unencodable()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, encoded);

    QVERIFY(!cp1250::canEncode(text));
    QCOMPARE(cp1250::encode(text), encoded);
}

void PlatformTest::profile_lineEnds_data()
{
    QTest::addColumn<QString>("lineEnd");

    QTest::newRow("CR") << QStringLiteral("\r");
    QTest::newRow("LF") << QStringLiteral("\n");
    QTest::newRow("CR LF") << QStringLiteral("\r\n");
}

void PlatformTest::profile_lineEnds()
{
    QFETCH(QString, lineEnd);

    const QStringList lines = { u"[první]"_s, u"a=1"_s, u"b = 2"_s, u"[druhá]"_s, u"a=3"_s };
    const ProfileFile profile = profileOf(lines.join(lineEnd) + lineEnd);

    QCOMPARE(profile.readString(u"první"_s, u"a"_s, u"-"_s), u"1"_s);
    QCOMPARE(profile.readString(u"první"_s, u"b"_s, u"-"_s), u"2"_s);
    QCOMPARE(profile.readString(u"druhá"_s, u"a"_s, u"-"_s), u"3"_s);
    // CR LF is one line end, not two.
    QCOMPARE(profile.bytes(), cp(lines.join(u"\r\n"_s) + u"\r\n"_s));
}

void PlatformTest::profile_blankLinesAndLastLine()
{
    ProfileFile profile;
    profile.setBytes("[s]\n\nx=1\r\r\ny=2");
    QCOMPARE(profile.readString(u"s"_s, u"y"_s, u"-"_s), u"2"_s);
    QCOMPARE(profile.bytes(), QByteArray("[s]\r\n\r\nx=1\r\n\r\ny=2\r\n"));
}

void PlatformTest::profile_trimming()
{
    const ProfileFile profile = profileOf(u"  [  Obecné  ]  \r\n\t klíč \t=\t hodnota s mezerou \t\r\n");
    QCOMPARE(profile.readString(u"Obecné"_s, u"klíč"_s, u"-"_s), u"hodnota s mezerou"_s);
}

void PlatformTest::profile_sectionNameRunsToLastBracket()
{
    const ProfileFile profile = profileOf(u"[a]b]\r\nk=1\r\n[c] ]\r\nk=2\r\n");
    QCOMPARE(profile.readString(u"a]b"_s, u"k"_s, u"-"_s), u"1"_s);
    QCOMPARE(profile.readString(u"a"_s, u"k"_s, u"-"_s), u"-"_s);
    QCOMPARE(profile.readString(u"c]"_s, u"k"_s, u"-"_s), u"2"_s);
}

void PlatformTest::profile_namesIgnoreCase()
{
    const ProfileFile profile = profileOf(u"[1. POLOŽKA]\r\nTUČNÉ=1\r\n[obecné]\r\nŠířka=640\r\n");
    QCOMPARE(profile.readString(u"1. položka"_s, u"tučné"_s, u"-"_s), u"1"_s);
    QVERIFY(profile.hasKey(u"1. Položka"_s, u"Tučné"_s));
    QCOMPARE(profile.readInt(u"OBECNÉ"_s, u"ŠÍŘKA"_s, 0), 640);
    QVERIFY(!profile.hasKey(u"1. polozka"_s, u"tučné"_s));
}

void PlatformTest::profile_firstMatchWins()
{
    const ProfileFile profile = profileOf(u"[s]\r\na=1\r\nA=2\r\n[S]\r\na=3\r\nb=4\r\n");
    QCOMPARE(profile.readString(u"s"_s, u"a"_s, u"-"_s), u"1"_s);
    // Only the first of the duplicate sections is looked at.
    QCOMPARE(profile.readString(u"s"_s, u"b"_s, u"-"_s), u"-"_s);
    QVERIFY(!profile.hasKey(u"s"_s, u"b"_s));
}

void PlatformTest::profile_linesWithoutEqualsAreNotKeys()
{
    const ProfileFile profile = profileOf(u"k=0\r\n[s]\r\nflag\r\n; flag=x\r\nv = a=b \r\n[t]\r\n");
    QVERIFY(!profile.hasKey(u"s"_s, u"flag"_s));
    QCOMPARE(profile.readString(u"s"_s, u"flag"_s, u"-"_s), u"-"_s);
    QCOMPARE(profile.readString(u"s"_s, u"v"_s, u"-"_s), u"a=b"_s);
    // Keys above the first header and in other sections do not leak in.
    QVERIFY(!profile.hasKey(u"t"_s, u"v"_s));
    QVERIFY(!profile.hasKey(u"t"_s, u"k"_s));
}

void PlatformTest::profile_quotes_data()
{
    QTest::addColumn<QString>("raw");
    QTest::addColumn<QString>("value");

    QTest::newRow("double") << u"\"x y\""_s << u"x y"_s;
    QTest::newRow("single") << u"'x'"_s << u"x"_s;
    QTest::newRow("inner spaces kept") << u"\" x \""_s << u" x "_s;
    QTest::newRow("empty pair") << u"\"\""_s << QString();
    QTest::newRow("one pair only") << u"\"\"x\"\""_s << u"\"x\""_s;
    QTest::newRow("mismatched") << u"\"x'"_s << u"\"x'"_s;
    QTest::newRow("lone quote") << u"\""_s << u"\""_s;
    QTest::newRow("trailing only") << u"x\""_s << u"x\""_s;
}

void PlatformTest::profile_quotes()
{
    QFETCH(QString, raw);
    QFETCH(QString, value);

    const ProfileFile profile = profileOf(u"[s]\r\nk = "_s + raw + u" \r\n"_s);
    QCOMPARE(profile.readString(u"s"_s, u"k"_s, u"fallback"_s), value);
}

void PlatformTest::profile_readInt_data()
{
    QTest::addColumn<QString>("raw");
    QTest::addColumn<int>("value");

    const int fallback = 777;
    QTest::newRow("plain") << u"12"_s << 12;
    QTest::newRow("spaces and minus") << u" -5 "_s << -5;
    QTest::newRow("plus") << u"+7"_s << 7;
    QTest::newRow("dollar hex") << u"$1F"_s << 31;
    QTest::newRow("0x lower") << u"0x1f"_s << 31;
    QTest::newRow("0X colour") << u"0X80000013"_s << -2147483629;
    QTest::newRow("negative colour") << u"-2147483629"_s << -2147483629;
    QTest::newRow("all ones") << u"0xFFFFFFFF"_s << -1;
    QTest::newRow("negative hex") << u"-$10"_s << -16;
    QTest::newRow("int max") << u"2147483647"_s << 2147483647;
    QTest::newRow("int min") << u"-2147483648"_s << int(-2147483647 - 1);
    QTest::newRow("quoted") << u"\"42\""_s << 42;
    QTest::newRow("leading zeros") << u"007"_s << 7;
    QTest::newRow("above int max") << u"2147483648"_s << fallback;
    QTest::newRow("below int min") << u"-2147483649"_s << fallback;
    QTest::newRow("huge") << u"99999999999999999999"_s << fallback;
    QTest::newRow("hex above 32 bits") << u"0x100000000"_s << fallback;
    QTest::newRow("trailing letters") << u"12abc"_s << fallback;
    QTest::newRow("word") << u"true"_s << fallback;
    QTest::newRow("empty") << QString() << fallback;
    QTest::newRow("sign only") << u"-"_s << fallback;
    QTest::newRow("dollar only") << u"$"_s << fallback;
    QTest::newRow("0x only") << u"0x"_s << fallback;
    QTest::newRow("inner space") << u"1 2"_s << fallback;
    QTest::newRow("sign then space") << u"- 5"_s << fallback;
    QTest::newRow("exponent") << u"1e3"_s << fallback;
    QTest::newRow("bad hex digit") << u"0x1G"_s << fallback;
    QTest::newRow("sign after dollar") << u"$-1"_s << fallback;
    QTest::newRow("double sign") << u"--1"_s << fallback;
    QTest::newRow("arabic digit") << u"\u0663"_s << fallback;
}

void PlatformTest::profile_readInt()
{
    QFETCH(QString, raw);
    QFETCH(int, value);

    ProfileFile profile;
    profile.writeString(u"s"_s, u"k"_s, raw);
    QCOMPARE(profile.readInt(u"s"_s, u"k"_s, 777), value);
}

void PlatformTest::profile_readIntMissingKey()
{
    const ProfileFile profile = profileOf(u"[s]\r\nk=1\r\n");
    QCOMPARE(profile.readInt(u"s"_s, u"x"_s, -3), -3);
    QCOMPARE(profile.readInt(u"t"_s, u"k"_s, -4), -4);
}

void PlatformTest::profile_writeReplacesInPlace()
{
    const QString original = u"; nastavení kalendáře\r\n"
                             "\r\n"
                             "[Obecné]\r\n"
                             "   Písmo   =  Arial \r\n"
                             "Velikost=10\r\n"
                             "poznámka bez rovnítka  \r\n"
                             "  \t \r\n"
                             "[Barvy]\r\n"
                             "\tPozadí = -2147483629\r\n"
                             "Velikost=99\r\n"_s;
    ProfileFile profile;
    profile.setBytes(cp(original));
    QCOMPARE(profile.bytes(), cp(original));

    profile.writeString(u"obecné"_s, u"VELIKOST"_s, u"12"_s);
    profile.writeString(u"OBECNÉ"_s, u"písmo"_s, u"Tahoma"_s);
    profile.writeString(u"barvy"_s, u"pozadí"_s, u"0x80000005"_s);

    QString expected = original;
    expected.replace(u"   Písmo   =  Arial "_s, u"Písmo=Tahoma"_s);
    expected.replace(u"Velikost=10"_s, u"Velikost=12"_s);
    expected.replace(u"\tPozadí = -2147483629"_s, u"Pozadí=0x80000005"_s);
    QCOMPARE(profile.bytes(), cp(expected));
    QCOMPARE(profile.readInt(u"Barvy"_s, u"Velikost"_s, 0), 99);
}

void PlatformTest::profile_writeNewKeyEndsItsSection()
{
    ProfileFile profile;
    profile.setBytes("[a]\r\nx=1\r\n; end of a\r\n\r\n\r\n[b]\r\ny=2\r\n");

    profile.writeString(u"A"_s, u"z"_s, u"3"_s);
    QCOMPARE(profile.bytes(), QByteArray("[a]\r\nx=1\r\n; end of a\r\nz=3\r\n\r\n\r\n[b]\r\ny=2\r\n"));

    profile.writeString(u"b"_s, u"w"_s, u"4"_s);
    QCOMPARE(profile.bytes(), QByteArray("[a]\r\nx=1\r\n; end of a\r\nz=3\r\n\r\n\r\n[b]\r\ny=2\r\nw=4\r\n"));

    QCOMPARE(profile.readString(u"a"_s, u"z"_s, u"-"_s), u"3"_s);
    QCOMPARE(profile.readString(u"b"_s, u"w"_s, u"-"_s), u"4"_s);
}

void PlatformTest::profile_writeNewKeyIntoEmptySection()
{
    ProfileFile profile;
    profile.setBytes("[a]\r\n\r\n[b]\r\n");
    profile.writeString(u"a"_s, u"k"_s, u"v"_s);
    QCOMPARE(profile.bytes(), QByteArray("[a]\r\nk=v\r\n\r\n[b]\r\n"));
}

void PlatformTest::profile_writeNewKeyGoesToFirstDuplicate()
{
    ProfileFile profile;
    profile.setBytes("[s]\r\na=1\r\n[s]\r\nb=2\r\n");
    profile.writeString(u"s"_s, u"b"_s, u"3"_s);
    QCOMPARE(profile.bytes(), QByteArray("[s]\r\na=1\r\nb=3\r\n[s]\r\nb=2\r\n"));
    QCOMPARE(profile.readString(u"s"_s, u"b"_s, u"-"_s), u"3"_s);
}

void PlatformTest::profile_writeNewSectionAtEnd()
{
    ProfileFile profile;
    profile.setBytes("[a]\nx=1");
    profile.writeString(u"Nová"_s, u"k"_s, u"v"_s);
    QCOMPARE(profile.bytes(), cp(u"[a]\r\nx=1\r\n[Nová]\r\nk=v\r\n"));

    ProfileFile empty;
    empty.writeString(u"s"_s, u"k"_s, u"v"_s);
    QCOMPARE(empty.bytes(), QByteArray("[s]\r\nk=v\r\n"));
    QCOMPARE(empty.readString(u"s"_s, u"k"_s, u"-"_s), u"v"_s);
}

void PlatformTest::profile_emptyFileWritesNothing()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"empty.ini"_s);

    ProfileFile profile;
    profile.setBytes(QByteArray());
    QVERIFY(profile.bytes().isEmpty());
    QVERIFY(profile.save(path));
    QVERIFY(QFileInfo::exists(path));
    QCOMPARE(QFileInfo(path).size(), 0);
}

void PlatformTest::profile_czechNamesAreCp1250OnDisk()
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
    QCOMPARE(loaded.bytes(), readRaw(path));
}

void PlatformTest::profile_loadMissingFileIsEmpty()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());

    ProfileFile profile = profileOf(u"[s]\r\nk=1\r\n");
    QVERIFY(profile.load(dir.filePath(u"missing.ini"_s)));
    QVERIFY(profile.bytes().isEmpty());
    QVERIFY(!profile.hasKey(u"s"_s, u"k"_s));
}

void PlatformTest::profile_loadDirectoryFails()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());

    ProfileFile profile;
    QVERIFY(!profile.load(dir.path()));
}

void PlatformTest::profile_saveIntoMissingDirectoryFails()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());

    const ProfileFile profile = profileOf(u"[s]\r\nk=1\r\n");
    QVERIFY(!profile.save(dir.filePath(u"nowhere/profile.ini"_s)));
    QVERIFY(!QFileInfo::exists(dir.filePath(u"nowhere"_s)));
}

void PlatformTest::profile_saveOverDirectoryFails()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir(u"target"_s));
    const QString target = dir.filePath(u"target"_s);

    const ProfileFile profile = profileOf(u"[s]\r\nk=1\r\n");
    QVERIFY(!profile.save(target));
    QVERIFY(QFileInfo(target).isDir());
    // No temporary file is left behind next to it.
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        QStringList { u"target"_s });
}

void PlatformTest::profile_failedSaveKeepsPreviousFile()
{
#ifdef Q_OS_UNIX
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"profile.ini"_s);
    const QByteArray previous("[s]\r\nk=old\r\n");
    QVERIFY(writeRaw(path, previous));

    // Larger than the file size limit below, so the write fails midway
    // (a permission trick would not stop root).
    QByteArray large("[s]\r\n");
    for (int i = 0; i < 40000; ++i)
        large += "k" + QByteArray::number(i) + '=' + QByteArray(60, 'x') + "\r\n";
    ProfileFile profile;
    profile.setBytes(large);

    rlimit saved {};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit limited = saved;
    limited.rlim_cur = 1024 * 1024;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool written = profile.save(path);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(!written);
    QCOMPARE(readRaw(path), previous);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        QStringList { u"profile.ini"_s });
#else
    QSKIP("Needs a file size limit to make the write fail.");
#endif
}

QTEST_GUILESS_MAIN(PlatformTest)

#include "tst_platform.moc"
