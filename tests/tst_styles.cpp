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
    void columnCountStaysWithinFourToSix_data();
    void columnCountStaysWithinFourToSix();
    void columnRowsSetTitlesAndWidths();

    // The pages inside the settings dialog, over the main window.
    void init();
    void cleanup() { m_window.reset(); }
    void pagesFitTheDesignSize();
    void previewsFollowTheFirstPage();
    void changesReachTheListOnlyOnOk();
    void handWrittenValuesStayUntilOk();
    void defaultSettingsRestoreLooksAndColumns();

private:
    void openWindow() { QVERIFY((m_window = fixture::openWindow(m_dir->path(), m_messenger))); }
    // Opens the settings dialog on row 0 and runs `act` on it; "Zrušit" unless `act` closed it.
    void runDialog(const std::function<void(Tnastav&)>& act);
    // Replaces lines of the settings file a first run wrote, as a user's editor would.
    void storeByHand(const QList<std::pair<QString, QString>>& edits);
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
        for (int row = 0; row < sample_rows::kCount; ++row) {
            shown << cell(preview, row, 0).toString();
            QCOMPARE(cell(preview, row, 3).toString().isEmpty(), row != 6);
            const RowItem& item = working.items[size_t(kinds[row])];
            QCOMPARE(cell(preview, row, 1, Qt::BackgroundRole).value<QColor>(),
                system_colors::resolve(item.rowColour));
            QCOMPARE(cell(preview, row, 1, Qt::ForegroundRole).value<QColor>(),
                system_colors::resolve(item.fontColour));
            // The colour page shows colours and faces only; the others the styles too.
            const QFont font = cell(preview, row, 0, Qt::FontRole).value<QFont>();
            const bool styled = page != &colours;
            QCOMPARE(QList<QVariant>({ font.family(), font.bold(), font.italic(), font.underline() }),
                QList<QVariant>({ item.font, styled && item.bold, styled && item.italic, styled && item.underline }));
        }
        QCOMPARE(shown.join(u' '), names);
    }
    QCOMPARE(headerTitles(colours.preview()->model()), u"Den Datum Hod. Akce"_s.split(u' '));
    QVERIFY(!colours.preview()->isEnabled() && !display.preview()->isEnabled());
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
    QCOMPARE(chooser.offered.value(0), before);
    QCOMPARE(working.items[2].rowColour, 1 + 2 * 256 + 3 * 65536);
    QVERIFY(background->colour() == QColor(1, 2, 3)
        && cell(page.preview(), 2, 0, Qt::BackgroundRole).value<QColor>() == QColor(1, 2, 3));
    click(&page, u"t5"_s);
    QCOMPARE(working.items[4].fontColour, distinctLooks().items[4].fontColour);
    click(&page, u"t5"_s);
    QCOMPARE(working.items[4].fontColour, 200 + 100 * 256 + 50 * 65536);
    QCOMPARE(cell(page.preview(), 5, 0, Qt::ForegroundRole).value<QColor>(), QColor(200, 100, 50));

    // "Výchozí": teal for Saturdays (not the first run's green), the scheme colours by index, black text.
    const std::int32_t expected[] = { 12632256, -2147483629, 8421376, -2147483645, 7731711, 7122156 };
    for (int k = 0; k < Settings::kItemCount; ++k) {
        click(&page, u"vychozip%1"_s.arg(k + 1));
        click(&page, u"vychozit%1"_s.arg(k + 1));
        QCOMPARE(working.items[size_t(k)].rowColour, expected[k]);
        QCOMPARE(working.items[size_t(k)].fontColour, 0);
    }
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
    DisplayPage page(working);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    // The style picker shows its kind's flags and sets each at once.
    QVERIFY(fixture::onModal<Tstyl>(
        [](Tstyl& picker) {
            QCOMPARE(picker.windowTitle() + u'|' + picker.sample()->text(), u"Styl písma|Styl písma"_s);
            QStringList boxes;
            for (const QCheckBox* box : picker.findChildren<QCheckBox*>())
                boxes << box->objectName() + u' ' + box->text() + (box->isChecked() ? u"+"_s : QString());
            boxes.sort();
            QCOMPARE(boxes.join(u'|'), u"CheckBox1 Tučné|CheckBox2 Kurzíva+|CheckBox3 Podtržené"_s);
            QVERIFY(picker.sample()->font().italic() && !picker.sample()->font().bold());
            for (const QString name : { u"CheckBox1"_s, u"CheckBox2"_s, u"CheckBox3"_s })
                tick(&picker, name);
            const QFont sample = picker.sample()->font();
            QVERIFY(sample.bold() && !sample.italic() && sample.underline());
        },
        [&] { click(&page, u"styl4"_s); }));
    QCOMPARE(page.cislo(), 4);
    QVERIFY(working.items[3].bold && !working.items[3].italic && working.items[3].underline);
    QVERIFY(!working.items[2].bold && !working.items[4].bold);
    // Closing the picker repainted the preview: the Sunday row is bold now.
    QVERIFY(cell(page.preview(), 3, 0, Qt::FontRole).value<QFont>().bold());

    // The font picker marks the kind's face; a pick sets the face at once.
    QVERIFY(fixture::onModal<Tpismo>(
        [&](Tpismo& picker) {
            QCOMPARE(picker.windowTitle() + u'|' + picker.sample()->text(), u"Písmo|Písmo"_s);
            QCOMPARE(picker.fonts()->count(), families.size());
            QCOMPARE(picker.fonts()->currentIndex(), 1);
            QCOMPARE(picker.sample()->font().family(), families[1]);
            picker.fonts()->setFocus();
            QTest::keyClick(picker.fonts(), Qt::Key_Down);
            QCOMPARE(picker.sample()->font().family(), families[2]);
        },
        [&] { click(&page, u"pismo6"_s); }));
    QCOMPARE(page.cislo(), 6);
    QCOMPARE(working.items[5].font, families[2]);
    QCOMPARE(cell(page.preview(), 6, 0, Qt::FontRole).value<QFont>().family(), families[2]);
    // A face not installed here: nothing is marked, and closing keeps the name.
    QVERIFY(fixture::onModal<Tpismo>(
        [](Tpismo& picker) {
            QCOMPARE(picker.fonts()->currentIndex(), -1);
            QTest::keyClick(&picker, Qt::Key_Escape);
        },
        [&] { click(&page, u"pismo2"_s); }));
    QCOMPARE(working.items[1].font, u"MS Sans Serif"_s);

    // "Výchozí" restores the face and clears the styles of its kind only.
    working.items[2].bold = working.items[2].underline = true;
    click(&page, u"vychozipismo6"_s);
    click(&page, u"vychozistyl4"_s);
    QCOMPARE(working.items[5].font, u"MS Sans Serif"_s);
    QVERIFY(!working.items[3].bold && !working.items[3].underline && working.items[2].bold
        && working.items[2].underline);
    QVERIFY(!cell(page.preview(), 3, 0, Qt::FontRole).value<QFont>().bold());
}

