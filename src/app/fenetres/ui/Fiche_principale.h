#pragma once

#include <QMainWindow>
#include <QStringList>
#include <array>
#include <memory>

#include "editeur/Editeur.h"

class QLabel;
class QTimer;
class QScrollBar;
class QLineEdit;
class QMenu;
class QKeyEvent;
class QWheelEvent;

namespace korv4 {

// Where the main window opens the first time, on a screen's available area, its frame taking
// `cadre` around it: at the design's size and place (1200 x 880 at 10, 10) when that fits,
// otherwise fitted to the area, frame included.
QRect GeometrieDeDepart(const QRect& disponible, const QMargins& cadre);

class ZoneDessin;
class DialoguesQt;
class TFenetreEditiontexte;
class TEnregistrepercage;
class TExportGerber;
class ServiceDialogues;
class FenetreAide;
class TFicheModifDiametre;
class TSurfacedetravail;
class TFicheImpression;
class GardeRecuperation;
class TFicheFabrication;
class FenetreVerification;

// The editor's main window: its widgets are built from the control table, its events go to
// the editor, and the editor's states come back to the widgets after each event.
class Fiche_principale : public QMainWindow {
  Q_OBJECT

 public:
  // `dialogues`: the modal service (tests pass a scripted one); null: Qt's dialogs.
  explicit Fiche_principale(Dialogues* dialogues = nullptr, QWidget* parent = nullptr);
  ~Fiche_principale() override;

  Editeur& editeur() { return ed_; }
  ZoneDessin* zone() const { return zone_; }
  // Opens a circuit file as the open command does; a refused file shows why.
  bool OuvreFichier(const QString& nom);
  // Pushes the editor's states to the widgets and repaints what was drawn.
  void Apres();
  // Opens one of the other windows (what the editor's dialogues do for it); its result.
  int OuvreFenetre(Fenetre f);
  // The recovery copies of this editor.
  GardeRecuperation& recuperation() { return *recuperation_; }
  // At start-up: the copies left by editors that stopped without closing are offered back.
  bool ProposeRecuperation();

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void changeEvent(QEvent* e) override;
  bool eventFilter(QObject* objet, QEvent* e) override;

 private:
  void Construit();
  void ConstruitCadre();
  void Icones();
  void Place();
  QPoint Ecran(const QPointF& p) const;
  QRect Logique(int gauche, int haut, int droite, int bas) const;
  void Clique(Controle c);
  void Reglages(bool lire);
  bool Depot(QEvent* e);
  void Molette(QWheelEvent* e);
  void MenuRecents();
  bool Raccourci(QObject* objet, const QKeyEvent& e);

  Editeur ed_;
  std::unique_ptr<DialoguesQt> dialoguesQt_;
  std::unique_ptr<ServiceDialogues> service_;
  std::unique_ptr<GardeRecuperation> recuperation_;
  std::array<QObject*, kNombreControles> objets_{};
  std::array<EtatControle, kNombreControles> montres_;  // the states the widgets show
  uint64_t versionMontree_ = 0;
  // The history as the continuous check last saw it: recordings, steps done, steps, records.
  std::array<uint64_t, 4> etapeVue_{};
  bool premierAffichage_ = true;
  bool geometrieRetenue_ = false;  // the size and place come from the last run
  int crans_ = 0;                  // Ctrl and the wheel: eighths of a degree not yet zoomed
  std::string fichierRetenu_;      // what the settings hold
  QStringList recents_;            // the recent files, most recent first
  QMenu* menuRecents_ = nullptr;

  QWidget* cadre_ = nullptr;
  ZoneDessin* zone_ = nullptr;
  QScrollBar *AscHorizontal_ = nullptr, *AscVertical_ = nullptr;
  std::array<QLabel*, 6> panneaux_{};
  QLabel* survol_ = nullptr;  // what is under the pointer
  QTimer* pause_ = nullptr;   // the pointer rests: the tooltip of the drawing area
  // The lit net drawn alone, laid over the picture, and what it was drawn for.
  QImage calque_;
  struct CleCalque {
    uint64_t calcul = 0;
    int32_t net = -1;
    int32_t origineX = 0, origineY = 0, zoom = 0, resolution = 0;
    QSize taille;
    bool operator==(const CleCalque& o) const {
      return calcul == o.calcul && net == o.net && origineX == o.origineX &&
             origineY == o.origineY && zoom == o.zoom && resolution == o.resolution &&
             taille == o.taille;
    }
  } cleCalque_;
  bool calqueMontre_ = false;
  Changement changement_;  // what the last event changed in the picture (its memory kept)
  const QImage* Calque();
  void Survol(bool pause);
  static const char* const kPanneaux[6];  // what each status panel shows
  std::array<QLineEdit*, 3> titres_{};

  TFenetreEditiontexte* FenetreEditiontexte_ = nullptr;
  TEnregistrepercage* Enregistrepercage_ = nullptr;
  TExportGerber* ExportGerber_ = nullptr;
  FenetreAide* Aide_ = nullptr;
  QWidget* AboutBox_ = nullptr;
  TFicheModifDiametre* FicheModifDiametre_ = nullptr;
  TSurfacedetravail* Surfacedetravail_ = nullptr;
  TFicheImpression* FicheImpression_ = nullptr;
  TFicheFabrication* FicheFabrication_ = nullptr;
  FenetreVerification* Verification_ = nullptr;
  // The fault of the isolation check shown in the drawing area, in units.
  bool defautMontre_ = false;
  double defautX_ = 0, defautY_ = 0;
};

}  // namespace korv4
