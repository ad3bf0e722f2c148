#include "app/main_window.h"

#include "export/print_dialog.h"
#include "export/print_pages.h"
#include "parts/print_part.h"
#include "platform/clock.h"
#include "platform/messenger.h"
#include "platform/parts.h"

#include <QHeaderView>
#include <QTableView>

// The main window's printing: the pages of the list as it shows them, to the printer or a PDF file.

print_pages::Source TForm1::printSource() const
{
    print_pages::Source source;
    source.records = &m_table.records();
    const QHeaderView* header = m_list->horizontalHeader();
    for (int k = 0; k < m_model->columnCount(); ++k) {
        source.titles << m_model->headerData(k, Qt::Horizontal, Qt::DisplayRole).toString();
        source.widths.push_back(header->sectionSize(k) > 0 ? header->sectionSize(k) : m_settings.width(k));
    }
    source.looks = m_looks;
    source.holidayYears = holidayYears();
    source.settingsReady = m_state.nastaveni == u"ok";
    source.grid = m_settings.mrizka;
    source.font = m_list->font();
    return source;
}

QDate TForm1::printMonth() const
{
    const QDate day = print_pages::dayOf(m_table.records(), selectedRow());
    return day.isValid() ? day : clock_source::today();
}

void TForm1::printPages()
{
    // Qt's print module and the printing system come with the part, when first asked for.
    QString error;
    auto* part = parts::load<PrintPart>(QStringLiteral("print"), &error);
    if (!part) {
        m_messenger.show(Messenger::Icon::Error, QStringLiteral("Tisk"),
            QStringLiteral("Tisk není k dispozici. %1\nStránky lze stále uložit jako PDF.").arg(error));
        return;
    }
    const print_pages::Source source = printSource();
    Tprint dialog(Tprint::Target::Printer, source, printMonth(), m_messenger, m_saveFileChooser, part, this);
    dialog.exec();
}

void TForm1::savePdf()
{
    const print_pages::Source source = printSource();
    Tprint dialog(Tprint::Target::Pdf, source, printMonth(), m_messenger, m_saveFileChooser, nullptr, this);
    dialog.exec();
}
