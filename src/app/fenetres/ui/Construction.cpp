#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScrollBar>
#include <QStatusBar>
#include <QSvgRenderer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "fenetres/commun/CodePage.h"
#include "fenetres/commun/Ressources.h"
#include "fenetres/ui/Fiche_principale.h"
#include "fenetres/ui/StyleAscenseur.h"
#include "fenetres/ui/ZoneDessin.h"

// The widgets of the main window, built from the control table.

namespace korv4 {

namespace {

QString Texte(const char* s) { return QString::fromUtf8(s); }

// The toolbars in the order they stand, and where.
struct PlaceBarre {
  Controle barre;
  bool nouvelleLigne;
};
constexpr PlaceBarre kBarres[] = {
    {Controle::Outils_principaux, false}, {Controle::Panel2, true},
    {Controle::ToolboutonTypon, false},   {Controle::ToolBoutonImplantation, false},
    {Controle::ToolBoutonPercage, false}, {Controle::Panel5, true},
};

// The icons of the main toolbar's commands and of the function tool bars' tools
// (ressources/icones); their buttons show the icon alone, the caption stays their name.
struct IconeControle {
  Controle controle;
  const char* icone;
};
constexpr IconeControle kIcones[] = {
    {Controle::BoutonOuvrir, "ouvrir"},
    {Controle::BoutonEnregistrer, "enregistrer"},
    {Controle::BoutonNouveau, "nouveau"},
    {Controle::BoutonImpression, "imprimer"},
    {Controle::BoutonExportPercage, "export_percage"},
    {Controle::BoutonExportGerber, "export_gerber"},
    {Controle::Bpanullsupp, "annuler_suppression"},
    {Controle::BoutonDefaire, "defaire"},
    {Controle::BoutonRefaire, "refaire"},
    {Controle::BoutonZoomMoins, "zoom_moins"},
    {Controle::BoutonZoomPlus, "zoom_plus"},
    {Controle::BoutonAjuster, "ajuster"},
    {Controle::BoutonTaille, "taille"},
    {Controle::BoutonFermer, "fermer"},
    {Controle::BoutonPastille, "pastilles"},
    {Controle::BoutonPiste, "pistes"},
    {Controle::BoutonTexteTypon, "texte"},
    {Controle::BoutonModifTotaleTypon, "totale"},
    {Controle::BoutonModifPartielleTypon, "partielle"},
    {Controle::BoutonInsertionTypon, "insertion"},
    {Controle::BoutonDessinImplantation, "dessin"},
    {Controle::BoutonTexteImplantation, "texte"},
    {Controle::BoutonModiftotaleImplantation, "totale"},
    {Controle::BoutonModifPartielleImplantation, "partielle"},
    {Controle::BoutonInsertionImplantation, "insertion"},
    {Controle::BoutonPercage, "diametres"},
    {Controle::BoutonDessinPercage, "dessin"},
    {Controle::BoutonTextePercage, "texte"},
    {Controle::BoutonEquipotentielleTypon, "equipotentielle"},
    {Controle::BoutonEquipotentielleImplantation, "equipotentielle"},
    {Controle::BoutonEquipotentiellePercage, "equipotentielle"},
    {Controle::BoutonMesureTypon, "mesure"},
    {Controle::BoutonMesureImplantation, "mesure"},
    {Controle::BoutonMesurePercage, "mesure"},
};

// An icon drawn in the theme's button text colour, sharp at the scale factors 1, 2 and 3.
QIcon Icone(const char* nom, const QPalette& palette) {
  QFile f(QStringLiteral(":/icones/%1.svg").arg(QLatin1String(nom)));
  if (!f.open(QIODevice::ReadOnly)) return {};
  QByteArray svg = f.readAll();
  svg.replace("currentColor", palette.color(QPalette::ButtonText).name().toLatin1());
  QSvgRenderer rendu(svg);
  QIcon icone;
  for (int taille : {24, 48, 72}) {
    QPixmap image(taille, taille);
    image.fill(Qt::transparent);
    QPainter p(&image);
    rendu.render(&p);
    p.end();
    icone.addPixmap(image);
  }
  return icone;
}

// The status bar: a panel whose text changes asks for a layout pass; when that pass moves no
// panel and keeps the bar's height, only that panel is painted again (the status bar would
// paint itself and every panel).
class BarreEtat : public QStatusBar {
 public:
  using QStatusBar::QStatusBar;

