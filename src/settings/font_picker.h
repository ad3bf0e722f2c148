#pragma once

#include "settings/settings.h"

#include <QDialog>

class QComboBox;
class QLabel;

// Tpismo: the font picker; every installed font, each drawn in its own face. A pick
// by the user sets the row kind's font at once.
class Tpismo final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tpismo)

public:
    Tpismo(RowItem& item, QWidget* parent = nullptr);

    QComboBox* fonts() const { return m_fonts; }
    QLabel* sample() const { return m_sample; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void pick(int index);

    RowItem& m_item;
    QComboBox* m_fonts = nullptr;
    QLabel* m_sample = nullptr;
};

// Puts a fixed-size picker in the middle of the screen its parent is on.
void centreOnScreen(QWidget* window);
// A picker's caption "- ukázka -" and its sunken sample panel showing `text`.
QLabel* addSample(QDialog* picker, const QString& text, const QRect& captionPlace, const QRect& samplePlace);
