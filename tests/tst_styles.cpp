#include "app/main_window.h"
#include "platform/cp1250.h"
#include "recording_messenger.h"
#include "settings/column_page.h"
#include "settings/font_picker.h"
#include "settings/sample_rows.h"
#include "settings/settings_dialog.h"
#include "settings/style_pages.h"
#include "settings/style_picker.h"
#include "test_files.h"
#include "widgets/system_colors.h"
#include "window_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
using fixture::child;
using fixture::click;

namespace {

// Answers the colour dialog as a user would: the next colour, or a cancel.
class ScriptedChooser final : public ColourChooser {
public:
    std::optional<QColor> choose(const QColor& initial, QWidget*) override
    {
        offered << initial;
        return answers.isEmpty() ? std::nullopt : answers.takeFirst();
    }
    QList<std::optional<QColor>> answers;
    QList<QColor> offered;
};

// Every item a colour and face of its own, so a preview row tells which item drew it.
Settings distinctLooks()
{
    Settings s;
    const QStringList faces = QFontDatabase::families();
    for (int k = 0; k < Settings::kItemCount; ++k) {
        RowItem& item = s.items[size_t(k)];
        item.rowColour = colour_code::rgb(10 + 40 * k, 200 - 30 * k, 5 * k);
        item.fontColour = colour_code::rgb(255 - k, k, 128);
        item.font = faces.value(k % faces.size());
        item.bold = k % 2 == 0;
        item.italic = k >= 3;
        item.underline = k == 5 || k == 1;
    }
    return s;
}

QVariant cell(SamplePreview* preview, int row, int column, int role = Qt::DisplayRole)
{
    const SamplePreviewModel& model = preview->model();
    return model.data(model.index(row, column), role);
}

QStringList headerTitles(const QAbstractItemModel& model)
{
    QStringList titles;
    for (int k = 0; k < model.columnCount(); ++k)
        titles << model.headerData(k, Qt::Horizontal, Qt::DisplayRole).toString();
    return titles;
}

// A check box's box, not its caption.
void tick(QWidget* parent, const QString& name)
{
    QTest::mouseClick(child<QCheckBox>(parent, name), Qt::LeftButton, {}, QPoint(8, 10));
}

} // namespace

class TestStyles final : public QObject {
    Q_OBJECT

private slots:
    void previewsDrawEachRowInItsKind_data();
    void previewsDrawEachRowInItsKind();
    void swatchesAskForAColourAndDefaultsApply();
    void pickersSetTheirKindAtOnce();
    void columnPageHoldsCountTitlesAndWidths();

    // The pages inside the settings dialog, over the main window.
    void init();
    void cleanup() { m_window.reset(); }
    void changesReachTheListOnlyOnOk();

private:
    void openWindow() { QVERIFY((m_window = fixture::openWindow(m_dir->path(), m_messenger))); }
    QString ini() const { return cp1250::decode(test_files::readRaw(m_dir->filePath(u"nastaveni.ini"_s))); }
    QList<int> listWidths() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    RecordingMessenger m_messenger;
    std::unique_ptr<TForm1> m_window;
};

void TestStyles::previewsDrawEachRowInItsKind_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("names");
    QTest::newRow("0") << u"0"_s << u"Čtvrtek Pátek Sobota Neděle Pondělí Úterý Středa"_s;
    QTest::newRow("3") << u"3"_s << u"čt pá so ne po út st"_s;
    QTest::newRow("unknown format") << u"7"_s << u"Čt Pá So Ne Po Út St"_s;
}

