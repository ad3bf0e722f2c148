#include "platform/clock.h"
#include "widgets/date_field.h"

#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>
#include <QToolButton>

// The date field: dd.mm.yyyy or empty, with a drop-down calendar.
class TestDateField : public QObject {
    Q_OBJECT

private slots:
    void init() { clock_source::setNow(QDateTime(QDate(2004, 3, 15), QTime(10, 0))); }
    void cleanup() { clock_source::setNow({}); }

    void typingReportsOnlyWholeDates_data()
    {
        // Typed over the whole text; no keys: the digits erased instead.
        QTest::addColumn<QDate>("before");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::newRow("unfinished") << QDate() << "2902200"
                                    << "29.02.200 ";
        QTest::newRow("finished") << QDate() << "29022004"
                                  << "29.02.2004";
        QTest::newRow("no such day") << QDate(2005, 1, 1) << "29022005"
                                     << "29.02.2005";
        QTest::newRow("erased") << QDate(2004, 12, 24) << ""
                                << "  .  .    ";
    }

    void typingReportsOnlyWholeDates()
    {
        QFETCH(QDate, before);
        QFETCH(QString, keys);
        QFETCH(QString, text);
        DateField field;
        field.show();
        field.setDate(before);
        QSignalSpy changed(&field, &DateField::dateChanged);
        field.lineEdit()->selectAll();
        if (keys.isEmpty())
            QTest::keyClick(field.lineEdit(), Qt::Key_Delete);
        QTest::keyClicks(field.lineEdit(), keys);
        const QDate date = QDate::fromString(text, QStringLiteral("dd.MM.yyyy"));
        // A change is reported once the text is a whole date or empty, never before.
        QCOMPARE(changed,
            date.isValid() || keys.isEmpty() ? QList<QVariantList> { { date } } : QList<QVariantList> {});
        // Leaving the field keeps the text as the user left it, for the next control
        // (a button) to judge: no earlier date comes back behind it.
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(field.lineEdit(), &out);
        QCOMPARE(field.text() + field.date().toString(), text + date.toString());
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
        QList<QToolButton*> steps = popup->findChildren<QToolButton*>();
        steps.removeIf([](QToolButton* step) { return step->toolTip().isEmpty(); });
        QStringList hints;
        for (auto* step : steps)
            hints << step->toolTip() + u'|' + step->accessibleName();
        QCOMPARE(hints,
            QStringList({ "Předchozí rok|Předchozí rok", "Předchozí měsíc|Předchozí měsíc",
                "Další měsíc|Další měsíc", "Další rok|Další rok" }));
        auto* caption = popup->findChild<QLabel*>(QStringLiteral("caption"));
        QStringList captions { caption->text() };
        for (int step : { 3, 1, 2, 0, 0 })
            QTest::mouseClick(steps[step], Qt::LeftButton), captions << caption->text();
        QCOMPARE(captions,
            QStringList(
                { "březen 2004", "březen 2005", "únor 2005", "březen 2005", "březen 2004", "březen 2003" }));
        QTest::keyClick(popup, Qt::Key_Escape);
        QTRY_VERIFY(!field.calendarPopup() && field.isEmpty());

        // A set date opens the calendar there; a pick sets the date, once, and closes it.
        QSignalSpy changed(&field, &DateField::dateChanged);
        field.setDate(QDate(2004, 6, 10));
        QTest::mouseClick(field.calendarButton(), Qt::LeftButton);
        auto* calendar = field.calendarPopup()->findChild<QCalendarWidget*>();
        QCOMPARE(calendar->selectedDate(), QDate(2004, 6, 10));
        emit calendar->activated(QDate(2004, 6, 11));
        QTRY_VERIFY(!field.calendarPopup());
        QCOMPARE(field.text(), QStringLiteral("11.06.2004"));
        // Only real changes are reported: setting the same date again, or clearing twice, is none.
        field.setDate(QDate(2004, 6, 11));
        field.setDate(QDate());
        field.clear();
        QCOMPARE(
            changed, (QList<QVariantList> { { QDate(2004, 6, 10) }, { QDate(2004, 6, 11) }, { QDate() } }));
    }
};

QTEST_MAIN(TestDateField)
#include "tst_date_field.moc"
