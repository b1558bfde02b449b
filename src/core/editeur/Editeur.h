#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "editeur/Actions.h"
#include "editeur/Allumage.h"
#include "editeur/Controles.h"
#include "editeur/Dialogues.h"
#include "historique/Historique.h"
#include "model/Circuit.h"
#include "render/CanevasSuivi.h"
#include "render/ContexteTrace.h"
#include "render/Equipe.h"

// The editor without windows: everything the main window owns (the circuit, the screen's
// drawing context, the current work and action code, the display choices, every control's
// state and the status texts) and the operations that the window's events run. The window
// builds its widgets from the control table, forwards clicks, pointer and key events here and
// shows the states back; everything modal goes through `Dialogues`.

namespace korv4 {

// Zoom and grid lists.
extern const std::array<const char*, 10> kListeEchelles;
extern const std::array<const char*, 6> kListeGrilles;

struct Ascenseur {
  int32_t Position = 0;  // 0..1000
  int32_t Page = 0;
  int32_t GrandPas = 1;
  int32_t PetitPas = 1;
  bool Visible = false;
};

struct Editeur {
  Editeur();
  Editeur(const Editeur&) = delete;
  Editeur& operator=(const Editeur&) = delete;

  Circuit circuit;
  ContexteTrace ctx;  // the screen's drawing context
  EtatTravail Etat{0, 0, 0, 0};
  int32_t CodeAction = 0;
  bool EnMillimetres = false;
  bool OrigineRelative = false;
  int32_t X0 = 0, Y0 = 0;  // the relative origin, units

  std::string RepertoireBase;
  std::string RepertoireCircuits;
  std::string RepertoireComposants;
  std::string DernierFichier;     // the circuit opened or saved last (kept from run to run)
  std::string Legende = "KORV4";  // the window's caption, without the mark of unsaved changes
  bool MarqueModifie = false;     // the caption shows unsaved changes (EtatCircuit)
  // The circuit's file is open in another editor and was opened to be read only: saving asks
  // for another name.
  bool LectureSeule = false;
  // The circuit's file as this editor last read or wrote it (Dialogues::EtatFichier), to tell
  // a change made by another program before saving over it.
  std::string EtatSurDisque;
  // The recovery copy of the unsaved changes cannot be written now (the caption says so).
  bool CopieEnEchec = false;

  std::array<EtatControle, kNombreControles> controles;
  std::array<std::string, 6> Panneaux;  // status bar
  std::array<std::string, 3> Titres;    // the three title edits (Windows-1252)
  int32_t IndexEchelle = 2;             // the zoom list's index
  int32_t IndexGrille = 1;              // the grid list's index
  Ascenseur AscHorizontal, AscVertical;
  bool ApercuTouches = false;  // keys reach the dispatcher before the focused control
  bool RetireFocus = false;    // a press on the drawing area takes the focus from the edits
  int32_t FocusTitre = 0;      // 1..3: that title edit gets the focus
  std::string TexteSaisi;      // the text entry's edit field (Windows-1252)

  // The area that holds the drawing area and the scroll bars, and a scroll bar's thickness.
  int32_t LargeurClient = 800, HauteurClient = 600;
  int32_t EpaisseurAscenseur = 16;
  // The screen's pixels for the drawing context's unit of resolution: 10, or 20 on a screen of
  // twice the density (the client area, the pointer and the scroll bars are then in those
  // pixels too).
  int32_t Resolution = 10;
  // Wheel and touchpad pixels not yet scrolled (a scroll bar moves by thousandths of the
  // surface), horizontal then vertical.
  std::array<int32_t, 2> ResteDefilement{};
  // Panning with the middle button: the surface pixel held under the pointer (from the
  // surface's left and bottom edges).
  struct {
    bool Actif = false;
    int64_t X = 0, Y = 0;
  } Glisse;

  // The drawing area's pixels when it is an image of 32-bit pixels (row y at Pixels + y * Pas),
  // so that a part of it can be redrawn alone; null: every redraw is whole.
  struct {
    uint32_t* Pixels = nullptr;
    int32_t Largeur = 0, Hauteur = 0;
    std::ptrdiff_t Pas = 0;
    // The pixels and size the last full redraw went into: a scroll moves what they hold only
    // while the image is still that one.
    const uint32_t* Dessinee = nullptr;
    int32_t LargeurDessinee = 0, HauteurDessinee = 0;
  } Image;
  Equipe equipe;  // the second thread a full redraw of the image shares its bands with

