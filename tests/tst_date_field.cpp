#include "platform/clock.h"
#include "widgets/date_field.h"

#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

// The date field: dd.mm.yyyy or empty, with a drop-down calendar.
class TestDateField : public QObject {
    Q_OBJECT

private slots:
    void init() { clock_source::setNow(QDateTime(QDate(2004, 3, 15), QTime(10, 0))); }
    void cleanup() { clock_source::setNow({}); }

    void setDateReportsOnlyRealChanges()
    {
        DateField field;
        QCOMPARE(field.text(), QStringLiteral("  .  .    "));
        QVERIFY(field.isEmpty() && !field.date().isValid());
        QSignalSpy changed(&field, &DateField::dateChanged);
        field.setDate(QDate(2004, 3, 5));
        QCOMPARE(field.text(), QStringLiteral("05.03.2004"));
        QCOMPARE(field.date(), QDate(2004, 3, 5));
        field.setDate(QDate(2004, 3, 5));
        field.setDate(QDate());
        QVERIFY(field.isEmpty());
        field.clear();
        QCOMPARE(changed.count(), 2);
        QCOMPARE(changed.at(0).at(0).toDate(), QDate(2004, 3, 5));
        QVERIFY(!changed.at(1).at(0).toDate().isValid());
    }

    void typingReportsOnlyWholeDates_data()
    {
        // Typed over the whole text; no keys: the digits erased instead.
        QTest::addColumn<QDate>("before");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<bool>("reported");
        QTest::newRow("unfinished") << QDate() << "2902200"
                                    << "29.02.200 " << QDate() << false;
        QTest::newRow("finished") << QDate() << "29022004"
                                  << "29.02.2004" << QDate(2004, 2, 29) << true;
        QTest::newRow("no such day") << QDate(2005, 1, 1) << "29022005"
                                     << "29.02.2005" << QDate() << false;
        QTest::newRow("erased") << QDate(2004, 12, 24) << ""
                                << "  .  .    " << QDate() << true;
    }

    void typingReportsOnlyWholeDates()
    {
        QFETCH(QDate, before);
        QFETCH(QString, keys);
        QFETCH(QString, text);
        QFETCH(QDate, date);
        QFETCH(bool, reported);
        DateField field;
        field.show();
        field.setDate(before);
        QSignalSpy changed(&field, &DateField::dateChanged);
        field.lineEdit()->setFocus();
        field.lineEdit()->selectAll();
        if (keys.isEmpty())
            QTest::keyClick(field.lineEdit(), Qt::Key_Delete);
        QTest::keyClicks(field.lineEdit(), keys);
        QCOMPARE(field.text(), text);
        QCOMPARE(field.date(), date);
        // A change is reported once the text is a whole date or empty, never before.
        QCOMPARE(changed.count(), reported ? 1 : 0);
        if (reported)
            QCOMPARE(changed.at(0).at(0).toDate(), date);
        // Leaving the field keeps the text as the user left it, for the next control
        // (a button) to judge: no earlier date comes back behind it.
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(field.lineEdit(), &out);
        QCOMPARE(field.text(), text);
        QCOMPARE(field.date(), date);
    }

    void calendarHasFourStepsAndStartsAtToday()
    {
        DateField field;
        field.show();
        QSignalSpy opened(&field, &DateField::calendarOpened);
        QTest::mouseClick(field.calendarButton(), Qt::LeftButton);
        QCOMPARE(opened.count(), 1);
        QWidget* popup = field.calendarPopup();
        QVERIFY(popup);
        QCOMPARE(popup->findChild<QCalendarWidget*>()->selectedDate(), QDate(2004, 3, 15));
        QStringList names;
        for (auto* button : popup->findChildren<QToolButton*>()) {
            if (!button->toolTip().isEmpty()) {
                QCOMPARE(button->accessibleName(), button->toolTip());
                names << button->toolTip();
            }
        }
        QCOMPARE(names, QStringList({ "Předchozí rok", "Předchozí měsíc", "Další měsíc", "Další rok" }));
        auto* caption = popup->findChild<QLabel*>(QStringLiteral("caption"));
        QCOMPARE(caption->text(), QStringLiteral("březen 2004"));
        const std::pair<int, const char*> steps[] = { { 0, "březen 2005" }, { 1, "únor 2005" },
            { 3, "únor 2004" }, { 3, "únor 2003" }, { 2, "březen 2003" } };
        const QString hints[] = { "Další rok", "Předchozí měsíc", "Další měsíc", "Předchozí rok" };
        for (const auto& [hint, after] : steps) {
            for (auto* button : popup->findChildren<QToolButton*>())
                if (button->toolTip() == hints[hint])
                    QTest::mouseClick(button, Qt::LeftButton);
            QCOMPARE(caption->text(), QString::fromUtf8(after));
        }
        QVERIFY(field.isEmpty());
    }

    void choosingFromTheCalendarSetsTheDate()
    {
        DateField field;
        field.show();
        field.setDate(QDate(2004, 6, 10));
        QSignalSpy changed(&field, &DateField::dateChanged);
        field.openCalendar();
        auto* calendar = field.calendarPopup()->findChild<QCalendarWidget*>();
        QCOMPARE(calendar->selectedDate(), QDate(2004, 6, 10));
        calendar->setSelectedDate(QDate(2004, 6, 11));
        emit calendar->activated(calendar->selectedDate());
        QCOMPARE(field.text(), QStringLiteral("11.06.2004"));
        QCOMPARE(changed.count(), 1);
        QTRY_VERIFY(!field.calendarPopup());
    }

    void keyboardOpensAndEscClosesTheCalendar()
    {
        DateField field;
        field.show();
        QSignalSpy opened(&field, &DateField::calendarOpened);
        QTest::keyClick(field.lineEdit(), Qt::Key_Down, Qt::AltModifier);
        QCOMPARE(opened.count(), 1);
        QVERIFY(field.calendarPopup());
        QTest::keyClick(field.calendarPopup(), Qt::Key_Escape);
        QTRY_VERIFY(!field.calendarPopup());
        QVERIFY(field.isEmpty());
    }
};

QTEST_MAIN(TestDateField)
#include "tst_date_field.moc"
