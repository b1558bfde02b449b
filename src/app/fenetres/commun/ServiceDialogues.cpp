#include "fenetres/commun/ServiceDialogues.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <vector>

#include "editeur/Dialogues.h"

namespace korv4 {

QStringList FiltresQt(const QString& filtre) {
  const QStringList parties = filtre.split(QLatin1Char('|'));
  QStringList filtres;
  for (int i = 0; i < parties.size(); i += 2) {
    const QString description = parties[i].trimmed();
    const QString motif = i + 1 < parties.size() ? parties[i + 1].trimmed() : QString();
    if (motif.isEmpty()) {
      filtres << (description.contains(QLatin1Char('(')) ? description
                                                         : description + QStringLiteral(" (*)"));
    } else if (description.contains(QLatin1Char('(') + motif)) {
      filtres << description;
    } else {
      filtres << description + QStringLiteral(" (") +
                     QString(motif).replace(QLatin1Char(';'), QLatin1Char(' ')) + QLatin1Char(')');
    }
  }
  return filtres;
}

QString ServiceDialoguesQt::FichierAEnregistrer(QWidget* parent, const DemandeEnregistrement& d) {
  QFileDialog dialogue(parent, d.titre, d.dossier);
  dialogue.setAcceptMode(QFileDialog::AcceptSave);
  dialogue.setFileMode(QFileDialog::AnyFile);
  if (!d.filtre.isEmpty()) dialogue.setNameFilters(FiltresQt(d.filtre));
  QString extension = d.extensionDefaut;
  if (extension.startsWith(QLatin1String("*."))) extension.remove(0, 2);
  dialogue.setDefaultSuffix(extension);
  dialogue.setOption(QFileDialog::DontConfirmOverwrite, !d.confirmeEcrasement);
  if (!d.nom.isEmpty()) dialogue.selectFile(d.nom);
  if (dialogue.exec() != QDialog::Accepted) return QString();
  return dialogue.selectedFiles().value(0);
}

QString ServiceDialoguesQt::FichierAOuvrir(QWidget* parent, const DemandeOuverture& d) {
  QFileDialog dialogue(parent, d.titre, d.dossier);
  dialogue.setAcceptMode(QFileDialog::AcceptOpen);
  dialogue.setFileMode(QFileDialog::ExistingFile);
  dialogue.setNameFilters(FiltresQt(d.filtre));
  if (!d.nom.isEmpty()) dialogue.selectFile(d.nom);
  if (dialogue.exec() != QDialog::Accepted) return QString();
  return dialogue.selectedFiles().value(0);
}

void ServiceDialoguesQt::Message(QWidget* parent, const QString& texte) {
  QMessageBox::warning(parent, QStringLiteral("KORV4"), texte, QMessageBox::Ok);
}

bool ServiceDialoguesQt::QuestionOuiNon(QWidget* parent, const QString& texte) {
  return QMessageBox::question(parent, QStringLiteral("KORV4"), texte,
                               QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::Yes) == QMessageBox::Yes;
}

int ServiceDialoguesQt::Choix(QWidget* parent, const QString& texte, const QStringList& boutons,
                              int echap) {
  QMessageBox boite(QMessageBox::Question, QStringLiteral("KORV4"), texte, QMessageBox::NoButton,
                    parent);
  std::vector<QPushButton*> b;
  for (const QString& nom : boutons) b.push_back(boite.addButton(nom, QMessageBox::AcceptRole));
  if (!b.empty()) boite.setDefaultButton(b.front());
  if (echap >= 0 && echap < static_cast<int>(b.size())) boite.setEscapeButton(b[echap]);
  boite.exec();
  for (size_t i = 0; i < b.size(); ++i) {
    if (boite.clickedButton() == b[i]) return static_cast<int>(i);
  }
  return echap;
}

Reponse ServiceDialoguesQt::QuestionOuiNonAnnuler(QWidget* parent, const QString& texte) {
  QMessageBox boite(QMessageBox::Question, QStringLiteral("KORV4"), texte,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
  boite.button(QMessageBox::Yes)->setText(QStringLiteral("Oui"));
  boite.button(QMessageBox::No)->setText(QStringLiteral("Non"));
  boite.button(QMessageBox::Cancel)->setText(QStringLiteral("Annuler"));
  boite.setDefaultButton(QMessageBox::Yes);
  boite.setEscapeButton(QMessageBox::Cancel);
  boite.exec();
  const QAbstractButton* b = boite.clickedButton();
  return b == boite.button(QMessageBox::Yes)  ? Reponse::Oui
         : b == boite.button(QMessageBox::No) ? Reponse::Non
                                              : Reponse::Annuler;
}

bool ServiceDialoguesQt::ConfigurationImprimante(QWidget* parent, QPrinter& imprimante) {
  QPrintDialog dialogue(&imprimante, parent);
  dialogue.setWindowTitle(QStringLiteral("Configuration de l'imprimante"));
  // A set-up dialog confirms with OK: it prints nothing.
  for (QDialogButtonBox* boutons : dialogue.findChildren<QDialogButtonBox*>()) {
    if (QPushButton* ok = boutons->button(QDialogButtonBox::Ok)) ok->setText(QStringLiteral("OK"));
  }
  return dialogue.exec() == QDialog::Accepted;
}

bool ServiceDialoguesQt::ConfirmationOKAnnuler(QWidget* parent, const QString& texte) {
  return QMessageBox::question(parent, QStringLiteral("KORV4"), texte,
                               QMessageBox::Ok | QMessageBox::Cancel,
                               QMessageBox::Cancel) == QMessageBox::Ok;
}

}  // namespace korv4
