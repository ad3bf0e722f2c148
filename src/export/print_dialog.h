#pragma once

#include "export/export_dialog.h"
#include "export/print_pages.h"

#include <QDialog>

class DateField;
class Messenger;
class PrintPart;
class QCheckBox;

// The print and PDF dialog: the days to put on paper and whether in colour, then
// Qt's print preview (from which the user prints) or the PDF file.
class Tprint final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tprint)

public:
    enum class Target { Printer, Pdf };

    // `month` is a day of the month offered; `part` prints (the printer target only).
    Tprint(Target target, const print_pages::Source& source, const QDate& month, Messenger& messenger,
        SaveFileChooser chooser, PrintPart* part, QWidget* parent = nullptr);

private:
    void Button1Click();
    // The rows of the chosen days; false (reported) when there are none to print.
    bool readRows(print_pages::Rows& rows);
    void save(const print_pages::Rows& rows);

    Target m_target;
    const print_pages::Source& m_source;
    Messenger& m_messenger;
    SaveFileChooser m_chooser;
    PrintPart* m_part = nullptr;
    DateField* m_from = nullptr;
    DateField* m_to = nullptr;
    QCheckBox* m_blackAndWhite = nullptr;
};
