#include "records/record_dialogs.h"

#include "records/edit_record_dialog.h"
#include "records/new_record_dialog.h"
#include "records/placing.h"
#include "widgets/main_form.h"
#include "widgets/main_state.h"

namespace record_dialogs {

void openNewRecord(MainForm& form)
{
    Tzaznam dialog(form);
    dialog.exec();
}

void openEditRecord(MainForm& form)
{
    placing::editovatakce1(form.table(), form.state().entryFields(), form.selectedRow());
    Teditovat dialog(form);
    dialog.exec();
}

} // namespace record_dialogs
