// From the input to the pixels on the X server: the editor's real main window on an X server
// (the xcb platform, not offscreen), 100000 records, its drawing area 1920 x 1080 (with
// QT_SCALE_FACTOR=2, 3840 x 2160 of the screen's pixels). Each benchmark gives the window one
// synthetic input event and times it from its arrival to the end of the flush to the server:
// the event delivered, the posted events that follow (the repaint, the copy of the backing
// store to the window), then a round trip that the server answers once it has done every
// request before it. Counters: the paint events of the drawing area and of every other widget
// for one event, and the bytes of the drawing area's picture they copy (4 a screen pixel).
//
// Without DISPLAY (or with KORV4_XVFB=1) it starts its own Xvfb, large enough for the window.
//
//   build/bench/korv4_bench_vitre
//   QT_SCALE_FACTOR=2 build/bench/korv4_bench_vitre

#include <QtGui/qguiapplication_platform.h>
#include <benchmark/benchmark.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QToolButton>
#include <QWheelEvent>
#include <memory>

#include "CarteFenetre.h"
#include "editeur/Session.h"
#include "fenetres/ui/Fiche_principale.h"
#include "fenetres/ui/ZoneDessin.h"
#include "render/Curseur.h"

namespace korv4 {
namespace {

// The paint events of one input event: the drawing area's (and the area they cover) and every
// other widget's.
class Compteur : public QObject {
 public:
  QWidget* zone = nullptr;
  int64_t peinturesZone = 0, aireZone = 0, autres = 0;
  bool trace = false;
  // What the timed events alone painted.
  int64_t totalZone = 0, totalAire = 0, totalAutres = 0, evenements = 0;
  void Raz() { peinturesZone = aireZone = autres = 0; }
  void Retient() {
    totalZone += peinturesZone;
    totalAire += aireZone;
    totalAutres += autres;
    ++evenements;
  }

 protected:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::Paint) {
      if (o == zone) {
        ++peinturesZone;
        // Each rectangle of the region is copied alone (a scroll's strip, the cursor).
        for (const QRect& r : static_cast<QPaintEvent*>(e)->region())
          aireZone += static_cast<int64_t>(r.width()) * r.height();
      } else if (o->isWidgetType()) {
        ++autres;
        if (trace && qEnvironmentVariableIntValue("KORV4_VITRE_NOMS") == 1)
          fprintf(stderr, "peint %s %s\n", o->metaObject()->className(),
                  qPrintable(o->objectName()));
      }
    }
    return false;
  }
};

struct Banc {
  DialoguesScript d;
  Fiche_principale fiche{&d};
  Compteur compteur;
  xcb_connection_t* x = nullptr;

  explicit Banc(int32_t nombre) {
    fiche.resize(2000, 1300);
    fiche.show();
    Attends();
    // The drawing area 1920 x 1080 (in the widget's pixels).
    fiche.resize(fiche.width() + 1920 - fiche.zone()->width(),
                 fiche.height() + 1080 - fiche.zone()->height());
    Attends();
    Editeur& ed = fiche.editeur();
    CarteFenetre(ed, nombre);
    AfficheCI(ed);
    fiche.Apres();
    fiche.activateWindow();
    QApplication::setActiveWindow(&fiche);  // no window manager on the server to give it
    fiche.zone()->setFocus();
    Attends();
    if (auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>())
      x = x11->connection();
    compteur.zone = fiche.zone();
    qApp->installEventFilter(&compteur);
  }
  ~Banc() { qApp->removeEventFilter(&compteur); }

  Editeur& ed() { return fiche.editeur(); }
  ZoneDessin* zone() { return fiche.zone(); }

