#pragma once

class QCoreApplication;

// The interface is French whatever the system's locale: dates, numbers, file sizes and Qt's own
// dialogs (file and print dialogs, standard buttons).

namespace korv4 {

// Before the QApplication exists: the locale Qt takes for the system's (the file dialog's sizes
// and dates, the printer's options) is French.
void LocaleFrancaise();

// Once it exists: French is the default locale and Qt's own texts come from its French
// translations (Debian package qt6-translations-l10n). False when they cannot be loaded.
bool TraductionsFrancaises(QCoreApplication& application);

}  // namespace korv4
