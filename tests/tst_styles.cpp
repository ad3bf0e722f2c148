#include "app/main_window.h"
#include "app/program.h"
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
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <memory>

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

QVariant cell(SamplePreview* preview, int row, int column, int role)
{
    const SamplePreviewModel& model = preview->model();
    return model.data(model.index(row, column), role);
}

// Runs `act` on the next modal dialog as soon as it is open.
void onNextModal(std::function<void(QWidget*)> act)
{
    QTimer::singleShot(0, [act] {
        QWidget* modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        act(modal);
    });
}

// Types text as the keyboard would, Czech letters included.
void type(QWidget* widget, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

template <typename T> T* child(QWidget* parent, const QString& name)
{
    T* found = parent->findChild<T*>(name);
    if (!found)
        qWarning("no child %s", qPrintable(name));
    return found;
}

} // namespace

class TestStyles final : public QObject {
    Q_OBJECT

private slots:
    void samplesFollowTheFormatAndThePreviewRules_data();
    void samplesFollowTheFormatAndThePreviewRules();
    void previewsDrawEachRowInItsKind();
    void swatchesAskForAColourAndDefaultsApply();
    void fontPickerSetsOnlyWhatTheUserPicks();
    void stylePickerSetsEachFlagAtOnce();
    void displayPageOpensThePickersForItsKind();
    void columnCountStaysWithinFourToSix();
    void columnDefaultsAndLimits();
    void titlesAndWidthsReachTheColumnPreview();
    void storedWidthOutsideTheRangeShowsLimited();

    // The pages inside the settings dialog, over the main window.
    void init();
    void cleanup();
    void pagesFitTheDesignSize();
    void previewsFollowTheFirstPage();
    void looksReachTheListOnlyOnOk();
    void columnChangesAndCancelLeaveTheList();
    void newColumnCountRebuildsTheList();
    void newTitlesReachTheListWithTheSameCount();
    void storedWidthStaysUntilOk();
    void longStoredTitleStaysWhole();
    void fontPickerClosedKeepsAMissingFace();
    void defaultSettingsRestoreLooksAndColumns();

private:
    void openWindow();
    // Opens the settings dialog on row 0, runs `act` on it while it is shown, and
    // returns once it has closed (with "Zrušit" unless `act` closed it).
    void runDialog(const std::function<void(Tnastav&)>& act);
    QString ini() const;
    QList<int> listWidths() const;
    QStringList listTitles() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    RecordingMessenger m_messenger;
    std::unique_ptr<TForm1> m_window;
};

void TestStyles::samplesFollowTheFormatAndThePreviewRules_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("names");
    QTest::newRow("0") << u"0"_s << u"Čtvrtek Pátek Sobota Neděle Pondělí Úterý Středa"_s;
    QTest::newRow("1") << u"1"_s << u"Čt Pá So Ne Po Út St"_s;
    QTest::newRow("2") << u"2"_s << u"čtvrtek pátek sobota neděle pondělí úterý středa"_s;
    QTest::newRow("3") << u"3"_s << u"čt pá so ne po út st"_s;
    QTest::newRow("unknown format") << u"7"_s << u"Čt Pá So Ne Po Út St"_s;
}

void TestStyles::samplesFollowTheFormatAndThePreviewRules()
{
    QFETCH(QString, format);
    QFETCH(QString, names);
    QStringList got;
    QList<int> kinds;
    for (int i = 0; i < sample_rows::kCount; ++i) {
        const sample_rows::Row row = sample_rows::row(i, format);
        got << row.dayName;
        QCOMPARE(row.date, u"0%1.07.2004"_s.arg(i + 1));
        QCOMPARE(row.time.isEmpty() && row.event.isEmpty(), i != 6);
        kinds << sample_rows::itemOf(i, row);
    }
    QCOMPARE(got.join(u' '), names);
    // Row 2 is a Saturday in every case of its name, row 5 the sample holiday, and
    // row 6 the sample event although it stands at an even position.
    const QList<int> expected { row_kind::Even, row_kind::Odd, row_kind::Saturday, row_kind::Sunday,
        row_kind::Even, row_kind::Holiday, row_kind::Event };
    QCOMPARE(kinds, expected);
    QCOMPARE(sample_rows::row(6, format).event, u"Klímkovice, festival"_s);
    QCOMPARE(sample_rows::row(6, format).time, u"18,00"_s);
}

