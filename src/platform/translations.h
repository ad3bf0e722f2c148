#pragma once

class QCoreApplication;

namespace translations {

// Loads Qt's own Czech texts, so standard buttons read "Ano", "Ne", "Zrušit".
// Returns whether they were found.
bool installQtCzech(QCoreApplication& app);

} // namespace translations
