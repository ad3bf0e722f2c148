#include "platform/clock.h"
#include "widgets/date_field.h"

#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

class TestDateField : public QObject {
    Q_OBJECT

private slots:
    void init() { clock_source::setNow(QDateTime(QDate(2004, 3, 15), QTime(10, 0))); }
    void cleanup() { clock_source::setNow({}); }

    void startsEmpty()
    {
        DateField field;
        QCOMPARE(field.text(), QStringLiteral("  .  .    "));
        QVERIFY(field.isEmpty());
        QVERIFY(!field.date().isValid());
    }

    void setDateShowsTextAndReportsOnlyRealChanges()
    {
        DateField field;
        QSignalSpy changed(&field, &DateField::dateChanged);
        field.setDate(QDate(2004, 3, 5));
        QCOMPARE(field.text(), QStringLiteral("05.03.2004"));
        QCOMPARE(field.date(), QDate(2004, 3, 5));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toDate(), QDate(2004, 3, 5));

        field.setDate(QDate(2004, 3, 5));
        QCOMPARE(changed.count(), 1);

        field.setDate(QDate());
        QVERIFY(field.isEmpty());
        QCOMPARE(changed.count(), 2);
        QVERIFY(!changed.at(1).at(0).toDate().isValid());

        field.clear();
        QCOMPARE(changed.count(), 2);
    }

    void typingReportsOnlyTheCompleteDate()
    {
        DateField field;
        field.show();
        field.lineEdit()->setFocus();
        field.lineEdit()->setCursorPosition(0);
        QSignalSpy changed(&field, &DateField::dateChanged);
        QTest::keyClicks(field.lineEdit(), QStringLiteral("2902200"));
        QCOMPARE(changed.count(), 0);
        QVERIFY(!field.date().isValid());
        QCOMPARE(field.text(), QStringLiteral("29.02.200 "));
        QTest::keyClicks(field.lineEdit(), QStringLiteral("4"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toDate(), QDate(2004, 2, 29));
    }

    void invalidDatesAreNotAccepted()
    {
        DateField field;
        field.show();
        field.setDate(QDate(2005, 1, 1));
        QSignalSpy changed(&field, &DateField::dateChanged);
        field.lineEdit()->setFocus();
        field.lineEdit()->selectAll();
        QTest::keyClicks(field.lineEdit(), QStringLiteral("29022005"));
        QCOMPARE(field.text(), QStringLiteral("29.02.2005"));
        QVERIFY(!field.date().isValid());
        QCOMPARE(changed.count(), 0);

        // Leaving the field keeps the text as the user left it, for the next control
        // (a button) to judge: no earlier date comes back behind it.
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(field.lineEdit(), &out);
        QCOMPARE(field.text(), QStringLiteral("29.02.2005"));
        QVERIFY(!field.date().isValid());
        QCOMPARE(changed.count(), 0);
    }

    void erasingEveryDigitReportsTheEmptyState()
    {
        DateField field;
        field.setDate(QDate(2004, 12, 24));
        QSignalSpy changed(&field, &DateField::dateChanged);
        field.lineEdit()->selectAll();
        QTest::keyClick(field.lineEdit(), Qt::Key_Delete);
        QVERIFY(field.isEmpty());
        QCOMPARE(changed.count(), 1);
        QVERIFY(!changed.at(0).at(0).toDate().isValid());
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
        auto* calendar = popup->findChild<QCalendarWidget*>();
        QCOMPARE(calendar->selectedDate(), QDate(2004, 3, 15));

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
        const auto step = [&](const char* name) {
            for (auto* button : popup->findChildren<QToolButton*>())
                if (button->toolTip() == QString::fromUtf8(name))
                    QTest::mouseClick(button, Qt::LeftButton);
        };
        step("Další rok");
        QCOMPARE(caption->text(), QStringLiteral("březen 2005"));
        step("Předchozí měsíc");
        QCOMPARE(caption->text(), QStringLiteral("únor 2005"));
        step("Předchozí rok");
        step("Předchozí rok");
        QCOMPARE(caption->text(), QStringLiteral("únor 2003"));
        step("Další měsíc");
        QCOMPARE(caption->text(), QStringLiteral("březen 2003"));
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