void TestStyles::previewsDrawEachRowInItsKind()
{
    Settings working = distinctLooks();
    working.format = u"3"_s;
    ColourPage colours(working);
    DisplayPage display(working);
    RecordingMessenger messenger;
    ColumnPage columns(working, messenger);
    const int kinds[] = { 0, 1, 2, 3, 0, 4, 5 };
    for (StylePage* page : std::initializer_list<StylePage*> { &colours, &display, &columns }) {
        SamplePreview* preview = page->preview();
        QCOMPARE(preview->title(), u"Ukázka"_s);
        QCOMPARE(cell(preview, 2, 0, Qt::DisplayRole).toString(), u"so"_s);
        QCOMPARE(cell(preview, 6, 3, Qt::DisplayRole).toString(), u"Klímkovice, festival"_s);
        for (int row = 0; row < sample_rows::kCount; ++row) {
            const RowItem& item = working.items[size_t(kinds[row])];
            QCOMPARE(cell(preview, row, 1, Qt::BackgroundRole).value<QColor>(),
                system_colors::resolve(item.rowColour));
            QCOMPARE(cell(preview, row, 1, Qt::ForegroundRole).value<QColor>(),
                system_colors::resolve(item.fontColour));
            const QFont font = cell(preview, row, 0, Qt::FontRole).value<QFont>();
            QCOMPARE(font.family(), item.font);
            // The colour page shows colours and faces only; the others the styles too.
            const bool styled = page != &colours;
            QCOMPARE(font.bold(), styled && item.bold);
            QCOMPARE(font.italic(), styled && item.italic);
            QCOMPARE(font.underline(), styled && item.underline);
        }
    }
    // Relabelled and regridded on request, from the working copy as it now stands.
    working.format = u"0"_s;
    working.mrizka = true;
    display.refreshPreview();
    QCOMPARE(cell(display.preview(), 3, 0, Qt::DisplayRole).toString(), u"Neděle"_s);
    QVERIFY(display.preview()->view()->showGrid());
    QVERIFY(!colours.preview()->view()->showGrid());
    QStringList titles;
    for (int column = 0; column < 4; ++column)
        titles << colours.preview()->model().headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    QCOMPARE(titles.join(u'|'), u"Den|Datum|Hod.|Akce"_s);
    QVERIFY(!colours.preview()->isEnabled() && !display.preview()->isEnabled());
}

void TestStyles::swatchesAskForAColourAndDefaultsApply()
{
    Settings working = distinctLooks();
    ColourPage page(working);
    ScriptedChooser chooser;
    page.setColourChooser(&chooser);
    auto* background = child<ColourSwatch>(&page, u"p3"_s);
    auto* text = child<ColourSwatch>(&page, u"t5"_s);
    QVERIFY(background && text);
    QCOMPARE(background->toolTip(), u"Kliknutím zvolíte barvu"_s);

    // Confirmed: the swatch, the working copy and the preview take the colour.
    chooser.answers = { QColor(1, 2, 3), std::nullopt, QColor(200, 100, 50) };
    const QColor before = background->colour();
    QTest::mouseClick(background, Qt::LeftButton);
    QCOMPARE(chooser.offered.value(0), before);
    QCOMPARE(working.items[2].rowColour, 1 + 2 * 256 + 3 * 65536);
    QCOMPARE(background->colour(), QColor(1, 2, 3));
    QCOMPARE(cell(page.preview(), 2, 0, Qt::BackgroundRole).value<QColor>(), QColor(1, 2, 3));
    // Cancelled: nothing changes.
    QTest::mouseClick(text, Qt::LeftButton);
    QCOMPARE(working.items[4].fontColour, distinctLooks().items[4].fontColour);
    QTest::mouseClick(text, Qt::LeftButton);
    QCOMPARE(working.items[4].fontColour, 200 + 100 * 256 + 50 * 65536);
    QCOMPARE(cell(page.preview(), 5, 0, Qt::ForegroundRole).value<QColor>(), QColor(200, 100, 50));

    // "Výchozí": teal for Saturdays (not the first run's green), the scheme colours by index, black text.
    const std::int32_t expected[] = { 12632256, -2147483629, 8421376, -2147483645, 7731711, 7122156 };
    for (int k = 0; k < Settings::kItemCount; ++k) {
        child<QPushButton>(&page, u"vychozip%1"_s.arg(k + 1))->click();
        child<QPushButton>(&page, u"vychozit%1"_s.arg(k + 1))->click();
        QCOMPARE(working.items[size_t(k)].rowColour, expected[k]);
        QCOMPARE(working.items[size_t(k)].fontColour, 0);
    }
    QCOMPARE(background->colour(), QColor(0, 128, 128));
    QCOMPARE(cell(page.preview(), 2, 0, Qt::BackgroundRole).value<QColor>(), QColor(0, 128, 128));
    QCOMPARE(cell(page.preview(), 0, 0, Qt::ForegroundRole).value<QColor>(), QColor(Qt::black));
    // Everything else of the items is left alone.
    QCOMPARE(working.items[1].font, distinctLooks().items[1].font);
    QCOMPARE(working.items[1].underline, true);
}

