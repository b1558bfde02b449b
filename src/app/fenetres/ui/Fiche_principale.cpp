#include "fenetres/ui/Fiche_principale.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QWheelEvent>
#include <QtMath>
#include <algorithm>

#include "fenetres/commun/CodePage.h"
#include "fenetres/commun/GardeRecuperation.h"
#include "fenetres/commun/PressePapier.h"
#include "fenetres/commun/ServiceDialogues.h"
#include "fenetres/dialogs/Apropos.h"
#include "fenetres/dialogs/Editiontexte.h"
#include "fenetres/dialogs/FenetreAide.h"
#include "fenetres/dialogs/FenetreVerification.h"
#include "fenetres/dialogs/ModifDiam.h"
#include "fenetres/dialogs/SurfaceTravail.h"
#include "fenetres/export/TEnregistrepercage.h"
#include "fenetres/export/TExportGerber.h"
#include "fenetres/export/TFicheFabrication.h"
#include "fenetres/print/TFicheImpression.h"
#include "fenetres/ui/DialoguesQt.h"
#include "fenetres/ui/Touches.h"
#include "fenetres/ui/ZoneDessin.h"
#include "render/CanevasImage.h"

namespace korv4 {

QRect GeometrieDeDepart(const QRect& disponible, const QMargins& cadre) {
  const QRect voulue(disponible.topLeft() + QPoint(10, 10) + QPoint(cadre.left(), cadre.top()),
                     QSize(1200, 880));
  if (disponible.contains(voulue.marginsAdded(cadre))) return voulue;
  const QRect place = disponible.marginsRemoved(cadre);
  return QRect(place.topLeft(), place.size().boundedTo(QSize(1200, 880)));
}

namespace {

// The frame a window manager usually puts around a window, until the real one is known.
const QMargins kCadreSuppose(4, 32, 4, 4);

// The menu item whose shortcut a key is (the keypad's digits as the others), or Aucun.
Controle ControleDuRaccourci(const QKeyEvent& e,
                             const std::array<QObject*, kNombreControles>& objets) {
  const QKeySequence touche(QKeyCombination(e.modifiers() & ~Qt::KeypadModifier, Qt::Key(e.key())));
  for (int i = 1; i < kNombreControles; ++i) {
    auto* a = qobject_cast<QAction*>(objets[i]);
    if (a != nullptr && a->shortcuts().contains(touche)) return static_cast<Controle>(i);
  }
  return Controle::Aucun;
}

bool EstBoutonDuDessin(Qt::MouseButton b) {
  return b == Qt::LeftButton || b == Qt::RightButton || b == Qt::MiddleButton;
}

BoutonSouris Bouton(Qt::MouseButton b) {
  return b == Qt::LeftButton ? BoutonSouris::Gauche
                             : (b == Qt::RightButton ? BoutonSouris::Droit : BoutonSouris::Milieu);
}

}  // namespace

Fiche_principale::Fiche_principale(Dialogues* dialogues, QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("Fiche_principale"));
  setWindowTitle(QStringLiteral("KORV4"));
  Construit();
  {
    // The size and place the user left it at, else the design's, within the screen.
    const QByteArray g = QSettings(QStringLiteral("KORV4"), QStringLiteral("korv4"))
                             .value(QStringLiteral("Geometrie"))
                             .toByteArray();
    geometrieRetenue_ = !g.isEmpty() && restoreGeometry(g);
    if (!geometrieRetenue_ && screen() != nullptr) {
      setGeometry(GeometrieDeDepart(screen()->availableGeometry(), kCadreSuppose));
    }
  }

