#include "search/case_rules.h"

#include <QtTest>

// The two ways the program compares text without regard to case.
class TestSearch final : public QObject {
    Q_OBJECT

private slots:
    void asciiOnlyFoldsJustAToZ_data();
    void asciiOnlyFoldsJustAToZ();
    void allLettersFoldsCzechToo_data();
    void allLettersFoldsCzechToo();
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
}

void TestSearch::allLettersFoldsCzechToo()
{
    QFETCH(QString, haystack);
    QFETCH(QString, needle);
    QFETCH(bool, equal);
    QCOMPARE(case_rules::equalsAllLetters(haystack, needle), equal);
    QCOMPARE(case_rules::containsAllLetters(QStringLiteral("x ") + haystack + QStringLiteral(" y"), needle),
        equal);
    QCOMPARE(case_rules::foldAllLetters(haystack) == case_rules::foldAllLetters(needle), equal);
}

QTEST_GUILESS_MAIN(TestSearch)
#include "tst_search.moc"
