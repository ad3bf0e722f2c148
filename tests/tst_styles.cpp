#include "app/main_window.h"
#include "calendar/row_kind.h"
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
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

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

template <typename T> T* child(const QObject* parent, const QString& name)
{
    T* found = parent->findChild<T*>(name);
    if (!found)
        qFatal("no child %s", qPrintable(name));
    return found;
}

void click(const QObject* parent, const QString& name)
{
    QTest::mouseClick(child<QAbstractButton>(parent, name), Qt::LeftButton);
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
    void columnCountStaysWithinFourToSix();
    void columnRowsSetTitlesAndWidths();

    // The pages inside the settings dialog, over the main window.
    void init();
    void cleanup() { m_window.reset(); }
    void pagesFitFollowAndTakeTheDefaults();
    void changesReachTheListOnlyOnOk();
    void handWrittenValuesStayUntilOk();

private:
    void openWindow() { QVERIFY((m_window = fixture::openWindow(m_dir->path(), m_messenger))); }
    // Opens the settings dialog on row 0 and runs `act` on it; "Zrušit" unless `act` closed it.
    void runDialog(const std::function<void(Tnastav&)>& act)
    {
        m_window->selectRow(0);
        QVERIFY(
            fixture::onModal<Tnastav>(act, [this] { fixture::clickToolButton(*m_window, "ToolButton7"); }));
    }
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
    chooser.answers = { QColor(1, 2, 3), std::nullopt, QColor(200, 100, 50) };
    const QColor before = background->colour();
    click(&page, u"p3"_s);
    click(&page, u"t5"_s);
    QCOMPARE(working.items[4].fontColour, distinctLooks().items[4].fontColour);
    click(&page, u"t5"_s);
    QCOMPARE(QList<QVariant>({ chooser.offered.value(0), working.items[2].rowColour, background->colour(),
                 cell(page.preview(), 2, 0, Qt::BackgroundRole).value<QColor>(), working.items[4].fontColour,
                 cell(page.preview(), 5, 0, Qt::ForegroundRole).value<QColor>() }),
        QList<QVariant>({ before, 1 + 2 * 256 + 3 * 65536, QColor(1, 2, 3), QColor(1, 2, 3),
            200 + 100 * 256 + 50 * 65536, QColor(200, 100, 50) }));

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
        && cell(page.preview(), 2, 0, Qt::BackgroundRole).value<QColor>() == QColor(0, 128, 128)
        && cell(page.preview(), 0, 0, Qt::ForegroundRole).value<QColor>() == QColor(Qt::black));
    // Everything else of the items is left alone.
    QVERIFY(working.items[1].font == distinctLooks().items[1].font && working.items[1].underline);
}

void TestStyles::pickersSetTheirKindAtOnce()
{
    const QStringList families = QFontDatabase::families();
    QVERIFY(families.size() >= 3 && !families.contains(u"MS Sans Serif"_s));
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
            QVERIFY(picker.sample()->font().italic() && !picker.sample()->font().bold());
            for (const QString name : { u"CheckBox1"_s, u"CheckBox2"_s, u"CheckBox3"_s })
                tick(&picker, name);
            const QFont sample = picker.sample()->font();
            QVERIFY(sample.bold() && !sample.italic() && sample.underline());
        },
        [&] { click(&page, u"styl4"_s); }));
    QCOMPARE(page.cislo(), 4);
    QVERIFY(working.items[3].bold && !working.items[3].italic && working.items[3].underline);
    // Closing the picker repainted the preview: the Sunday row is bold now.
    QVERIFY(cell(page.preview(), 3, 0, Qt::FontRole).value<QFont>().bold());

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
    QCOMPARE(page.cislo(), 6);
    QCOMPARE(working.items[5].font + cell(page.preview(), 6, 0, Qt::FontRole).value<QFont>().family(),
        families[2].repeated(2));
    // A face not installed here: nothing is marked, and closing keeps the name.
    QVERIFY(fixture::onModal<Tpismo>([](Tpismo& picker) { QCOMPARE(picker.fonts()->currentIndex(), -1); },
        [&] { click(&page, u"pismo2"_s); }));
    QCOMPARE(working.items[1].font, u"MS Sans Serif"_s);

    // "Výchozí" restores the face and clears the styles of its kind only.
    click(&page, u"vychozipismo6"_s);
    click(&page, u"vychozistyl4"_s);
    QCOMPARE(working.items[5].font, u"MS Sans Serif"_s);
    QVERIFY(!working.items[3].bold && !working.items[3].underline && working.items[2].bold
        && working.items[2].underline);
    QVERIFY(!cell(page.preview(), 3, 0, Qt::FontRole).value<QFont>().bold());
}