void TestStyles::columnCountStaysWithinFourToSix_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("after");
    QTest::addColumn<QString>("message");
    const QString max = u"Maximální počet je 6"_s, min = u"Minimální počet je 4"_s;
    QTest::newRow("6 add") << u"6"_s << u"pridat"_s << 6 << max;
    QTest::newRow("5 add") << u"5"_s << u"pridat"_s << 6 << max;
    QTest::newRow("4 add") << u"4"_s << u"pridat"_s << 5 << QString();
    QTest::newRow("4 remove") << u"4"_s << u"odebrat"_s << 4 << min;
    QTest::newRow("5 remove") << u"5"_s << u"odebrat"_s << 4 << min;
    QTest::newRow("6 remove") << u"6"_s << u"odebrat"_s << 5 << QString();
    QTest::newRow("6 default") << u"6"_s << u"vychozipocet"_s << 4 << QString();
    QTest::newRow("5 default") << u"5"_s << u"vychozipocet"_s << 4 << min;
    QTest::newRow("4 default") << u"4"_s << u"vychozipocet"_s << 4 << min;
}

void TestStyles::columnCountStaysWithinFourToSix()
{
    QFETCH(QString, before);
    QFETCH(QString, button);
    QFETCH(int, after);
    QFETCH(QString, message);
    Settings working;
    working.pocets = before;
    ColumnPage page(working, m_messenger);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    click(&page, button);
    QCOMPARE(working.pocets + child<QLabel>(&page, u"pocet"_s)->text(), QString::number(after).repeated(2));
    QCOMPARE(fixture::described(m_messenger), message.isEmpty() ? QStringList() : QStringList { u"Information|Informace|"_s + message });
    // The rows of columns 1 ... count are shown, the others hidden; the preview has as many columns.
    for (int k = 1; k <= 6; ++k)
        QVERIFY(child<QLineEdit>(&page, u"Edit%1"_s.arg(k))->isVisible() == (k <= after)
            && child<QSlider>(&page, u"n%1"_s.arg(k))->isVisible() == (k <= after));
    QCOMPARE(page.preview()->model().columnCount(), after);
}

