#pragma once

#include <QDialog>
#include <functional>

#include "verification/Isolements.h"

class QDoubleSpinBox;
class QLabel;
class QListWidget;

namespace korv4 {

// "Vérification des isolements": the faults of the circuit's copper at the clearance chosen,
// one a line; choosing one shows it in the drawing area. The window stays open beside the main
// window while the user mends the circuit, and checks again on demand. The circuit is only read.
class FenetreVerification : public QDialog {
  Q_OBJECT

 public:
  FenetreVerification(const Circuit& circuit, QWidget* parent = nullptr);

  // The menu entry "Vérification des isolements…" (Fenetre::Verification): checks the circuit
  // and shows the window.
  void Ouvre();
  // Checks the circuit again at the clearance shown.
  void Verifie();
  const ResultatVerification& Resultat() const { return resultat_; }

  // A fault chosen in the list (null: none any more): where it is, in units.
  std::function<void(const Defaut*)> montre;

 private:
  const Circuit& circuit_;
  ResultatVerification resultat_;
  QDoubleSpinBox* Isolement_;
  QLabel* Resume_;
  QListWidget* Defauts_;
};

}  // namespace korv4
