#include "records/edit_record_dialog.h"

#include "calendar/day_table.h"
#include "records/event_record.h"
#include "widgets/main_form.h"
#include "widgets/main_state.h"

#include <QLineEdit>

namespace {
constexpr int kClientHeight = 271;
constexpr int kGridTop = 10;
constexpr EventRecord::Field kFields[] = { EventRecord::Field::Time, EventRecord::Field::Event,
    EventRecord::Field::Value1, EventRecord::Field::Value2 };
} // namespace

Teditovat::Teditovat(MainForm& form)
    : RecordDialog(
        form, QStringLiteral("Editovat záznam"), QStringLiteral("Upravit"), false, kGridTop, kClientHeight)
{
    setObjectName(QStringLiteral("editovat"));
    MainState& state = form.state();
    const int selected = form.selectedRow();
    if (selected >= 0)
        state.pocet.append(QString::number(selected));
    const int items = qMin<int>(state.ListBox1.size(), kRows);
    setItemCount(items);
    for (int j = 1; j <= items; ++j) {
        const int row = state.ListBox1.at(j - 1).toInt();
        if (row < 0 || row >= form.table().rowCount())
            continue;
        const EventRecord& record = form.table().record(row);
        for (int column = 1; column <= sloupce() - 2; ++column)
            edit(j, column)->setText(record.text(kFields[column - 1]));
    }
    edit(1, 1)->setFocus();
}

void Teditovat::confirm()
{
    // Without its selected row the entry cannot keep its day name and date: write nothing.
    if (!takeTargetDay()) {
        reject();
        return;
    }
    for (int k = 1; k <= itemCount(); ++k) {
        copyItem(k);
        placing::writeBack(
            m_form.table(), m_form.messenger(), fields(), k, sloupce(), placing::HiddenTexts::Keep);
    }
    accept();
}
