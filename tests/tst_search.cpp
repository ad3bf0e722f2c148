#include "calendar/day_table.h"
#include "platform/cp1250.h"
#include "search/case_rules.h"
#include "search/search_match.h"

#include <QtTest>

// The two ways the program compares text without regard to case.
class TestSearch final : public QObject {
    Q_OBJECT

private slots:
    void caseRules_data();
    void caseRules();
    void byteFoldAgreesWithTheStringRule();
    void scanFindsWholeTextsOfOneField();
};

void TestSearch::caseRules_data()
{
    // "Only a to z" asks whether the haystack holds the needle; "all Czech letters" whether they are equal.
    QTest::addColumn<QString>("haystack");
    QTest::addColumn<QString>("needle");
    QTest::addColumn<bool>("asciiContains");
    QTest::addColumn<bool>("allEqual");
    QTest::newRow("plain letters") << "KONCERT v Praze"
                                   << "koncert V" << true << false;
    QTest::newRow("A to Z") << "AZ"
                            << "az" << true << true;
    QTest::newRow("Czech capitals") << "ČTVRTEK"
                                    << "čtvrtek" << false << true;
    QTest::newRow("ASCII folded, Czech exact") << "Čtvrtek"
                                               << "čTVRTEK" << false << true;
    QTest::newRow("same Czech capital") << "Čtvrtek"
                                        << "ČTVRTEK" << true << true;
    QTest::newRow("every Czech letter") << "áčďéěíňóřšťúůýž"
                                        << "ÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ" << false << true;
    QTest::newRow("more letters") << "ŘÍJEN ĽUĎOVÍT ŤÚŮ"
                                  << "říjen ľuďovít ťúů" << false << true;
    QTest::newRow("accents still count") << "Neděle"
                                         << "nedele" << false << false;
    QTest::newRow("a shorter text") << "Koncert"
                                    << "KONCERT v parku" << false << false;
    QTest::newRow("empty") << ""
                           << "" << true << true;
}

void TestSearch::caseRules()
{
    QFETCH(QString, haystack);
    QFETCH(QString, needle);
    QFETCH(bool, asciiContains);
    QFETCH(bool, allEqual);
    QCOMPARE(case_rules::containsAsciiOnly(haystack, needle), asciiContains);
    QCOMPARE(
        case_rules::equalsAsciiOnly(haystack, needle), asciiContains && haystack.size() == needle.size());
    // Folding never changes a text's length, so positions stay valid.
    QCOMPARE(case_rules::foldAsciiOnly(haystack).size(), haystack.size());
    QCOMPARE(case_rules::equalsAllLetters(haystack, needle), allEqual);
    // A longer text may hold the other without being equal to it.
    QCOMPARE(case_rules::containsAllLetters("x " + haystack + " y", needle),
        allEqual || haystack.size() > needle.size());
    QCOMPARE(case_rules::foldAllLetters(haystack) == case_rules::foldAllLetters(needle), allEqual);
    // The same on the stored bytes, whole texts only.
    QCOMPARE(case_rules::equalsAllLettersBytes(cp1250::encode(haystack), cp1250::encode(needle)), allEqual);
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
    using Field = EventRecord::Field;
    // Day rows and extra rows by turns: event, second value.
    std::vector<EventRecord> rows;
    for (const auto& [event, value2] : { std::pair { "Koncert", "žižkov" }, { "Koncert v parku", "Žižkov 3" },
             { "KONCERT", "ŽIŽKOV" }, { "", "koncert" } }) {
        EventRecord record = rows.size() % 2
            ? EventRecord::blank()
            : EventRecord::dayRow(QStringLiteral("Po"), QStringLiteral("05.01.2004"));
        record.setText(Field::Event, QString::fromUtf8(event));
        record.setText(Field::Value2, QString::fromUtf8(value2));
        rows.push_back(record);
    }
    DayTable table;
    table.replaceRecords(rows);
    using Rows = std::vector<int>;
    // A character the code page cannot hold is in no row, not even as its '?' stand-in.
    const std::tuple<Field, QString, Rows> searches[] = { { Field::Event, "koncert", { 0, 2 } },
        { Field::Value2, "ŽIŽKOV", { 0, 2 } }, { Field::Value2, "koncert", { 3 } },
        { Field::Date, "05.01.2004", { 0, 2 } }, { Field::DayName, "PO", { 0, 2 } },
        { Field::Event, "", { 3 } }, { Field::Event, QStringLiteral("Koncert\u4E00"), {} } };
    for (const auto& [field, text, found] : searches)
        QCOMPARE(search_match::rowsEqualTo(table, field, text), found);
}

QTEST_GUILESS_MAIN(TestSearch)
#include "tst_search.moc"