  // The other windows exist from the start, hidden.
  service_ = std::make_unique<ServiceDialoguesQt>();
  setWindowIcon(IconeProgramme());
  AboutBox_ = new TAboutBox(this);
  Aide_ = new FenetreAide(this);
  FicheModifDiametre_ = new TFicheModifDiametre(ed_.circuit, this);
  FicheImpression_ = new TFicheImpression(ed_.circuit, *service_, this);
  Surfacedetravail_ = new TSurfacedetravail(
      ed_.circuit, *service_, [this] { return FicheImpression_->Page(); }, this);
  FenetreEditiontexte_ = new TFenetreEditiontexte(this);
  Enregistrepercage_ = new TEnregistrepercage(ed_.circuit, *service_, this);
  ExportGerber_ = new TExportGerber(ed_.circuit, *service_, this);
  FicheFabrication_ = new TFicheFabrication(ed_.circuit, *service_, this);
  Verification_ = new FenetreVerification(ed_.circuit, this);
  // A fault chosen in the check's list: the view centred on it, a ring around it.
  Verification_->montre = [this](const Defaut* d) {
    defautMontre_ = d != nullptr;
    if (d != nullptr) {
      defautX_ = d->X;
      defautY_ = d->Y;
      MontreEndroit(ed_, d->Couche, static_cast<int32_t>(d->X), static_cast<int32_t>(d->Y));
      Apres();
    }
    zone_->Repeins();
  };
  Verification_->annonce = [this](const QString& texte) { statusBar()->showMessage(texte, 10000); };

  dialoguesQt_ = std::make_unique<DialoguesQt>(this, zone_, FenetreEditiontexte_, *service_);
  dialoguesQt_->fenetres = [this](Fenetre f) { return OuvreFenetre(f); };
  ed_.dialogues = dialogues != nullptr ? dialogues : dialoguesQt_.get();

  zone_->marque = [this] {
    if (!defautMontre_) return QRect();
    const PointPixel p =
        PixelPoint(ed_.ctx, static_cast<int32_t>(defautX_), static_cast<int32_t>(defautY_));
    const int r = std::max(14, PixelX(ed_.ctx, 60) - PixelX(ed_.ctx, 0));
    return QRect(p.X - r, p.Y - r, 2 * r, 2 * r);
  };
  zone_->appui = [this](QMouseEvent* e) {
    if (!EstBoutonDuDessin(e->button())) return;  // a mouse's back and forward buttons
    const QPoint p = Ecran(e->position());
    FormMouseDown(ed_, Bouton(e->button()), (e->buttons() & Qt::LeftButton) != 0, p.x(), p.y());
    Apres();
  };
  zone_->deplacement = [this](QMouseEvent* e) {
    const QPoint p = Ecran(e->position());
    FormMouseMove(ed_, p.x(), p.y());
    Survol(false);
    pause_->start();
    Apres();
  };
  // The pointer rests: what is under it, with its net, in the tooltip too.
  pause_ = new QTimer(this);
  pause_->setSingleShot(true);
  pause_->setInterval(700);
  connect(pause_, &QTimer::timeout, this, [this] {
    Survol(true);
    if (zone_->underMouse() && !ed_.Survol.empty())
      QToolTip::showText(QCursor::pos(), QString::fromStdString(ed_.Survol), zone_);
    Apres();
  });
  zone_->calque = [this] { return Calque(); };
  zone_->relache = [this](QMouseEvent* e) {
    if (!EstBoutonDuDessin(e->button())) return;
    FormMouseUp(ed_, Bouton(e->button()));
    Apres();
  };
  zone_->molette = [this](QWheelEvent* e) { Molette(e); };
  qApp->installEventFilter(this);

  centralWidget()->setAcceptDrops(true);
  centralWidget()->installEventFilter(this);
  FormCreate(ed_, QDir::currentPath().toStdString());
  Reglages(true);
  MenuRecents();
  recuperation_ = std::make_unique<GardeRecuperation>(ed_);
  // Which editor has a circuit open is told beside the recovery copies' locks.
  dialoguesQt_->DossierVerrous(recuperation_->Dossier());
  recuperation_->change = [this] { Apres(); };
  Apres();
}

bool Fiche_principale::ProposeRecuperation() {
  const bool restaure = recuperation_->Propose();
  Apres();
  return restaure;
}