void TestStyles::columnCountStaysWithinFourToSix()
{
    Settings working;
    working.pocets = u"6"_s;
    ColumnPage page(working, m_messenger);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    // Per click: the count stored and shown, the column rows shown, the preview's columns, the message.
    QStringList steps;
    for (const QString button : { u"pridat"_s, u"odebrat"_s, u"odebrat"_s, u"pridat"_s, u"pridat"_s,
             u"vychozipocet"_s, u"pridat"_s, u"vychozipocet"_s, u"odebrat"_s }) {
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
    QCOMPARE(steps,
        QStringList({ u"6 6 12 6 Information|Informace|Maximální počet je 6"_s, u"5 5 10 5 "_s,
            u"4 4 8 4 Information|Informace|Minimální počet je 4"_s, u"5 5 10 5 "_s,
            u"6 6 12 6 Information|Informace|Maximální počet je 6"_s, u"4 4 8 4 "_s, u"5 5 10 5 "_s,
            u"4 4 8 4 Information|Informace|Minimální počet je 4"_s,
            u"4 4 8 4 Information|Informace|Minimální počet je 4"_s }));
}

void TestStyles::columnRowsSetTitlesAndWidths()
{
    Settings working;
    working.items[4].title = u"Místo"_s;
    working.items[4].width = u"120"_s;
    ColumnPage page(working, m_messenger);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    const SamplePreviewModel& model = page.preview()->model();
    QHeaderView* header = page.preview()->view()->horizontalHeader();
    // The working copy takes a title as typed, the preview when the field is left; a
    // character the settings file cannot hold is refused.
    auto* edit = child<QLineEdit>(&page, u"Edit2"_s);
    edit->setFocus();
    edit->selectAll();
    fixture::typeText(edit, u"K€→"_s);
    QCOMPARE(working.items[1].title + u'|' + headerTitles(model).value(1), u"K€|Datum"_s);
    QTest::keyClick(edit, Qt::Key_Tab);
    QCOMPARE(headerTitles(model).value(1), u"K€"_s);

    // Column 5 comes back with its own title and width; widths are held where the sliders put them.
    click(&page, u"pridat"_s);
    child<QSlider>(&page, u"n3"_s)->setValue(250);
    page.preview()->view()->resize(page.preview()->view()->width() - 50, page.preview()->view()->height());
    QCOMPARE(headerTitles(model).value(4), u"Místo"_s);
    QCOMPARE(QList<int>({ header->sectionSize(0), header->sectionSize(2), header->sectionSize(4) }),
        QList<int>({ 60, 250, 120 }));
    // Widths stay within 20 ... 300, shown in red; "Výchozí" sets each column's own.
    QStringList widths;
    for (int k = 1; k <= 6; ++k) {
        auto* slider = child<QSlider>(&page, u"n%1"_s.arg(k));
        slider->setValue(1000);
        widths << working.items[size_t(k - 1)].width;
        slider->setValue(3);
        widths << working.items[size_t(k - 1)].width + u' '
                + child<QLabel>(&page, u"sirka%1"_s.arg(k))->text();
        click(&page, u"vychozin%1"_s.arg(k));
        widths << working.items[size_t(k - 1)].width + u' ' + QString::number(header->sectionSize(k - 1));
    }
    QCOMPARE(widths.join(u'|'),
        u"300|20 20|60 60|300|20 20|90 90|300|20 20|60 60|300|20 20|210 210|300|20 20|29 29|"
        "300|20 20|29 0"_s);
    QCOMPARE(child<QLabel>(&page, u"sirka4"_s)->palette().color(QPalette::WindowText), QColor(Qt::red));
    QVERIFY(m_messenger.messages().isEmpty());
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

void TestStyles::pagesFitFollowAndTakeTheDefaults()
{
    openWindow();
    Settings& settings = m_window->settings();
    settings = distinctLooks();
    settings.pocets = u"6"_s;
    for (RowItem& item : settings.items)
        item.title = u"X"_s, item.width = u"60"_s;
    m_window->buildListColumns();
    m_window->applySettings();
    runDialog([&](Tnastav& dialog) {
        auto* pages = child<QTabWidget>(&dialog, u"PageControl1"_s);
        QList<SamplePreview*> previews;
        for (int index = 1; index <= 3; ++index) {
            pages->setCurrentIndex(index);
            QCoreApplication::processEvents();
            auto* page = static_cast<StylePage*>(dialog.page(index));
            QTableView* view = (previews << page->preview()).last()->view();
            // Nothing is cut off: the page needs no more than it has, the last sample row lies inside the
            // preview.
            const QRect last = view->visualRect(view->model()->index(sample_rows::kCount - 1, 0));
            QVERIFY(pages->tabText(index) == page->accessibleName()
                && page->minimumSizeHint().width() <= page->width()
                && page->minimumSizeHint().height() <= page->height()
                && view->viewport()->rect().contains(last));
        }
        // The user picks format 3 and switches the grid lines on: every preview follows at once.
        auto* format = child<QComboBox>(&dialog, u"ComboBox1"_s);
        format->setFocus();
        QTest::keyClick(format, Qt::Key_End);
        QTest::mouseClick(child<QLabel>(&dialog, u"mrizkatext"_s), Qt::LeftButton);
        for (SamplePreview* preview : previews)
            QVERIFY(dialog.working().mrizka && cell(preview, 2, 0).toString() == u"so"
                && preview->view()->showGrid());
        // Choosing a page relabels the previews from the working copy.
        dialog.working().format = u"0"_s;
        pages->setCurrentIndex(2);
        for (SamplePreview* preview : previews)
            QCOMPARE(cell(preview, 2, 0).toString(), u"Sobota"_s);

        // "Výchozí nastavení": every page shows the defaults at once, with the first run's green for
        // Saturdays, not the colour page's own "Výchozí" teal.
        click(&dialog, u"vychozinastaveni"_s);
        QVERIFY(dialog.working().items == Settings().items && dialog.working().pocets == u"4");
        auto* columns = static_cast<StylePage*>(dialog.page(3));
        QCOMPARE(child<QLabel>(columns, u"pocet"_s)->text() + child<QLineEdit>(columns, u"Edit1"_s)->text()
                + QString::number(child<QSlider>(columns, u"n4"_s)->value()),
            u"4Den210"_s);
        QVERIFY(child<QLineEdit>(columns, u"Edit5"_s)->isHidden()
            && columns->preview()->model().columnCount() == 4);
        QCOMPARE(child<ColourSwatch>(dialog.page(1), u"p3"_s)->colour(), QColor(0, 255, 108));
        click(&dialog, u"Button53"_s);
    });
    QVERIFY(m_messenger.messages().isEmpty() && settings.items == Settings().items);
    QCOMPARE(headerTitles(m_window->model()), u"Den Datum Hod. Akce"_s.split(u' '));
    QCOMPARE(listWidths().mid(0, 3), QList<int>({ 60, 90, 60 }));
}

void TestStyles::changesReachTheListOnlyOnOk()
{
    openWindow();
    const Settings before = m_window->settings();
    const QList<int> widths = listWidths();
    QStringList whileRebuilt;
    const auto note = [&] { whileRebuilt << m_window->state().stavtimeru7; };
    connect(&m_window->model(), &QAbstractItemModel::columnsAboutToBeRemoved, this, note);
    connect(&m_window->model(), &QAbstractItemModel::columnsAboutToBeInserted, this, note);
    for (const bool ok : { false, true }) {
        runDialog([&](Tnastav& dialog) {
            auto* colours = static_cast<ColourPage*>(dialog.page(1));
            ScriptedChooser chooser;
            chooser.answers = { QColor(10, 20, 30), QColor(1, 1, 1) };
            colours->setColourChooser(&chooser);
            click(colours, u"p1"_s);
            click(colours, u"t1"_s);
            QWidget* display = dialog.page(2);
            QVERIFY(fixture::onModal<Tstyl>(
                [](Tstyl& picker) { tick(&picker, u"CheckBox2"_s); }, [&] { click(display, u"styl1"_s); }));
            QWidget* columns = dialog.page(3);
            click(columns, u"pridat"_s);
            click(columns, u"pridat"_s);
            child<QSlider>(columns, u"n2"_s)->setValue(120);
            child<QSlider>(columns, u"n5"_s)->setValue(44);
            child<QSlider>(columns, u"n6"_s)->setValue(55);
            child<QLineEdit>(columns, u"Edit6"_s)->setText(u"Cena"_s);
            if (ok)
                click(&dialog, u"Button53"_s);
        });
        // Row 4 (Monday 5 January 2004) is an even row: the list draws it in item 1's look.
        const QModelIndex even = m_window->model().index(4, 0);
        const QFont font = even.data(Qt::FontRole).value<QFont>();
        QCOMPARE(QList<QVariant>({ even.data(Qt::BackgroundRole).value<QColor>(),
                     even.data(Qt::ForegroundRole).value<QColor>(), font.italic() }),
            QList<QVariant>({ ok ? QColor(10, 20, 30) : QColor(192, 192, 192),
                ok ? QColor(1, 1, 1) : QColor(Qt::black), ok }));
        QVERIFY(ok
            || (m_window->settings() == before && listWidths() == widths && whileRebuilt.isEmpty()
                && headerTitles(m_window->model()).join(u' ') == u"Den Datum Hod. Akce"));
    }
    // Four columns went and six came while the column layout was suspended; then it resumed.
    QCOMPARE(whileRebuilt, QStringList(10, u"OFF"_s));
    QCOMPARE(m_window->state().stavtimeru7, u"ON"_s);
    QCOMPARE(headerTitles(m_window->model()), u"Den Datum Hod. Akce 1 Cena"_s.split(u' '));
    QCOMPARE(listWidths().mid(0, 3) + listWidths().mid(4), QList<int>({ 60, 120, 60, 44, 55 }));
    QCOMPARE(m_messenger.texts(), QStringList(2, u"Maximální počet je 6"_s));
    m_window->close();
    const QString stored = ini();
    QVERIFY(stored.contains(u"[1. položka]\r\nTučné=0\r\nKurzíva=1\r\nPodtržené=0\r\nPísmo="_s
        + before.items[0].font + u"\r\nBarva řádku=%1\r\n"_s.arg(10 + 20 * 256 + 30 * 65536)));
    QVERIFY(stored.contains(u"Počet sloupců=6\r\n"_s) && stored.contains(u"Delka sloupce=44\r\n"_s));
}

void TestStyles::handWrittenValuesStayUntilOk()
{
    const QString title = u"Program večera a představení"_s; // 28 characters
    openWindow();
    m_window->close();
    m_window.reset();
    QString text = ini();
    text.replace(u"Delka sloupce=210\r\n"_s, u"Delka sloupce=500\r\n"_s)
        .replace(u"Delka sloupce=90\r\n"_s, u"Delka sloupce=7\r\n"_s);
    text.replace(u"Název sloupce=Akce\r\n"_s, u"Název sloupce="_s + title + u"\r\n"_s);
    QVERIFY(test_files::writeRaw(m_dir->filePath(u"nastaveni.ini"_s), cp1250::encode(text)));
    // Widths outside the range are drawn and shown at the nearest limit and stay as written
    // until an "Ok" applies what the sliders show; a long title stays whole.
    for (const bool ok : { false, true }) {
        openWindow();
        QCOMPARE(listWidths().mid(1, 3), QList<int>({ 20, 60, 300 }));
        runDialog([&](Tnastav& dialog) {
            auto* page = static_cast<StylePage*>(dialog.page(3));
            QCOMPARE(
                QList<int>({ child<QSlider>(page, u"n4"_s)->value(),
                    child<QLabel>(page, u"sirka4"_s)->text().toInt(), child<QSlider>(page, u"n2"_s)->value(),
                    page->preview()->view()->horizontalHeader()->sectionSize(3) }),
                QList<int>({ 300, 300, 20, 300 }));
            auto* edit = child<QLineEdit>(page, ok ? u"Edit2"_s : u"Edit4"_s);
            edit->setFocus();
            if (ok) {
                // A new title, and each untouched one whole, with the same column count.
                edit->selectAll();
                fixture::typeText(edit, u"Představení"_s);
                child<QSlider>(page, u"n3"_s)->setValue(80);
                click(&dialog, u"Button53"_s);
                return;
            }
            // Typing cannot lengthen a long title; deleting works, and what was deleted may come back.
            edit->end(false);
            QTest::keyClicks(edit, u"xy"_s);
            QCOMPARE(edit->text(), title);
            QTest::keyClick(edit, Qt::Key_Backspace);
            fixture::typeText(edit, u"íx"_s);
            QCOMPARE(edit->text(), title.chopped(1) + u"í"_s);
            // A short title grows to 20 characters and no further.
            auto* shortTitle = child<QLineEdit>(page, u"Edit1"_s);
            shortTitle->setFocus();
            shortTitle->end(false);
            QTest::keyClicks(shortTitle, QString(30, u'n'));
            QCOMPARE(shortTitle->text(), u"Den"_s + QString(17, u'n'));
        });
        QCOMPARE(listWidths().mid(1, 3), QList<int>({ 20, ok ? 80 : 60, 300 }));
        QCOMPARE(headerTitles(m_window->model()),
            QStringList({ u"Den"_s, ok ? u"Představení"_s : u"Datum"_s, u"Hod."_s, title }));
        m_window->close();
        m_window.reset();
        for (const QString& line : (ok ? u"Delka sloupce=300|Delka sloupce=20|Název sloupce=Představení"_s
                                       : u"Delka sloupce=500|Delka sloupce=7"_s)
                                       .split(u'|')
                + QStringList { u"Název sloupce="_s + title })
            QVERIFY2(ini().contains(line + u"\r\n"_s), qPrintable(line));
    }
}

QTEST_MAIN(TestStyles)
#include "tst_styles.moc"
