#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "model/Circuit.h"

// What every sub-command shares: its command line with a French help, messages on stderr, and
// the opening of its input circuit.

namespace korv4::cli {

// "korv4-cli: " and the message on stderr (UTF-8).
void Erreur(const std::string& message);
// The text on stdout (UTF-8). False when stdout did not take all of it (full disk, closed
// output...); errno then tells why.
bool Affiche(const QString& texte);

// The command line of one sub-command.
class LigneDeCommande {
 public:
  // syntaxe: e.g. "FICHIER [--json]"; description: a few lines on what the sub-command does.
  LigneDeCommande(const QString& sousCommande, const QString& syntaxe, const QString& description);

  void AjoutePositionnel(const QString& nom, const QString& description);
  void AjouteOption(const QCommandLineOption& option);

  // Parses the arguments. Returns -1 when the sub-command should go on, otherwise the exit
  // status: 0 after showing the help, kMauvaisUsage after a usage error (message and syntax
  // on stderr).
  int Analyse(const QStringList& arguments);

  bool Present(const QCommandLineOption& option) const { return parser_.isSet(option); }
  QString Valeur(const QCommandLineOption& option) const { return parser_.value(option); }
  QStringList Positionnels() const { return parser_.positionalArguments(); }

  QString Aide() const;
  // A usage error: message and syntax on stderr; returns kMauvaisUsage.
  int MauvaisUsage(const std::string& message) const;

 private:
  QString sousCommande_, syntaxe_, description_;
  QCommandLineParser parser_;
  QCommandLineOption aide_;
  std::vector<std::pair<QString, QString>> positionnels_;
  std::vector<QCommandLineOption> options_;
};

// Reads the input file and opens it exactly as the editor's open command does (read by the
// last letter of the name, join the tracks, repair). On failure prints the reason and returns
// false (exit status kEntreeInvalide).
bool OuvreEntree(const QString& chemin, Circuit& c);

}  // namespace korv4::cli