// The last circuit opened or saved and its folder, from one run to the next.
void Fiche_principale::Reglages(bool lire) {
  QSettings reglages(QStringLiteral("KORV4"), QStringLiteral("korv4"));
  if (lire) {
    const QString dossier = reglages.value(QStringLiteral("RepertoireCircuits")).toString();
    if (!dossier.isEmpty() && QDir(dossier).exists()) {
      ed_.RepertoireCircuits = QFile::encodeName(dossier).toStdString();
    }
    ed_.DernierFichier =
        QFile::encodeName(reglages.value(QStringLiteral("DernierFichier")).toString())
            .toStdString();
    recents_ = reglages.value(QStringLiteral("FichiersRecents")).toStringList();
  } else {
    // The circuit opened or saved last heads the recent files, each once, eight at most.
    const QString dernier = QFile::decodeName(ed_.DernierFichier.c_str());
    if (!dernier.isEmpty()) {
      recents_.removeAll(dernier);
      recents_.prepend(dernier);
      while (recents_.size() > 8) recents_.removeLast();
    }
    reglages.setValue(QStringLiteral("FichiersRecents"), recents_);
    reglages.setValue(QStringLiteral("RepertoireCircuits"),
                      QFile::decodeName(ed_.RepertoireCircuits.c_str()));
    reglages.setValue(QStringLiteral("DernierFichier"),
                      QFile::decodeName(ed_.DernierFichier.c_str()));
  }
  fichierRetenu_ = ed_.DernierFichier;
}

namespace {
// The circuit file a drop carries, or an empty name.
QString FichierDepose(const QMimeData* m) {
  if (m == nullptr || m->urls().size() != 1 || !m->urls().first().isLocalFile()) return {};
  const QString nom = m->urls().first().toLocalFile();
  const QString extension = nom.right(4).toUpper();
  return extension == QLatin1String(".CIX") || extension == QLatin1String(".CIP") ? nom : QString();
}
}  // namespace

// A circuit dropped on the working area (the panel and the drawing area).
bool Fiche_principale::Depot(QEvent* e) {
  auto* depot = static_cast<QDropEvent*>(e);
  const QString nom = FichierDepose(depot->mimeData());
  if (nom.isEmpty()) return false;
  depot->acceptProposedAction();
  if (e->type() == QEvent::Drop) {
    OuvreFichierDepose(ed_, QFile::encodeName(nom).toStdString());
    Apres();
  }
  return true;
}

Fiche_principale::~Fiche_principale() { qApp->removeEventFilter(this); }

// The recent files, most recent first; those no longer on the disk shown disabled. Opening one
// asks first, as the open command does, whether to save the circuit being edited.
void Fiche_principale::MenuRecents() {
  menuRecents_->clear();
  for (int i = 0; i < recents_.size(); ++i) {
    const QString nom = recents_[i];
    QAction* a = menuRecents_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(nom));
    a->setObjectName(QStringLiteral("FichierRecent%1").arg(i + 1));
    a->setEnabled(QFileInfo::exists(nom));
    connect(a, &QAction::triggered, this, [this, nom] {
      OuvreFichierDepose(ed_, QFile::encodeName(nom).toStdString());
      Apres();
    });
  }
  menuRecents_->setEnabled(!recents_.isEmpty());
}

// The wheel scrolls (with Shift: across), Ctrl and the wheel zoom around the pointer; a
// touchpad's pixels scroll as far as they say.
void Fiche_principale::Molette(QWheelEvent* e) {
  const QPoint p = Ecran(e->position());
  QPoint angle = e->angleDelta(), pixels = Ecran(QPointF(e->pixelDelta()));
  if ((e->modifiers() & Qt::ControlModifier) != 0) {
    crans_ += angle.y() != 0 ? angle.y() : angle.x();
    for (; crans_ >= 120; crans_ -= 120) ZoomAutour(ed_, ed_.ctx.Zoom + 1, p.x(), p.y());
    for (; crans_ <= -120; crans_ += 120) ZoomAutour(ed_, ed_.ctx.Zoom - 1, p.x(), p.y());
    Apres();
    return;
  }
  if ((e->modifiers() & Qt::ShiftModifier) != 0) {
    if (angle.x() == 0) angle = QPoint(angle.y(), 0);
    if (pixels.x() == 0) pixels = QPoint(pixels.y(), 0);
  }
  int dx, dy;
  if (!pixels.isNull()) {
    dx = -pixels.x();
    dy = -pixels.y();
  } else {
    dx = -angle.x() * PixelsParCran(ed_, false) / 120;
    dy = -angle.y() * PixelsParCran(ed_, true) / 120;
  }
  DefilePixels(ed_, dx, dy, p.x(), p.y());
  Apres();
}

void Fiche_principale::Clique(Controle c) {
  Clic(ed_, c);
  Apres();
  if (ed_.Fermeture) {
    ed_.Fermeture = false;
    close();
  }
}

