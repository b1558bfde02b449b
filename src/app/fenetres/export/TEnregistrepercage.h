#pragma once

#include <QDialog>

#include "export/Percage.h"
#include "model/Circuit.h"

class QLabel;
class QPushButton;
class QRadioButton;

namespace korv4 {

class ServiceDialogues;

// "Enregistrement d'un fichier de perçage": the file format, the side the board is drilled
// from and the holes to drill (the circuit's or the centring pins), then a save dialog and the
// writer. Created once, hidden; the format and side chosen stay from one export to the next.
class TEnregistrepercage : public QDialog {
  Q_OBJECT

 public:
  TEnregistrepercage(const Circuit& circuit, ServiceDialogues& service, QWidget* parent = nullptr);

  // The menu entry "E&xporter le fichier de perçage" and the main toolbar's button "Export
  // perçage" (Fiche_principale::OuvreFenetre, Fenetre::Enregistrepercage): collects the holes
  // of a circuit that has elements and runs the dialog modally when there is at least one hole
  // (pins included). Returns the dialog's result, or 0 when it was not shown.
  int Ouvre();
  // The collection alone; true when the dialog has something to show.
  bool PreparePercages();

  const ListePercages& Percages() const { return percages_; }
  // The options the buttons say.
  OptionsPercage Options() const;
  FormatPercage Format() const;

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void FormShow();
  void EnregistreFichierPercageClick();

  const Circuit& circuit_;
  ServiceDialogues& service_;
  ListePercages percages_;
  Cadre etendue_;
  QString nomFichier_;  // the name chosen last

  QRadioButton *Formatexcellon_, *FormatIso_, *FormatHPGL_, *FormatExport_;
  QRadioButton *CoteCuivre_, *CoteComposants_, *PercageCI_, *PercagePion_;
  QLabel *LabelNbpercage_, *LabelPions_;
  QPushButton *EnregistreFichierPercage_, *BitBtn1_;
};

}  // namespace korv4
