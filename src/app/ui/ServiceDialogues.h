#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

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

class ServiceDialogues {
 public:
  virtual ~ServiceDialogues() = default;
  // The chosen file name, or an empty string when the user cancels.
  virtual QString FichierAEnregistrer(QWidget* parent, const DemandeEnregistrement& d) = 0;
  // A modal message box with an OK button.
  virtual void Message(QWidget* parent, const QString& texte) = 0;
};

// The platform's dialogs (QFileDialog, QMessageBox).
class ServiceDialoguesQt final : public ServiceDialogues {
 public:
  QString FichierAEnregistrer(QWidget* parent, const DemandeEnregistrement& d) override;
  void Message(QWidget* parent, const QString& texte) override;
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
};

}  // namespace korv4