// A menu item's shortcut, pressed in this window (never in a dialog, a menu or a title edit).
bool Fiche_principale::Raccourci(QObject* objet, const QKeyEvent& e) {
  auto* w = qobject_cast<QWidget*>(objet);
  if (w == nullptr || w->window() != this || !isActiveWindow()) return false;
  if (QApplication::activeModalWidget() != nullptr ||
      QApplication::activePopupWidget() != nullptr) {
    return false;
  }
  for (QLineEdit* t : titres_) {
    if (QApplication::focusWidget() == t) return false;
  }
  const Controle c = ControleDuRaccourci(e, objets_);
  if (c == Controle::Aucun) return false;
  korv4::Raccourci(ed_, c);
  Apres();
  if (ed_.Fermeture) {
    ed_.Fermeture = false;
    close();
  }
  return true;
}

int Fiche_principale::OuvreFenetre(Fenetre f) {
  switch (f) {
    case Fenetre::Enregistrepercage: return Enregistrepercage_->Ouvre();
    case Fenetre::ExportGerber: return ExportGerber_->Ouvre();
    case Fenetre::FicheImpression: return FicheImpression_->Ouvre(ed_.Etat, ed_.ctx);
    case Fenetre::ConfigurationImprimante: return FicheImpression_->ConfigurationImprimante();
    case Fenetre::Surfacedetravail: {
      // The pair is stored back on OK only; the editor then lays the view out again.
      int r = 2;
      Surfacedetravail_->Ouvre(ed_.ctx.SurfaceX, ed_.ctx.SurfaceY, [&r] { r = 1; });
      return r;
    }
    case Fenetre::FicheModifDiametre: {
      int r = 2;
      FicheModifDiametre_->Ouvre([&r] { r = 1; });
      return r;
    }
    case Fenetre::Fabrication: return FicheFabrication_->Ouvre();
    case Fenetre::Verification: Verification_->Ouvre(); return 1;
    case Fenetre::AboutBox: return static_cast<TAboutBox*>(AboutBox_)->exec();
    case Fenetre::Aide: Aide_->Ouvre(); return 1;
    case Fenetre::PressePapier:
      return CopiePressePapier(ed_.circuit, ed_.Etat, ed_.ctx.SurfaceX, ed_.ctx.SurfaceY) ? 1 : 0;
    default: return 0;
  }
}

bool Fiche_principale::OuvreFichier(const QString& nom) {
  const bool ok = korv4::OuvreFichier(ed_, QFile::encodeName(nom).toStdString());
  Apres();
  return ok;
}

// A point of the drawing area in the screen's pixels, as the editor counts them.
QPoint Fiche_principale::Ecran(const QPointF& p) const {
  const double k = zone_->Echelle();
  return QPoint(qFloor(p.x() * k), qFloor(p.y() * k));
}

// A rectangle of the editor (the screen's pixels) in the widgets' pixels, rounded outwards.
QRect Fiche_principale::Logique(int gauche, int haut, int droite, int bas) const {
  const double k = zone_->Echelle();
  const int g = qFloor(gauche / k), h = qFloor(haut / k);
  return QRect(g, h, qCeil(droite / k) - g, qCeil(bas / k) - h);
}

void Fiche_principale::Place() {
  const RectPixel& z = ed_.ctx.Zone;
  zone_->setGeometry(Logique(z.Gauche, z.Haut, z.Droite, z.Bas));
  const int e = ed_.EpaisseurAscenseur;
  const bool h = EstVisible(ed_, Controle::PanelAscHorizontal);
  const bool v = EstVisible(ed_, Controle::PanelAscVertical);
  AscVertical_->parentWidget()->setGeometry(
      Logique(ed_.LargeurClient - e, 0, ed_.LargeurClient, ed_.HauteurClient - (h ? e : 0)));
  AscHorizontal_->parentWidget()->setGeometry(
      Logique(0, ed_.HauteurClient - e, ed_.LargeurClient - (v ? e : 0), ed_.HauteurClient));
}

void Fiche_principale::Survol(bool pause) {
  SurvolPointeur(ed_, ed_.ctx.CurseurX, ed_.ctx.CurseurY, pause);
}

