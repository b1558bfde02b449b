#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace korv4 {

// "Edition d'un texte": the one-line entry of a text placed on the circuit. Only characters
// that exist in the circuit's code page can be typed; at most 200 of them. A character outside
// it, typed or pasted, is left out with a word under the edit ("Refus"); the rest stays.
class TFenetreEditiontexte : public QDialog {
  Q_OBJECT

 public:
  explicit TFenetreEditiontexte(QWidget* parent = nullptr);

  QLineEdit* Edittexte() const { return Edittexte_; }

 protected:
  void showEvent(QShowEvent* e) override;
  void reject() override { done(2); }  // Escape and closing cancel

 private:
  QLineEdit* Edittexte_;
  QLabel* Refus_;
  QPushButton *BitBtn1_, *BitBtn2_;
};

}  // namespace korv4
