#pragma once

#include <QString>
#include <string>

// Texts of the store and of the files are Windows-1252 bytes; the windows show Unicode.

namespace korv4 {

QString DeWindows1252(const std::string& octets);
// False when a character has no byte in the code page (nothing is then written to octets).
bool VersWindows1252(const QString& texte, std::string& octets);

}  // namespace korv4