  // The events that follow an input delivered until the window has painted (the repaint
  // comes from an update request, perhaps on a timer) and so flushed its backing store, then
  // a round trip to the server: when it answers, it has done every request sent before.
  void Vide(bool peinture = true) {
    const int64_t avant = compteur.peinturesZone;
    QElapsedTimer t;
    t.start();
    do {
      QCoreApplication::processEvents();
    } while (peinture && compteur.peinturesZone == avant && t.elapsed() < 500);
    QCoreApplication::processEvents();
    peint = horloge.nsecsElapsed();
    if (x != nullptr) free(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr));
  }
  void Attends() {
    for (int k = 0; k < 20; ++k) {
      Vide(false);
      QThread::msleep(5);
    }
  }

  QPointF Point(int32_t x, int32_t y) {
    const PointPixel p = PixelPoint(ed().ctx, x, y);
    return QPointF(p.X / zone()->Echelle(), p.Y / zone()->Echelle());
  }
  void Souris(QWidget* w, QEvent::Type type, QPointF p, Qt::MouseButton b = Qt::LeftButton) {
    QMouseEvent e(type, p, w->mapToGlobal(p), b,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : b, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
  }
  void Molette(QPointF p, int cran, Qt::KeyboardModifiers m) {
    QWheelEvent e(p, zone()->mapToGlobal(p), QPoint(), QPoint(0, cran), Qt::NoButton, m,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(zone(), &e);
  }
  void Touche(int touche, Qt::KeyboardModifiers m) {
    QKeyEvent appui(QEvent::KeyPress, touche, m);
    QApplication::sendEvent(zone(), &appui);
    QKeyEvent relache(QEvent::KeyRelease, touche, m);
    QApplication::sendEvent(zone(), &relache);
  }
  // One timed event: from its arrival to the flush on the server, its paints counted.
  template <typename F>
  void Evenement(F&& f) {
    compteur.Raz();
    compteur.trace = true;
    horloge.start();
    f();
    const int64_t geste = horloge.nsecsElapsed();
    Vide();
    const int64_t fin = horloge.nsecsElapsed();
    compteur.trace = false;
    compteur.Retient();
    duree[0] += geste;
    duree[1] += peint - geste;
    duree[2] += fin - peint;
  }
  void Compte(benchmark::State& state) {
    const double n = static_cast<double>(std::max<int64_t>(compteur.evenements, 1));
    state.counters["peintures_zone"] = static_cast<double>(compteur.totalZone) / n;
    // The area is in the widget's pixels: at scale k, k * k of the screen's each.
    const double k = zone()->Echelle();
    state.counters["octets_zone"] = static_cast<double>(compteur.totalAire) * 4 * k * k / n;
    state.counters["autres_peintures"] = static_cast<double>(compteur.totalAutres) / n;
    state.counters["pixels"] = ed().Image.Largeur * ed().Image.Hauteur;
    // Where the wall time goes (milliseconds an event): the event's handling (the editor and
    // its drawing), the posted events until the window has painted and flushed, the server.
    state.counters["ms_geste"] = static_cast<double>(duree[0]) / 1e6 / n;
    state.counters["ms_peinture"] = static_cast<double>(duree[1]) / 1e6 / n;
    state.counters["ms_serveur"] = static_cast<double>(duree[2]) / 1e6 / n;
  }
  QElapsedTimer horloge;
  int64_t peint = 0;
  int64_t duree[3] = {};
};

// Ctrl and the wheel, one notch in at zoom z (out again untimed).
void BM_VitreZoomMolette(benchmark::State& state) {
  Banc b(kMaxElements);
  const int32_t z = static_cast<int32_t>(state.range(0));
  const QPointF centre(960, 540);
  for (auto _ : state) {
    state.PauseTiming();
    ChoixEchelle1Change(b.ed(), z);
    b.fiche.Apres();
    b.Vide(false);
    state.ResumeTiming();
    b.Evenement([&] { b.Molette(centre, 120, Qt::ControlModifier); });
  }
  b.Compte(state);
  state.counters["zoom"] = b.ed().ctx.Zoom;
}

// The wheel, one notch down then one up.
void BM_VitreDefilementMolette(benchmark::State& state) {
  Banc b(kMaxElements);
  ChoixEchelle1Change(b.ed(), static_cast<int32_t>(state.range(0)));
  AscenseurChange(b.ed(), true, 400);
  b.fiche.Apres();
  b.Vide(false);
  int i = 0;
  for (auto _ : state)
    b.Evenement([&] { b.Molette(QPointF(960, 540), (i++ & 1) ? 120 : -120, Qt::NoModifier); });
  b.Compte(state);
}

// A press of the pad tool that adds a pad (released and deleted untimed).
void BM_VitreAppuiPastille(benchmark::State& state) {
  Banc b(kMaxElements - 2);
  Clic(b.ed(), Controle::BoutonPastille);
  Clic(b.ed(), Controle::Bpast8);
  b.fiche.Apres();
  b.Vide(false);
  for (auto _ : state) {
    b.Evenement([&] { b.Souris(b.zone(), QEvent::MouseButtonPress, b.Point(5000, 5000)); });
    state.PauseTiming();
    b.Souris(b.zone(), QEvent::MouseButtonRelease, b.Point(5000, 5000));
    SupprimeDernier(b.ed().circuit);
    b.fiche.Apres();
    b.Vide(false);
    state.ResumeTiming();
  }
  b.Compte(state);
}

// The end of a track of three points (Escape): it ends and is joined.
void BM_VitreFinDePiste(benchmark::State& state) {
  Banc b(kMaxElements - 4);
  Clic(b.ed(), Controle::BoutonPiste);
  Clic(b.ed(), Controle::Bpist2);
  b.fiche.Apres();
  b.Vide(false);
  for (auto _ : state) {
    state.PauseTiming();
    const int32_t avant = b.ed().circuit.NbElements;
    for (int32_t x : {5000, 5400, 5800}) {
      b.Souris(b.zone(), QEvent::MouseButtonPress, b.Point(x, 5150));
      b.Souris(b.zone(), QEvent::MouseButtonRelease, b.Point(x, 5150));
    }
    b.Vide(false);
    state.ResumeTiming();
    b.Evenement([&] { b.Touche(Qt::Key_Escape, Qt::NoModifier); });
    state.PauseTiming();
    SupprimeElements(b.ed().circuit, {avant + 1, b.ed().circuit.NbElements});
    b.fiche.Apres();
    b.Vide(false);
    state.ResumeTiming();
  }
  b.Compte(state);
}

// A zone of the last 50000 records turned a quarter turn by a click of its button, then the
// turn undone by Ctrl+Z (each timed alone: state.range(0) 0 the turn, 1 the undo).
void BM_VitreZoneRotation(benchmark::State& state) {
  Banc b(kMaxElements);
  Circuit& c = b.ed().circuit;
  const int32_t n = c.NbElements, premier = n - 49999;
  // The zone chosen again before each turn (an undo leaves the zone's work).
  auto Zone = [&] {
    if (!EstEnfonce(b.ed(), Controle::BoutonModifPartielleTypon))
      Clic(b.ed(), Controle::BoutonModifPartielleTypon);
    c.Selection = TSelection{1, premier, n, CadreElements(c, premier, n)};
    FixeCadre(b.ed().ctx, c.Selection.CadreZone, true);
    b.fiche.Apres();
    b.Vide(false);
  };
  Zone();
  auto* bouton = b.fiche.findChild<QToolButton*>(QStringLiteral("BpRotationZone"));
  if (bouton == nullptr || !bouton->isVisible()) {
    state.SkipWithError("pas de bouton de rotation visible");
    return;
  }
  const bool annulation = state.range(0) == 1;
  const QPointF milieu(bouton->width() / 2.0, bouton->height() / 2.0);
  auto Tourne = [&] {
    b.Souris(bouton, QEvent::MouseButtonPress, milieu);
    b.Souris(bouton, QEvent::MouseButtonRelease, milieu);
  };
  for (auto _ : state) {
    state.PauseTiming();
    Zone();
    if (annulation) {
      Tourne();
      b.Vide();
    }
    state.ResumeTiming();
    if (annulation) {
      b.Evenement([&] { b.Touche(Qt::Key_Z, Qt::ControlModifier); });
    } else {
      b.Evenement(Tourne);
    }
  }
  b.Compte(state);
}

BENCHMARK(BM_VitreZoomMolette)
    ->ArgName("zoom")
    ->DenseRange(0, 8)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VitreDefilementMolette)
    ->ArgName("zoom")
    ->Arg(2)
    ->Arg(5)
    ->Arg(8)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VitreAppuiPastille)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VitreFinDePiste)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VitreZoneRotation)
    ->ArgName("annulation")
    ->Arg(0)
    ->Arg(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The window in known states, each step's paints said on stderr and the screen taken with
// ImageMagick's `import` (KORV4_VITRE_CLICHES=DIR): pictures to compare between two builds.
void Cliches(const QString& dossier) {
  Banc b(kMaxElements);
  Circuit& c = b.ed().circuit;
  const int32_t n = c.NbElements, premier = n - 49999;
  auto* rotation = b.fiche.findChild<QToolButton*>(QStringLiteral("BpRotationZone"));
  auto Pris = [&](const char* nom) {
    fprintf(stderr, "%-14s zone %lld fois, %lld pixels, %lld autres\n", nom,
            static_cast<long long>(b.compteur.peinturesZone),
            static_cast<long long>(b.compteur.aireZone), static_cast<long long>(b.compteur.autres));
    // Long enough for the resting pointer's tooltip to show: it is in every picture.
    for (int k = 0; k < 12; ++k) b.Attends();
    QProcess::execute(QStringLiteral("import"),
                      {QStringLiteral("-window"), QStringLiteral("root"),
                       QStringLiteral("%1/%2.png").arg(dossier, QLatin1String(nom))});
  };
  const QPointF centre(960, 540);
  auto Etape = [&](const char* nom, auto&& f) {
    b.compteur.Raz();
    b.compteur.trace = true;
    f();
    b.Vide();
    b.Vide(false);
    b.compteur.trace = false;
    Pris(nom);
  };
  Etape("depart", [&] { b.Souris(b.zone(), QEvent::MouseMove, centre, Qt::NoButton); });
  Etape("zoom", [&] { b.Molette(centre, 120, Qt::ControlModifier); });
  Etape("defilement", [&] { b.Molette(centre, -120, Qt::NoModifier); });
  Etape("pointeur",
        [&] { b.Souris(b.zone(), QEvent::MouseMove, centre + QPointF(37, 21), Qt::NoButton); });
  Etape("mode_zone", [&] {
    Clic(b.ed(), Controle::BoutonModifPartielleTypon);
    b.fiche.Apres();
  });
  Etape("zone", [&] {
    c.Selection = TSelection{1, premier, n, CadreElements(c, premier, n)};
    FixeCadre(b.ed().ctx, c.Selection.CadreZone, true);
    b.fiche.Apres();
  });
  Etape("rotation", [&] {
    if (rotation == nullptr) return;
    const QPointF milieu(rotation->width() / 2.0, rotation->height() / 2.0);
    b.Souris(rotation, QEvent::MouseButtonPress, milieu);
    b.Souris(rotation, QEvent::MouseButtonRelease, milieu);
  });
  Etape("annulation", [&] { b.Touche(Qt::Key_Z, Qt::ControlModifier); });
  Etape("annulation2", [&] { b.Touche(Qt::Key_Z, Qt::ControlModifier); });
  Etape("retablit", [&] { b.Touche(Qt::Key_Y, Qt::ControlModifier); });
  // A zone chosen with the mouse, turned, the turn undone.
  Etape("selection", [&] {
    Clic(b.ed(), Controle::BpSelectionZone);
    b.fiche.Apres();
    b.Souris(b.zone(), QEvent::MouseButtonPress, QPointF(200, 150));
    for (int k = 1; k <= 10; ++k)
      b.Souris(b.zone(), QEvent::MouseMove, QPointF(200 + 80 * k, 150 + 50 * k), Qt::LeftButton);
    b.Souris(b.zone(), QEvent::MouseButtonRelease, QPointF(1000, 650));
  });
  Etape("rotation_souris", [&] {
    if (rotation == nullptr) return;
    const QPointF milieu(rotation->width() / 2.0, rotation->height() / 2.0);
    b.Souris(rotation, QEvent::MouseButtonPress, milieu);
    b.Souris(rotation, QEvent::MouseButtonRelease, milieu);
  });
  Etape("annulation_souris", [&] { b.Touche(Qt::Key_Z, Qt::ControlModifier); });
  // A narrow window: the status bar's panels share less than their texts ask.
  Etape("etroite", [&] {
    b.fiche.resize(1000, 700);
    b.Attends();
    b.Souris(b.zone(), QEvent::MouseMove, QPointF(400, 300), Qt::NoButton);
  });
  Etape("etroite_pointeur",
        [&] { b.Souris(b.zone(), QEvent::MouseMove, QPointF(431, 317), Qt::NoButton); });
}

// An X server of its own: Xvfb on the first free display from :90, the screen large enough for
// the window at the scale asked.
std::unique_ptr<QProcess> DemarreXvfb() {
  const double echelle = qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR")
                             ? 1.0
                             : qEnvironmentVariable("QT_SCALE_FACTOR").toDouble();
  const int l = static_cast<int>(2100 * std::max(echelle, 1.0));
  const int h = static_cast<int>(1400 * std::max(echelle, 1.0));
  for (int n = 90; n < 120; ++n) {
    if (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)) ||
        QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
      continue;
    auto p = std::make_unique<QProcess>();
    p->start(QStringLiteral("Xvfb"), {QStringLiteral(":%1").arg(n), QStringLiteral("-screen"),
                                      QStringLiteral("0"), QStringLiteral("%1x%2x24").arg(l).arg(h),
                                      QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    if (!p->waitForStarted(5000)) return nullptr;
    for (int k = 0; k < 100 && !QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)); ++k)
      QThread::msleep(50);
    qputenv("DISPLAY", QStringLiteral(":%1").arg(n).toLocal8Bit());
    return p;
  }
  return nullptr;
}

}  // namespace
}  // namespace korv4

int main(int argc, char** argv) {
  std::unique_ptr<QProcess> xvfb;
  if (qEnvironmentVariableIsEmpty("DISPLAY") || qEnvironmentVariableIntValue("KORV4_XVFB") == 1) {
    xvfb = korv4::DemarreXvfb();
    if (!xvfb) {
      fprintf(stderr, "Xvfb n'a pas pu démarrer\n");
      return 1;
    }
  }
  qputenv("QT_QPA_PLATFORM", "xcb");
  QTemporaryDir etat;
  qputenv("XDG_STATE_HOME", etat.path().toLocal8Bit());
  int code = 0;
  {
    QApplication app(argc, argv);
    if (!qEnvironmentVariableIsEmpty("KORV4_VITRE_CLICHES")) {
      korv4::Cliches(qEnvironmentVariable("KORV4_VITRE_CLICHES"));
    } else {
      benchmark::Initialize(&argc, argv);
      if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
      benchmark::RunSpecifiedBenchmarks();
      benchmark::Shutdown();
    }
  }
  if (xvfb) {
    xvfb->terminate();
    xvfb->waitForFinished(5000);
  }
  return code;
}
