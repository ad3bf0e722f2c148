#pragma once

#include "records/record_dialog.h"

// The edit-record dialog "Editovat záznam": the texts of the selected day's events
// (or of one extra row), written back row by row.
class Teditovat final : public RecordDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Teditovat)

public:
    // editovatakce2: shows the rows that editovatakce1 gathered into `ListBox1`.
    explicit Teditovat(MainForm& form);

private:
    // "Upravit": writes item k back into row ListBox1[k], each row keeping its place and kind.
    void confirm() override;
};
