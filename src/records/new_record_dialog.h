#pragma once

#include "records/record_dialog.h"

class DateField;
class QSpinBox;

// The new-record dialog "Nový záznam": one to ten events for one date at once.
class Tzaznam final : public RecordDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tzaznam)

public:
    // Opens on the main window's selected row (its index goes into `pocet`).
    explicit Tzaznam(MainForm& form);

    QSpinBox* itemCountBox() const { return m_count; }
    DateField* dateField() const { return m_date; }

private:
    // "Vytvořit": item 1 rewrites the target row, items 2..N become extra rows under it.
    void confirm() override;
    // Every change of the date makes that date's day row the target.
    void DateEdit1Change();

    QSpinBox* m_count = nullptr;
    DateField* m_date = nullptr;
};
