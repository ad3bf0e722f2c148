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
        QSignalSpy changed(&field, &DateField::dateChanged);
        field.setDate(QDate(2004, 3, 5));
        QCOMPARE(field.text(), QStringLiteral("05.03.2004"));
        field.setDate(QDate(2004, 3, 5));
        field.setDate(QDate());
        QVERIFY(field.isEmpty() && !field.date().isValid());
        field.clear();
        QCOMPARE(changed, (QList<QVariantList> { { QDate(2004, 3, 5) }, { QDate() } }));
    }

    void typingReportsOnlyWholeDates_data()
    {
        // Typed over the whole text; no keys: the digits erased instead.
        QTest::addColumn<QDate>("before");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<bool>("reported");
        QTest::newRow("unfinished") << QDate() << "2902200" << "29.02.200 " << QDate() << false;
        QTest::newRow("finished") << QDate() << "29022004" << "29.02.2004" << QDate(2004, 2, 29) << true;
        QTest::newRow("no such day") << QDate(2005, 1, 1) << "29022005" << "29.02.2005" << QDate() << false;
        QTest::newRow("erased") << QDate(2004, 12, 24) << "" << "  .  .    " << QDate() << true;
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
        // A change is reported once the text is a whole date or empty, never before.
        QCOMPARE(changed, reported ? QList<QVariantList> { { date } } : QList<QVariantList> {});
        // Leaving the field keeps the text as the user left it, for the next control
        // (a button) to judge: no earlier date comes back behind it.
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(field.lineEdit(), &out);
        QCOMPARE(field.text(), text);
        QCOMPARE(field.date(), date);
    }

    void calendarStepsAndPicks()
    {
        DateField field;
        field.show();
        // Alt+Down opens the calendar at today; Esc closes it and leaves the field empty.
        QSignalSpy opened(&field, &DateField::calendarOpened);
        QTest::keyClick(field.lineEdit(), Qt::Key_Down, Qt::AltModifier);
        QCOMPARE(opened.count(), 1);
        QWidget* popup = field.calendarPopup();
        QCOMPARE(popup->findChild<QCalendarWidget*>()->selectedDate(), QDate(2004, 3, 15));
        // Four steps, hinted and named alike.
        QList<QToolButton*> steps;
        for (auto* button : popup->findChildren<QToolButton*>()) {
            if (!button->toolTip().isEmpty()) {
                QCOMPARE(button->accessibleName(), button->toolTip());
                steps << button;
            }
        }
        QCOMPARE(steps.size(), 4);
        const char* hints[] = { "Předchozí rok", "Předchozí měsíc", "Další měsíc", "Další rok" };
        auto* caption = popup->findChild<QLabel*>(QStringLiteral("caption"));
        QCOMPARE(caption->text(), QStringLiteral("březen 2004"));
        const std::pair<int, const char*> clicks[]
            = { { 3, "březen 2005" }, { 1, "únor 2005" }, { 2, "březen 2005" }, { 0, "březen 2004" }, { 0, "březen 2003" } };
        for (const auto& [step, after] : clicks) {
            QCOMPARE(steps[step]->toolTip(), QString::fromUtf8(hints[step]));
            QTest::mouseClick(steps[step], Qt::LeftButton);
            QCOMPARE(caption->text(), QString::fromUtf8(after));
        }
        QTest::keyClick(popup, Qt::Key_Escape);
        QTRY_VERIFY(!field.calendarPopup());
        QVERIFY(field.isEmpty());

        // A set date opens the calendar there; a pick sets the date, once, and closes it.
        field.setDate(QDate(2004, 6, 10));
        QSignalSpy changed(&field, &DateField::dateChanged);
        QTest::mouseClick(field.calendarButton(), Qt::LeftButton);
        auto* calendar = field.calendarPopup()->findChild<QCalendarWidget*>();
        QCOMPARE(calendar->selectedDate(), QDate(2004, 6, 10));
        calendar->setSelectedDate(QDate(2004, 6, 11));
        emit calendar->activated(calendar->selectedDate());
        QCOMPARE(field.text(), QStringLiteral("11.06.2004"));
        QCOMPARE(changed.count(), 1);
        QTRY_VERIFY(!field.calendarPopup());
    }
};

QTEST_MAIN(TestDateField)
#include "tst_date_field.moc"