void TestStyles::fontPickerSetsOnlyWhatTheUserPicks()
{
    const QStringList families = QFontDatabase::families();
    QVERIFY(families.size() >= 2);
    RowItem item = Settings().items[0];
    QCOMPARE(item.font, u"MS Sans Serif"_s);
    {
        // A face that is not installed here: nothing is selected, and closing keeps the name.
        Tpismo picker(item);
        QCOMPARE(picker.windowTitle(), u"Písmo"_s);
        QCOMPARE(picker.size(), QSize(234, 81));
        QCOMPARE(picker.fonts()->count(), families.size());
        QCOMPARE(picker.fonts()->currentIndex(), families.indexOf(item.font));
        QCOMPARE(picker.sample()->text(), u"Písmo"_s);
        onNextModal([](QWidget* modal) {
            QTest::keyClick(modal->focusWidget() ? modal->focusWidget() : modal, Qt::Key_Escape);
        });
        QCOMPARE(picker.exec(), int(QDialog::Rejected));
    }
    QCOMPARE(item.font, u"MS Sans Serif"_s);

    item.font = families[1];
    Tpismo picker(item);
    QCOMPARE(picker.fonts()->currentIndex(), 1);
    QCOMPARE(picker.sample()->font().family(), families[1]);
    // Each entry is 19 pixels high and drawn in its own face, made only when painted.
    QAbstractItemDelegate* delegate = picker.fonts()->itemDelegate();
    QStyleOptionViewItem option;
    option.rect = QRect(0, 0, 200, 40);
    QCOMPARE(delegate->sizeHint(option, picker.fonts()->model()->index(0, 0)).height(), 19);
    QCOMPARE(picker.fonts()->maxVisibleItems(), 16);
    // The user's pick sets the face at once, the sample with it.
    picker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&picker));
    picker.fonts()->setFocus();
    QTest::keyClick(picker.fonts(), Qt::Key_Down);
    QCOMPARE(item.font, families[2 % families.size()]);
    QCOMPARE(picker.sample()->font().family(), item.font);
    QTest::keyClick(picker.fonts(), Qt::Key_Escape);
    QVERIFY(!picker.isVisible());
}

void TestStyles::stylePickerSetsEachFlagAtOnce()
{
    RowItem item;
    item.italic = true;
    Tstyl picker(item);
    QCOMPARE(picker.windowTitle(), u"Styl písma"_s);
    QCOMPARE(picker.size(), QSize(161, 138));
    QCOMPARE(picker.sample()->text(), u"Styl písma"_s);
    auto* bold = child<QCheckBox>(&picker, u"CheckBox1"_s);
    auto* italic = child<QCheckBox>(&picker, u"CheckBox2"_s);
    auto* underline = child<QCheckBox>(&picker, u"CheckBox3"_s);
    QVERIFY(bold && italic && underline);
    QCOMPARE(bold->text() + italic->text() + underline->text(), u"TučnéKurzívaPodtržené"_s);
    QVERIFY(!bold->isChecked() && italic->isChecked() && !underline->isChecked());
    QVERIFY(picker.sample()->font().italic() && !picker.sample()->font().bold());

    picker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&picker));
    QTest::mouseClick(bold, Qt::LeftButton, {}, QPoint(8, 10));
    QVERIFY(item.bold && item.italic && !item.underline);
    QTest::mouseClick(italic, Qt::LeftButton, {}, QPoint(8, 10));
    QTest::mouseClick(underline, Qt::LeftButton, {}, QPoint(8, 10));
    QVERIFY(item.bold && !item.italic && item.underline);
    const QFont sample = picker.sample()->font();
    QVERIFY(sample.bold() && !sample.italic() && sample.underline());
    underline->setFocus();
    QTest::keyClick(underline, Qt::Key_Escape);
    QVERIFY(!picker.isVisible());
    QVERIFY(item.bold && item.underline);
}