void TestStyles::previewsDrawEachRowInItsKind()
{
    QFETCH(QString, format);
    QFETCH(QString, names);
    Settings working = distinctLooks();
    working.format = format;
    ColourPage colours(working);
    DisplayPage display(working);
    ColumnPage columns(working, m_messenger);
    // Row 2 is a Saturday in every case of its name, row 5 the sample holiday, and row 6
    // the sample event although it stands at an even position.
    const int kinds[] = { 0, 1, 2, 3, 0, 4, 5 };
    for (StylePage* page : std::initializer_list<StylePage*> { &colours, &display, &columns }) {
        SamplePreview* preview = page->preview();
        QStringList shown;
        // The colour page shows colours and faces only; the others the styles too.
        const bool styled = page != &colours;
        for (int row = 0; row < sample_rows::kCount; ++row) {
            shown << cell(preview, row, 0).toString();
            const RowItem& item = working.items[size_t(kinds[row])];
            const QFont font = cell(preview, row, 0, Qt::FontRole).value<QFont>();
            QCOMPARE(QList<QVariant>({ cell(preview, row, 3).toString().isEmpty(),
                         cell(preview, row, 1, Qt::BackgroundRole).value<QColor>(),
                         cell(preview, row, 1, Qt::ForegroundRole).value<QColor>(), font.family(),
                         font.bold(), font.italic(), font.underline() }),
                QList<QVariant>({ row != 6, system_colors::resolve(item.rowColour),
                    system_colors::resolve(item.fontColour), item.font, styled && item.bold,
                    styled && item.italic, styled && item.underline }));
        }
        QCOMPARE(shown.join(u' '), names);
    }
}

void TestStyles::swatchesAskForAColourAndDefaultsApply()
{
    Settings working = distinctLooks();
    ColourPage page(working);
    ScriptedChooser chooser;
    page.setColourChooser(&chooser);
    auto* background = child<ColourSwatch>(&page, u"p3"_s);
    QCOMPARE(background->toolTip(), u"Kliknutím zvolíte barvu"_s);
    // Confirmed: the swatch, the working copy and the preview take the colour; cancelled: nothing.
    chooser.answers = { QColor(1, 2, 3), std::nullopt };
    const QColor before = background->colour();
    click(&page, u"p3"_s);
    click(&page, u"t5"_s);
    QCOMPARE(
        QList<QVariant>({ chooser.offered.value(0), working.items[2].rowColour, background->colour(),
            cell(page.preview(), 2, 0, Qt::BackgroundRole).value<QColor>(), working.items[4].fontColour }),
        QList<QVariant>({ before, 1 + 2 * 256 + 3 * 65536, QColor(1, 2, 3), QColor(1, 2, 3),
            distinctLooks().items[4].fontColour }));

    // "Výchozí": teal for Saturdays (not the first run's green), the scheme colours by index, black text.
    QList<std::int32_t> colours;
    for (int k = 1; k <= Settings::kItemCount; ++k) {
        click(&page, u"vychozip%1"_s.arg(k));
        click(&page, u"vychozit%1"_s.arg(k));
        colours << working.items[size_t(k - 1)].rowColour << working.items[size_t(k - 1)].fontColour;
    }
    QCOMPARE(colours,
        QList<std::int32_t>(
            { 12632256, 0, -2147483629, 0, 8421376, 0, -2147483645, 0, 7731711, 0, 7122156, 0 }));
    QVERIFY(background->colour() == QColor(0, 128, 128)
        && cell(page.preview(), 2, 0, Qt::BackgroundRole).value<QColor>() == QColor(0, 128, 128));
    // Everything else of the items is left alone.
    QVERIFY(working.items[1].font == distinctLooks().items[1].font && working.items[1].underline);
}

