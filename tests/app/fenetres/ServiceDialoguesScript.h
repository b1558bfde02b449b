#pragma once

// The dialog service of the windows answering from a script and keeping what was asked, so
// that no test ever blocks on a modal window.

#include <QString>
#include <deque>
#include <functional>
#include <vector>

#include "editeur/Dialogues.h"
#include "fenetres/commun/ServiceDialogues.h"

namespace korv4 {

class ServiceDialoguesScript final : public ServiceDialogues {
 public:
  // Save dialogs.
  std::deque<QString> reponses;                 // file names in order; "" cancels
  std::vector<DemandeEnregistrement> demandes;  // every save dialog asked for
  std::vector<QString> messages;                // every message shown

  QString FichierAEnregistrer(QWidget*, const DemandeEnregistrement& d) override {
    demandes.push_back(d);
    return Suivante(reponses);
  }
  void Message(QWidget*, const QString& texte) override { messages.push_back(texte); }

  // Open dialogs.
  std::deque<QString> ouvertures;                   // file names in order; "" cancels
  std::vector<DemandeOuverture> demandesOuverture;  // every open dialog asked for

  QString FichierAOuvrir(QWidget*, const DemandeOuverture& d) override {
    demandesOuverture.push_back(d);
    return Suivante(ouvertures);
  }

  // Yes/No questions.
  std::deque<bool> reponsesOuiNon;       // answers in order; none: No
  std::vector<QString> questionsOuiNon;  // every Yes/No question asked

  std::deque<int> choix;             // answers to Choix by index; none: Escape
  std::vector<QString> textesChoix;  // every Choix asked
  int Choix(QWidget*, const QString& texte, const QStringList&, int echap) override {
    textesChoix.push_back(texte);
    if (choix.empty()) return echap;
    const int r = choix.front();
    choix.pop_front();
    return r;
  }
  bool QuestionOuiNon(QWidget*, const QString& texte) override {
    questionsOuiNon.push_back(texte);
    return Suivante(reponsesOuiNon);
  }

  // Yes/No/Cancel questions.
  std::deque<Reponse> reponsesOuiNonAnnuler;    // answers in order; none: Annuler
  std::vector<QString> questionsOuiNonAnnuler;  // every such question asked

  Reponse QuestionOuiNonAnnuler(QWidget*, const QString& texte) override {
    questionsOuiNonAnnuler.push_back(texte);
    if (reponsesOuiNonAnnuler.empty()) return Reponse::Annuler;
    const Reponse r = reponsesOuiNonAnnuler.front();
    reponsesOuiNonAnnuler.pop_front();
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
    return Suivante(confirmations);
  }

 private:
  // The next scripted answer; an unscripted dialog is cancelled (an empty name, No, Cancel).
  template <typename T>
  static T Suivante(std::deque<T>& script) {
    if (script.empty()) return T();
    T r = script.front();
    script.pop_front();
    return r;
  }
};

}  // namespace korv4