void TestStyles::displayPageOpensThePickersForItsKind()
{
    Settings working;
    DisplayPage page(working);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QString seen;
    onNextModal([&seen](QWidget* modal) {
        seen = modal->windowTitle();
        QTest::mouseClick(child<QCheckBox>(modal, u"CheckBox1"_s), Qt::LeftButton, {}, QPoint(8, 10));
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    child<QPushButton>(&page, u"styl4"_s)->click();
    QCOMPARE(seen, u"Styl písma"_s);
    QCOMPARE(page.cislo(), 4);
    QVERIFY(working.items[3].bold);
    QVERIFY(!working.items[2].bold && !working.items[4].bold);
    // Closing the picker repainted the preview: the Sunday row is bold now.
    QVERIFY(cell(page.preview(), 3, 0, Qt::FontRole).value<QFont>().bold());

    const QString face = QFontDatabase::families().constLast();
    onNextModal([&seen, face](QWidget* modal) {
        seen = modal->windowTitle();
        auto* fonts = child<QComboBox>(modal, u"ComboBox1"_s);
        fonts->setFocus();
        QTest::keyClick(fonts, Qt::Key_End);
        QTest::keyClick(fonts, Qt::Key_Escape);
    });
    child<QPushButton>(&page, u"pismo6"_s)->click();
    QCOMPARE(seen, u"Písmo"_s);
    QCOMPARE(page.cislo(), 6);
    QCOMPARE(working.items[5].font, face);
    QCOMPARE(cell(page.preview(), 6, 0, Qt::FontRole).value<QFont>().family(), face);

    // "Výchozí" restores the face and clears the styles of its kind only.
    working.items[2].bold = working.items[2].underline = true;
    child<QPushButton>(&page, u"vychozipismo6"_s)->click();
    child<QPushButton>(&page, u"vychozistyl4"_s)->click();
    QCOMPARE(working.items[5].font, u"MS Sans Serif"_s);
    QVERIFY(!working.items[3].bold);
    QVERIFY(working.items[2].bold && working.items[2].underline);
    QVERIFY(!cell(page.preview(), 3, 0, Qt::FontRole).value<QFont>().bold());
}

void TestStyles::columnCountStaysWithinFourToSix()
{
    // Count before | button | count after | message shown.
    const QString cases[] = { u"6|pridat|6|Maximální počet je 6"_s, u"5|pridat|6|Maximální počet je 6"_s,
        u"4|pridat|5|"_s, u"4|odebrat|4|Minimální počet je 4"_s, u"5|odebrat|4|Minimální počet je 4"_s,
        u"6|odebrat|5|"_s, u"6|vychozipocet|4|"_s, u"5|vychozipocet|4|Minimální počet je 4"_s,
        u"4|vychozipocet|4|Minimální počet je 4"_s };
    for (const QString& line : cases) {
        const QStringList parts = line.split(u'|');
        Settings working;
        working.pocets = parts[0];
        RecordingMessenger messenger;
        ColumnPage page(working, messenger);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        child<QPushButton>(&page, parts[1])->click();
        const int count = parts[2].toInt();
        QVERIFY2(working.pocets == parts[2], qPrintable(line));
        QCOMPARE(child<QLabel>(&page, u"pocet"_s)->text(), parts[2]);
        QCOMPARE(messenger.texts(), parts[3].isEmpty() ? QStringList() : QStringList { parts[3] });
        for (const auto& message : messenger.messages()) {
            QCOMPARE(message.title, u"Informace"_s);
            QCOMPARE(message.icon, Messenger::Icon::Information);
        }
        // The rows of columns 1 ... count are shown, the others hidden; the preview has as many columns.
        for (int k = 1; k <= 6; ++k) {
            QCOMPARE(child<QLineEdit>(&page, u"Edit%1"_s.arg(k))->isVisible(), k <= count);
            QCOMPARE(child<QSlider>(&page, u"n%1"_s.arg(k))->isVisible(), k <= count);
        }
        QCOMPARE(page.preview()->model().columnCount(), count);
    }
}

void TestStyles::columnDefaultsAndLimits()
{
    Settings working;
    working.pocets = u"6"_s;
    RecordingMessenger messenger;
    ColumnPage page(working, messenger);
    const int defaults[] = { 60, 90, 60, 210, 29, 29 };
    for (int k = 0; k < 6; ++k) {
        auto* slider = child<QSlider>(&page, u"n%1"_s.arg(k + 1));
        QCOMPARE(slider->minimum(), 20);
        QCOMPARE(slider->maximum(), 300);
        slider->setValue(1000);
        QCOMPARE(working.items[size_t(k)].width, u"300"_s);
        slider->setValue(3);
        QCOMPARE(working.items[size_t(k)].width, u"20"_s);
        QCOMPARE(child<QLabel>(&page, u"sirka%1"_s.arg(k + 1))->text(), u"20"_s);
        child<QPushButton>(&page, u"vychozin%1"_s.arg(k + 1))->click();
        QCOMPARE(slider->value(), defaults[k]);
        QCOMPARE(working.items[size_t(k)].width, QString::number(defaults[k]));
        QCOMPARE(page.preview()->view()->horizontalHeader()->sectionSize(k), defaults[k]);
    }
    QCOMPARE(child<QLabel>(&page, u"sirka4"_s)->palette().color(QPalette::WindowText), QColor(Qt::red));
    QVERIFY(messenger.messages().isEmpty());
}

void TestStyles::titlesAndWidthsReachTheColumnPreview()
{
    Settings working;
    working.items[4].title = u"Místo"_s;
    working.items[4].width = u"120"_s;
    RecordingMessenger messenger;
    ColumnPage page(working, messenger);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    const SamplePreviewModel& model = page.preview()->model();
    QHeaderView* header = page.preview()->view()->horizontalHeader();
    QCOMPARE(model.columnCount(), 4);

    auto* title = child<QLineEdit>(&page, u"Edit2"_s);
    QCOMPARE(title->maxLength(), 20);
    title->setFocus();
    title->selectAll();
    type(title, u"Kdy a kde se to koná přesně"_s);
    QCOMPARE(working.items[1].title, u"Kdy a kde se to koná"_s);
    // The preview takes the title when the field is left.
    QCOMPARE(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), u"Datum"_s);
    QTest::keyClick(title, Qt::Key_Tab);
    QCOMPARE(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), working.items[1].title);
    // A character the settings file cannot hold is refused.
    title->setFocus();
    title->clear();
    type(title, u"A€→B"_s);
    QCOMPARE(working.items[1].title, u"A€B"_s);

    // Column 5 comes back with its own title and width; widths are held where the sliders put them.
    child<QPushButton>(&page, u"pridat"_s)->click();
    QCOMPARE(model.headerData(4, Qt::Horizontal, Qt::DisplayRole).toString(), u"Místo"_s);
    QCOMPARE(header->sectionSize(4), 120);
    QCOMPARE(header->sectionResizeMode(4), QHeaderView::Fixed);
    child<QSlider>(&page, u"n3"_s)->setValue(250);
    QCOMPARE(header->sectionSize(2), 250);
    page.preview()->view()->resize(page.preview()->view()->width() - 50, page.preview()->view()->height());
    QCOMPARE(header->sectionSize(2), 250);
    QCOMPARE(header->sectionSize(0), 60);
}

