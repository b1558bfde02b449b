#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <functional>

#include "model/Circuit.h"

class QComboBox;
class QPushButton;

namespace korv4 {

// "Modification des diamètres de perçage": the diameters of drill indices 1 to 7,
// each from a list of eleven values 0,1 mm apart. Created once, hidden, with the editor's
// circuit.
//
// Opened by the drilling panel's button "Modif." (ModifDiametre, hint "Modification des
// diamètre des percage"): the editor's ModifDiametreClick (core, editeur/Clic.cpp) asks
// Dialogues::Ouvre(Fenetre::FicheModifDiametre), and Fiche_principale::OuvreFenetre calls
// FicheModifDiametre_->Ouvre(callback). The circuit's 14 diameters are copied into
// CopieDiametres, the dialog runs modally, and only an OK close copies them back into
// EnteteCI.DiametresPercage and calls the callback, so that OuvreFenetre answers 1 and
// ModifDiametreClick sets the drill buttons' captions (initialiseBpPercage), then redraws the
// whole picture (TraceCimp); the new table is a step of the history, which marks the
// circuit modified. Cancel changes nothing.
// A working diameter that no item of its list holds leaves that list without a selection and
// is kept unchanged by OK (unless the user picks an item).
class TFicheModifDiametre : public QDialog {
  Q_OBJECT

 public:
  explicit TFicheModifDiametre(Circuit& circuit, QWidget* parent = nullptr);

  // Runs the dialog, as above. Returns the dialog's result (QDialog::Accepted or Rejected).
  int Ouvre(const std::function<void()>& apresModification = {});

  // The working copy, entries 0..13 in tenths of a millimetre; the dialog reads and writes 1..7.
  std::array<int32_t, 14> CopieDiametres{};

  // First value of list k (1..7) and the text of a value: "1,2 mm".
  static int32_t PremiereValeur(int k);
  static QString TexteValeur(int32_t v);

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void FormShow();
  void BitBtnOkClick();

  Circuit& circuit_;
  std::array<QComboBox*, 8> listes_{};  // 1..7
  QPushButton *BitBtnOk_, *BitBtnCancel_;
};

}  // namespace korv4
