#include "export/export_dialog.h"

#include "calendar/day_table.h"
#include "export/export_events.h"
#include "platform/clock.h"
#include "platform/messenger.h"
#include "settings/settings.h"
#include "widgets/date_field.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {
const QString kCaption = QStringLiteral("Exportovat");
const QString kInformation = QStringLiteral("Informace");

struct FormatInfo {
    QString suffix;
    QString filter;
};

FormatInfo infoOf(export_file::Format format)
{
    if (format == export_file::Format::ICalendar)
        return { QStringLiteral("ics"), QStringLiteral("iCalendar (*.ics)") };
    return { QStringLiteral("csv"), QStringLiteral("CSV (*.csv)") };
}

QRadioButton* radio(const QString& name, const QString& text, QWidget* parent)
{
    auto* button = new QRadioButton(text, parent);
    button->setObjectName(name);
    return button;
}

DateField* dateField(const QString& name, const QString& accessibleName, QWidget* parent)
{
    auto* field = new DateField(parent);
    field->setObjectName(name);
    field->setAccessibleName(accessibleName);
    return field;
}
} // namespace

SaveFileChooser fileDialogChooser()
{
    return [](QWidget* parent, const QString& caption, const QString& suggestedPath, const QString& filter) {
        return QFileDialog::getSaveFileName(parent, caption, suggestedPath, filter);
    };
}

Texport::Texport(const DayTable& table, const Settings& settings, Messenger& messenger,
    SaveFileChooser chooser, QWidget* parent)
    : QDialog(parent)
    , m_table(table)
    , m_settings(settings)
    , m_messenger(messenger)
    , m_chooser(std::move(chooser))
{
    setObjectName(QStringLiteral("Texport"));
    setWindowTitle(kCaption);

    auto* formatBox = new QGroupBox(QStringLiteral("Formát"), this);
    formatBox->setObjectName(QStringLiteral("GroupBox1"));
    m_ics = radio(QStringLiteral("RadioButton1"),
        QStringLiteral("iCalendar (.ics) – pro kalendáře a telefon"), formatBox);
    m_csv = radio(
        QStringLiteral("RadioButton2"), QStringLiteral("CSV (.csv) – pro tabulkové procesory"), formatBox);
    m_ics->setChecked(true);
    auto* formatLayout = new QVBoxLayout(formatBox);
    formatLayout->addWidget(m_ics);
    formatLayout->addWidget(m_csv);

    auto* rangeBox = new QGroupBox(QStringLiteral("Rozsah"), this);
    rangeBox->setObjectName(QStringLiteral("GroupBox2"));
    m_whole = radio(QStringLiteral("RadioButton3"), QStringLiteral("Celý kalendář"), rangeBox);
    m_fromTo = radio(QStringLiteral("RadioButton4"), QStringLiteral("Jen vybrané dny:"), rangeBox);
    m_whole->setChecked(true);
    m_from = dateField(QStringLiteral("DateEdit1"), QStringLiteral("Od:"), rangeBox);
    m_to = dateField(QStringLiteral("DateEdit2"), QStringLiteral("Do:"), rangeBox);
    // Upcoming events are what a phone's calendar wants most.
    const QDate today = clock_source::today();
    m_from->setDate(today);
    m_to->setDate(QDate(today.year(), 12, 31));
    auto* dates = new QFormLayout;
    dates->setContentsMargins(24, 0, 0, 0);
    auto* fromLabel = new QLabel(QStringLiteral("Od:"), rangeBox);
    auto* toLabel = new QLabel(QStringLiteral("Do:"), rangeBox);
    fromLabel->setBuddy(m_from->lineEdit());
    toLabel->setBuddy(m_to->lineEdit());
    dates->addRow(fromLabel, m_from);
    dates->addRow(toLabel, m_to);
    auto* rangeLayout = new QVBoxLayout(rangeBox);
    rangeLayout->addWidget(m_whole);
    rangeLayout->addWidget(m_fromTo);
    rangeLayout->addLayout(dates);

    auto* buttons = new QDialogButtonBox(this);
    m_export = buttons->addButton(QStringLiteral("Exportovat..."), QDialogButtonBox::AcceptRole);
    m_export->setObjectName(QStringLiteral("Button1"));
    m_export->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("Zrušit"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("Button2"));
    connect(m_export, &QPushButton::clicked, this, &Texport::Button1Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_fromTo, &QRadioButton::toggled, this, &Texport::updateRange);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(formatBox);
    layout->addWidget(rangeBox);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    updateRange();
}

export_file::Format Texport::format() const
{
    return m_csv->isChecked() ? export_file::Format::Csv : export_file::Format::ICalendar;
}

void Texport::updateRange()
{
    m_from->setEnabled(m_fromTo->isChecked());
    m_to->setEnabled(m_fromTo->isChecked());
}

bool readDateRange(DateField& fromField, DateField& toField, Messenger& messenger, QDate& from, QDate& to)
{
    from = fromField.date();
    to = toField.date();
    QString problem;
    if (!from.isValid() || !to.isValid())
        problem = QStringLiteral("Zadejte platná data Od a Do.");
    else if (from > to)
        problem = QStringLiteral("Datum Od je pozdější než datum Do.");
    if (problem.isEmpty())
        return true;
    messenger.show(Messenger::Icon::Warning, QStringLiteral("Upozornění"), problem);
    (from.isValid() ? toField : fromField).lineEdit()->setFocus();
    return false;
}

bool Texport::readRange(QDate& from, QDate& to)
{
    from = QDate();
    to = QDate();
    return m_whole->isChecked() || readDateRange(*m_from, *m_to, m_messenger, from, to);
}

QString Texport::chooseFile()
{
    const FormatInfo info = infoOf(format());
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString suggested = QDir(documents).filePath(QStringLiteral("zorivka.") + info.suffix);
    QString path = m_chooser(this, kCaption, suggested, info.filter);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += u'.' + info.suffix;
    return path;
}

void Texport::Button1Click()
{
    export_file::Request request;
    request.format = format();
    if (!readRange(request.from, request.to))
        return;
    // Asking for a file name only to say there is nothing to write would waste the user's time.
    if (export_events::collect(m_table.records(), request.from, request.to).empty()) {
        showNoEvents();
        return;
    }
    request.path = chooseFile();
    if (!request.path.isEmpty())
        write(request);
}

void Texport::showNoEvents()
{
    m_messenger.show(Messenger::Icon::Information, kInformation,
        QStringLiteral("Ve zvoleném rozsahu nejsou žádné akce, soubor nebyl vytvořen."));
}

void Texport::write(const export_file::Request& request)
{
    QString error;
    const QString name = QDir::toNativeSeparators(request.path);
    switch (export_file::write(request, m_table.records(), m_settings, clock_source::now(), &error)) {
    case export_file::Result::Written:
        m_messenger.show(Messenger::Icon::Information, kInformation,
            QStringLiteral("Akce byly exportovány do souboru %1.").arg(name));
        accept();
        break;
    case export_file::Result::NoEvents:
        showNoEvents();
        break;
    case export_file::Result::Failed:
        m_messenger.show(Messenger::Icon::Error, QStringLiteral("Chyba"),
            QStringLiteral("Soubor %1 nelze zapsat: %2").arg(name, error));
        break;
    case export_file::Result::NoPart:
        m_messenger.show(Messenger::Icon::Error, QStringLiteral("Chyba"),
            QStringLiteral("Soubor %1 nelze vytvořit: %2").arg(name, error));
        break;
    }
}
