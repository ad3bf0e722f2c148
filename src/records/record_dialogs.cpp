#include "records/record_dialogs.h"

#include "app/main_window.h"
#include "records/edit_record_dialog.h"
#include "records/new_record_dialog.h"
#include "records/placing.h"

namespace record_dialogs {

void openNewRecord(TForm1& form)
{
    Tzaznam dialog(form);
    dialog.exec();
}

void openEditRecord(TForm1& form)
{
    placing::editovatakce1(form.table(), form.state().entryFields(), form.selectedRow());
    Teditovat dialog(form);
    dialog.exec();
}

} // namespace record_dialogs