void TestStyles::storedWidthOutsideTheRangeShowsLimited()
{
    Settings working;
    working.items[3].width = u"500"_s;
    working.items[1].width = u"7"_s;
    QCOMPARE(working.width(3), 300);
    RecordingMessenger messenger;
    ColumnPage page(working, messenger);
    QCOMPARE(child<QSlider>(&page, u"n4"_s)->value(), 300);
    QCOMPARE(child<QLabel>(&page, u"sirka4"_s)->text(), u"300"_s);
    QCOMPARE(child<QSlider>(&page, u"n2"_s)->value(), 20);
    // Applying the dialog applies the widths the sliders show.
    QCOMPARE(working.items[3].width, u"300"_s);
    QCOMPARE(working.items[1].width, u"20"_s);
    QCOMPARE(page.preview()->view()->horizontalHeader()->sectionSize(3), 300);
}

// ---- inside the settings dialog ----------------------------------------------

void TestStyles::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_messenger.clear();
}

void TestStyles::cleanup()
{
    m_window.reset();
}

void TestStyles::openWindow()
{
    m_window = program::assembleMainWindow(m_dir->path(), m_messenger);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestStyles::runDialog(const std::function<void(Tnastav&)>& act)
{
    bool ran = false;
    QTimer::singleShot(0, m_window.get(), [&] {
        auto* dialog = qobject_cast<Tnastav*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        ran = true;
        act(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    m_window->selectRow(0);
    m_window->findChild<QToolButton*>(u"ToolButton7"_s)->click();
    QVERIFY(ran);
}

QString TestStyles::ini() const
{
    return cp1250::decode(test_files::readRaw(QDir(m_dir->path()).filePath(u"nastaveni.ini"_s)));
}

QList<int> TestStyles::listWidths() const
{
    QList<int> widths;
    for (int k = 0; k < m_window->model().columnCount(); ++k)
        widths << m_window->listView()->horizontalHeader()->sectionSize(k);
    return widths;
}

QStringList TestStyles::listTitles() const
{
    QStringList titles;
    for (int k = 0; k < m_window->model().columnCount(); ++k)
        titles << m_window->model().headerData(k, Qt::Horizontal, Qt::DisplayRole).toString();
    return titles;
}

void TestStyles::pagesFitTheDesignSize()
{
    openWindow();
    m_window->settings().pocets = u"6"_s;
    m_window->settings().format = u"0"_s;
    m_window->buildListColumns();
    const QString shots = qEnvironmentVariable("ZORIVKA_SCREENSHOTS");
    runDialog([&](Tnastav& dialog) {
        QCOMPARE(dialog.size(), QSize(432, 456));
        auto* pages = dialog.findChild<QTabWidget*>(u"PageControl1"_s);
        const QString names[] = { u"settings_colours"_s, u"settings_display"_s, u"settings_columns"_s };
        for (int index = 1; index <= 3; ++index) {
            pages->setCurrentIndex(index);
            QCoreApplication::processEvents();
            auto* page = qobject_cast<StylePage*>(dialog.page(index));
            QVERIFY(page);
            QCOMPARE(pages->tabText(index), page->accessibleName());
            // Nothing is cut off: the page needs no more than it has...
            const QSize needed = page->minimumSizeHint();
            QVERIFY2(needed.width() <= page->width() && needed.height() <= page->height(),
                qPrintable(u"%1: %2x%3 in %4x%5"_s.arg(index)
                               .arg(needed.width())
                               .arg(needed.height())
                               .arg(page->width())
                               .arg(page->height())));
            // ... and every sample row lies wholly inside the preview.
            QTableView* view = page->preview()->view();
            for (int row = 0; row < sample_rows::kCount; ++row) {
                const QRect cellRect = view->visualRect(view->model()->index(row, 0));
                QVERIFY(cellRect.isValid() && view->viewport()->rect().contains(cellRect));
                QVERIFY(cellRect.height() > view->fontMetrics().height());
            }
            if (!shots.isEmpty())
                QVERIFY(dialog.grab().save(QDir(shots).filePath(names[index - 1] + u".png"_s)));
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
        auto* format = dialog.findChild<QComboBox*>(u"ComboBox1"_s);
        format->setFocus();
        QTest::keyClick(format, Qt::Key_End);
        QTest::mouseClick(dialog.findChild<QLabel*>(u"mrizkatext"_s), Qt::LeftButton);
        QVERIFY(dialog.working().mrizka);
        for (SamplePreview* preview : previews) {
            QCOMPARE(cell(preview, 2, 0, Qt::DisplayRole).toString(), u"so"_s);
            QCOMPARE(cell(preview, 2, 0, Qt::BackgroundRole).value<QColor>(),
                system_colors::resolve(dialog.working().items[2].rowColour));
            QVERIFY(preview->view()->showGrid());
        }
        // Choosing a page relabels the previews from the working copy.
        dialog.working().format = u"0"_s;
        dialog.findChild<QTabWidget*>(u"PageControl1"_s)->setCurrentIndex(2);
        for (SamplePreview* preview : previews)
            QCOMPARE(cell(preview, 2, 0, Qt::DisplayRole).toString(), u"Sobota"_s);
    });
}

void TestStyles::looksReachTheListOnlyOnOk()
{
    openWindow();
    const QString face = QFontDatabase::families().constLast();
    const Settings before = m_window->settings();
    for (const bool ok : { false, true }) {
        runDialog([&](Tnastav& dialog) {
            auto* colours = static_cast<ColourPage*>(dialog.page(1));
            ScriptedChooser chooser;
            chooser.answers = { QColor(10, 20, 30) };
            colours->setColourChooser(&chooser);
            QTest::mouseClick(colours->findChild<ColourSwatch*>(u"p1"_s), Qt::LeftButton);
            onNextModal([](QWidget* picker) {
                auto* fonts = picker->findChild<QComboBox*>(u"ComboBox1"_s);
                fonts->setFocus();
                QTest::keyClick(fonts, Qt::Key_End);
                QTest::keyClick(fonts, Qt::Key_Escape);
            });
            dialog.page(2)->findChild<QPushButton*>(u"pismo1"_s)->click();
            onNextModal([](QWidget* picker) {
                QTest::mouseClick(
                    picker->findChild<QCheckBox*>(u"CheckBox2"_s), Qt::LeftButton, {}, QPoint(8, 10));
                QTest::keyClick(picker, Qt::Key_Escape);
            });
            dialog.page(2)->findChild<QPushButton*>(u"styl1"_s)->click();
            QCOMPARE(dialog.working().items[0].rowColour, colour_code::rgb(10, 20, 30));
            QCOMPARE(dialog.working().items[0].font, face);
            QVERIFY(dialog.working().items[0].italic);
            if (ok)
                QTest::mouseClick(dialog.findChild<QPushButton*>(u"Button53"_s), Qt::LeftButton);
        });
        // Row 4 (Monday 5 January 2004) is an even row: the list draws it in item 1's look.
        const QModelIndex first = m_window->model().index(4, 0);
        const QFont font = first.data(Qt::FontRole).value<QFont>();
        QCOMPARE(
            first.data(Qt::BackgroundRole).value<QColor>(), ok ? QColor(10, 20, 30) : QColor(192, 192, 192));
        QCOMPARE(font.family(), ok ? face : before.items[0].font);
        QCOMPARE(font.italic(), ok);
        if (!ok)
            QVERIFY(m_window->settings() == before);
    }
    m_window->close();
    const QString stored = ini();
    QVERIFY(stored.contains(u"[1. položka]\r\nTučné=0\r\nKurzíva=1\r\nPodtržené=0\r\nPísmo="_s + face
        + u"\r\nBarva řádku=%1\r\n"_s.arg(10 + 20 * 256 + 30 * 65536)));
}

void TestStyles::columnChangesAndCancelLeaveTheList()
{
    openWindow();
    const Settings before = m_window->settings();
    const QList<int> widths = listWidths();
    const QStringList titles = listTitles();
    runDialog([](Tnastav& dialog) {
        QWidget* page = dialog.page(3);
        page->findChild<QPushButton*>(u"pridat"_s)->click();
        page->findChild<QSlider*>(u"n1"_s)->setValue(250);
        page->findChild<QSlider*>(u"n5"_s)->setValue(150);
        page->findChild<QLineEdit*>(u"Edit2"_s)->setText(u"Kdy"_s);
        QCOMPARE(dialog.working().pocets, u"5"_s);
    });
    QVERIFY(m_window->settings() == before);
    QCOMPARE(listWidths(), widths);
    QCOMPARE(listTitles(), titles);
    QCOMPARE(m_window->state().stavtimeru7, u"ON"_s);
    QVERIFY(m_messenger.messages().isEmpty());
}

void TestStyles::newColumnCountRebuildsTheList()
{
    openWindow();
    QStringList whileRebuilt;
    connect(&m_window->model(), &QAbstractItemModel::columnsAboutToBeRemoved, this,
        [&] { whileRebuilt << m_window->state().stavtimeru7; });
    connect(&m_window->model(), &QAbstractItemModel::columnsAboutToBeInserted, this,
        [&] { whileRebuilt << m_window->state().stavtimeru7; });
    runDialog([](Tnastav& dialog) {
        QWidget* page = dialog.page(3);
        page->findChild<QPushButton*>(u"pridat"_s)->click();
        page->findChild<QPushButton*>(u"pridat"_s)->click();
        page->findChild<QSlider*>(u"n2"_s)->setValue(120);
        page->findChild<QSlider*>(u"n5"_s)->setValue(44);
        page->findChild<QSlider*>(u"n6"_s)->setValue(55);
        page->findChild<QLineEdit*>(u"Edit6"_s)->setText(u"Cena"_s);
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"Button53"_s), Qt::LeftButton);
    });
    // Four columns went and six came while the column layout was suspended; then it resumed.
    QCOMPARE(whileRebuilt, QStringList(10, u"OFF"_s));
    QCOMPARE(m_window->state().stavtimeru7, u"ON"_s);
    QCOMPARE(m_window->settings().pocets, u"6"_s);
    QCOMPARE(listTitles(), u"Den Datum Hod. Akce 1 Cena"_s.split(u' '));
    const QList<int> widths = listWidths();
    QCOMPARE(widths.mid(0, 3), QList<int>({ 60, 120, 60 }));
    QCOMPARE(widths.mid(4), QList<int>({ 44, 55 }));
    QCOMPARE(m_window->settings().items[4].width, u"44"_s);
}

void TestStyles::newTitlesReachTheListWithTheSameCount()
{
    openWindow();
    runDialog([](Tnastav& dialog) {
        auto* title = dialog.page(3)->findChild<QLineEdit*>(u"Edit4"_s);
        title->setFocus();
        title->selectAll();
        type(title, u"Představení"_s);
        dialog.page(3)->findChild<QSlider*>(u"n3"_s)->setValue(80);
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"Button53"_s), Qt::LeftButton);
    });
    QCOMPARE(listTitles(), u"Den Datum Hod. Představení"_s.split(u' '));
    QCOMPARE(listWidths().value(2), 80);
    m_window->close();
    QVERIFY(ini().contains(u"Název sloupce=Představení\r\n"_s));
}

void TestStyles::storedWidthStaysUntilOk()
{
    openWindow();
    m_window->close();
    m_window.reset();
    QString text = ini();
    QVERIFY(text.contains(u"Delka sloupce=210\r\n"_s));
    text.replace(u"Delka sloupce=210\r\n"_s, u"Delka sloupce=500\r\n"_s);
    QVERIFY(test_files::writeRaw(QDir(m_dir->path()).filePath(u"nastaveni.ini"_s), cp1250::encode(text)));

    for (const bool ok : { false, true }) {
        openWindow();
        QCOMPARE(listWidths().value(3), 300);
        runDialog([ok](Tnastav& dialog) {
            QCOMPARE(dialog.page(3)->findChild<QSlider*>(u"n4"_s)->value(), 300);
            QCOMPARE(dialog.page(3)->findChild<QLabel*>(u"sirka4"_s)->text(), u"300"_s);
            if (ok)
                QTest::mouseClick(dialog.findChild<QPushButton*>(u"Button53"_s), Qt::LeftButton);
        });
        QCOMPARE(listWidths().value(3), 300);
        m_window->close();
        m_window.reset();
        QVERIFY(ini().contains(ok ? u"Delka sloupce=300\r\n"_s : u"Delka sloupce=500\r\n"_s));
    }
}

void TestStyles::longStoredTitleStaysWhole()
{
    openWindow();
    m_window->close();
    m_window.reset();
    const QString title = u"Program večera a představení"_s; // 28 characters, written by hand
    QString text = ini();
    QVERIFY(text.contains(u"Název sloupce=Akce\r\n"_s));
    text.replace(u"Název sloupce=Akce\r\n"_s, u"Název sloupce="_s + title + u"\r\n"_s);
    QVERIFY(test_files::writeRaw(QDir(m_dir->path()).filePath(u"nastaveni.ini"_s), cp1250::encode(text)));

    openWindow();
    runDialog([&](Tnastav& dialog) {
        auto* edit = dialog.page(3)->findChild<QLineEdit*>(u"Edit4"_s);
        QCOMPARE(edit->text(), title);
        // Typing cannot lengthen it; deleting works, and what was deleted may come back.
        edit->setFocus();
        edit->end(false);
        QTest::keyClicks(edit, u"xy"_s);
        QCOMPARE(edit->text(), title);
        QTest::keyClick(edit, Qt::Key_Backspace);
        type(edit, u"íx"_s);
        QCOMPARE(edit->text(), title.chopped(1) + u"í"_s);
        // A short title grows to 20 characters and no further.
        auto* shortTitle = dialog.page(3)->findChild<QLineEdit*>(u"Edit1"_s);
        shortTitle->setFocus();
        shortTitle->end(false);
        QTest::keyClicks(shortTitle, QString(30, u'n'));
        QCOMPARE(shortTitle->text(), u"Den"_s + QString(17, u'n'));
    });
    // The dialog was cancelled; an "Ok" that touches no title writes each back whole.
    runDialog([](Tnastav& dialog) {
        dialog.page(3)->findChild<QSlider*>(u"n3"_s)->setValue(80);
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"Button53"_s), Qt::LeftButton);
    });
    QCOMPARE(listTitles().value(3), title);
    m_window->close();
    QVERIFY(ini().contains(u"Název sloupce="_s + title + u"\r\n"_s));
}

