#pragma once

#include "records/placing.h"

#include <QDialog>

#include <array>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class MainForm;

// What the new-record and the edit-record dialogs share: the ten-row item grid
// "Hod.", "Akce", "1", "2" laid out for the column count, the two buttons, and the
// clean-up of the record fields when the dialog closes.
class RecordDialog : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RecordDialog)

public:
    static constexpr int kRows = 10;
    static constexpr int kColumns = 4;
    static constexpr int kRowStep = 21;

    // Edit number 4k-3+c-1 (`Edit1`..`Edit40`) for item row k (1..10) and grid column c (1..4).
    QLineEdit* edit(int row, int column) const;
    int itemCount() const { return m_items; }
    // `sloupce`: the column count 4, 5 or 6 taken from the settings.
    int sloupce() const { return m_sloupce; }

protected:
    // `gridTop` is where the column headers start; the client area is `clientHeight` high.
    RecordDialog(MainForm& form, const QString& caption, const QString& confirmText, bool limitLengths,
        int gridTop, int clientHeight);

    // Shows item rows 1..n and lays the dialog out for the column count.
    void setItemCount(int n);
    // Sets u1/u2 from the row `pocet` names and moves the list to that date's day row.
    bool takeTargetDay();
    // Copies grid row k into the pending texts ze(4k-3)..ze(4k), by column count.
    void copyItem(int k);
    EntryFields fields();

    virtual void confirm() = 0;
    void done(int result) override;

    MainForm& m_form;
    QPushButton* m_confirm = nullptr;

private:
    void layOut();

    int m_sloupce = 4;
    int m_items = 1;
    int m_gridTop = 0;
    std::array<QLineEdit*, kRows * kColumns> m_edits {};
    std::array<QLabel*, kColumns> m_headers {};
    std::array<QFrame*, kColumns - 1> m_separators {};
    QPushButton* m_cancel = nullptr;
};
