#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <functional>

#include "model/Circuit.h"
#include "model/Fichiers.h"
#include "print/Impression.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace korv4 {

class ServiceDialogues;

// "Taille de la surface de travail": a width and a height in millimetres or in pas,
// or a preset, accepted within 800 x 800 mm and beyond the circuit already drawn. Created once,
// hidden, with the editor's circuit.
//
// Opened by the menu entry "&Taille" (Taille1) and the main toolbar's button "&Taille"
// (BoutonTaille): the editor's Taille1Click (core, editeur/Clic.cpp) asks
// Dialogues::Ouvre(Fenetre::Surfacedetravail), and Fiche_principale::OuvreFenetre calls
//   Surfacedetravail_->Ouvre(ed_.ctx.SurfaceX, ed_.ctx.SurfaceY, callback)
// on the surface of the screen's ContexteTrace: the pair is copied in, the dialog runs modally,
// and only an OK close stores the pair back and calls the callback, so that OuvreFenetre
// answers 1 and Taille1Click lays the view out again (AfficheCI). The new surface is a step of
// the history, which marks the circuit modified.
// pageImprimante: the current printer's page, for the preset "Format imprimante" (the main
// window gives the print dialog's TFicheImpression::Page()); when empty the preset is disabled.
class TSurfacedetravail : public QDialog {
  Q_OBJECT

 public:
  TSurfacedetravail(const Circuit& circuit, ServiceDialogues& service,
                    std::function<PageImprimante()> pageImprimante, QWidget* parent = nullptr);

  // Runs the dialog on the pair, as above. Returns the dialog's result (QDialog::Accepted or
  // QDialog::Rejected).
  int Ouvre(int32_t& surfaceX, int32_t& surfaceY, const std::function<void()>& afficheCI = {});

  // TailleSurface: width and height in units, as the dialog holds them.
  std::array<int32_t, 2> TailleSurface{};

  // The unit conversions (integer divisions) and the millimetres shown, the model's.
  static int32_t MmVersUnites(int32_t v) { return korv4::MmVersUnites(v); }
  static int32_t UnitesVersMm(int32_t v) { return korv4::UnitesVersMm(v); }
  static int32_t MmMontres(int32_t v) { return korv4::MmMontres(v); }

 protected:
  void showEvent(QShowEvent* e) override;
  bool eventFilter(QObject* objet, QEvent* e) override;

 private:
  void FormShow();
  void affichagetaille();
  void faittaille(int32_t w, int32_t h, bool millimetres);
  void FormatImprimanteClick();
  void SpeedButton1Click();

  const Circuit& circuit_;
  ServiceDialogues& service_;
  std::function<PageImprimante()> pageImprimante_;
  Cadre etendue_;  // Xmin = Gauche, Ymax = Haut, Xmax = Droite, Ymin = Bas

  QLineEdit *Editlargeur_, *EditHauteur_;
  QRadioButton *Choixenmm_, *Choixenpas_;
  std::array<QRadioButton*, 6> presets_{};
  QPushButton *SpeedButton1_, *BitBtn4_;
  // The numbers the edits were last given, the sizes they show and in which unit: an edit
  // still showing its number keeps that size as it is.
  std::array<QString, 2> montres_;
  std::array<int32_t, 2> tailleMontree_{};
  bool montresEnMm_ = true;
};

}  // namespace korv4