void TestStyles::columnRowsSetTitlesAndWidths()
{
    Settings working;
    working.items[4].title = u"Místo"_s;
    working.items[4].width = u"120"_s;
    working.items[1].width = u"7"_s;
    ColumnPage page(working, m_messenger);
    // A stored width outside the range is applied as the slider shows it.
    QCOMPARE(working.items[1].width, u"20"_s);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    const SamplePreviewModel& model = page.preview()->model();
    QHeaderView* header = page.preview()->view()->horizontalHeader();
    // The working copy takes a title as typed, the preview when the field is left.
    auto* edit = child<QLineEdit>(&page, u"Edit2"_s);
    edit->setFocus();
    edit->selectAll();
    fixture::typeText(edit, u"Kdy"_s);
    QCOMPARE(working.items[1].title, u"Kdy"_s);
    QCOMPARE(headerTitles(model).value(1), u"Datum"_s);
    QTest::keyClick(edit, Qt::Key_Tab);
    QCOMPARE(headerTitles(model).value(1), u"Kdy"_s);
    // A character the settings file cannot hold is refused.
    edit->setFocus();
    edit->clear();
    fixture::typeText(edit, u"A€→B"_s);
    QCOMPARE(working.items[1].title, u"A€B"_s);

    // Column 5 comes back with its own title and width; widths are held where the sliders put them.
    click(&page, u"pridat"_s);
    QCOMPARE(headerTitles(model).value(4), u"Místo"_s);
    QCOMPARE(header->sectionSize(4), 120);
    child<QSlider>(&page, u"n3"_s)->setValue(250);
    QCOMPARE(header->sectionSize(2), 250);
    page.preview()->view()->resize(page.preview()->view()->width() - 50, page.preview()->view()->height());
    QCOMPARE(header->sectionSize(2), 250);
    QCOMPARE(header->sectionSize(0), 60);
    // Widths stay within 20 ... 300, shown in red; "Výchozí" sets each column's own.
    const int defaults[] = { 60, 90, 60, 210, 29, 29 };
    for (int k = 0; k < 6; ++k) {
        auto* slider = child<QSlider>(&page, u"n%1"_s.arg(k + 1));
        slider->setValue(1000);
        const QString high = working.items[size_t(k)].width;
        slider->setValue(3);
        QCOMPARE(high + u' ' + working.items[size_t(k)].width + u' ' + child<QLabel>(&page, u"sirka%1"_s.arg(k + 1))->text(),
            u"300 20 20"_s);
        click(&page, u"vychozin%1"_s.arg(k + 1));
        QCOMPARE(working.items[size_t(k)].width, QString::number(defaults[k]));
        QVERIFY(k == 5 || header->sectionSize(k) == defaults[k]);
    }
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

void TestStyles::runDialog(const std::function<void(Tnastav&)>& act)
{
    m_window->selectRow(0);
    QVERIFY(fixture::onModal<Tnastav>(act, [this] { fixture::clickToolButton(*m_window, "ToolButton7"); }));
}

void TestStyles::storeByHand(const QList<std::pair<QString, QString>>& edits)
{
    openWindow();
    m_window->close();
    m_window.reset();
    QString text = ini();
    for (const auto& [from, to] : edits) {
        QVERIFY(text.contains(from));
        text.replace(from, to);
    }
    QVERIFY(test_files::writeRaw(m_dir->filePath(u"nastaveni.ini"_s), cp1250::encode(text)));
}

QList<int> TestStyles::listWidths() const
{
    QList<int> widths;
    for (int k = 0; k < m_window->model().columnCount(); ++k)
        widths << m_window->listView()->horizontalHeader()->sectionSize(k);
    return widths;
}

void TestStyles::pagesFitTheDesignSize()
{
    openWindow();
    m_window->settings().pocets = u"6"_s;
    m_window->settings().format = u"0"_s;
    m_window->buildListColumns();
    runDialog([&](Tnastav& dialog) {
        auto* pages = child<QTabWidget>(&dialog, u"PageControl1"_s);
        for (int index = 1; index <= 3; ++index) {
            pages->setCurrentIndex(index);
            QCoreApplication::processEvents();
            auto* page = static_cast<StylePage*>(dialog.page(index));
            QCOMPARE(pages->tabText(index), page->accessibleName());
            // Nothing is cut off: the page needs no more than it has, and every sample
            // row lies wholly inside the preview.
            const QSize needed = page->minimumSizeHint();
            QVERIFY(needed.width() <= page->width() && needed.height() <= page->height());
            QTableView* view = page->preview()->view();
            for (int row = 0; row < sample_rows::kCount; ++row) {
                const QRect cellRect = view->visualRect(view->model()->index(row, 0));
                QVERIFY(cellRect.isValid() && view->viewport()->rect().contains(cellRect));
                QVERIFY(cellRect.height() > view->fontMetrics().height());
            }
        }
    });
}

void TestStyles::previewsFollowTheFirstPage()
{
    openWindow();
    runDialog([](Tnastav& dialog) {
        QList<SamplePreview*> previews;
        for (int index = 1; index <= 3; ++index)
            previews << static_cast<StylePage*>(dialog.page(index))->preview();
        // The user picks format 3 and switches the grid lines on: every preview follows at once.
        auto* format = child<QComboBox>(&dialog, u"ComboBox1"_s);
        format->setFocus();
        QTest::keyClick(format, Qt::Key_End);
        QTest::mouseClick(child<QLabel>(&dialog, u"mrizkatext"_s), Qt::LeftButton);
        QVERIFY(dialog.working().mrizka);
        for (SamplePreview* preview : previews) {
            QCOMPARE(cell(preview, 2, 0).toString(), u"so"_s);
            QCOMPARE(cell(preview, 2, 0, Qt::BackgroundRole).value<QColor>(),
                system_colors::resolve(dialog.working().items[2].rowColour));
            QVERIFY(preview->view()->showGrid());
        }
        // Choosing a page relabels the previews from the working copy.
        dialog.working().format = u"0"_s;
        child<QTabWidget>(&dialog, u"PageControl1"_s)->setCurrentIndex(2);
        for (SamplePreview* preview : previews)
            QCOMPARE(cell(preview, 2, 0).toString(), u"Sobota"_s);
    });
}

void TestStyles::changesReachTheListOnlyOnOk()
{
    openWindow();
    const QString face = QFontDatabase::families().constLast();
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
            chooser.answers = { QColor(10, 20, 30) };
            colours->setColourChooser(&chooser);
            click(colours, u"p1"_s);
            QWidget* display = dialog.page(2);
            QVERIFY(fixture::onModal<Tpismo>(
                [](Tpismo& picker) {
                    picker.fonts()->setFocus();
                    QTest::keyClick(picker.fonts(), Qt::Key_End);
                },
                [&] { click(display, u"pismo1"_s); }));
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
        QCOMPARE(QList<QVariant>({ even.data(Qt::BackgroundRole).value<QColor>(), font.family(), font.italic() }),
            QList<QVariant>({ ok ? QColor(10, 20, 30) : QColor(192, 192, 192), ok ? face : before.items[0].font, ok }));
        QVERIFY(ok || (m_window->settings() == before && listWidths() == widths && whileRebuilt.isEmpty()
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
    QVERIFY(stored.contains(u"[1. položka]\r\nTučné=0\r\nKurzíva=1\r\nPodtržené=0\r\nPísmo="_s + face
        + u"\r\nBarva řádku=%1\r\n"_s.arg(10 + 20 * 256 + 30 * 65536)));
    QVERIFY(stored.contains(u"Počet sloupců=6\r\n"_s) && stored.contains(u"Delka sloupce=44\r\n"_s));
}

void TestStyles::handWrittenValuesStayUntilOk()
{
    const QString title = u"Program večera a představení"_s; // 28 characters
    storeByHand({ { u"Delka sloupce=210\r\n"_s, u"Delka sloupce=500\r\n"_s },
        { u"Delka sloupce=90\r\n"_s, u"Delka sloupce=7\r\n"_s },
        { u"Název sloupce=Akce\r\n"_s, u"Název sloupce="_s + title + u"\r\n"_s } });
    // Widths outside the range are drawn and shown at the nearest limit and stay as written
    // until an "Ok" applies what the sliders show; a long title stays whole.
    for (const bool ok : { false, true }) {
        openWindow();
        QCOMPARE(listWidths().mid(1, 3), QList<int>({ 20, 60, 300 }));
        runDialog([&](Tnastav& dialog) {
            auto* page = static_cast<StylePage*>(dialog.page(3));
            QCOMPARE(QList<int>({ child<QSlider>(page, u"n4"_s)->value(), child<QLabel>(page, u"sirka4"_s)->text().toInt(),
                         child<QSlider>(page, u"n2"_s)->value(), page->preview()->view()->horizontalHeader()->sectionSize(3) }),
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
            QCOMPARE(edit->text(), title);
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
        const QString stored = ini();
        const QStringList lines = ok
            ? QStringList { u"Delka sloupce=300"_s, u"Delka sloupce=20"_s, u"Název sloupce=Představení"_s }
            : QStringList { u"Delka sloupce=500"_s, u"Delka sloupce=7"_s };
        for (const QString& line : lines + QStringList { u"Název sloupce="_s + title })
            QVERIFY2(stored.contains(line + u"\r\n"_s), qPrintable(line));
    }
}

void TestStyles::defaultSettingsRestoreLooksAndColumns()
{
    openWindow();
    Settings& settings = m_window->settings();
    settings = distinctLooks();
    settings.pocets = u"6"_s;
    for (RowItem& item : settings.items) {
        item.title = u"X"_s;
        item.width = u"111"_s;
    }
    m_window->buildListColumns();
    m_window->applySettings();
    runDialog([](Tnastav& dialog) {
        click(&dialog, u"vychozinastaveni"_s);
        QVERIFY(dialog.working().items == Settings().items);
        QCOMPARE(dialog.working().pocets, u"4"_s);
        // Every page shows the defaults at once.
        QWidget* columns = dialog.page(3);
        QCOMPARE(child<QLabel>(columns, u"pocet"_s)->text() + child<QLineEdit>(columns, u"Edit1"_s)->text()
                + QString::number(child<QSlider>(columns, u"n4"_s)->value()), u"4Den210"_s);
        QVERIFY(child<QLineEdit>(columns, u"Edit5"_s)->isHidden());
        QCOMPARE(static_cast<StylePage*>(columns)->preview()->model().columnCount(), 4);
        // The first run's green for Saturdays, not the colour page's own "Výchozí" teal.
        QCOMPARE(child<ColourSwatch>(dialog.page(1), u"p3"_s)->colour(), QColor(0, 255, 108));
        click(&dialog, u"Button53"_s);
    });
    QVERIFY(m_messenger.messages().isEmpty());
    QVERIFY(settings.items == Settings().items);
    QCOMPARE(headerTitles(m_window->model()), u"Den Datum Hod. Akce"_s.split(u' '));
    QCOMPARE(listWidths().mid(0, 3), QList<int>({ 60, 90, 60 }));
}

QTEST_MAIN(TestStyles)
#include "tst_styles.moc"
