#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "export/Fabrication.h"
#include "model/Circuit.h"
#include "partage/disque/FichiersDisque.h"

// What every sub-command shares: its command line with a French help, messages on stderr, and
// the opening of its input circuit.

namespace korv4::cli {

// "korv4-cli: " and the message on stderr (UTF-8).
void Erreur(const std::string& message);
// The text on stdout (UTF-8). False when stdout did not take all of it (full disk, closed
// output...); errno then tells why.
bool Affiche(const QString& texte);
// Why stdout did not take a text: korv4::RaisonSortieStandard (partage/disque).
// Shows the text on stdout; when stdout does not take it, says so on stderr ("quoi": what could
// not be written) and returns false: the caller exits with kEcritureImpossible.
bool AfficheOuSignale(const QString& texte, const std::string& quoi);

// Called first in main, before anything opens a file: korv4::GardeFluxStandard (partage/disque).

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
  QStringList Valeurs(const QCommandLineOption& option) const { return parser_.values(option); }
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

// How the messages name the input: "le circuit « CHEMIN »".
std::string NomCircuit(const QString& chemin);

// OuvreEntree, then a circuit without elements refused with "le circuit « CHEMIN » est vide : "
// and `rien` (what is not written). Returns -1 when the sub-command may go on, otherwise its
// exit status (kEntreeInvalide, kRienAEcrire).
int OuvreCircuitNonVide(const QString& chemin, Circuit& c, const std::string& rien);

// An output that is the input file itself (the same name, another path, a link) would replace
// the circuit: refused as a usage error before anything is read or written. Returns -1 when
// the sub-command may go on, otherwise kMauvaisUsage.
int VerifieSortieDistincte(const LigneDeCommande& ligne, const QString& sortie,
                           const QString& entree);

// Whether an output may be the input file itself: only convertir rewrites a circuit in place.
enum class SurPlace { Refusee, Permise };

// Every file a sub-command writes goes through one of these two, which refuse first an output
// that is the input file (VerifieSortieDistincte, unless SurPlace::Permise), then write as the
// disk layer does. They return -1 when the file is written (EcritSortie) or open (OuvreSortie),
// otherwise the exit status, the message said.
int EcritSortie(const LigneDeCommande& ligne, const QString& entree, const QString& sortie,
                const std::vector<uint8_t>& octets, SurPlace surPlace = SurPlace::Refusee);
int OuvreSortie(const LigneDeCommande& ligne, const QString& entree, FichierDisqueEnCours& fichier);

// A number of millimetres as typed, with a point or a comma, from `min` to `max`.
bool LitMillimetres(QString texte, double min, double max, double& mm);

// The options of the board-house set's outline and mask (--contour, --marge-contour,
// --marge-masque), which fabrication and apercu share: declared once, read once.
struct OptionsContourMasque {
  explicit OptionsContourMasque(const QString& aideContour);
  void Ajoute(LigneDeCommande& ligne) const;
  // Fills `o`; returns -1 when the values are good, otherwise the usage error's exit status.
  int Lit(const LigneDeCommande& ligne, OptionsFabrication& o) const;

  QCommandLineOption contour, margeContour, margeMasque;
};

}  // namespace korv4::cli
