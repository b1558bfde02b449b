#pragma once

#include <QDialog>
#include <functional>

#include "verification/Continue.h"
#include "verification/Isolements.h"

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QListWidget;

namespace korv4 {

// "Vérification des isolements": the faults of the circuit's copper at the clearance chosen,
// one a line; choosing one shows it in the drawing area. The window stays open beside the main
// window while the user mends the circuit, and checks again on demand, or after every step of
// the history while "Vérification continue" is ticked. The circuit is only read.
class FenetreVerification : public QDialog {
  Q_OBJECT

 public:
  FenetreVerification(const Circuit& circuit, QWidget* parent = nullptr);

  // The menu entry "Vérification des isolements…" (Fenetre::Verification): checks the circuit
  // and shows the window.
  void Ouvre();
  // Checks the circuit again at the clearance shown.
  void Verifie();
  // After a step of the history (the main window calls it): with the continuous check on, the
  // list follows the circuit, the fault shown stays shown while it is still there, and faults
  // that appeared are announced. Nothing is done while the window is hidden or the box is not
  // ticked.
  void ApresEtape();
  const ResultatVerification& Resultat() const { return resultat_; }

  // A fault chosen in the list (null: none any more): where it is, in units.
  std::function<void(const Defaut*)> montre;
  // A sentence for the status bar (faults that appeared as the circuit changed).
  std::function<void(const QString&)> annonce;

 private:
  void Affiche(double isolementMm);

  const Circuit& circuit_;
  ResultatVerification resultat_;
  VerificationContinue continue_;
  QCheckBox* Continue_;
  QDoubleSpinBox* Isolement_;
  QLabel* Resume_;
  QListWidget* Defauts_;
};

}  // namespace korv4
