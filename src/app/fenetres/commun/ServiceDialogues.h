#pragma once

#include <QString>
#include <QStringList>

class QPrinter;
class QWidget;

// How the windows talk to the modal things they open (common file dialogs, message boxes):
// the editor shows the platform's dialogs, tests answer from a script (ServiceDialoguesScript,
// beside the tests), so that no test ever blocks on a modal window.

namespace korv4 {

enum class Reponse;  // editeur/Dialogues.h

// A save dialog as the forms describe it.
struct DemandeEnregistrement {
  QString titre;            // empty: the platform's title
  QString filtre;           // "description|pattern" pairs joined by '|', or one description
  QString extensionDefaut;  // "EXL" or "*.EXL"; empty: none
  QString dossier;          // the folder it opens in; empty: the current one
  QString nom;              // the file name it shows first
  bool confirmeEcrasement = true;
  bool lectureSeuleCachee = false;
};

// An open dialog: an existing file only.
struct DemandeOuverture {
  QString titre;    // empty: the platform's title
  QString filtre;   // as for DemandeEnregistrement
  QString dossier;  // the folder it opens in
  QString nom;      // the file name it shows first; empty: none
};

class ServiceDialogues {
 public:
  virtual ~ServiceDialogues() = default;
  // The chosen file name, or an empty string when the user cancels.
  virtual QString FichierAEnregistrer(QWidget* parent, const DemandeEnregistrement& d) = 0;
  // The chosen existing file, or an empty string when the user cancels.
  virtual QString FichierAOuvrir(QWidget* parent, const DemandeOuverture& d) = 0;
  // A modal message box with an OK button.
  virtual void Message(QWidget* parent, const QString& texte) = 0;
  // A question box with the buttons Yes and No, Yes by default; true for Yes only.
  virtual bool QuestionOuiNon(QWidget* parent, const QString& texte) = 0;
  // A question answered by one of the named buttons: its index; `echap` for Escape.
  virtual int Choix(QWidget* parent, const QString& texte, const QStringList& boutons,
                    int echap) = 0;
  // A question box with the buttons Oui, Non and Annuler, Oui by default, Escape for Annuler.
  virtual Reponse QuestionOuiNonAnnuler(QWidget* parent, const QString& texte) = 0;

  // Printing.
  // The platform's printer set-up dialog on this printer (its choice, paper, orientation);
  // true when the user confirmed it.
  virtual bool ConfigurationImprimante(QWidget* parent, QPrinter& imprimante) = 0;
  // A confirmation box with the buttons OK and Cancel; true for OK only.
  virtual bool ConfirmationOKAnnuler(QWidget* parent, const QString& texte) = 0;
};

// The platform's dialogs (QFileDialog, QMessageBox).
class ServiceDialoguesQt final : public ServiceDialogues {
 public:
  QString FichierAEnregistrer(QWidget* parent, const DemandeEnregistrement& d) override;
  QString FichierAOuvrir(QWidget* parent, const DemandeOuverture& d) override;
  void Message(QWidget* parent, const QString& texte) override;
  bool QuestionOuiNon(QWidget* parent, const QString& texte) override;
  int Choix(QWidget* parent, const QString& texte, const QStringList& boutons, int echap) override;
  Reponse QuestionOuiNonAnnuler(QWidget* parent, const QString& texte) override;
  bool ConfigurationImprimante(QWidget* parent, QPrinter& imprimante) override;
  bool ConfirmationOKAnnuler(QWidget* parent, const QString& texte) override;
};

// The filter of a form ("Format Ecellon  (*.EXL)|*.EXL", "Format Gerber") as Qt name filters:
// a description that shows no pattern gets its pattern in brackets, one without any pattern
// gets (*).
QStringList FiltresQt(const QString& filtre);

}  // namespace korv4