void TestStyles::pickersSetTheirKindAtOnce()
{
    const QStringList families = QFontDatabase::families();
    QVERIFY(families.size() >= 3);
    Settings working;
    working.items[3].italic = true;
    working.items[5].font = families[1];
    working.items[2].bold = working.items[2].underline = true;
    DisplayPage page(working);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    // The style picker shows its kind's flags and sets each at once.
    QVERIFY(fixture::onModal<Tstyl>(
        [](Tstyl& picker) {
            QStringList boxes { picker.windowTitle() + u'|' + picker.sample()->text() };
            for (const QCheckBox* box : picker.findChildren<QCheckBox*>())
                boxes << box->objectName() + u' ' + box->text() + (box->isChecked() ? u"+"_s : QString());
            QCOMPARE(boxes.join(u'|'),
                u"Styl písma|Styl písma|CheckBox1 Tučné|CheckBox2 Kurzíva+|CheckBox3 Podtržené"_s);
            for (const QString name : { u"CheckBox1"_s, u"CheckBox2"_s, u"CheckBox3"_s })
                tick(&picker, name);
            const QFont sample = picker.sample()->font();
            QVERIFY(sample.bold() && !sample.italic() && sample.underline());
        },
        [&] { click(&page, u"styl4"_s); }));
    // Closing the picker repainted the preview: the Sunday row is bold now.
    QVERIFY(working.items[3].bold && !working.items[3].italic && working.items[3].underline
        && cell(page.preview(), 3, 0, Qt::FontRole).value<QFont>().bold());

    // The font picker marks the kind's face; a pick sets the face at once.
    QVERIFY(fixture::onModal<Tpismo>(
        [&](Tpismo& picker) {
            QCOMPARE(picker.windowTitle() + u'|' + picker.sample()->text(), u"Písmo|Písmo"_s);
            QCOMPARE(picker.fonts()->currentIndex(), 1);
            picker.fonts()->setFocus();
            QTest::keyClick(picker.fonts(), Qt::Key_Down);
            QCOMPARE(picker.sample()->font().family(), families[2]);
        },
        [&] { click(&page, u"pismo6"_s); }));
    QCOMPARE(working.items[5].font + cell(page.preview(), 6, 0, Qt::FontRole).value<QFont>().family(),
        families[2].repeated(2));

    // "Výchozí" restores the face and clears the styles of its kind only.
    click(&page, u"vychozipismo6"_s);
    click(&page, u"vychozistyl4"_s);
    QCOMPARE(working.items[5].font, u"MS Sans Serif"_s);
    QVERIFY(!working.items[3].bold && !working.items[3].underline && working.items[2].bold
        && working.items[2].underline);
    QVERIFY(!cell(page.preview(), 3, 0, Qt::FontRole).value<QFont>().bold());
}

void TestStyles::columnPageHoldsCountTitlesAndWidths()
{
    Settings working;
    working.pocets = u"6"_s;
    working.items[4].title = u"Místo"_s;
    working.items[4].width = u"120"_s;
    ColumnPage page(working, m_messenger);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    // Per click: the count stored and shown, the column rows shown, the preview's columns, the message.
    QStringList steps;
    for (const QString& button :
        { u"pridat"_s, u"vychozipocet"_s, u"odebrat"_s, u"pridat"_s, u"vychozipocet"_s }) {
        m_messenger.clear();
        click(&page, button);
        int shown = 0;
        for (int k = 1; k <= 6; ++k)
            shown += child<QLineEdit>(&page, u"Edit%1"_s.arg(k))->isVisible()
                + child<QSlider>(&page, u"n%1"_s.arg(k))->isVisible();
        steps << u"%1 %2 %3 %4 %5"_s.arg(working.pocets, child<QLabel>(&page, u"pocet"_s)->text())
                     .arg(shown)
                     .arg(page.preview()->model().columnCount())
                     .arg(fixture::described(m_messenger).join(u'/'));
    }
    const QString atMost = u"6 6 12 6 Information|Informace|Maximální počet je 6"_s;
    const QString atLeast = u"4 4 8 4 Information|Informace|Minimální počet je 4"_s;
    QCOMPARE(steps, QStringList({ atMost, u"4 4 8 4 "_s, atLeast, u"5 5 10 5 "_s, atLeast }));
    // The working copy takes a title as typed, the preview when the field is left; a
    // character the settings file cannot hold is refused.
    auto* edit = child<QLineEdit>(&page, u"Edit2"_s);
    edit->setFocus();
    edit->selectAll();
    fixture::typeText(edit, u"K€→"_s);
    QCOMPARE(working.items[1].title + u'|' + headerTitles(page.preview()->model()).value(1), u"K€|Datum"_s);
    QTest::keyClick(edit, Qt::Key_Tab);
    // Column 5 comes back with its own title and width; widths are held where the sliders put them.
    click(&page, u"pridat"_s);
    child<QSlider>(&page, u"n3"_s)->setValue(250);
    QHeaderView* header = page.preview()->view()->horizontalHeader();
    QCOMPARE(headerTitles(page.preview()->model()).join(u' '), u"Den K€ Hod. Akce Místo"_s);
    QCOMPARE(QList<int>({ header->sectionSize(0), header->sectionSize(2), header->sectionSize(4) }),
        QList<int>({ 60, 250, 120 }));
    // Widths stay within 20 ... 300; "Výchozí" sets the column's own.
    auto* slider = child<QSlider>(&page, u"n4"_s);
    slider->setValue(1000);
    QString widths = working.items[3].width;
    slider->setValue(3);
    widths += u' ' + working.items[3].width + u' ' + child<QLabel>(&page, u"sirka4"_s)->text();
    click(&page, u"vychozin4"_s);
    QCOMPARE(widths + u' ' + working.items[3].width + u' ' + QString::number(header->sectionSize(3)),
        u"300 20 20 210 210"_s);
}

