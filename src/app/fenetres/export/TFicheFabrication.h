#pragma once

#include <QDialog>
#include <QImage>

#include "export/Fabrication.h"
#include "model/Circuit.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace korv4 {

class ServiceDialogues;

// "Fichiers de fabrication": the board-house set of the circuit, shown file by file (name,
// layer, size) as the options make it, with what the board house would make wrong, then written
// into one zip archive as it is made (little memory whatever the board). The drill diameters
// marked non-plated are remembered in the settings ("Fabrication/NonMetallises").
class TFicheFabrication : public QDialog {
  Q_OBJECT

 public:
  TFicheFabrication(const Circuit& circuit, ServiceDialogues& service, QWidget* parent = nullptr);

  // The menu entry "Fichiers de fabrication…" (Fenetre::Fabrication): runs the dialog modally.
  // Returns 1 when an archive was written, 2 otherwise.
  int Ouvre();

  OptionsFabrication Options() const;
  // The set the options make now, as the list shows it.
  const PlanFabrication& Plan() const { return plan_; }
  // Writes the set into that archive; false with a message shown when it cannot (memory
  // included).
  bool EcritArchive(const QString& nom);
  // Makes the set again from the options and lists it (when memory runs short: an empty set
  // and the reason), with the pictures of both sides.
  void Actualise();
  // The pictures of the two sides as shown (empty when there is nothing to show).
  QImage ApercuDessus() const;
  QImage ApercuDessous() const;

 private:
  void EnregistreClick();
  bool EcritArchiveEnMemoire(const QString& nom);

  const Circuit& circuit_;
  ServiceDialogues& service_;
  PlanFabrication plan_;
  std::string date_;  // the moment of the set, fixed by Actualise
  std::vector<std::pair<QCheckBox*, int32_t>> NonMetallises_;  // a box per drill diameter used
  QDoubleSpinBox* MargeMasque_;
  QComboBox* Contour_;
  QDoubleSpinBox* MargeContour_;
  QComboBox* Pastilles_;
  QComboBox* CouleurMasque_;
  QLabel* Dessus_;   // the board as it will come back: the top side
  QLabel* Dessous_;  // and the bottom side, seen from below
  QTreeWidget* Fichiers_;
  QLabel* Resume_;
  QPushButton* Enregistre_;
};

}  // namespace korv4
