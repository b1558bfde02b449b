// What one input event repaints in the real main window: the drawing area once, over the
// part that changed, and a bounded number of other widgets. Budgets in counts (the timings are
// bench/bench_vitre.cpp's, on an X server).

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QTemporaryDir>
#include <QToolButton>
#include <QWheelEvent>
#include <functional>
#include <map>
#include <string>

#include "editeur/Session.h"
#include "fenetres/ui/Fiche_principale.h"
#include "fenetres/ui/ZoneDessin.h"
#include "render/CircuitExemple.h"
#include "render/Curseur.h"

namespace korv4 {
namespace {

class Peintures : public QObject {
 public:
  QWidget* zone = nullptr;
  int zoneFois = 0;
  int64_t zoneAire = 0;
  std::map<std::string, int> autres;
  std::map<std::string, int> dispositions;  // layout passes asked, by widget
  // The containers behind the opaque widgets (the status bar's panels, the scroll bars, the
  // tool panels' buttons): painted only when they change themselves.
  int Derriere() const {
    int n = 0;
    for (const char* nom :
         {"QStatusBar BarreEtat1", "QWidget Centre", "QWidget Cadre", "QWidget PanelAscVertical",
          "QWidget PanelAscHorizontal", "QWidget PanelOutil", "QWidget PanelModifPartielle"}) {
      const auto i = autres.find(nom);
      if (i != autres.end()) n += i->second;
    }
    return n;
  }
  int Autres() const {
    int n = 0;
    for (const auto& [nom, fois] : autres) n += fois;
    return n;
  }
  std::string Liste() const {
    std::string s;
    for (const auto& [nom, fois] : autres) s += nom + " " + std::to_string(fois) + "\n";
    return s;
  }
  std::string Dispositions() const {
    std::string s;
    for (const auto& [nom, fois] : dispositions) s += nom + " " + std::to_string(fois) + "\n";
    return s;
  }
  void Raz() {
    zoneFois = 0;
    zoneAire = 0;
    autres.clear();
    dispositions.clear();
  }

 protected:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::LayoutRequest && o->isWidgetType()) {
      ++dispositions[std::string(o->metaObject()->className()) + " " +
                     o->objectName().toStdString()];
    }
    if (e->type() != QEvent::Paint) return false;
    if (o == zone) {
      ++zoneFois;
      // The pixels painted: a scroll's strip and the cursor far from it are two rectangles.
      for (const QRect& r : static_cast<QPaintEvent*>(e)->region())
        zoneAire += static_cast<int64_t>(r.width()) * r.height();
    } else if (o->isWidgetType()) {
      ++autres[std::string(o->metaObject()->className()) + " " + o->objectName().toStdString()];
    }
    return false;
  }
};

// The application of the test program (another file's tests may have made it already), its
// settings and recovery copies in folders of their own.
void Application() {
  if (qApp != nullptr) return;
  static int argc = 1;
  static char nom[] = "korv4_tests_fenetre";
  static char* argv[] = {nom, nullptr};
  static QTemporaryDir reglages, etat;
  qputenv("XDG_CONFIG_HOME", reglages.path().toLocal8Bit());
  qputenv("XDG_STATE_HOME", etat.path().toLocal8Bit());
  new QApplication(argc, argv);
}

