#pragma once

#include <QDialog>

#include "export/Gerber.h"
#include "model/Circuit.h"

class QPushButton;
class QRadioButton;

namespace korv4 {

class ServiceDialogues;

// "Exporter le circuit au format Gerber": the style of round pads and a base name, then one
// Gerber file per layer that holds elements. Created once, hidden; the style stays from one
// export to the next.
class TExportGerber : public QDialog {
  Q_OBJECT

 public:
  TExportGerber(const Circuit& circuit, ServiceDialogues& service, QWidget* parent = nullptr);

  // The menu entry "Exporter le circuit au format &Gerber" and the main toolbar's button
  // "Export Gerber" (Fiche_principale::OuvreFenetre, Fenetre::ExportGerber): runs the dialog
  // modally when the circuit has elements. Returns the dialog's result, or 0 when it was not shown.
  int Ouvre();

  StylePastilles Style() const;
  const QString& NomFichierGerber() const { return nomFichierGerber_; }

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void EnregistreFichierGerberClick();

  const Circuit& circuit_;
  ServiceDialogues& service_;
  QString nomFichierGerber_;  // the base name typed last

  QRadioButton *PastHocto_, *PastCir_;
  QPushButton *EnregistreFichierGerber_, *BitBtn1_;
};

}  // namespace korv4
