// The editor's modal things as Qt shows them: DialoguesQt hands every question and every file
// dialog to the dialog service (what the service is asked, what the editor gets back), and the
// service's own message boxes and open dialog, driven offscreen as the user would.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <string>
#include <vector>

#include "../OutilsDialogues.h"
#include "../ServiceDialoguesScript.h"
#include "fenetres/commun/ServiceDialogues.h"
#include "fenetres/ui/DialoguesQt.h"

namespace korv4 {
namespace {

using essai::PendantLaFenetreModale;

const char kModifie[] = "Le circuit a été modifié. Voulez-vous l'enregistrer ?";

// The modal window of kind T shown now; null after a failure, whatever is shown closed.
template <typename T>
T* FenetreModale(const char* quoi) {
  auto* f = qobject_cast<T*>(QApplication::activeModalWidget());
  if (f == nullptr) {
    ADD_FAILURE() << "no " << quoi;
    if (QWidget* w = QApplication::activeModalWidget()) w->close();
  }
  return f;
}

// The message box shown now, checked to be KORV4's with that text.
QMessageBox* BoiteKorv4(const QString& texte) {
  QMessageBox* boite = FenetreModale<QMessageBox>("message box");
  if (boite != nullptr) {
    EXPECT_EQ(boite->windowTitle(), "KORV4");
    EXPECT_EQ(boite->text(), texte);
  }
  return boite;
}

struct CasQuestion {
  Boutons boutons;
  std::deque<bool> script;
  Reponse attendue;
};

TEST(DialoguesQt, ChaqueQuestionPasseParLeService) {
  const std::vector<CasQuestion> cas = {
      {Boutons::OuiNon, {true}, Reponse::Oui},          // Yes
      {Boutons::OuiNon, {false}, Reponse::Non},         // No
      {Boutons::OuiNon, {}, Reponse::Non},              // unscripted: No
      {Boutons::OkAnnuler, {true}, Reponse::Ok},        // OK
      {Boutons::OkAnnuler, {false}, Reponse::Annuler},  // Cancel
      {Boutons::OkAnnuler, {}, Reponse::Annuler},       // unscripted: Cancel
  };
  for (const CasQuestion& k : cas) {
    const bool ouiNon = k.boutons == Boutons::OuiNon;
    SCOPED_TRACE(::testing::Message() << (ouiNon ? "Oui/Non " : "OK/Annuler ") << k.script.size());
    QWidget fenetre;
    ServiceDialoguesScript service;
    (ouiNon ? service.reponsesOuiNon : service.confirmations) = k.script;
    DialoguesQt d(&fenetre, &fenetre, nullptr, service);

    EXPECT_EQ(d.Question(kModifie, k.boutons), k.attendue);
    // The question reaches the box of its buttons, once, with its text; nothing else opens.
    const std::vector<QString> posee = {QString::fromUtf8(kModifie)};
    EXPECT_EQ(service.questionsOuiNon, ouiNon ? posee : std::vector<QString>());
    EXPECT_EQ(service.questions, ouiNon ? std::vector<QString>() : posee);
    EXPECT_TRUE(service.messages.empty());
    EXPECT_TRUE(service.demandes.empty());
    EXPECT_TRUE(service.demandesOuverture.empty());
  }
}

TEST(DialoguesQt, FichierAOuvrirPasseParLeService) {
  QTemporaryDir dossier;
  ASSERT_TRUE(dossier.isValid());
  const QString choisi = dossier.filePath(QStringLiteral("carte réglée.CIX"));
  struct Cas {
    std::string dossier;
    QString reponse;        // what the user picks; empty: cancelled
    QString dossierMontre;  // the folder the dialog opens in
    std::string secours;    // the fallback folder
  };
  const std::string absent =
      QFile::encodeName(dossier.filePath(QStringLiteral("absent"))).toStdString();
  const std::vector<Cas> cas = {
      {QFile::encodeName(dossier.path()).toStdString(), choisi, dossier.path(), ""},
      // A folder that does not exist: the fallback one, else the start-up folder.
      {absent, choisi, QDir::currentPath(), ""},
      {absent, choisi, dossier.path(), QFile::encodeName(dossier.path()).toStdString()},
      {absent, choisi, QDir::currentPath(), absent},
      {QFile::encodeName(dossier.path()).toStdString(), QString(), dossier.path(), ""},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.dossier + " -> " + k.reponse.toStdString());
    QWidget fenetre;
    ServiceDialoguesScript service;
    service.ouvertures = {k.reponse};
    DialoguesQt d(&fenetre, &fenetre, nullptr, service);
    DemandeFichier demande;
    demande.Titre = "Ouverture d'un fichier";
    demande.Filtres = {"Circuit KORV4 (*.CIX)|*.CIX", "Ancien circuit|*.CIP"};
    demande.Extension = "CIX";
    demande.Dossier = k.dossier;
    demande.DossierSecours = k.secours;
    demande.Nom = "carte.CIX";

    // The name comes back as the disk spells it (QFile::encodeName), empty when cancelled.
    EXPECT_EQ(d.FichierAOuvrir(demande),
              k.reponse.isEmpty() ? std::string() : QFile::encodeName(k.reponse).toStdString());
    ASSERT_EQ(service.demandesOuverture.size(), 1u);
    const DemandeOuverture& o = service.demandesOuverture[0];
    EXPECT_EQ(o.titre, "Ouverture d'un fichier");
    EXPECT_EQ(o.filtre, "Circuit KORV4 (*.CIX)|*.CIX|Ancien circuit|*.CIP");
    EXPECT_EQ(o.dossier, k.dossierMontre);
    EXPECT_EQ(o.nom, "carte.CIX");
    EXPECT_TRUE(service.demandes.empty());  // no save dialog
    EXPECT_TRUE(service.questions.empty() && service.questionsOuiNon.empty());
  }
}

// The platform's boxes: the title, the text, the two buttons and the one taken by default, and
// what each button answers.
TEST(ServiceDialoguesQt, BoitesDeQuestion) {
  struct Cas {
    bool ouiNon;  // QuestionOuiNon, else ConfirmationOKAnnuler
    QMessageBox::StandardButton clic;
    bool attendu;
  };
  const std::vector<Cas> cas = {
      {true, QMessageBox::Yes, true},
      {true, QMessageBox::No, false},
      {false, QMessageBox::Ok, true},
      {false, QMessageBox::Cancel, false},
  };
  ServiceDialoguesQt service;
  const QString texte = QString::fromUtf8(kModifie);
  for (const Cas& k : cas) {
    SCOPED_TRACE(::testing::Message() << (k.ouiNon ? "Oui/Non " : "OK/Annuler ") << k.clic);
    QWidget fenetre;
    bool vue = false;
    PendantLaFenetreModale([&] {
      QMessageBox* boite = BoiteKorv4(texte);
      if (boite == nullptr) return;
      vue = true;
      EXPECT_EQ(boite->standardButtons(), k.ouiNon ? (QMessageBox::Yes | QMessageBox::No)
                                                   : (QMessageBox::Ok | QMessageBox::Cancel));
      EXPECT_EQ(boite->standardButton(boite->defaultButton()),
                k.ouiNon ? QMessageBox::Yes : QMessageBox::Cancel);
      boite->button(k.clic)->click();
    });
    const bool r = k.ouiNon ? service.QuestionOuiNon(&fenetre, texte)
                            : service.ConfirmationOKAnnuler(&fenetre, texte);
    EXPECT_TRUE(vue);
    EXPECT_EQ(r, k.attendu);
  }
}

// The question before work may be lost: DialoguesQt asks the service's three-button box, and
// that box offers Oui (by default), Non and Annuler; Escape and closing it answer Annuler.
TEST(ServiceDialoguesQt, QuestionOuiNonAnnuler) {
  {
    QWidget fenetre;
    ServiceDialoguesScript service;
    service.reponsesOuiNonAnnuler = {Reponse::Non};
    DialoguesQt d(&fenetre, &fenetre, nullptr, service);
    EXPECT_EQ(d.Question(kModifie, Boutons::OuiNonAnnuler), Reponse::Non);
    EXPECT_EQ(d.Question(kModifie, Boutons::OuiNonAnnuler), Reponse::Annuler);  // unscripted
    EXPECT_EQ(service.questionsOuiNonAnnuler.size(), 2u);
    EXPECT_TRUE(service.questionsOuiNon.empty() && service.questions.empty());
  }
  enum class Geste { Oui, Non, Annuler, Echap, Fermeture, Entree };
  struct Cas {
    Geste geste;
    Reponse attendue;
  };
  const std::vector<Cas> cas = {
      {Geste::Oui, Reponse::Oui},           {Geste::Non, Reponse::Non},
      {Geste::Annuler, Reponse::Annuler},   {Geste::Echap, Reponse::Annuler},
      {Geste::Fermeture, Reponse::Annuler}, {Geste::Entree, Reponse::Oui},
  };
  ServiceDialoguesQt service;
  const QString texte = QString::fromUtf8(kModifie);
  for (const Cas& k : cas) {
    SCOPED_TRACE(static_cast<int>(k.geste));
    QWidget fenetre;
    bool vue = false;
    PendantLaFenetreModale([&] {
      QMessageBox* boite = BoiteKorv4(texte);
      if (boite == nullptr) return;
      vue = true;
      QStringList libelles;
      for (QAbstractButton* b : boite->buttons()) libelles << b->text();
      libelles.sort();
      EXPECT_EQ(libelles, QStringList({"Annuler", "Non", "Oui"}));
      EXPECT_EQ(boite->defaultButton()->text(), "Oui");
      switch (k.geste) {
        case Geste::Oui: boite->button(QMessageBox::Yes)->click(); break;
        case Geste::Non: boite->button(QMessageBox::No)->click(); break;
        case Geste::Annuler: boite->button(QMessageBox::Cancel)->click(); break;
        case Geste::Echap: QTest::keyClick(boite, Qt::Key_Escape); break;
        case Geste::Fermeture: boite->close(); break;
        case Geste::Entree: QTest::keyClick(boite, Qt::Key_Return); break;
      }
    });
    const Reponse r = service.QuestionOuiNonAnnuler(&fenetre, texte);
    EXPECT_TRUE(vue);
    EXPECT_EQ(r, k.attendue);
  }
}

// The printer set-up dialog confirms with OK (it prints nothing), and OK or Annuler is what the
// caller gets.
TEST(ServiceDialoguesQt, ConfigurationImprimanteConfirmeParOK) {
  ServiceDialoguesQt service;
  for (const bool confirme : {true, false}) {
    SCOPED_TRACE(confirme ? "OK" : "Annuler");
    QWidget fenetre;
    // Without a printer the dialog prints to a file: a new one, so that OK asks nothing more.
    QTemporaryDir dossier;
    QPrinter imprimante;
    imprimante.setOutputFileName(dossier.filePath("configuration.pdf"));
    bool vue = false;
    // The dialog may take a while to come (it asks the print system first): looked for until
    // it is there.
    QTimer attente;
    attente.setInterval(20);
    int essais = 0;
    QObject::connect(&attente, &QTimer::timeout, [&] {
      auto* dialogue = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      QDialogButtonBox* boutons = dialogue ? dialogue->findChild<QDialogButtonBox*>() : nullptr;
      if (boutons == nullptr || !dialogue->isVisible()) {
        if (++essais > 500 && QApplication::activeModalWidget() != nullptr) {
          QApplication::activeModalWidget()->close();
        }
        return;
      }
      attente.stop();
      vue = true;
      EXPECT_EQ(dialogue->windowTitle(), "Configuration de l'imprimante");
      QStringList libelles;
      for (QAbstractButton* b : boutons->buttons()) libelles << b->text().remove('&');
      EXPECT_TRUE(libelles.contains("OK")) << libelles.join(", ").toStdString();
      EXPECT_FALSE(libelles.contains("Imprimer")) << libelles.join(", ").toStdString();
      boutons->button(confirme ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
    });
    attente.start();
    EXPECT_EQ(service.ConfigurationImprimante(&fenetre, imprimante), confirme);
    EXPECT_TRUE(vue);
  }
}

// The platform's open dialog: its title, folder, filters, the name shown first, an existing
// file only; the chosen file comes back, a cancel gives an empty name.
TEST(ServiceDialoguesQt, DialogueDOuverture) {
  QTemporaryDir dossier;
  ASSERT_TRUE(dossier.isValid());
  const QString fichier = dossier.filePath(QStringLiteral("carte.CIX"));
  {
    QFile f(fichier);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  DemandeOuverture d;
  d.titre = QStringLiteral("Ouverture d'un fichier");
  d.filtre = QStringLiteral("Circuit KORV4 (*.CIX)|*.CIX|Ancien circuit|*.CIP");
  d.dossier = dossier.path();
  d.nom = QStringLiteral("carte.CIX");
  ServiceDialoguesQt service;
  for (const bool accepte : {true, false}) {
    SCOPED_TRACE(accepte ? "accepted" : "cancelled");
    QWidget fenetre;
    bool vue = false;
    PendantLaFenetreModale([&] {
      auto* dialogue = FenetreModale<QFileDialog>("file dialog");
      if (dialogue == nullptr) return;
      vue = true;
      EXPECT_EQ(dialogue->windowTitle(), d.titre);
      EXPECT_EQ(dialogue->acceptMode(), QFileDialog::AcceptOpen);
      EXPECT_EQ(dialogue->fileMode(), QFileDialog::ExistingFile);
      EXPECT_EQ(dialogue->nameFilters(), QStringList({QStringLiteral("Circuit KORV4 (*.CIX)"),
                                                      QStringLiteral("Ancien circuit (*.CIP)")}));
      EXPECT_EQ(QDir(dialogue->directory()).canonicalPath(), QDir(d.dossier).canonicalPath());
      EXPECT_EQ(dialogue->selectedFiles().value(0), fichier);
      // Open (the name shown first is the file) or Cancel.
      QDialog* fenetreDialogue = dialogue;
      if (accepte) {
        fenetreDialogue->accept();
      } else {
        fenetreDialogue->reject();
      }
    });
    const QString r = service.FichierAOuvrir(&fenetre, d);
    EXPECT_TRUE(vue);
    EXPECT_EQ(r, accepte ? fichier : QString());
  }
}

}  // namespace
}  // namespace korv4