// ---- inside the settings dialog ----------------------------------------------

void TestStyles::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_messenger.clear();
}

QList<int> TestStyles::listWidths() const
{
    QList<int> widths;
    for (int k = 0; k < m_window->model().columnCount(); ++k)
        widths << m_window->listView()->horizontalHeader()->sectionSize(k);
    return widths;
}

void TestStyles::changesReachTheListOnlyOnOk()
{
    // Hand-written values: widths outside the range, a title longer than one can type.
    const QString title = u"Program večera a představení"_s; // 28 characters
    openWindow();
    m_window->close();
    m_window.reset();
    const QString text = ini()
                             .replace(u"Delka sloupce=210\r\n"_s, u"Delka sloupce=500\r\n"_s)
                             .replace(u"Delka sloupce=90\r\n"_s, u"Delka sloupce=7\r\n"_s)
                             .replace(u"Název sloupce=Akce\r\n"_s, u"Název sloupce="_s + title + u"\r\n"_s);
    QVERIFY(test_files::writeRaw(m_dir->filePath(u"nastaveni.ini"_s), cp1250::encode(text)));
    openWindow();
    // They are drawn and shown at the nearest limit and stay as written until an "Ok".
    const Settings before = m_window->settings();
    const QList<int> widths = listWidths();
    QCOMPARE(widths.mid(1, 3), QList<int>({ 20, 60, 300 }));
    QCOMPARE(before.items[3].width + before.items[1].width, u"5007"_s);
    QStringList whileRebuilt;
    const auto note = [&] { whileRebuilt << m_window->state().stavtimeru7; };
    connect(&m_window->model(), &QAbstractItemModel::columnsAboutToBeRemoved, this, note);
    connect(&m_window->model(), &QAbstractItemModel::columnsAboutToBeInserted, this, note);
    for (const bool ok : { false, true }) {
        m_window->selectRow(0);
        QVERIFY(fixture::onModal<Tnastav>(
            [&](Tnastav& dialog) {
                auto* columns = static_cast<StylePage*>(dialog.page(3));
                QCOMPARE(child<QLabel>(columns, u"sirka4"_s)->text() + u' '
                        + QString::number(child<QSlider>(columns, u"n2"_s)->value()),
                    u"300 20"_s);
                if (ok) {
                    auto* colours = static_cast<ColourPage*>(dialog.page(1));
                    ScriptedChooser chooser;
                    chooser.answers = { QColor(10, 20, 30), QColor(1, 1, 1) };
                    colours->setColourChooser(&chooser);
                    click(colours, u"p1"_s);
                    click(colours, u"t1"_s);
                    QVERIFY(fixture::onModal<Tstyl>([](Tstyl& picker) { tick(&picker, u"CheckBox2"_s); },
                        [&] { click(dialog.page(2), u"styl1"_s); }));
                    click(columns, u"pridat"_s);
                    click(columns, u"pridat"_s);
                    child<QSlider>(columns, u"n3"_s)->setValue(80);
                    child<QSlider>(columns, u"n5"_s)->setValue(44);
                    child<QLineEdit>(columns, u"Edit6"_s)->setText(u"Cena"_s);
                    // Typing cannot lengthen a long title; a short one grows to 20 characters and no further.
                    for (const QString name : { u"Edit4"_s, u"Edit1"_s }) {
                        auto* edit = child<QLineEdit>(columns, name);
                        edit->setFocus();
                        edit->end(false);
                        QTest::keyClicks(edit, QString(30, u'n'));
                    }
                    return click(&dialog, u"Button53"_s);
                }
                // The user picks format 3 and switches the grid lines on: every preview follows at once.
                auto* format = child<QComboBox>(&dialog, u"ComboBox1"_s);
                format->setFocus();
                QTest::keyClick(format, Qt::Key_End);
                QTest::mouseClick(child<QLabel>(&dialog, u"mrizkatext"_s), Qt::LeftButton);
                for (int index = 1; index <= 3; ++index) {
                    SamplePreview* preview = static_cast<StylePage*>(dialog.page(index))->preview();
                    QVERIFY(dialog.working().mrizka && cell(preview, 2, 0).toString() == u"so"
                        && preview->view()->showGrid());
                }
                // "Výchozí nastavení": every page shows the defaults at once, with the first run's green for
                // Saturdays, not the colour page's own "Výchozí" teal; "Zrušit" still discards them.
                click(&dialog, u"vychozinastaveni"_s);
                QVERIFY(dialog.working().items == Settings().items);
                QCOMPARE(child<QLineEdit>(columns, u"Edit4"_s)->text()
                        + child<QLabel>(columns, u"sirka2"_s)->text()
                        + QString::number(child<QSlider>(columns, u"n4"_s)->value()),
                    u"Akce90210"_s);
                QCOMPARE(child<ColourSwatch>(dialog.page(1), u"p3"_s)->colour(), QColor(0, 255, 108));
            },
            [&] { fixture::clickToolButton(*m_window, "ToolButton7"); }));
        // Row 4 (Monday 5 January 2004) is an even row: the list draws it in item 1's look.
        const QModelIndex even = m_window->model().index(4, 0);
        QCOMPARE(QList<QVariant>({ even.data(Qt::BackgroundRole).value<QColor>(),
                     even.data(Qt::ForegroundRole).value<QColor>(),
                     even.data(Qt::FontRole).value<QFont>().italic() }),
            QList<QVariant>({ ok ? QColor(10, 20, 30) : QColor(192, 192, 192),
                ok ? QColor(1, 1, 1) : QColor(Qt::black), ok }));
        QVERIFY(ok || (m_window->settings() == before && listWidths() == widths && whileRebuilt.isEmpty()));
    }
    // Four columns went one by one and six came at once while the column layout was suspended;
    // then it resumed.
    const QString grown = u"Den"_s + QString(17, u'n');
    QCOMPARE(whileRebuilt << m_window->state().stavtimeru7, QStringList(5, u"OFF"_s) << u"ON"_s);
    QCOMPARE(headerTitles(m_window->model()),
        QStringList({ grown, u"Datum"_s, u"Hod."_s, title, u"1"_s, u"Cena"_s }));
    QCOMPARE(listWidths().mid(0, 3) + listWidths().mid(4, 1), QList<int>({ 60, 20, 80, 44 }));
    QCOMPARE(m_messenger.texts(), QStringList { u"Maximální počet je 6"_s });
    m_window->close();
    const QString stored = ini();
    QVERIFY(stored.contains(u"[1. položka]\r\nTučné=0\r\nKurzíva=1\r\nPodtržené=0\r\nPísmo="_s
        + before.items[0].font + u"\r\nBarva řádku=%1\r\n"_s.arg(10 + 20 * 256 + 30 * 65536)));
    for (const QString& line : { u"Počet sloupců=6"_s, u"Delka sloupce=44"_s, u"Delka sloupce=300"_s,
             u"Delka sloupce=20"_s, u"Název sloupce="_s + grown, u"Název sloupce="_s + title })
        QVERIFY2(stored.contains(line + u"\r\n"_s), qPrintable(line));
}

QTEST_MAIN(TestStyles)
#include "tst_styles.moc"
