#include "calendar/day_table.h"
#include "platform/cp1250.h"
#include "search/case_rules.h"
#include "search/search_match.h"

#include <QtTest>

// The two ways the program compares text without regard to case.
class TestSearch final : public QObject {
    Q_OBJECT

private slots:
    void asciiOnlyFoldsJustAToZ_data();
    void asciiOnlyFoldsJustAToZ();
    void allLettersFoldsCzechToo_data();
    void allLettersFoldsCzechToo();
    void byteFoldAgreesWithTheStringRule();
    void scanFindsWholeTextsOfOneField();
};

void TestSearch::asciiOnlyFoldsJustAToZ_data()
{
    QTest::addColumn<QString>("haystack");
    QTest::addColumn<QString>("needle");
    QTest::addColumn<bool>("contains");
    QTest::newRow("plain letters") << "KONCERT v Praze"
                                   << "koncert V" << true;
    QTest::newRow("date text") << "Akce 05.03.2004"
                               << "05.03.2004" << true;
    QTest::newRow("Czech letters keep their case") << "ČTVRTEK"
                                                   << "čtvrtek" << false;
    QTest::newRow("ASCII folded, Czech exact") << "Čtvrtek"
                                               << "čTVRTEK" << false;
    QTest::newRow("same Czech capital") << "Čtvrtek"
                                        << "ČTVRTEK" << true;
    QTest::newRow("mixed matching") << "Pátek"
                                    << "PáTEK" << true;
    QTest::newRow("empty needle") << "cokoli"
                                  << "" << true;
}

void TestSearch::asciiOnlyFoldsJustAToZ()
{
    QFETCH(QString, haystack);
    QFETCH(QString, needle);
    QFETCH(bool, contains);
    QCOMPARE(case_rules::containsAsciiOnly(haystack, needle), contains);
    QCOMPARE(case_rules::equalsAsciiOnly(haystack, needle), contains && haystack.size() == needle.size());
    // Folding never changes a text's length, so positions stay valid.
    QCOMPARE(case_rules::foldAsciiOnly(haystack).size(), haystack.size());
}

void TestSearch::allLettersFoldsCzechToo_data()
{
    QTest::addColumn<QString>("haystack");
    QTest::addColumn<QString>("needle");
    QTest::addColumn<bool>("equal");
    QTest::newRow("Czech capitals") << "ČTVRTEK"
                                    << "čtvrtek" << true;
    QTest::newRow("every Czech letter") << "áčďéěíňóřšťúůýž"
                                        << "ÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ" << true;
    QTest::newRow("accents still count") << "Neděle"
                                         << "nedele" << false;
    QTest::newRow("Sobota") << "sobota"
                            << "SOBOTA" << true;
    QTest::newRow("more letters") << "ŘÍJEN ĽUĎOVÍT ŤÚŮ"
                                  << "říjen ľuďovít ťúů" << true;
    QTest::newRow("a longer text") << "Koncert v parku"
                                   << "koncert" << false;
    QTest::newRow("a shorter text") << "Koncert"
                                    << "KONCERT v parku" << false;
    QTest::newRow("empty") << ""
                           << "" << true;
}

void TestSearch::allLettersFoldsCzechToo()
{
    QFETCH(QString, haystack);
    QFETCH(QString, needle);
    QFETCH(bool, equal);
    QCOMPARE(case_rules::equalsAllLetters(haystack, needle), equal);
    // A longer text may hold the other without being equal to it.
    if (haystack.size() <= needle.size())
        QCOMPARE(case_rules::containsAllLetters("x " + haystack + " y", needle), equal);
    QCOMPARE(case_rules::foldAllLetters(haystack) == case_rules::foldAllLetters(needle), equal);
    // The same on the stored bytes, whole texts only.
    QCOMPARE(case_rules::equalsAllLettersBytes(cp1250::encode(haystack), cp1250::encode(needle)), equal);
}

void TestSearch::byteFoldAgreesWithTheStringRule()
{
    // Every pair of bytes: equal after the byte fold exactly when their letters are
    // equal under the string rule.
    for (int a = 0; a < 256; ++a) {
        const QString left = cp1250::decode(QByteArray(1, char(a)));
        const char folded = case_rules::foldAllLettersByte(char(a));
        // The folded byte is the small letter the string rule gives, where the code page has it.
        const QString small = case_rules::foldAllLetters(left);
        if (cp1250::canEncode(small))
            QCOMPARE(cp1250::decode(QByteArray(1, folded)), small);
        for (int b = 0; b < 256; ++b) {
            const QString right = cp1250::decode(QByteArray(1, char(b)));
            const bool bytesEqual = folded == case_rules::foldAllLettersByte(char(b));
            if (bytesEqual != case_rules::equalsAllLetters(left, right))
                QFAIL(qPrintable(QStringLiteral("bytes %1 and %2").arg(a, 2, 16).arg(b, 2, 16)));
        }
    }
}

void TestSearch::scanFindsWholeTextsOfOneField()
{
    DayTable table;
    std::vector<EventRecord> rows;
    const auto add = [&](const QString& event, const QString& value2) {
        EventRecord record = rows.size() % 2
            ? EventRecord::blank()
            : EventRecord::dayRow(QStringLiteral("Po"), QStringLiteral("05.01.2004"));
        record.setText(EventRecord::Field::Event, event);
        record.setText(EventRecord::Field::Value2, value2);
        rows.push_back(record);
    };
    add(QStringLiteral("Koncert"), QStringLiteral("žižkov"));
    add(QStringLiteral("Koncert v parku"), QStringLiteral("Žižkov 3"));
    add(QStringLiteral("KONCERT"), QStringLiteral("ŽIŽKOV"));
    add(QString(), QStringLiteral("koncert"));
    table.replaceRecords(rows);

    using Field = EventRecord::Field;
    using Rows = std::vector<int>;
    QCOMPARE(search_match::rowsEqualTo(table, Field::Event, QStringLiteral("koncert")), (Rows { 0, 2 }));
    QCOMPARE(search_match::rowsEqualTo(table, Field::Value2, QStringLiteral("ŽIŽKOV")), (Rows { 0, 2 }));
    QCOMPARE(search_match::rowsEqualTo(table, Field::Value2, QStringLiteral("koncert")), (Rows { 3 }));
    QCOMPARE(search_match::rowsEqualTo(table, Field::Date, QStringLiteral("05.01.2004")), (Rows { 0, 2 }));
    QCOMPARE(search_match::rowsEqualTo(table, Field::DayName, QStringLiteral("PO")), (Rows { 0, 2 }));
    QCOMPARE(search_match::rowsEqualTo(table, Field::Event, QString()), (Rows { 3 }));
    // A character the code page cannot hold is in no row, not even as its '?' stand-in.
    QCOMPARE(search_match::rowsEqualTo(table, Field::Event, QStringLiteral("Koncert\u4E00")), Rows {});
}

QTEST_GUILESS_MAIN(TestSearch)
#include "tst_search.moc"
