#include "editeur/Editeur.h"
#include "model/FichierRecuperation.h"
#include "model/Fichiers.h"
#include "model/TexteAffichable.h"
#include "render/Curseur.h"
#include "render/TraceCircuit.h"

// Open, save, new work and close with their questions, and the title block.

namespace korv4 {

namespace {

using C = Controle;

constexpr const char* kQuestionModifie =
    "Le circuit imprimé a été modifié. Désirez-vous l'enregistrer ?";
constexpr const char* kQuestionEffacer = "Désirez-vous effacer votre travail ?";
constexpr const char* kQuestionTerminer = "Désirez-vous terminer votre travail ?";

// Before work may be lost: true when the command may go on (saved, not to be saved, nothing
// to save); Annuler, or a save that did not happen (its dialog cancelled, the disk refusing),
// stops it. Oui saves as the save command does: in place when the circuit has its file.
// `demande`: the question was asked (and answered), so the command asks nothing more.
bool ProposeEnregistrement(Editeur& ed, bool* demande = nullptr) {
  if (demande != nullptr) *demande = false;
  if (!ed.circuit.CircuitModifie || ed.circuit.NbElements == 0) return true;
  const Reponse r = ed.dialogues->Question(kQuestionModifie, Boutons::OuiNonAnnuler);
  if (demande != nullptr) *demande = true;
  switch (r) {
    case Reponse::Oui:
      EnregistreSurPlace(ed);
      return !ed.circuit.CircuitModifie || ed.circuit.NbElements == 0;
    case Reponse::Non: return true;
    default: return false;
  }
}

void Legende(Editeur& ed, const std::string& nom) {
  // A name is shown as text, whatever bytes it holds.
  ed.Legende = nom.empty() ? "KORV4" : "KORV4 : " + TexteAffichableCourt(nom, 300);
  if (ed.LectureSeule) ed.Legende += " (lecture seule)";
  ++ed.Version;
}

// A file another editor has open: read only, opened anyway, or not opened (false).
bool AccepteFichierRetenu(Editeur& ed, const std::string& nom, bool& lectureSeule) {
  lectureSeule = false;
  if (ed.dialogues->RetientFichier(nom)) return true;
  const int choix = ed.dialogues->Choix(
      "Le fichier " + nom +
          " est déjà ouvert dans un autre éditeur KORV4. Si les deux l'enregistrent, le travail "
          "de l'un écrasera celui de l'autre. Ouvrir ce fichier en lecture seule (pour "
          "l'enregistrer, un autre nom sera demandé) ou l'ouvrir quand même ?",
      {"Lecture seule", "Ouvrir quand même", "Annuler"}, 2);
  if (choix == 0 || choix == 1) {
    lectureSeule = choix == 0;
    return true;
  }
  // The file this editor had stays held.
  if (!ed.LectureSeule && !ed.circuit.NomFichier.empty()) {
    ed.dialogues->RetientFichier(ed.circuit.NomFichier);
  }
  return false;
}

}  // namespace

std::string DossierDe(const std::string& chemin) {
  const size_t p = chemin.find_last_of('/');
  return p == std::string::npos ? std::string() : chemin.substr(0, p);
}

namespace {

// A circuit read from a file (or from a recovery copy) becomes the one on screen, with a new
// history; `enregistre`: it is as saved on the disk.
void InstalleCircuit(Editeur& ed, Circuit&& lu, const std::string& nom, bool enregistre) {
  const char derniere = nom.empty() ? 'X' : nom.back();
  const bool ancien = derniere == 'P' || derniere == 'p';
  // An undo may never bring records of the previous circuit into this one.
  lu.NbSupprimes = 0;
  lu.messages = ed.circuit.messages;
  ed.circuit = std::move(lu);
  ed.Titres = {ed.circuit.EnteteCI.Titre, ed.circuit.EnteteCI.DateCI, ed.circuit.EnteteCI.Auteur};
  ++ed.Version;
  if (!ancien) {
    ed.ctx.SurfaceX = ed.circuit.EnteteCI.SurfaceX;
    ed.ctx.SurfaceY = ed.circuit.EnteteCI.SurfaceY;
    initialiseBpPercage(ed);
  }
  ed.circuit.CircuitModifie = !enregistre;
  RazBoutons(ed);
  EtatAnnulation(ed);
  RazCurseur(ed.ctx);
  ed.ctx.SelectionVisible = false;
  AnnuleSelection(ed.circuit, ed.ctx);
  VueALOrigine(ed);
  AfficheCI(ed);
  CommenceHistorique(ed, enregistre);
}

// The circuit written to `nom`, its header filled from the screen's title block and surface;
// a failure shows its message and leaves the file as it was.
// A file changed on the disk since this editor read or wrote it is not overwritten without
// the user's word: Ecraser goes on, "Enregistrer sous" saves through the dialog instead (and
// `sous` says so), Annuler stops.
bool PeutEcraser(Editeur& ed, const std::string& nom, bool& sous) {
  sous = false;
  if (nom != ed.circuit.NomFichier || ed.EtatSurDisque.empty()) return true;
  const std::string etat = ed.dialogues->EtatFichier(nom);
  // A file that is gone loses nothing when written again.
  if (etat.empty() || etat == ed.EtatSurDisque) return true;
  const int choix = ed.dialogues->Choix(
      "Le fichier " + nom +
          " a été modifié par un autre programme depuis qu'il a été ouvert ou enregistré ici. "
          "L'écraser perd ces modifications.",
      {"Écraser", "Enregistrer sous…", "Annuler"}, 2);
  if (choix == 0) return true;
  if (choix == 1) {
    sous = true;
    Enregistrerunfichier1Click(ed);
  }
  return false;
}

bool EcritCircuitSous(Editeur& ed, const std::string& nom) {
  bool sous = false;
  if (!PeutEcraser(ed, nom, sous)) return false;
  RemplitEnteteCI(ed.circuit, ed.Titres[0], ed.Titres[1], ed.Titres[2], ed.ctx.SurfaceX,
                  ed.ctx.SurfaceY);
  std::string erreur;
  if (ed.dialogues->EcritFichier(nom, EcritCircuit(ed.circuit), erreur)) {
    ed.EtatSurDisque = ed.dialogues->EtatFichier(nom);
    return true;
  }
  ed.dialogues->Message(erreur);
  return false;
}

}  // namespace

bool OuvreFichier(Editeur& ed, const std::string& nom) {
  std::vector<uint8_t> octets;
  std::string erreur, avertissement;
  // The circuit on screen stays as it was when the file is refused.
  Circuit lu = ed.circuit;
  int32_t nombreLu = 0;
  // Seen before it is read: a change made while it is read shows at the next save.
  const std::string etat = ed.dialogues->EtatFichier(nom);
  if (!ed.dialogues->LitFichier(nom, octets, erreur) ||
      !OuvreCircuit(lu, octets, nom, erreur, &nombreLu, &avertissement)) {
    ed.dialogues->Message(erreur);
    return false;
  }
  bool lectureSeule = false;
  if (!AccepteFichierRetenu(ed, nom, lectureSeule)) return false;
  ed.LectureSeule = lectureSeule;
  ed.EtatSurDisque = etat;
  ed.RepertoireCircuits = DossierDe(nom);
  ed.DernierFichier = nom;
  Legende(ed, nom);
  // A circuit that joining or repair changed is not the one on the disk: it opens modified, so
  // that closing offers to save it, and the user is told what changed.
  const bool repare = lu.CircuitModifie;
  const int32_t garde = lu.NbElements;
  InstalleCircuit(ed, std::move(lu), nom, !repare);
  if (repare) {
    ed.dialogues->Message(
        "Le circuit " + nom +
        " a été réparé à l'ouverture (pistes jointes ; dessins, pistes et groupes incomplets "
        "retirés ; cadres des groupes recalculés) : " +
        std::to_string(nombreLu) + " éléments lus, " + std::to_string(garde) + " après réparation" +
        (avertissement.empty() ? "." : " ; " + avertissement) +
        " Il est marqué modifié : enregistrez-le pour garder la réparation.");
  }
  return true;
}

std::vector<uint8_t> CopieDeRecuperation(const Editeur& ed, int64_t date) {
  return EcritRecuperation(ed.circuit, ed.Titres, ed.ctx.SurfaceX, ed.ctx.SurfaceY,
                           {ed.circuit.NomFichier, date});
}

bool RestaureCopie(Editeur& ed, const std::vector<uint8_t>& octets, const std::string& nomCopie,
                   std::string& erreur) {
  Circuit lu = ed.circuit;
  CopieRecuperation copie;
  if (!LitRecuperation(lu, copie, octets, nomCopie, erreur)) return false;
  // A name that no user could have had is not proposed for saving: the circuit comes back
  // without one.
  if (!CheminDeCircuitPlausible(copie.NomFichier)) copie.NomFichier.clear();
  lu.NomFichier = copie.NomFichier;
  // The circuit comes back as it was being edited: under its name, not saved. Its file is
  // held if no other editor has it; either way saving over it asks first if it changed.
  ed.dialogues->RetientFichier(copie.NomFichier);
  ed.LectureSeule = false;
  ed.EtatSurDisque = "?";
  Legende(ed, copie.NomFichier);
  InstalleCircuit(ed, std::move(lu), copie.NomFichier, false);
  return true;
}

void OuvreFichierDepose(Editeur& ed, const std::string& nom) {
  if (ed.dialogues == nullptr || !ProposeEnregistrement(ed)) return;
  OuvreFichier(ed, nom);
}

void Ouvrir1Click(Editeur& ed) {
  if (ed.dialogues == nullptr || !ProposeEnregistrement(ed)) return;
  DemandeFichier d;
  d.Titre = "Ouverture d'un fichier ";
  d.Filtres = {"*.CIX pour KORV4|*.CIX", "*.CIP pour KORV3|*.CIP"};
  d.Dossier = ed.RepertoireCircuits;
  d.Nom = ed.DernierFichier;
  const std::string nom = ed.dialogues->FichierAOuvrir(d);
  if (nom.empty()) return;
  OuvreFichier(ed, nom);
}

void Enregistrerunfichier1Click(Editeur& ed) {
  if (ed.dialogues == nullptr) return;
  NettoyageCircuit(ed.circuit);
  if (ed.circuit.NbElements == 0) return;
  DemandeFichier d;
  d.Titre = "Ecriture d'un fichier ";
  d.Filtres = {"*.CIX|*.CIX"};
  d.Extension = "CIX";
  d.Dossier = ed.RepertoireCircuits;
  const std::string& actuel = ed.circuit.NomFichier;
  d.Nom =
      actuel.empty() ? "Circuit 1" : actuel.substr(0, actuel.size() >= 4 ? actuel.size() - 4 : 0);
  d.ConfirmeEcrasement = true;
  const std::string nom = ed.dialogues->FichierAEnregistrer(d);
  // On failure the circuit still needs saving, under the name it had: only a save that
  // succeeded names the circuit, the caption and the last circuit.
  if (nom.empty() || !EcritCircuitSous(ed, nom)) return;
  if (nom != ed.circuit.NomFichier || ed.LectureSeule) ed.dialogues->RetientFichier(nom);
  ed.LectureSeule = false;
  ed.circuit.NomFichier = nom;
  Legende(ed, nom);
  ed.RepertoireCircuits = DossierDe(nom);
  ed.DernierFichier = nom;
  // What the repair before saving changed is a step of its own; the history knows the saved
  // state, so that undoing back to it leaves the circuit unmodified.
  Etape(ed, "Enregistrement du circuit");
  ed.historique.MarqueEnregistre();
  ed.circuit.CircuitModifie = false;
  EtatCircuit(ed);
}

void Nouveaufichier1Click(Editeur& ed) {
  bool demande = false;
  if (ed.dialogues == nullptr || !ProposeEnregistrement(ed, &demande)) return;
  // One question: the user who answered the save question has already chosen.
  if (!demande && ed.dialogues->Question(kQuestionEffacer, Boutons::OkAnnuler) != Reponse::Ok) {
    return;
  }
  Initialisation(ed);
  ed.dialogues->RetientFichier("");
  Legende(ed, "");
  AfficheCI(ed);
}

bool FormClose(Editeur& ed) {
  if (ed.dialogues == nullptr) return true;
  bool demande = false;
  if (!ProposeEnregistrement(ed, &demande)) return false;
  return demande || ed.dialogues->Question(kQuestionTerminer, Boutons::OkAnnuler) == Reponse::Ok;
}

void Fichier1Click(Editeur& ed) {
  const bool b = ed.circuit.NbElements > 0;
  for (C c : {C::Enregistrerunfichier1, C::Enregistrersous1, C::Nouveaufichier1,
              C::Exporterlefichierdeperage1, C::ExporterlecircuitauformatGerber1,
              C::Fichiersdefabrication1, C::Verificationdesisolements1, C::Impression1}) {
    Actif(ed, c, b);
  }
}

void Edition1Click(Editeur& ed) { Actif(ed, C::Copier1, ed.circuit.NbElements > 0); }

void TitreClick(Editeur& ed, Controle bouton) {
  const C edit = bouton == C::Boutontitre  ? C::EditTitre1
                 : bouton == C::Boutondate ? C::EditTitre2
                                           : C::EditTitre3;
  for (C e : {C::EditTitre1, C::EditTitre2, C::EditTitre3}) {
    Actif(ed, e, e == edit && EstEnfonce(ed, bouton));
  }
  ed.FocusTitre = EstEnfonce(ed, bouton) ? (edit == C::EditTitre1   ? 1
                                            : edit == C::EditTitre2 ? 2
                                                                    : 3)
                                         : 0;
  // The title typed is one gesture, from a button pressed to the last one released.
  if (TitreEnCours(ed)) {
    OuvreGeste(ed, GesteLong::Titre, Definition(bouton).Bulle);
  } else {
    ValideGeste(ed, GesteLong::Titre);
  }
  if (bouton == C::Boutondate && ed.Titres[1].empty() && ed.dialogues != nullptr) {
    ed.Titres[1] = "Le " + ed.dialogues->DateDuJour();
    ++ed.Version;
  }
}

void TitreTouche(Editeur& ed, int edit, Touche touche) {
  if (touche == Touche::Entree || touche == Touche::Echap) {
    constexpr C kEdits[] = {C::EditTitre1, C::EditTitre2, C::EditTitre3};
    constexpr C kBoutons[] = {C::Boutontitre, C::Boutondate, C::Boutonauteur};
    Actif(ed, kEdits[edit - 1], false);
    Enfonce(ed, kBoutons[edit - 1], false);
    if (!TitreEnCours(ed)) ValideGeste(ed, GesteLong::Titre);
  }
  ed.circuit.CircuitModifie = true;
  // One step for the whole title, once it is no longer being typed.
  Etape(ed, "Titre du circuit");
}

void EnregistreSurPlace(Editeur& ed) {
  if (ed.dialogues == nullptr) return;
  const std::string nom = ed.circuit.NomFichier;
  const std::string extension = nom.size() >= 4 ? nom.substr(nom.size() - 4) : std::string();
  // An old-format circuit, one never saved, or one open read only gets its name from the
  // dialog.
  if ((extension != ".CIX" && extension != ".cix") || ed.LectureSeule) {
    Enregistrerunfichier1Click(ed);
    return;
  }
  NettoyageCircuit(ed.circuit);
  if (ed.circuit.NbElements == 0 || !EcritCircuitSous(ed, nom)) return;
  ed.DernierFichier = nom;
  Etape(ed, "Enregistrement du circuit");
  ed.historique.MarqueEnregistre();
  ed.circuit.CircuitModifie = false;
  EtatCircuit(ed);
}

}  // namespace korv4
