#include "export/print_dialog.h"

#include "export/export_events.h"
#include "platform/messenger.h"
#include "widgets/date_field.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {
const QString kPrintCaption = QStringLiteral("Tisk");
const QString kPdfCaption = QStringLiteral("Uložit jako PDF");

DateField* dateField(const QString& name, const QString& caption, QWidget* parent, QFormLayout* form)
{
    auto* field = new DateField(parent);
    field->setObjectName(name);
    field->setAccessibleName(caption);
    auto* label = new QLabel(caption, parent);
    label->setBuddy(field->lineEdit());
    form->addRow(label, field);
    return field;
}
} // namespace

Tprint::Tprint(Target target, const print_pages::Source& source, const QDate& month, Messenger& messenger,
    SaveFileChooser chooser, PrintPart* part, QWidget* parent)
    : QDialog(parent)
    , m_target(target)
    , m_source(source)
    , m_messenger(messenger)
    , m_chooser(std::move(chooser))
    , m_part(part)
{
    setObjectName(QStringLiteral("Tprint"));
    setWindowTitle(target == Target::Printer ? kPrintCaption : kPdfCaption);

    auto* rangeBox = new QGroupBox(QStringLiteral("Rozsah"), this);
    rangeBox->setObjectName(QStringLiteral("GroupBox1"));
    auto* dates = new QFormLayout(rangeBox);
    m_from = dateField(QStringLiteral("DateEdit1"), QStringLiteral("Od:"), rangeBox, dates);
    m_to = dateField(QStringLiteral("DateEdit2"), QStringLiteral("Do:"), rangeBox, dates);
    m_from->setDate(QDate(month.year(), month.month(), 1));
    m_to->setDate(QDate(month.year(), month.month(), month.daysInMonth()));
    m_blackAndWhite = new QCheckBox(QStringLiteral("Černobíle"), this);
    m_blackAndWhite->setObjectName(QStringLiteral("CheckBox1"));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(
        target == Target::Printer ? QStringLiteral("Náhled...") : QStringLiteral("Uložit..."),
        QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("Zrušit"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("Button2"));
    connect(ok, &QPushButton::clicked, this, &Tprint::Button1Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rangeBox);
    layout->addWidget(m_blackAndWhite);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool Tprint::readRows(print_pages::Rows& rows)
{
    QDate from;
    QDate to;
    if (!readDateRange(*m_from, *m_to, m_messenger, from, to))
        return false;
    rows = print_pages::rowsOf(*m_source.records, from, to);
    if (!rows.isEmpty())
        return true;
    const std::vector<EventRecord>& records = *m_source.records;
    m_messenger.show(Messenger::Icon::Warning, QStringLiteral("Upozornění"),
        QStringLiteral("Zvolené dny leží mimo kalendář, který sahá od %1 do %2.")
            .arg(export_events::dateText(print_pages::firstDay(records)),
                export_events::dateText(print_pages::lastDay(records))));
    m_from->lineEdit()->setFocus();
    return false;
}

void Tprint::Button1Click()
{
    print_pages::Rows rows;
    if (!readRows(rows))
        return;
    if (m_target == Target::Pdf) {
        save(rows);
        return;
    }
    print_pages::Pages pages(m_source, rows, m_blackAndWhite->isChecked());
    hide();
    m_part->preview(pages, print_pages::defaultPaper(), kPrintCaption, parentWidget());
    accept();
}

void Tprint::save(const print_pages::Rows& rows)
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QString path = m_chooser(this, kPdfCaption, QDir(documents).filePath(QStringLiteral("zorivka.pdf")),
        QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    QString error;
    const QString name = QDir::toNativeSeparators(path);
    if (print_pages::writePdf(m_source, rows.from, rows.to, m_blackAndWhite->isChecked(), path, &error)
        == print_pages::Result::Written) {
        m_messenger.show(Messenger::Icon::Information, QStringLiteral("Informace"),
            QStringLiteral("Stránky byly uloženy do souboru %1.").arg(name));
        accept();
        return;
    }
    m_messenger.show(Messenger::Icon::Error, QStringLiteral("Chyba"),
        QStringLiteral("Soubor %1 nelze zapsat: %2").arg(name, error));
}
