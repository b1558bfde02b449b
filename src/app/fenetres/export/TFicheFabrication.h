#pragma once

#include <QDialog>

#include "export/Fabrication.h"
#include "model/Circuit.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace korv4 {

class ServiceDialogues;

// "Fichiers de fabrication": the board-house set of the circuit, shown file by file (name,
// layer, size) as the options make it, then written into one zip archive.
class TFicheFabrication : public QDialog {
  Q_OBJECT

 public:
  TFicheFabrication(const Circuit& circuit, ServiceDialogues& service, QWidget* parent = nullptr);

  // The menu entry "Fichiers de fabrication…" (Fenetre::Fabrication): runs the dialog modally.
  // Returns 1 when an archive was written, 2 otherwise.
  int Ouvre();

  OptionsFabrication Options() const;
  // The set the options make now, as the list shows it.
  const JeuFabrication& Jeu() const { return jeu_; }
  // Writes the set into that archive; false with a message shown when it cannot.
  bool EcritArchive(const QString& nom);
  // Makes the set again from the options and lists it.
  void Actualise();

 private:
  void EnregistreClick();

  const Circuit& circuit_;
  ServiceDialogues& service_;
  JeuFabrication jeu_;
  QDoubleSpinBox* MargeMasque_;
  QComboBox* Contour_;
  QDoubleSpinBox* MargeContour_;
  QComboBox* Pastilles_;
  QTreeWidget* Fichiers_;
  QLabel* Resume_;
  QPushButton* Enregistre_;
};

}  // namespace korv4