void TestStyles::fontPickerClosedKeepsAMissingFace()
{
    QVERIFY(!QFontDatabase::families().contains(u"MS Sans Serif"_s));
    openWindow();
    runDialog([](Tnastav& dialog) {
        onNextModal([](QWidget* picker) {
            QCOMPARE(picker->windowTitle(), u"Písmo"_s);
            QTest::keyClick(picker->focusWidget() ? picker->focusWidget() : picker, Qt::Key_Escape);
        });
        dialog.page(2)->findChild<QPushButton*>(u"pismo2"_s)->click();
        QCOMPARE(static_cast<DisplayPage*>(dialog.page(2))->cislo(), 2);
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"Button53"_s), Qt::LeftButton);
    });
    QCOMPARE(m_window->settings().items[1].font, u"MS Sans Serif"_s);
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
        QCOMPARE(dialog.working().pocets, u"6"_s);
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"vychozinastaveni"_s), Qt::LeftButton);
        const Settings defaults;
        QVERIFY(dialog.working().items == defaults.items);
        QCOMPARE(dialog.working().items[2].rowColour, 0x6CFF00);
        QCOMPARE(dialog.working().pocets, u"4"_s);
        // Every page shows the defaults at once.
        QWidget* columns = dialog.page(3);
        QCOMPARE(columns->findChild<QLabel*>(u"pocet"_s)->text(), u"4"_s);
        QCOMPARE(columns->findChild<QSlider*>(u"n4"_s)->value(), 210);
        QCOMPARE(columns->findChild<QLineEdit*>(u"Edit1"_s)->text(), u"Den"_s);
        QVERIFY(columns->findChild<QLineEdit*>(u"Edit5"_s)->isHidden());
        QCOMPARE(static_cast<StylePage*>(columns)->preview()->model().columnCount(), 4);
        QCOMPARE(dialog.page(1)->findChild<ColourSwatch*>(u"p3"_s)->colour(), QColor(0, 255, 108));
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"Button53"_s), Qt::LeftButton);
    });
    QVERIFY(m_messenger.messages().isEmpty());
    QVERIFY(settings.items == Settings().items);
    QCOMPARE(listTitles(), u"Den Datum Hod. Akce"_s.split(u' '));
    QCOMPARE(listWidths().mid(0, 3), QList<int>({ 60, 90, 60 }));
}

QTEST_MAIN(TestStyles)
#include "tst_styles.moc"
