#pragma once

#include "settings/settings.h"

#include <QColor>
#include <QFont>

#include <array>

// The look of each of the six row kinds (background, text colour, font), built once
// whenever the settings change so that painting a row only picks one.
struct RowLook {
    QColor background;
    QColor foreground;
    QFont font;
};

class RowLooks final {
public:
    // `listFont` gives the size; each item gives the face and the style.
    void rebuild(const Settings& settings, const QFont& listFont);
    const RowLook& look(int item) const { return m_looks.at(static_cast<size_t>(item)); }

    // The same step for one item, for anything else that shows a row kind.
    static RowLook lookOf(const RowItem& item, const QFont& listFont);

private:
    std::array<RowLook, Settings::kItemCount> m_looks;
};