const QImage* Fiche_principale::Calque() {
  if (!ed_.Allumage.Active) return nullptr;
  const QImage& image = zone_->Image();
  // What the picture shows: the records of one net of one computation of the nets, in one
  // layout. A click on the net already lit draws nothing again.
  const CleCalque cle{ed_.Allumage.Calcul, ed_.Allumage.Net, ed_.ctx.OrigineX, ed_.ctx.OrigineY,
                      ed_.ctx.Zoom,        ed_.Resolution,   image.size()};
  if (!(cle == cleCalque_) || calque_.isNull()) {
    cleCalque_ = cle;
    // Its memory taken once for a size of the drawing area; each band of rows cleared by the
    // thread that draws it.
    if (calque_.size() != image.size())
      calque_ = QImage(image.size(), QImage::Format_ARGB32_Premultiplied);
    auto* pixels = reinterpret_cast<uint32_t*>(calque_.bits());
    const std::ptrdiff_t pas = calque_.bytesPerLine() / 4;
    const int32_t largeur = calque_.width(), hauteur = calque_.height();
    PrepareEquipotentielleAllumee(ed_.Allumage, ed_.circuit);
    constexpr Couleur kLumiere = 0xFFC800;
    // A large net in two bands of rows on two threads, like a full redraw of the picture.
    if (ElementsEquipotentielleAllumee(ed_.Allumage) >= 16000 && hauteur >= 2 &&
        Equipe::ProcesseurLibre()) {
      const int32_t rang = static_cast<int32_t>(hauteur * ed_.equipe.PartAppelant());
      const int32_t bornes[3] = {0, std::clamp(rang, 1, hauteur - 1), hauteur};
      ed_.equipe.Partage(2, [&](int i) {
        TraceEquipotentielleBande(ed_.Allumage, ed_.ctx, pixels, pas, largeur, bornes[i],
                                  bornes[i + 1], kLumiere);
      });
    } else {
      TraceEquipotentielleBande(ed_.Allumage, ed_.ctx, pixels, pas, largeur, 0, hauteur, kLumiere);
    }
  }
  return &calque_;
}