struct Fenetre {
  int application = (Application(), 0);
  DialoguesScript d;
  Fiche_principale fiche{&d};
  Peintures p;
  Fenetre() {
    fiche.resize(1100, 800);
    fiche.show();
    Vide();
    Editeur& ed = fiche.editeur();
    CircuitExemple(ed.circuit, 4000, 9000, 7000, 3);
    AfficheCI(ed);
    fiche.Apres();
    fiche.activateWindow();
    QApplication::setActiveWindow(&fiche);
    fiche.zone()->setFocus();
    Vide();
    p.zone = fiche.zone();
    qApp->installEventFilter(&p);
  }
  ~Fenetre() { qApp->removeEventFilter(&p); }
  void Vide() {
    for (int k = 0; k < 5; ++k) {
      QCoreApplication::sendPostedEvents();
      QCoreApplication::processEvents();
    }
  }
  int64_t AireZone() const {
    return static_cast<int64_t>(fiche.zone()->width()) * fiche.zone()->height();
  }
  void Molette(int cran, Qt::KeyboardModifiers m) {
    const QPointF c(fiche.zone()->width() / 2.0, fiche.zone()->height() / 2.0);
    QWheelEvent e(c, fiche.zone()->mapToGlobal(c), QPoint(), QPoint(0, cran), Qt::NoButton, m,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(fiche.zone(), &e);
  }
  void Souris(QEvent::Type type, QPointF p, Qt::MouseButton b) {
    QMouseEvent e(type, p, fiche.zone()->mapToGlobal(p), b,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : b, Qt::NoModifier);
    QApplication::sendEvent(fiche.zone(), &e);
  }
};

TEST(Vitre, UnEvenementUneSeulePeintureDeLaZone) {
  Fenetre f;
  ChoixEchelle1Change(f.fiche.editeur(), 4);
  AscenseurChange(f.fiche.editeur(), true, 400);
  f.fiche.Apres();
  f.Vide();
  struct Cas {
    const char* nom;
    std::function<void()> geste;
    int quart;      // the area painted at most, in quarters of the drawing area
    int autresMax;  // the other widgets repainted at most
    bool fenetre;   // the window's background behind them too
  };
  const QPointF ici(300, 200);
  const Cas cas[] = {
      // A scroll: the server moves the pixels, the strip uncovered (a tenth) and the cursor
      // are painted; the coordinates that changed and the scroll bar, alone.
      {"molette", [&] { f.Molette(-120, Qt::NoModifier); }, 1, 3, false},
      {"molette vers le haut", [&] { f.Molette(120, Qt::NoModifier); }, 1, 3, false},
      {"molette de côté", [&] { f.Molette(-120, Qt::ShiftModifier); }, 1, 3, false},
      // The zoom's list in its tool bar (drawn over the bar's shading), both scroll bars.
      {"ctrl molette", [&] { f.Molette(120, Qt::ControlModifier); }, 4, 5, true},
      // A pointer move repaints the cursor's old and new places, not the area; its
      // coordinates and what is under it, not the status bar.
      {"déplacement", [&] { f.Souris(QEvent::MouseMove, ici + QPointF(7, 3), Qt::NoButton); }, 0, 3,
       false},
  };
  const QLabel* survol = f.fiche.findChild<QLabel*>(QStringLiteral("PanneauSurvol"));
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.nom);
    const QString avant = survol->text();
    f.p.Raz();
    k.geste();
    f.Vide();
    EXPECT_EQ(f.p.zoneFois, 1);
    if (k.quart > 0) {
      EXPECT_LE(f.p.zoneAire * 4, f.AireZone() * k.quart) << f.p.zoneAire;
    } else {
      EXPECT_LT(f.p.zoneAire * 4, f.AireZone()) << f.p.zoneAire;
    }
    EXPECT_LE(f.p.Autres(), k.autresMax) << f.p.Liste();
    EXPECT_EQ(f.p.Derriere(), 0) << f.p.Liste();
    // No layout pass for the coordinates: their panels keep their size whatever they show.
    // What is under the pointer shares the bar's width with the others: when it changes, the
    // bar and the window are laid out once.
    const bool autreSurvol = survol->text() != avant;
    EXPECT_LE(f.p.dispositions.size(), autreSurvol ? 2u : 0u) << f.p.Dispositions();
    for (const auto& [nom, fois] : f.p.dispositions) {
      EXPECT_TRUE(nom == "QStatusBar BarreEtat1" ||
                  nom == "korv4::Fiche_principale Fiche_principale")
          << nom;
      EXPECT_EQ(fois, 1) << nom;
    }
    if (!k.fenetre) {
      EXPECT_EQ(f.p.autres.count("korv4::Fiche_principale Fiche_principale"), 0u);
    }
  }
}