  Dialogues* dialogues = nullptr;  // not owned
  RelaisMessages relais{dialogues};
  bool Fermeture = false;     // the close command asks the window to close
  CanevasSuivi toile;         // the drawing area's canvas, with its damaged box
  uint64_t Version = 1;       // grows whenever a control, text or scroll bar changes
  Historique historique;      // the steps that undo and redo take back and do again
  std::string LibelleEtape;   // what the step being made is called, once it started
  uint8_t GestesOuverts = 0;  // the gestures over several events now open, a bit per GesteLong

  // The lit net of the tool "Équipotentielle", which the window lays over the picture; the
  // count grows whenever what is lit changes (a net, the nets after a change, none).
  EquipotentielleAllumee Allumage;
  uint64_t VersionAllumage = 0;
  // What is under the pointer, in words (UTF-8): its panel and the drawing area's tooltip.
  std::string Survol;
  // The measure being made: the press's grid point, units.
  bool MesureEnCours = false;
  int32_t MesureX = 0, MesureY = 0;

  EtatControle& operator[](Controle c) { return controles[Index(c)]; }
  const EtatControle& operator[](Controle c) const { return controles[Index(c)]; }
};

// ---- Control states (each change bumps Version) ----
void Enfonce(Editeur& ed, Controle c, bool b);
void Visible(Editeur& ed, Controle c, bool b);
void Actif(Editeur& ed, Controle c, bool b);
void Libelle(Editeur& ed, Controle c, const std::string& s);
void Panneau(Editeur& ed, int i, const std::string& s);
inline bool EstEnfonce(const Editeur& ed, Controle c) { return ed[c].Enfonce; }
inline bool EstVisible(const Editeur& ed, Controle c) { return ed[c].Visible; }

// ---- Tools that look: the lit net, what is under the pointer, the measure (GestesVoir.cpp) ----
// The tool of a look button (its row's code), or from the menu (the current work's button).
void BoutonVoirClick(Editeur& ed, Controle c);
void OutilVoir(Editeur& ed, int32_t code);
// After every event: the lit net follows the store (and its status text). True when the
// picture laid over the drawing area must be drawn again.
bool SuitAllumage(Editeur& ed);
// A pointer move: what is under the grid point (x, y) in words, with its net when the nets are
// up to date (nothing is computed); `pause`: the pointer rests, the nets are computed if
// needed. Sets ed.Survol; true when it changed.
bool SurvolPointeur(Editeur& ed, int32_t x, int32_t y, bool pause);

// ---- Start-up, works and tools ----
void FormCreate(Editeur& ed, const std::string& repertoire);
void Initialisation(Editeur& ed);
void FormShow(Editeur& ed);
void Changetravail(Editeur& ed, int32_t code);
void Selectiontravail(Editeur& ed);
void AfficheMenu(Editeur& ed);
void AffichePanneauOutils(Editeur& ed);
void RazBoutonsPastille(Editeur& ed);
void RazBoutonsPiste(Editeur& ed);
void RazBoutonsDessin(Editeur& ed);
void RazBoutonsTexte(Editeur& ed);
void RazBoutonsModiftotale(Editeur& ed);
void RazBoutonsModifpartielle(Editeur& ed);
void RazBoutonsInsertion(Editeur& ed);
void RazBoutonsPercage(Editeur& ed);
void razBoutonsTravail(Editeur& ed);
void RazBoutons(Editeur& ed);
void RAZ01(Editeur& ed);
void EtatVisualisation(Editeur& ed);
bool changementvisualisation(const Editeur& ed);
void AfficheCI(Editeur& ed);
void ReAfficheCI(Editeur& ed);
void initialiseBpPercage(Editeur& ed);
std::string FormatDiametre(int32_t d);
// Ends the track being drawn (joined with the tracks it touches) and redraws its part of the
// picture.
void TerminePiste(Editeur& ed);
// The cursor reset (hidden, shape 0, no rubber band), a track being drawn ended first.
void TermineCurseur(Editeur& ed);
// Undo button and menu item enabled exactly when the undo store holds something.
void EtatAnnulation(Editeur& ed);

// A click on any control: toggles follow their group, then the control's handler runs. A
// control that is disabled, or inside a hidden panel or bar, cannot be clicked.
bool Accessible(const Editeur& ed, Controle c);
void Clic(Editeur& ed, Controle c);
// A menu item's shortcut: its menu's opening runs first (it sets the items' states), then what
// choosing the item does; the save item's shortcut saves in place (EnregistreSurPlace).
// Nothing while a title is being typed.
void Raccourci(Editeur& ed, Controle c);

// ---- Viewport ----
void Affichage(Editeur& ed);
void calculascenseurX(Editeur& ed, int32_t v, int32_t t);
void calculascenseurY(Editeur& ed, int32_t v, int32_t t);
// The scroll bars at the surface's lower-left corner, the origin, for the next layout.
void VueALOrigine(Editeur& ed);
void calculorigineX(Editeur& ed);
void calculorigineY(Editeur& ed);
void TraceCimp(Editeur& ed);
void ReTraceCimp(Editeur& ed);
// The same redraw split at that row of the drawing area (the next when it is a grid row) into
// two bands drawn on two threads, whatever the work in view; the full redraw splits where the
// work is about even, when a second processor is free.
void ReTraceCimpEnBandes(Editeur& ed, int32_t rang);
// The pixels of the image's rectangle r moved by (dx, dy) (what comes from outside r is left as
// it was), a scroll of the picture; `deux`: a move along one axis in two parts on two threads.
void DeplacePixels(Editeur& ed, const RectPixel& r, int32_t dx, int32_t dy, bool deux);
// The same picture as ReTraceCimp, redrawn only within the box of `b` (units) widened by
// `marge` pixels: what a finished track changed.
void ReTraceBoite(Editeur& ed, const Cadre& b, int32_t marge);
void Affichagecurseur(Editeur& ed, int32_t px, int32_t py);
void Affichecurseur(Editeur& ed, int32_t x, int32_t y);
// The cursor brought to the grid point (x, y), what is carried held on the surface, as the
// pointer brings it.
void AmeneCurseur(Editeur& ed, int32_t x, int32_t y);
// The arrow keys: the cursor moves by `dx`, `dy` grid steps (y upward) within the surface, and
// the view follows it.
void DeplaceCurseurClavier(Editeur& ed, int32_t dx, int32_t dy);
void Affichepositioncurseur(Editeur& ed);
std::string FormatCoordonnee(const Editeur& ed, int32_t v);
// The window's free area changed size (the drawing area and the scroll bars).
void FormResize(Editeur& ed, int32_t largeur, int32_t hauteur);
// The screen's density: `resolution` pixels where a usual screen has 10 (20 at a scale factor
// of 2); the next FormResize lays the view out again.
void DensiteEcran(Editeur& ed, int32_t resolution);
void AscenseurChange(Editeur& ed, bool vertical, int32_t position);
void ChoixEchelle1Change(Editeur& ed, int32_t index);
void Choixgrille1Change(Editeur& ed, int32_t index);
void ZoomPlus1Click(Editeur& ed);
void Zoommoins1Click(Editeur& ed);
void Originerelative1Click(Editeur& ed);
// Scrolls so that the point (units) is in the middle of the drawing area, as far as the
// surface's edges allow.
void CentreSur(Editeur& ed, int32_t x, int32_t y);
// A place of a layer (1 face 1, 2 face 2, 3 both faces, 4 placement plan) shown: the work that
// holds it is chosen (as its button would), then the point is centred.
void MontreEndroit(Editeur& ed, int couche, int32_t x, int32_t y);
void Origineabsolue1Click(Editeur& ed);
// The wheel and the touchpad: the view scrolls by pixels (positive: towards the surface's right
// and bottom edges); the cursor then follows the pointer at (px, py).
void DefilePixels(Editeur& ed, int32_t dx, int32_t dy, int32_t px, int32_t py);
// The pixels one notch of the wheel scrolls: a tenth of the drawing area, as Page Up does.
int32_t PixelsParCran(const Editeur& ed, bool vertical);
// Zoom index `index` of the list, the surface point under the drawing area's pixel (px, py)
// kept under it as far as the surface's edges allow.
void ZoomAutour(Editeur& ed, int32_t index, int32_t px, int32_t py);
// The largest zoom of the list at which the circuit's elements (the surface when there are
// none) fit the drawing area, scrolled to show them in its middle.
void AjusteFenetre(Editeur& ed);
// Panning with the middle button held: the surface point under the pointer at the press stays
// under it; the tool and the drawing in progress are left as they are.
void DebutGlisse(Editeur& ed, int32_t px, int32_t py);
void Glisse(Editeur& ed, int32_t px, int32_t py);

// ---- Pointer and keyboard ----
// The gesture `geste` for the current action code: its row's handler, then a step.
void action(Editeur& ed, Geste geste);
void elementselect(Editeur& ed, Plage p);
void elementdeselect(Editeur& ed);
bool ZoneDansSurface(const Editeur& ed);
// How far what is carried moves when put down at the cursor: its box's corner goes to the
// cursor, held by the grid point nearest it (whole grid steps: what was on the grid stays on it).
int32_t DeplacementPorteX(const Editeur& ed, int32_t curseurX);
int32_t DeplacementPorteY(const Editeur& ed, int32_t curseurY);
void actionsuppression(Editeur& ed);
void boutondroit(Editeur& ed, int32_t x, int32_t y);
enum class BoutonSouris { Gauche, Droit, Milieu };
void FormMouseDown(Editeur& ed, BoutonSouris b, bool gaucheTenu, int32_t x, int32_t y);
void FormMouseMove(Editeur& ed, int32_t x, int32_t y);
void FormMouseUp(Editeur& ed, BoutonSouris b);
// The keys the editor acts on (the window maps its own keys to these; any other is Autre).
enum class Touche {
  Autre,
  Entree,          // a click where the cursor is (a title being typed: ends it)
  Echap,           // cancels (a title being typed: ends it)
  Espace,          // the gesture of the current tool (GesteEspace)
  PagePrecedente,  // the view up,
  PageSuivante,    // down,
  Fin,             // right,
  Debut,           // left, by a large step
  Gauche,          // the cursor by a grid step (ten with Shift)
  Haut,
  Droite,
  Bas,
  Suppr,  // deletes (the last segment of a track being drawn)
  Plus,   // zooms in
  Moins,  // zooms out
};
// The arrows move the cursor by a grid step (ten with `maj`), Enter presses and releases there
// as a click does.
void FormKeyDown(Editeur& ed, Touche touche, bool maj = false);
// A title of the title block is being typed (its button is down).
bool TitreEnCours(const Editeur& ed);
Geste GesteEspace(const Editeur& ed);

// ---- Edit commands ----
void BoutonModiftotaleClick(Editeur& ed);
void BprotationtotaleClick(Editeur& ed);
void BpInversionTotaleClick(Editeur& ed);
void BpDuplicationTotaleClick(Editeur& ed);
void BpSuppressionTotaleClick(Editeur& ed);
void BoutonModifpartielleClick(Editeur& ed);
void BpSelectionZoneClick(Editeur& ed);
void BpselectiongroupeClick(Editeur& ed);
void BpDeplacerZoneClick(Editeur& ed);
void BpDuplicationZoneClick(Editeur& ed);
void BpRotationZoneClick(Editeur& ed);
void BpInversionZoneClick(Editeur& ed);
void BpSuppressionZoneClick(Editeur& ed);
void BpGrouperZoneClick(Editeur& ed);
void BpDissocierZoneClick(Editeur& ed);
void BpSauverZoneClick(Editeur& ed);
void BpInsertionComposantClick(Editeur& ed);
void BpDeplacerComposantClick(Editeur& ed);
void BpDuplicationComposantClick(Editeur& ed);
void BpRotationcomposantClick(Editeur& ed);
void BpInversionComposantClick(Editeur& ed);
void Deplacer1Click(Editeur& ed);
void Rotation1Click(Editeur& ed);
void Inversion1Click(Editeur& ed);
void Duplication1Click(Editeur& ed);
void Suppression1Click(Editeur& ed);
void Rotationdelazone(Editeur& ed);
void Inversiondelazone(Editeur& ed);
void Suppressiondelazone(Editeur& ed);
void BpanullsuppClick(Editeur& ed);
void Annuler1Click(Editeur& ed);
bool QuartDeTourPossible(const Editeur& ed);
// What the status bar (panel 4) says of a quarter turn refused.
constexpr const char* kQuartDeTourRefuse =
    "Rotation refusée : la zone tournée sortirait de la surface de travail";
void EditTexte(Editeur& ed);
void ModifTexte(Editeur& ed, Plage p);

// ---- History ----
// The circuit's state that a step restores besides the store.
Instantane InstantaneDe(const Editeur& ed);
// The circuit's header follows the surface the screen shows, so that what reads the header (the
// check's outline and its "hors contour") measures the surface of now.
void SurfaceDansEntete(Editeur& ed);
// After a user's action: what it changed becomes one step named after the action (or after
// the gesture that started it), unless a gesture over several events is open.
void Etape(Editeur& ed, const std::string& libelle);
// Gestures over several events: a track drawn point by point, a drawing's first point waiting
// for its second, a title being typed, an inserted component carried to its place. The handler
// that starts one opens it; the handler, tool change or cancel that ends it commits it (what it
// changed stays) or aborts it (its handler took back what it changed). While one is open the
// history records nothing; once none is, the step that ends the user's event holds all they
// changed, named after the first opened (`libelle`: the action's or the control's name).
// Several can be open at once (a title typed while a track is being drawn), one of each kind;
// opening an open one or ending a closed one does nothing.
enum class GesteLong : uint8_t { Piste, Dessin, Titre, Insertion };
void OuvreGeste(Editeur& ed, GesteLong geste, const std::string& libelle);
void ValideGeste(Editeur& ed, GesteLong geste);
void AbandonneGeste(Editeur& ed, GesteLong geste);
// Whether a gesture (or this one) is open: the history waits for its end.
bool GesteOuvert(const Editeur& ed);
bool GesteOuvert(const Editeur& ed, GesteLong geste);
// A new history from the circuit as it is (a circuit opened, a new work; `enregistre`: the
// circuit is as it is on the disk).
void CommenceHistorique(Editeur& ed, bool enregistre = true);
// After every user's action, undo and redo: the caption's mark of unsaved changes follows the
// modified flag, and the commands that need records (save, print, exports) are greyed while
// the circuit is empty.
void EtatCircuit(Editeur& ed);
// The window's caption: "*" before it while there are unsaved changes, and a word after it
// while the recovery copy cannot be written.
std::string TitreFenetre(const Editeur& ed);
// Undo and redo buttons and menu items: enabled when there is a step, named after it.
void EtatHistorique(Editeur& ed);
void Defaire1Click(Editeur& ed);
void Refaire1Click(Editeur& ed);

// ---- Files, title block, other windows ----
// The folder of a file name ("" when it has none).
std::string DossierDe(const std::string& chemin);
void Ouvrir1Click(Editeur& ed);
void Enregistrerunfichier1Click(Editeur& ed);
// The save shortcut: straight to the circuit's file when it has one in the current format,
// through the save dialog otherwise.
void EnregistreSurPlace(Editeur& ed);
void Nouveaufichier1Click(Editeur& ed);
// Closing the window: true when it may close.
bool FormClose(Editeur& ed);
void Fichier1Click(Editeur& ed);
void Edition1Click(Editeur& ed);
void TitreClick(Editeur& ed, Controle bouton);
void TitreTouche(Editeur& ed, int edit, Touche touche);
// Opens a circuit file by name as the open command does after its dialog; false when refused.
bool OuvreFichier(Editeur& ed, const std::string& nom);
// The recovery copy of the circuit as it is now (written `date`, seconds since 1970).
std::vector<uint8_t> CopieDeRecuperation(const Editeur& ed, int64_t date);
// A recovery copy restored: the circuit comes back under its file name, modified, with a new
// history. False, with the reason in `erreur`, when the copy is refused (nothing changes).
bool RestaureCopie(Editeur& ed, const std::vector<uint8_t>& octets, const std::string& nomCopie,
                   std::string& erreur);
// A circuit file dropped on the window: the open command's question first, then the file.
void OuvreFichierDepose(Editeur& ed, const std::string& nom);

}  // namespace korv4
