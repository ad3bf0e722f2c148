#pragma once

class MainForm;

// How the main window opens the record dialogs, without knowing their insides.
namespace record_dialogs {

// OpenNewRecordDialog: the new-record dialog on the selected row.
void openNewRecord(MainForm& form);
// editovatakce1, then editovatakce2: the edit-record dialog on the selected row's entry.
void openEditRecord(MainForm& form);

} // namespace record_dialogs