 protected:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::LayoutRequest) {
      // The layout has placed the panels by now.
      std::vector<QRect> places;
      int hauteur = fontMetrics().height();
      for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        places.push_back(w->isVisible() ? w->geometry() : QRect());
        hauteur = std::max(hauteur, HauteurMinimale(*w));
      }
      const bool pareil = places == places_ && hauteur == hauteur_;
      places_ = std::move(places);
      hauteur_ = hauteur;
      if (pareil) return QWidget::event(e);
    }
    return QStatusBar::event(e);
  }

 private:
  // The least height a layout gives the widget, as the status bar counts it for its own.
  static int HauteurMinimale(const QWidget& w) {
    int h = (w.sizePolicy().verticalPolicy() & QSizePolicy::ShrinkFlag) != 0
                ? w.minimumSizeHint().height()
                : std::max(w.sizeHint().height(), w.minimumSizeHint().height());
    h = std::min(h, w.maximumHeight());
    if (w.minimumHeight() > 0) h = w.minimumHeight();
    return std::min(std::max(h, 0), w.maximumHeight());
  }
  std::vector<QRect> places_;
  int hauteur_ = -1;
};

// A panel of the status bar that shows a coordinate: its size fixed on the widest it can show
// (at least `largeur`), so that a new text asks for no layout pass.
class PanneauCoordonnee : public QLabel {
 public:
  PanneauCoordonnee(int largeur, QWidget* parent) : QLabel(parent), largeur_(largeur) { Fixe(); }

 protected:
  void changeEvent(QEvent* e) override {
    QLabel::changeEvent(e);
    if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange) Fixe();
  }

 private:
  void Fixe() {
    // Five digits and a sign in millimetres, the longest name.
    QLabel modele(QStringLiteral("Xr = -8888,88 mm"));
    modele.setFont(font());
    modele.setContentsMargins(contentsMargins());
    const QSize t = modele.sizeHint();
    setFixedSize(std::max(largeur_, t.width()), t.height());
  }
  int largeur_;
};

}  // namespace

const char* const Fiche_principale::kPanneaux[6] = {"Coordonnée X",
                                                    "Coordonnée Y",
                                                    "Coordonnée X relative",
                                                    "Coordonnée Y relative",
                                                    "Barre d'état, panneau 4",
                                                    "Action en cours"};

