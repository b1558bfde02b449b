#pragma once

#include <QDialog>
#include <QPrinter>
#include <QStringList>

#include "model/Circuit.h"
#include "print/Impression.h"
#include "render/ContexteTrace.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace korv4 {

class ServiceDialogues;

// "Impression": the printer and its orientation, the printable area, the circuit's
// size, the documents, and the two print commands ("Impression des documents" at
// 1:1, "Impression tel qu'à l'ecran"). Created once, hidden, with the editor's circuit; it owns
// the current printer (a QPrinter in high resolution) for the whole run.
//
// How the editor opens it:
// - The menu entry "&Impression" (Impression1) and the main toolbar's button "Imprimer"
//   (BoutonImpression): when NbElements > 0 the editor (Impression in core, editeur/Clic.cpp)
//   fills the header from the title block with RemplitEnteteCI, as the save command does, then
//   asks Dialogues::Ouvre(Fenetre::FicheImpression), and Fiche_principale::OuvreFenetre calls
//   FicheImpression_->Ouvre(ed_.Etat, ed_.ctx) with the current work state and the screen's
//   ContexteTrace (read only: nothing of the screen is drawn or changed). Ouvre does nothing
//   when the circuit is empty.
// - The menu entry "&Configuration de l'imprimante" (Configurationdelimprimante1) asks
//   Dialogues::Ouvre(Fenetre::ConfigurationImprimante): OuvreFenetre calls
//   ConfigurationImprimante().
// - The work-surface dialog's preset "Format imprimante" reads Page(), which the main window
//   hands to TSurfacedetravail.
//
// When the system has no printer at all the list holds one entry, "Fichier PDF": the printer
// then prints to a PDF file (QPrinter::PdfFormat) whose name a save dialog asks for.
class TFicheImpression : public QDialog {
  Q_OBJECT

 public:
  TFicheImpression(const Circuit& circuit, ServiceDialogues& service, QWidget* parent = nullptr);

  // The print command (after the title block): runs the dialog modally when the circuit has
  // elements, with the editor's current work state and screen context. Returns the dialog's
  // result (QDialog::Accepted after either print command, whether or not anything was printed;
  // QDialog::Rejected for "Annuler"), or 0 when it was not shown.
  int Ouvre(const EtatTravail& etat, const ContexteTrace& ecran);
  // "&Configuration de l'imprimante": the platform's printer set-up dialog on the current
  // printer, without this dialog. True when confirmed.
  bool ConfigurationImprimante();

  QPrinter& Imprimante() { return imprimante_; }
  // The current printer's page (resolution, printable area in dots, orientation).
  PageImprimante Page() const;
  // The names the list offers: the system's printers, or "Fichier PDF" alone.
  static QStringList NomsImprimantes();
  static const char* const kFichierPdf;  // "Fichier PDF"

  // Init: every control from the printer and the circuit. Runs on every paint of
  // the whole dialog (FormPaint), and after each command of the dialog.
  void Init();

  // The last print command's outcome, for tests: the job as set up, and whether a page was
  // printed.
  const TravailImpression& DernierTravail() const { return dernier_; }
  bool DernierImprime() const { return dernierImprime_; }

 protected:
  void showEvent(QShowEvent* e) override;
  void paintEvent(QPaintEvent* e) override;

 private:
  void FormShow();
  void ListeImprimantesChange(int index);
  void ChoisitImprimante(const QString& nom);
  // The page's orientation is kept from one run to the next (settings "Impression/Paysage").
  void RetientOrientation();
  void BoutonImpressionClick();
  void ImprimeEcranClick();
  // Asks the size question when needed, then prints the job on the printer (a PDF file asks
  // for its name first). True when a page was printed.
  bool LanceImpression(TravailImpression& t);

  const Circuit& circuit_;
  ServiceDialogues& service_;
  QPrinter imprimante_{QPrinter::HighResolution};
  EtatTravail etat_;
  ContexteTrace ecran_;
  Cadre encombrement_;  // EncombrementCI
  TravailImpression dernier_;
  bool dernierImprime_ = false;
  QString nomPdf_;  // the PDF file chosen last
  // The printer set-up dialog named the PDF file to print into: the next print does not ask it
  // again.
  bool fichierDeLaConfiguration_ = false;
  void ApresConfiguration();

  QComboBox* ListeImprimantes_;
  QRadioButton *RBPortrait_, *RBPaysage_;
  QPushButton* ConfigIMP_;
  QLabel *Hauteur_, *Largeur_, *HauteurCI_, *LargeurCI_;
  QCheckBox *Face1_, *Face2_, *Face3_, *Face4_, *Cadre_, *Inversionface2_, *Cadre2_;
  QPushButton *BoutonImpression_, *ImprimeEcran_, *BoutonAnnuler_;
};

}  // namespace korv4
