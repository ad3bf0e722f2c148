#pragma once

#include "settings/style_pages.h"

#include <array>

class Messenger;
class QLabel;
class QLineEdit;
class QSlider;

// "Nastavení sloupců": the number of columns and each column's title and width. Its
// preview has columns of its own, so nothing reaches the main list before "Ok".
class ColumnPage final : public StylePage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ColumnPage)

public:
    static constexpr int kMinCount = 4;
    static constexpr int kMaxCount = 6;

    ColumnPage(Settings& working, Messenger& messenger, QWidget* parent = nullptr);
    ~ColumnPage() override;

    // The preview takes the columns of the working copy, each slider the column's
    // width (limited to the slider's range, which the working copy then holds too).
    void load() override;
    // Shows the rows of columns 1 ... pocet and hides the others.
    void showColumnRows();
    // The column count being edited (the working copy's `pocets`).
    int pocet() const;

    // "Přidat sloupec", "Odebrat sloupec" and the count's "Výchozí".
    void addColumn();
    void removeColumn(bool withMessage = true);
    void defaultCount();

private:
    void setPocet(int count);
    void appendPreviewColumn(int column);
    void widthMoved(int column, int width);
    void fitColumns();

    Messenger& m_messenger;
    QLabel* m_count = nullptr;
    std::array<QLabel*, Settings::kItemCount> m_captions {};
    std::array<QLineEdit*, Settings::kItemCount> m_titles {};
    std::array<QSlider*, Settings::kItemCount> m_sliders {};
    std::array<QLabel*, Settings::kItemCount> m_values {};
    std::array<QPushButton*, Settings::kItemCount> m_resets {};
};