void Fiche_principale::Construit() {
  QWidget* parents[kNombreControles] = {};
  parents[Index(Controle::MainMenu1)] = menuBar();
  menuBar()->setObjectName(QStringLiteral("MainMenu1"));

  for (const PlaceBarre& p : kBarres) {
    if (p.nouvelleLigne) addToolBarBreak();
    auto* barre = new QToolBar(this);
    barre->setObjectName(Texte(Definition(p.barre).Nom));
    barre->setMovable(false);
    barre->setFloatable(false);
    barre->toggleViewAction()->setVisible(false);
    barre->setToolButtonStyle(Qt::ToolButtonTextOnly);
    barre->setIconSize(QSize(24, 24));
    addToolBar(Qt::TopToolBarArea, barre);
    parents[Index(p.barre)] = barre;
    objets_[Index(p.barre)] = barre;
  }

  auto* centre = new QWidget(this);
  centre->setObjectName(QStringLiteral("Centre"));
  auto* disposition = new QHBoxLayout(centre);
  disposition->setContentsMargins(0, 0, 0, 0);
  disposition->setSpacing(0);
  auto* panelOutil = new QWidget(centre);
  panelOutil->setObjectName(QStringLiteral("PanelOutil"));
  panelOutil->setFixedWidth(66);
  auto* colonne = new QVBoxLayout(panelOutil);
  colonne->setContentsMargins(1, 1, 1, 1);
  colonne->setSpacing(0);
  parents[Index(Controle::PanelOutil)] = panelOutil;
  objets_[Index(Controle::PanelOutil)] = panelOutil;
  disposition->addWidget(panelOutil);
  ConstruitCadre();
  disposition->addWidget(cadre_, 1);
  setCentralWidget(centre);

  for (int i = 1; i < kNombreControles; ++i) {
    const Controle c = static_cast<Controle>(i);
    const DefinitionControle& d = Definition(c);
    if (objets_[i] != nullptr) continue;
    QWidget* parent = parents[Index(d.Conteneur)];
    const QString nom = Texte(d.Nom), libelle = Texte(d.Libelle), bulle = Texte(d.Bulle);
    switch (d.Type) {
      case Genre::Menu: {
        QMenu* menu = menuBar()->addMenu(libelle);
        menu->setObjectName(nom);
        connect(menu, &QMenu::aboutToShow, this, [this, c] { Clique(c); });
        parents[i] = menu;
        objets_[i] = menu;
        break;
      }
      case Genre::ElementMenu:
      case Genre::ElementMenuCoche: {
        auto* menu = qobject_cast<QMenu*>(parent);
        if (menu == nullptr) break;  // popup menus are built when they open
        QAction* a = menu->addAction(libelle);
        a->setObjectName(nom);
        a->setCheckable(d.Type == Genre::ElementMenuCoche);
        if (d.Raccourci[0] != '\0') {
          // Shown in the menu; the window itself runs them (Fiche_principale::eventFilter), so
          // that they act on the editor's state of the moment and never reach a dialog.
          a->setShortcuts(QKeySequence::listFromString(Texte(d.Raccourci)));
          a->setShortcutContext(Qt::WidgetShortcut);
        }
        connect(a, &QAction::triggered, this, [this, c] { Clique(c); });
        objets_[i] = a;
        break;
      }
      case Genre::Panneau: {
        auto* panneau = new QWidget(parent);
        panneau->setObjectName(nom);
        auto* l = new QVBoxLayout(panneau);
        l->setContentsMargins(0, 0, 0, 0);
        l->setSpacing(1);
        static_cast<QVBoxLayout*>(parent->layout())->addWidget(panneau);
        panneau->hide();
        parents[i] = panneau;
        objets_[i] = panneau;
        break;
      }
      case Genre::Poussoir:
      case Genre::Bascule: {
        auto* b = new QToolButton(parent);
        b->setObjectName(nom);
        b->setText(libelle);
        b->setToolTip(bulle);
        b->setAccessibleName(libelle.isEmpty() ? bulle : QString(libelle).remove('&'));
        // A toggle reports its state itself; one of a group also says that it excludes the
        // others.
        b->setAccessibleDescription(
            d.Groupe != GAucun ? bulle + QStringLiteral(" (un seul bouton de son groupe)") : bulle);
        b->setCheckable(d.Type == Genre::Bascule);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        // Tab reaches it; a click leaves the keyboard where it was.
        b->setFocusPolicy(Qt::TabFocus);
        connect(b, &QToolButton::clicked, this, [this, c] { Clique(c); });
        if (auto* barre = qobject_cast<QToolBar*>(parent)) {
          barre->addWidget(b);
        } else {
          b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
          // Opaque over the panel's plain background: pressed or released, the button alone
          // is painted again, not the panels and the window behind it.
          b->setBackgroundRole(QPalette::Window);
          b->setAutoFillBackground(true);
          parent->layout()->addWidget(b);
        }
        objets_[i] = b;
        break;
      }
      case Genre::Liste: {
        auto* liste = new QComboBox(parent);
        liste->setObjectName(nom);
        liste->setToolTip(bulle);
        liste->setAccessibleName(bulle);
        if (c == Controle::ChoixEchelle1) {
          for (const char* e : kListeEchelles) liste->addItem(Texte(e));
          connect(liste, qOverload<int>(&QComboBox::activated), this, [this](int index) {
            ChoixEchelle1Change(ed_, index);
            Apres();
          });
        } else {
          for (const char* g : kListeGrilles) liste->addItem(Texte(g));
          connect(liste, qOverload<int>(&QComboBox::activated), this, [this](int index) {
            Choixgrille1Change(ed_, index);
            Apres();
          });
        }
        static_cast<QToolBar*>(parent)->addWidget(liste);
        objets_[i] = liste;
        break;
      }
      case Genre::Etiquette: {
        auto* etiquette = new QLabel(parent);
        etiquette->setObjectName(nom);
        etiquette->setContentsMargins(8, 0, 8, 0);
        static_cast<QToolBar*>(parent)->addWidget(etiquette);
        objets_[i] = etiquette;
        break;
      }
      case Genre::Saisie: {
        auto* edit = new QLineEdit(parent);
        edit->setObjectName(nom);
        edit->setMaxLength(d.Code);
        edit->setAccessibleName(libelle);
        edit->setToolTip(bulle);
        edit->setFixedWidth(d.Code == 40 ? 300 : 160);
        edit->installEventFilter(this);
        const int n = c == Controle::EditTitre1 ? 0 : (c == Controle::EditTitre2 ? 1 : 2);
        titres_[n] = edit;
        connect(edit, &QLineEdit::textEdited, this, [this, n](const QString& t) {
          std::string octets;
          if (VersWindows1252(t, octets)) ed_.Titres[n] = octets;
        });
        static_cast<QToolBar*>(parent)->addWidget(edit);
        objets_[i] = edit;
        break;
      }
      default: break;
    }
  }
  static_cast<QVBoxLayout*>(panelOutil->layout())->addStretch(1);

  Icones();

  // The recent files, before "Fermer" (filled when the menu opens).
  auto* fichier = static_cast<QMenu*>(objets_[Index(Controle::Fichier1)]);
  menuRecents_ = new QMenu(QString::fromUtf8("Fichiers &récents"), fichier);
  menuRecents_->setObjectName(QStringLiteral("Fichiersrecents1"));
  fichier->insertMenu(static_cast<QAction*>(objets_[Index(Controle::Fermer1)]), menuRecents_);
  connect(fichier, &QMenu::aboutToShow, this, &Fiche_principale::MenuRecents);

  // Alt and a menu's letter opens that menu: a button's underlined letter that a menu also has
  // gives way to the menu.
  QList<QKeySequence> lettresMenus;
  for (QAction* a : menuBar()->actions()) lettresMenus.append(QKeySequence::mnemonic(a->text()));
  for (QObject* o : objets_) {
    auto* b = qobject_cast<QToolButton*>(o);
    if (b != nullptr && lettresMenus.contains(QKeySequence::mnemonic(b->text()))) {
      b->setShortcut(QKeySequence());
    }
  }

  auto* barreEtat = new BarreEtat(this);
  // As the window's own would be: its width never widens the window.
  barreEtat->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  setStatusBar(barreEtat);
  for (int i = 0; i < 6; ++i) {
    if (i < 4) {
      panneaux_[i] = new PanneauCoordonnee(130, this);
    } else {
      panneaux_[i] = new QLabel(this);
      panneaux_[i]->setMinimumWidth(i == 5 ? 260 : 130);
    }
    // Opaque: a new text paints the panel alone, not the bar and the window behind it.
    panneaux_[i]->setAutoFillBackground(true);
    panneaux_[i]->setObjectName(QStringLiteral("Panneau%1").arg(i));
    // Its text is its name (what a screen reader reads); what it shows, its description.
    panneaux_[i]->setAccessibleDescription(Texte(kPanneaux[i]));
    panneaux_[i]->setAccessibleName(Texte(kPanneaux[i]));
    // What the last action had to say and the action in progress wrap rather than being cut.
    if (i >= 4) panneaux_[i]->setWordWrap(true);
    statusBar()->addWidget(panneaux_[i], i == 4 ? 2 : i == 5 ? 1 : 0);
  }
  // What is under the pointer, in words: read by screen readers like the panels.
  survol_ = new QLabel(this);
  survol_->setObjectName(QStringLiteral("PanneauSurvol"));
  survol_->setAccessibleDescription(QStringLiteral("Élément sous le pointeur"));
  survol_->setAccessibleName(QStringLiteral("Élément sous le pointeur"));
  survol_->setMinimumWidth(260);
  survol_->setAutoFillBackground(true);
  statusBar()->addWidget(survol_, 1);
  statusBar()->setObjectName(QStringLiteral("BarreEtat1"));
  statusBar()->setSizeGripEnabled(false);
}

