#pragma once

class TForm1;

// How the main window opens the record dialogs, without knowing their insides.
namespace record_dialogs {

// OpenNewRecordDialog: the new-record dialog on the selected row.
void openNewRecord(TForm1& form);
// editovatakce1, then editovatakce2: the edit-record dialog on the selected row's entry.
void openEditRecord(TForm1& form);

} // namespace record_dialogs