void Fiche_principale::Apres() {
  // The lit net follows any change of the store; the picture laid over is drawn again.
  const uint64_t allumage = ed_.VersionAllumage;
  SuitAllumage(ed_);
  if (ed_.VersionAllumage != allumage || ed_.Allumage.Active != calqueMontre_) {
    calqueMontre_ = ed_.Allumage.Active;
    zone_->Repeins();
  }
  if (survol_ != nullptr && survol_->text().toStdString() != ed_.Survol) {
    const QString t = QString::fromStdString(ed_.Survol);
    survol_->setText(t);
    survol_->setAccessibleName(t.isEmpty() ? QStringLiteral("Élément sous le pointeur") : t);
  }
  if (ed_.Version != versionMontree_) {
    versionMontree_ = ed_.Version;
    for (int i = 1; i < kNombreControles; ++i) {
      const EtatControle& s = ed_.controles[i];
      EtatControle& m = montres_[i];
      QObject* o = objets_[i];
      if (o == nullptr) continue;
      if (auto* a = qobject_cast<QAction*>(o)) {
        if (m.Actif != s.Actif || premierAffichage_) a->setEnabled(s.Actif);
        if (a->isCheckable() && a->isChecked() != s.Enfonce) a->setChecked(s.Enfonce);
      } else if (auto* b = qobject_cast<QToolButton*>(o)) {
        if (b->isChecked() != s.Enfonce) b->setChecked(s.Enfonce);
        if (b->isEnabled() != s.Actif) b->setEnabled(s.Actif);
        if (m.Libelle != s.Libelle) {
          // Its name follows its caption (the drill buttons show their diameters).
          b->setText(QString::fromStdString(s.Libelle));
          if (!s.Libelle.empty()) b->setAccessibleName(b->text().remove('&'));
        }
      } else if (auto* l = qobject_cast<QLabel*>(o)) {
        if (m.Libelle != s.Libelle) l->setText(QString::fromStdString(s.Libelle));
      } else if (auto* edit = qobject_cast<QLineEdit*>(o)) {
        if (edit->isEnabled() != s.Actif) edit->setEnabled(s.Actif);
      } else if (const Genre g = Definition(static_cast<Controle>(i)).Type;
                 g == Genre::BarreOutils || g == Genre::Panneau) {
        auto* w = static_cast<QWidget*>(o);
        if (w->isVisibleTo(this) != s.Visible) w->setVisible(s.Visible);
      }
      m = s;
    }
    premierAffichage_ = false;
    for (int i = 0; i < 6; ++i) {
      const QString t = QString::fromStdString(ed_.Panneaux[i]);
      if (panneaux_[i]->text() != t) {
        panneaux_[i]->setText(t);
        // The name changes with the text, and the change is announced (a new tool for panel 5).
        panneaux_[i]->setAccessibleName(t.isEmpty() ? QString::fromUtf8(kPanneaux[i]) : t);
      }
    }
    for (int i = 0; i < 3; ++i) {
      const QString t = DeWindows1252(ed_.Titres[i]);
      if (titres_[i]->text() != t) titres_[i]->setText(t);
    }
    const QString legende = QString::fromStdString(TitreFenetre(ed_));
    if (windowTitle() != legende) setWindowTitle(legende);
    auto* echelle = static_cast<QComboBox*>(objets_[Index(Controle::ChoixEchelle1)]);
    if (echelle->currentIndex() != ed_.IndexEchelle) echelle->setCurrentIndex(ed_.IndexEchelle);
    auto* grille = static_cast<QComboBox*>(objets_[Index(Controle::Choixgrille1)]);
    if (grille->currentIndex() != ed_.IndexGrille) grille->setCurrentIndex(ed_.IndexGrille);
    for (QScrollBar* s : {AscHorizontal_, AscVertical_}) {
      const Ascenseur& a = s == AscVertical_ ? ed_.AscVertical : ed_.AscHorizontal;
      const QSignalBlocker bloque(s);
      s->setRange(0, std::max(1000 - a.Page, 0));
      s->setPageStep(a.Page);
      s->setSingleStep(a.PetitPas);
      s->setValue(a.Position);
      const bool visible = EstVisible(
          ed_, s == AscVertical_ ? Controle::PanelAscVertical : Controle::PanelAscHorizontal);
      if (s->parentWidget()->isVisibleTo(this) != visible) s->parentWidget()->setVisible(visible);
    }
    Place();
  }
  ed_.toile.Prend(changement_);
  const Defilement& f = changement_.defilement;
  if (f.Zone.Droite > f.Zone.Gauche) {
    // The server moves the pixels already on the screen when the move is a whole number of
    // the widget's pixels; otherwise the area is copied again.
    const double k = zone_->Echelle();
    const QRect z = Logique(f.Zone.Gauche, f.Zone.Haut, f.Zone.Droite, f.Zone.Bas);
    const int dx = qRound(f.Dx / k), dy = qRound(f.Dy / k);
    const bool entier = dx * k == f.Dx && dy * k == f.Dy && z.left() * k == f.Zone.Gauche &&
                        z.top() * k == f.Zone.Haut && (z.right() + 1) * k == f.Zone.Droite &&
                        (z.bottom() + 1) * k == f.Zone.Bas;
    // What is laid over the picture (the lit net, a fault's ring) is painted again with it.
    if (entier && !calqueMontre_ && !defautMontre_) {
      zone_->Defile(dx, dy, z);
    } else {
      zone_->DefileEnRecopiant(z);
    }
  }
  for (const RectPixel& d : changement_.boites)
    zone_->Repeins(Logique(d.Gauche, d.Haut, d.Droite, d.Bas));
  if (ed_.RetireFocus) {
    ed_.RetireFocus = false;
    zone_->setFocus();
  }
  if (ed_.FocusTitre > 0) {
    titres_[ed_.FocusTitre - 1]->setFocus();
    ed_.FocusTitre = 0;
  }
  if (ed_.DernierFichier != fichierRetenu_) Reglages(false);
  if (recuperation_) recuperation_->Apres();
  // A step taken, undone or done again: the continuous check follows it.
  const Historique& h = ed_.historique;
  const std::array<uint64_t, 4> etape = {h.Enregistrements(), h.Position(), h.NombreEtapes(),
                                         static_cast<uint64_t>(ed_.circuit.NbElements)};
  if (etape != etapeVue_) {
    etapeVue_ = etape;
    Verification_->ApresEtape();
  }
}