void Fiche_principale::Icones() {
  ChargeRessources();
  for (const IconeControle& i : kIcones) {
    auto* b = qobject_cast<QToolButton*>(objets_[Index(i.controle)]);
    if (b == nullptr) continue;
    b->setIcon(Icone(i.icone, palette()));
    b->setToolButtonStyle(Qt::ToolButtonIconOnly);
  }
}

void Fiche_principale::ConstruitCadre() {
  cadre_ = new QWidget(this);
  cadre_->setObjectName(QStringLiteral("Cadre"));
  cadre_->installEventFilter(this);
  zone_ = new ZoneDessin(cadre_);
  zone_->equipe = &ed_.equipe;
  for (bool vertical : {false, true}) {
    auto* panneau = new QWidget(cadre_);
    panneau->setObjectName(vertical ? QStringLiteral("PanelAscVertical")
                                    : QStringLiteral("PanelAscHorizontal"));
    auto* barre = new QScrollBar(vertical ? Qt::Vertical : Qt::Horizontal, panneau);
    barre->setObjectName(vertical ? QStringLiteral("AscVertical")
                                  : QStringLiteral("AscHorizontal"));
    barre->setAccessibleName(vertical ? QStringLiteral("Défilement vertical")
                                      : QStringLiteral("Défilement horizontal"));
    auto* style = new StyleAscenseur;
    style->setParent(barre);
    barre->setStyle(style);
    // Opaque: a new position paints the bar alone, not its panel and the window behind it.
    barre->setBackgroundRole(QPalette::Window);
    barre->setAutoFillBackground(true);
    auto* l = new QHBoxLayout(panneau);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(barre);
    panneau->hide();
    connect(barre, &QScrollBar::valueChanged, this, [this, vertical](int v) {
      AscenseurChange(ed_, vertical, v);
      Apres();
    });
    (vertical ? AscVertical_ : AscHorizontal_) = barre;
    objets_[Index(vertical ? Controle::PanelAscVertical : Controle::PanelAscHorizontal)] = panneau;
  }
  ed_.EpaisseurAscenseur = AscVertical_->sizeHint().width();
}

}  // namespace korv4