// A zone turned by a click of its button: the button alone repaints beside the drawing area
// (pressed, released, raised again), not the panels and the window behind it.
TEST(Vitre, UneZoneTourneePuisRemiseRepeintPeu) {
  Fenetre f;
  Editeur& ed = f.fiche.editeur();
  Circuit& c = ed.circuit;
  // Room around the board for its half turned a quarter turn.
  for (int32_t i = 1; i <= c.NbElements; ++i) {
    if (c[i].Code != code::Rayon) c[i].X = static_cast<uint16_t>(c[i].X + 1500);
    c[i].Y = static_cast<uint16_t>(c[i].Y + 1500);
  }
  ed.ctx.SurfaceX = ed.ctx.SurfaceY = 13000;
  AfficheCI(ed);
  Clic(ed, Controle::BoutonModifPartielleTypon);
  c.Selection = TSelection{1, 1, c.NbElements / 2, CadreElements(c, 1, c.NbElements / 2)};
  FixeCadre(ed.ctx, c.Selection.CadreZone, true);
  f.fiche.Apres();
  f.Vide();
  auto* bouton = f.fiche.findChild<QToolButton*>(QStringLiteral("BpRotationZone"));
  ASSERT_NE(bouton, nullptr);
  ASSERT_TRUE(bouton->isVisible());
  const QPointF milieu(bouton->width() / 2.0, bouton->height() / 2.0);
  const int32_t avant = c[1].X;
  f.p.Raz();
  for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent e(t, milieu, bouton->mapToGlobal(milieu), Qt::LeftButton,
                  t == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bouton, &e);
  }
  f.Vide();
  ASSERT_NE(c[1].X, avant);  // turned
  EXPECT_EQ(f.p.zoneFois, 1);
  EXPECT_LE(f.p.Autres(), 3) << f.p.Liste();
  EXPECT_EQ(f.p.Autres(), f.p.autres["QToolButton BpRotationZone"]) << f.p.Liste();
  EXPECT_TRUE(f.p.dispositions.empty()) << f.p.Dispositions();

  // Undone by Ctrl+Z: the area once, the redo button that comes alive (over its tool bar's
  // shading and the window), no layout pass; the zone's panel stays.
  f.p.Raz();
  QKeyEvent appui(QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier);
  QApplication::sendEvent(f.fiche.zone(), &appui);
  QKeyEvent relache(QEvent::KeyRelease, Qt::Key_Z, Qt::ControlModifier);
  QApplication::sendEvent(f.fiche.zone(), &relache);
  f.Vide();
  ASSERT_EQ(c[1].X, avant);  // undone
  EXPECT_EQ(f.p.zoneFois, 1);
  EXPECT_LE(f.p.Autres(), 3) << f.p.Liste();
  EXPECT_EQ(f.p.Derriere(), 0) << f.p.Liste();
  EXPECT_TRUE(f.p.dispositions.empty()) << f.p.Dispositions();
  EXPECT_TRUE(bouton->isVisible());
}

TEST(Vitre, UnePastillePoseeRepeintSaPlace) {
  Fenetre f;
  Clic(f.fiche.editeur(), Controle::BoutonPastille);
  Clic(f.fiche.editeur(), Controle::Bpast8);
  f.fiche.Apres();
  // The pointer comes to the place first, as a hand brings it (the damage of one event is one
  // box: the cursor's old place far away would widen it).
  f.Souris(QEvent::MouseMove, QPointF(300, 200), Qt::NoButton);
  f.Vide();
  f.p.Raz();
  f.Souris(QEvent::MouseButtonPress, QPointF(300, 200), Qt::LeftButton);
  f.Vide();
  EXPECT_EQ(f.p.zoneFois, 1);
  EXPECT_LT(f.p.zoneAire * 100, f.AireZone());
  EXPECT_LE(f.p.Autres(), 3) << f.p.Liste();
  EXPECT_EQ(f.p.Derriere(), 0) << f.p.Liste();
  EXPECT_TRUE(f.p.dispositions.empty()) << f.p.Dispositions();
}

