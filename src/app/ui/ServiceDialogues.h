#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

class QPrinter;
class QWidget;

// How the windows talk to the modal things they open (common file dialogs, message boxes):
// the editor shows the platform's dialogs, tests answer from a script, so that no test ever
// blocks on a modal window.

namespace korv4 {

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
  bool ConfigurationImprimante(QWidget* parent, QPrinter& imprimante) override;
  bool ConfirmationOKAnnuler(QWidget* parent, const QString& texte) override;
};

// The filter of a form ("Format Ecellon  (*.EXL)|*.EXL", "Format Gerber") as Qt name filters:
// a description that shows no pattern gets its pattern in brackets, one without any pattern
// gets (*).
QStringList FiltresQt(const QString& filtre);

// Answers from a script and keeps what was asked, for tests.
class ServiceDialoguesScript final : public ServiceDialogues {
 public:
  std::deque<QString> reponses;                 // file names in order; "" cancels
  std::vector<DemandeEnregistrement> demandes;  // every save dialog asked for
  std::vector<QString> messages;                // every message shown

  QString FichierAEnregistrer(QWidget*, const DemandeEnregistrement& d) override {
    demandes.push_back(d);
    if (reponses.empty()) return QString();  // an unscripted dialog is cancelled
    const QString r = reponses.front();
    reponses.pop_front();
    return r;
  }
  void Message(QWidget*, const QString& texte) override { messages.push_back(texte); }

  // Open dialogs and Yes/No questions.
  std::deque<QString> ouvertures;                   // file names in order; "" cancels
  std::vector<DemandeOuverture> demandesOuverture;  // every open dialog asked for
  std::deque<bool> reponsesOuiNon;                  // answers in order; none: No
  std::vector<QString> questionsOuiNon;             // every Yes/No question asked

  QString FichierAOuvrir(QWidget*, const DemandeOuverture& d) override {
    demandesOuverture.push_back(d);
    if (ouvertures.empty()) return QString();
    const QString r = ouvertures.front();
    ouvertures.pop_front();
    return r;
  }
  bool QuestionOuiNon(QWidget*, const QString& texte) override {
    questionsOuiNon.push_back(texte);
    if (reponsesOuiNon.empty()) return false;
    const bool r = reponsesOuiNon.front();
    reponsesOuiNon.pop_front();
    return r;
  }

  // Printing.
  std::deque<bool> confirmations;  // answers to confirmation boxes in order; none: Cancel
  std::vector<QString> questions;  // every confirmation asked
  // What the user does in the printer set-up dialog (change the printer's settings) and
  // whether they confirm it; unset: the dialog is cancelled without change.
  std::function<bool(QPrinter&)> configurationImprimante;
  int configurationsImprimante = 0;  // how many times it was opened

  bool ConfigurationImprimante(QWidget*, QPrinter& imprimante) override {
    ++configurationsImprimante;
    return configurationImprimante ? configurationImprimante(imprimante) : false;
  }
  bool ConfirmationOKAnnuler(QWidget*, const QString& texte) override {
    questions.push_back(texte);
    if (confirmations.empty()) return false;
    const bool r = confirmations.front();
    confirmations.pop_front();
    return r;
  }
};

}  // namespace korv4
