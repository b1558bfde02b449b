#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "editeur/Editeur.h"

class QWidget;

namespace korv4 {

class TFenetreEditiontexte;
class ServiceDialogues;
class VerrouOuverture;

// The editor's modal things as Qt shows them: the message box, the questions and the open and
// save dialogs through the dialog service the other windows use, the text entry window, popup
// menus built from the control table, the disk through the disk layer. The other windows are
// opened by the main window (`fenetres`).
class DialoguesQt final : public Dialogues {
 public:
  DialoguesQt(QWidget* fenetre, QWidget* zone, TFenetreEditiontexte* saisie,
              ServiceDialogues& service);
  ~DialoguesQt() override;

  // The folder of the locks that tell which editor has a circuit file open.
  void DossierVerrous(const QString& dossier);

  std::function<int(Fenetre)> fenetres;

  void Message(const std::string& texte) override;
  Reponse Question(const std::string& texte, Boutons boutons) override;
  int Choix(const std::string& texte, const std::vector<std::string>& boutons, int echap) override;
  std::string FichierAOuvrir(const DemandeFichier& d) override;
  std::string FichierAEnregistrer(const DemandeFichier& d) override;
  int SaisieTexte(std::string& texte) override;
  Controle MenuSurgissant(Controle menu, int32_t x, int32_t y) override;
  int Ouvre(Fenetre f) override { return fenetres ? fenetres(f) : 0; }
  std::string DateDuJour() override;
  bool LitFichier(const std::string& nom, std::vector<uint8_t>& octets,
                  std::string& erreur) override;
  bool EcritFichier(const std::string& nom, const std::vector<uint8_t>& octets,
                    std::string& erreur) override;
  bool RetientFichier(const std::string& nom) override;
  std::string EtatFichier(const std::string& nom) override;

 private:
  QWidget* fenetre_;
  QWidget* zone_;
  TFenetreEditiontexte* saisie_;
  ServiceDialogues& service_;
  std::unique_ptr<VerrouOuverture> verrou_;
};

}  // namespace korv4