// At every zoom a notch of the wheel lets the screen move the area's pixels (also at a scale
// factor of 2, where a move by an odd number of the screen's pixels would make the whole area
// copied again), and neither a scroll nor a zoom takes new memory for the picture.
TEST(Vitre, DefilementsEtZoomsSansRecopieNiAllocation) {
  Fenetre f;
  Editeur& ed = f.fiche.editeur();
  ZoneDessin* zone = f.fiche.zone();
  const int allocations = zone->Allocations();
  const uchar* pixels = zone->Image().constBits();
  const struct {
    int cran;
    Qt::KeyboardModifiers touches;
  } crans[] = {{-120, Qt::NoModifier},
               {120, Qt::NoModifier},
               {-120, Qt::ShiftModifier},
               {120, Qt::ShiftModifier}};
  int defilements = 0;
  for (int z = 0; z <= 9; ++z) {
    SCOPED_TRACE(z);
    ChoixEchelle1Change(ed, z);
    AscenseurChange(ed, true, 400);
    AscenseurChange(ed, false, 300);
    f.fiche.Apres();
    f.Vide();
    for (const auto& c : crans) {
      const int32_t avant = ed.AscVertical.Position + 1000 * ed.AscHorizontal.Position;
      const int recopies = zone->Recopies();
      f.p.Raz();
      f.Molette(c.cran, c.touches);
      f.Vide();
      if (ed.AscVertical.Position + 1000 * ed.AscHorizontal.Position == avant) continue;
      ++defilements;
      EXPECT_EQ(zone->Recopies(), recopies);
      EXPECT_EQ(f.p.zoneFois, 1);
      // The strip uncovered and the cursor, never the whole area.
      EXPECT_LE(f.p.zoneAire * 6, f.AireZone()) << c.cran << " " << f.p.zoneAire;
    }
    if (z == 9) break;  // no zoom further in
    f.p.Raz();
    f.Molette(120, Qt::ControlModifier);
    f.Vide();
    EXPECT_EQ(f.p.zoneFois, 1);
  }
  EXPECT_GE(defilements, 30);
  EXPECT_EQ(zone->Allocations(), allocations);
  EXPECT_EQ(zone->Image().constBits(), pixels);
}

// What the window shows of the drawing area is its picture, pixel for pixel (at a scale factor
// of 2 each of the picture's pixels on one of the screen's): after a zoom, a scroll down and
// one sideways, the whole area and a part of it painted again.
TEST(Vitre, LaZoneMontreSonImagePixelPourPixel) {
  Fenetre f;
  Editeur& ed = f.fiche.editeur();
  ZoneDessin* zone = f.fiche.zone();
  auto Pareil = [&](const char* quand) {
    SCOPED_TRACE(quand);
    const QImage vue = zone->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage& image = zone->Image();
    ASSERT_LE(vue.width(), image.width());
    ASSERT_LE(vue.height(), image.height());
    EXPECT_NEAR(vue.width(), zone->width() * zone->Echelle(), 1);
    int differents = 0;
    for (int y = 0; y < vue.height(); ++y)
      for (int x = 0; x < vue.width(); ++x)
        differents += (vue.pixel(x, y) & 0xFFFFFF) != (image.pixel(x, y) & 0xFFFFFF);
    EXPECT_EQ(differents, 0);
  };
  ChoixEchelle1Change(ed, 5);
  f.fiche.Apres();
  f.Vide();
  Pareil("zoom");
  f.Molette(-120, Qt::NoModifier);
  f.Vide();
  Pareil("défilement");
  f.Molette(-120, Qt::ShiftModifier);
  f.Vide();
  Pareil("défilement de côté");
  zone->Repeins(QRect(7, 5, 101, 43));
  f.Vide();
  Pareil("une partie");
}

}  // namespace
}  // namespace korv4
