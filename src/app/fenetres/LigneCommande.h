#pragma once

#include <QString>
#include <QStringList>
#include <cstdio>

// The editor's command line, read before the QApplication exists, so that --help and --version
// work on a machine without a display (the manual pages are generated from --help at build
// time).
//
//   korv4 [OPTIONS] [FICHIER]

namespace korv4 {

struct LigneCommande {
  // True when the program must end at once with `statut`: after --help or --version (0), after
  // a usage error (1). Nothing has been shown then but the text on stdout or the message on
  // stderr.
  bool quitter = false;
  int statut = 0;
  // The circuit to open at start-up (.CIX, or an old .CIP circuit); empty for none.
  QString fichier;
};

// Reads argv as the program received it. Qt's own options (-platform, -style, -session...) are
// accepted and left in argv for the QApplication.
LigneCommande AnalyseLigneCommande(int argc, char** argv);

// The same on the arguments after the program name, writing the help or the version to
// `sortie` and the messages to `erreurs` (UTF-8).
LigneCommande AnalyseArguments(const QStringList& arguments, std::FILE* sortie, std::FILE* erreurs);

// Qt's debug, information and warning messages are English and meant for developers
// ("QStandardPaths: XDG_RUNTIME_DIR not set..."): kept off the user's terminal unless the
// environment variable KORV4_DEBOGAGE is set and not empty, then written as Qt writes them.
// Every failure the user must know of is shown by the editor itself, in French. A critical
// message is written after a French line start; a fatal one ends the program.
void InstalleMessagesQt();

// The text of --help.
QString AideEditeur();

}  // namespace korv4
