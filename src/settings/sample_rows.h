#pragma once

#include "settings/settings.h"

#include <QString>

#include <array>
#include <cstdint>

// The seven fixed rows that the settings pages' previews show, the rules by which a
// preview decides a row's kind, and the values the pages' "Výchozí" buttons set.
namespace sample_rows {

constexpr int kCount = 7;

struct Row {
    QString dayName;
    QString date;
    QString time;
    QString event;
};

// Row `row` (0 ... 6) with its day name in the day-name format `format` ("0" ... "3";
// any other text gives format "1").
Row row(int row, const QString& format);

// The settings item whose look a preview row takes. These are the previews' own rules,
// not the main list's holiday test: the fixed sample date is the holiday and the fixed
// sample time the event, and a later rule replaces the whole look of an earlier one.
int itemOf(int row, const Row& sample);

// The caption of a row kind on the colour and display pages ("Datum 1:" ... "Akce:").
const QString& caption(int item);

// What each "Výchozí" button of the colour and display pages sets. The Saturday
// background differs from the built-in default that a first run starts with.
std::int32_t defaultRowColour(int item);
std::int32_t defaultFontColour(int item);
const QString& defaultFont();

} // namespace sample_rows