void Fiche_principale::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  if (!e->spontaneous()) {
    // Once shown the frame is known: the window is fitted again if it reaches off the area.
    if (!geometrieRetenue_ && screen() != nullptr) {
      const QRect disponible = screen()->availableGeometry();
      if (!disponible.contains(frameGeometry())) {
        const QMargins cadre(geometry().left() - frameGeometry().left(),
                             geometry().top() - frameGeometry().top(),
                             frameGeometry().right() - geometry().right(),
                             frameGeometry().bottom() - geometry().bottom());
        setGeometry(GeometrieDeDepart(disponible, cadre));
      }
    }
    FormShow(ed_);
    Apres();
  }
}

// A new theme (light or dark): the icons are drawn again in its colours.
void Fiche_principale::changeEvent(QEvent* e) {
  QMainWindow::changeEvent(e);
  if (e->type() == QEvent::PaletteChange) Icones();
}

void Fiche_principale::closeEvent(QCloseEvent* e) {
  if (FormClose(ed_)) {
    // A clean close leaves no recovery copy.
    recuperation_->Retire();
    // The next run opens at the size and place the window is left at.
    QSettings(QStringLiteral("KORV4"), QStringLiteral("korv4"))
        .setValue(QStringLiteral("Geometrie"), saveGeometry());
    e->accept();
  } else {
    e->ignore();
  }
}

bool Fiche_principale::eventFilter(QObject* objet, QEvent* e) {
  if (objet == centralWidget() && (e->type() == QEvent::DragEnter ||
                                   e->type() == QEvent::DragMove || e->type() == QEvent::Drop)) {
    return Depot(e);
  }
  if (objet == cadre_ && e->type() == QEvent::Resize) {
    // On a screen of twice the density the drawing is made at its own pixels.
    DensiteEcran(ed_, qRound(10 * cadre_->devicePixelRatioF()));
    const double k = ed_.Resolution / 10.0;
    const int largeur = qRound(cadre_->width() * k), hauteur = qRound(cadre_->height() * k);
    ed_.EpaisseurAscenseur = qRound(AscVertical_->sizeHint().width() * k);
    zone_->Dimensionne(largeur, hauteur, k);
    ed_.toile.Cible(zone_->Toile());
    QImage& image = zone_->Image();
    ed_.Image.Pixels = reinterpret_cast<uint32_t*>(image.bits());
    ed_.Image.Largeur = image.width();
    ed_.Image.Hauteur = image.height();
    ed_.Image.Pas = image.bytesPerLine() / 4;
    FormResize(ed_, largeur, hauteur);
    Apres();
    zone_->Repeins();
    return false;
  }
  if (e->type() == QEvent::KeyPress && Raccourci(objet, *static_cast<QKeyEvent*>(e))) return true;
  for (int n = 0; n < 3; ++n) {
    if (objet != titres_[n]) continue;
    if (e->type() == QEvent::MouseButtonPress) ed_.ApercuTouches = false;
    if (e->type() == QEvent::KeyPress) {
      TitreTouche(ed_, n + 1, CodeTouche(*static_cast<QKeyEvent*>(e)));
      Apres();
    }
    return false;
  }
  if (e->type() != QEvent::KeyPress) return false;
  // Reached with Tab, the drawing area takes the keys even before the pointer came over it.
  if (!ed_.ApercuTouches && QApplication::focusWidget() != zone_) return false;
  auto* w = qobject_cast<QWidget*>(objet);
  if (w == nullptr || w->window() != this || !isActiveWindow()) return false;
  if (EstEnfonce(ed_, Controle::Boutontitre) || EstEnfonce(ed_, Controle::Boutondate) ||
      EstEnfonce(ed_, Controle::Boutonauteur)) {
    return false;
  }
  const Touche code = CodeTouche(*static_cast<QKeyEvent*>(e));
  const bool dessin = ToucheDuDessin(code) && QApplication::focusWidget() == zone_;
  if (!ToucheDuDispatcher(code) && !dessin) return false;
  // A button reached with Tab is pressed by the space bar.
  if (code == Touche::Espace &&
      qobject_cast<QToolButton*>(QApplication::focusWidget()) != nullptr) {
    return false;
  }
  FormKeyDown(ed_, code,
              (static_cast<QKeyEvent*>(e)->modifiers() & Qt::ShiftModifier) != Qt::NoModifier);
  Apres();
  return true;
}

}  // namespace korv4
