#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "editeur/Gestes.h"
#include "editeur/Session.h"
#include "historique/Historique.h"
#include "model/FichierRecuperation.h"

namespace korv4 {

// How a failed comparison shows a header.
void PrintTo(const Instantane& i, std::ostream* os) {
  *os << "titres \"" << i.Titres[0] << "\" \"" << i.Titres[1] << "\" \"" << i.Titres[2]
      << "\", surface " << i.SurfaceX << " x " << i.SurfaceY << ", perçages";
  for (int32_t d : i.Diametres) *os << " " << d;
}

namespace {

using C = Controle;

// The store as a list of records.
std::vector<ElementCI> Store(const Circuit& c) {
  return {c.Elements.begin() + 1, c.Elements.begin() + c.NbElements + 1};
}

ElementCI Au(std::mt19937& g) {
  ElementCI e;
  e.Couche = static_cast<uint8_t>(g() % 4);
  e.Code = static_cast<uint8_t>(g() % 256);
  e.Attribut = static_cast<uint8_t>(g() % 3);
  e.X = static_cast<uint16_t>(g() % 5000);
  e.Y = static_cast<uint16_t>(g() % 5000);
  return e;
}

// Random changes of a store (records added, removed, changed, runs moved, the header changed),
// each recorded as a step; undoing them all and redoing them all goes through exactly the
// states recorded on the way. Half the stores start with a few thousand records, so that
// changes fall on every side of the blocks the search for what changed compares at once.
TEST(Historique, AnnulerEtRetablirRedonnentChaqueEtat) {
  for (unsigned graine = 1; graine <= 20; ++graine) {
    std::mt19937 g(graine);
    Circuit c;
    if (graine % 2 == 0) {
      c.NbElements = 500 + static_cast<int32_t>(g() % 3000);
      for (int32_t i = 1; i <= c.NbElements; ++i) c.Elements[i] = Au(g);
    }
    Instantane etat;
    Historique h;
    h.Commence(c, etat);
    std::vector<std::pair<std::vector<ElementCI>, Instantane>> etats = {{Store(c), etat}};
    for (int pas = 0; pas < 60; ++pas) {
      const int n = c.NbElements;
      switch (g() % 5) {
        case 0: {  // records inserted anywhere
          const int k = 1 + static_cast<int>(g() % 30), i = 1 + static_cast<int>(g() % (n + 1));
          std::copy_backward(c.Elements.begin() + i, c.Elements.begin() + n + 1,
                             c.Elements.begin() + n + k + 1);
          for (int j = 0; j < k; ++j) c.Elements[i + j] = Au(g);
          c.NbElements += k;
          break;
        }
        case 1:  // a run removed
          if (n > 0) {
            const int i = 1 + static_cast<int>(g() % n),
                      k = 1 + static_cast<int>(g() % (n - i + 1));
            std::copy(c.Elements.begin() + i + k, c.Elements.begin() + n + 1,
                      c.Elements.begin() + i);
            c.NbElements -= k;
          }
          break;
        case 2:  // records changed in place
          for (int j = 0; j < 3 && n > 0; ++j) c.Elements[1 + g() % n] = Au(g);
          break;
        case 3:  // a run moved
          if (n > 0) {
            const int i = 1 + static_cast<int>(g() % n);
            const int dx = static_cast<int>(g() % 200) - 100, dy = static_cast<int>(g() % 200);
            for (int j = i; j <= n; ++j) {
              c.Elements[j].X = static_cast<uint16_t>(c.Elements[j].X + dx);
              c.Elements[j].Y = static_cast<uint16_t>(c.Elements[j].Y + dy);
            }
          }
          break;
        default:  // the header
          etat.Titres[g() % 3] = std::string(1 + g() % 5, 'T');
          etat.Diametres[1 + g() % 13] = static_cast<int32_t>(g() % 100);
          etat.SurfaceX = static_cast<int32_t>(g() % 20000);
          break;
      }
      if (h.Enregistre(c, etat, "pas")) etats.push_back({Store(c), etat});
    }
    ASSERT_EQ(h.NombreEtapes() + 1, etats.size());
    for (size_t k = etats.size() - 1; k-- > 0;) {
      ASSERT_TRUE(h.Annule(c, etat));
      ASSERT_EQ(Store(c), etats[k].first) << "graine " << graine << ", état " << k;
      ASSERT_EQ(etat, etats[k].second);
    }
    EXPECT_FALSE(h.Annule(c, etat));
    EXPECT_FALSE(c.CircuitModifie);  // back where it started: the saved state
    for (size_t k = 1; k < etats.size(); ++k) {
      ASSERT_TRUE(h.Retablit(c, etat));
      ASSERT_EQ(Store(c), etats[k].first) << "graine " << graine << ", état " << k;
      ASSERT_EQ(etat, etats[k].second);
    }
    EXPECT_FALSE(h.Retablit(c, etat));
  }
}

// One record changed, added or removed at each side of the blocks the search compares at once
// (512 records): undone, the store is back as it was.
TEST(Historique, ChangementAuBordDesBlocs) {
  std::mt19937 g(7);
  Circuit depart;
  depart.NbElements = 2048;
  for (int32_t i = 1; i <= depart.NbElements; ++i) depart.Elements[i] = Au(g);
  for (int32_t k : {1, 2, 511, 512, 513, 514, 1024, 1025, 1536, 1537, 2047, 2048}) {
    for (int genre = 0; genre < 3; ++genre) {
      Circuit c = depart;
      Instantane etat;
      Historique h;
      h.Commence(c, etat);
      if (genre == 0) {
        c.Elements[k].X = static_cast<uint16_t>(c.Elements[k].X + 1);
      } else if (genre == 1) {
        std::copy_backward(c.Elements.begin() + k, c.Elements.begin() + c.NbElements + 1,
                           c.Elements.begin() + c.NbElements + 2);
        c.Elements[k] = ElementCI{1, 200, 0, 0, 1, 1};
        ++c.NbElements;
      } else {
        std::copy(c.Elements.begin() + k + 1, c.Elements.begin() + c.NbElements + 1,
                  c.Elements.begin() + k);
        --c.NbElements;
      }
      const std::vector<ElementCI> change = Store(c);
      ASSERT_TRUE(h.Enregistre(c, etat, "pas")) << k << " " << genre;
      ASSERT_TRUE(h.Annule(c, etat));
      ASSERT_EQ(Store(c), Store(depart)) << k << " " << genre;
      ASSERT_TRUE(h.Retablit(c, etat));
      ASSERT_EQ(Store(c), change) << k << " " << genre;
    }
  }
}

// A move is kept as the move: a thousand moves of a 50000-record zone take a few kilobytes.
TEST(Historique, LesDeplacementsSontLegers) {
  Circuit c;
  std::mt19937 g(7);
  for (int i = 1; i <= 50000; ++i) c.Elements[i] = Au(g);
  c.NbElements = 50000;
  Historique h;
  Instantane etat;
  h.Commence(c, etat);
  for (int k = 0; k < 1000; ++k) {
    for (int i = 1; i <= c.NbElements; ++i) c.Elements[i].X += k % 2 == 0 ? 3 : -2;
    ASSERT_TRUE(h.Enregistre(c, etat, "Déplacement de la zone"));
  }
  EXPECT_EQ(h.NombreEtapes(), 1000u);
  EXPECT_LT(h.Octets(), 1000u * 1024u);
}

// The oldest steps go when the history holds too much; the saved state goes with them.
TEST(Historique, LesPlusAnciennesEtapesPartentAuDela) {
  Circuit c;
  Historique h(64 * 1024, 5);
  Instantane etat;
  h.Commence(c, etat);
  for (int k = 1; k <= 8; ++k) {
    c.Elements[++c.NbElements].X = static_cast<uint16_t>(k);
    ASSERT_TRUE(h.Enregistre(c, etat, "pas"));
  }
  EXPECT_EQ(h.NombreEtapes(), 5u);
  for (int k = 0; k < 5; ++k) ASSERT_TRUE(h.Annule(c, etat));
  EXPECT_EQ(c.NbElements, 3);
  EXPECT_FALSE(h.Annule(c, etat));
  EXPECT_TRUE(c.CircuitModifie);  // the opened state is no longer reachable
}

// ---- In the editor ----

struct Etat {
  std::vector<ElementCI> store;
  Instantane entete;  // without the selection
};

Etat EtatDe(const Editeur& ed) {
  Instantane i = InstantaneDe(ed);
  i.Selection = TSelection{};
  return {Store(ed.circuit), i};
}

// Random gestures (the fuzz target's), with undo and redo mixed in: whenever the history moves
// to a point it has been at, the store and the header are those it had there.
TEST(HistoriqueEditeur, GestesAuHasardAnnulesEtRetablis) {
  for (unsigned graine = 1; graine <= 12; ++graine) {
    std::mt19937 g(graine);
    Session s(800, 600);
    PrepareDisque(s.d);
    const Historique& h = s.ed.historique;
    std::vector<std::optional<Etat>> etats = {EtatDe(s.ed)};
    size_t pos = 0;
    uint64_t vus = h.Enregistrements();
    for (int pas = 0; pas < 400; ++pas) {
      const unsigned tirage = g() % 20;
      if (tirage == 0) {
        s.Clic(C::Defaire1);
      } else if (tirage == 1) {
        s.Clic(C::Refaire1);
      } else {
        JoueGeste(s, static_cast<uint8_t>(g()), static_cast<uint8_t>(g()),
                  static_cast<uint8_t>(g()));
      }
      if (GesteOuvert(s.ed)) continue;  // its changes wait for its end
      const size_t p = h.Position(), n = h.NombreEtapes();
      if (n == 0) {  // nothing recorded yet, or a new history: the state is its start
        etats = {EtatDe(s.ed)};
      } else if (h.Enregistrements() != vus) {
        // New steps after `pos`: the last one is the state now when the history is there; the
        // ones before it ended gestures cut short by undo or redo.
        etats.resize(n + 1);
        for (size_t k = std::min(pos + 1, n); k <= n; ++k) etats[k].reset();
        if (p == n) etats[n] = EtatDe(s.ed);
      }
      ASSERT_LT(p, etats.size());
      if (etats[p]) {
        const Etat e = EtatDe(s.ed);
        ASSERT_EQ(e.store, etats[p]->store) << "graine " << graine << ", pas " << pas;
        ASSERT_EQ(e.entete, etats[p]->entete) << "graine " << graine << ", pas " << pas;
      } else {
        etats[p] = EtatDe(s.ed);
      }
      pos = p;
      vus = h.Enregistrements();
    }
  }
}

// No gesture stays open, which would stop the history. Each gesture is opened, a few random
// gestures follow (which may end it or open others), then one way out ends what is open: Escape
// ends the tools' gestures (a title being typed first ends with a press in the drawing area),
// undo ends every one, a change of work ends the tools' ones.
TEST(HistoriqueEditeur, ToutGesteOuvertSeTermine) {
  using G = GesteLong;
  struct Ouverture {
    G geste;
    void (*ouvre)(Session&);
  };
  const Ouverture kOuvertures[] = {
      {G::Piste,
       [](Session& s) {
         s.Clic(C::AffichageFace1);
         s.Clic(C::BoutonPiste);
         s.Clic(C::Bpist3);
         s.Clique(1000, 1000);
       }},
      {G::Dessin,
       [](Session& s) {
         s.Clic(C::AffichageImplantation);
         s.Clic(C::BoutonDessinImplantation);
         s.Clic(C::BpDessinRectangle);
         s.Appui(1000, 1000);
       }},
      {G::Titre, [](Session& s) { s.Clic(C::Boutonauteur); }},
      {G::Insertion,
       [](Session& s) {
         s.Clic(C::AffichageFace1);
         s.Clic(C::BoutonInsertionTypon);
         s.d.fichiers = {"/c/R.CPX"};
         s.Clic(C::BpInsertionComposant);
       }},
  };
  std::mt19937 g(1);
  for (int tour = 0; tour < 240; ++tour) {
    const Ouverture& o = kOuvertures[tour % 4];
    const int issue = tour / 4 % 3;
    const std::string contexte =
        "tour " + std::to_string(tour) + ", issue " + std::to_string(issue);
    Session s(800, 600);
    PrepareDisque(s.d);
    o.ouvre(s);
    ASSERT_TRUE(GesteOuvert(s.ed, o.geste)) << contexte;
    for (unsigned k = g() % 8; k > 0; --k) {
      JoueGeste(s, static_cast<uint8_t>(g()), static_cast<uint8_t>(g()), static_cast<uint8_t>(g()));
    }
    switch (issue) {
      case 0:
        if (TitreEnCours(s.ed)) s.Appui(100, 100);
        EXPECT_FALSE(GesteOuvert(s.ed, G::Titre)) << contexte;
        s.Touche(Touche::Echap);
        break;
      case 1: Defaire1Click(s.ed); break;
      default:
        s.Clic(s.ed.Etat.Travail == 1 ? C::AffichageFace2 : C::AffichageFace1);
        for (G k : {G::Piste, G::Dessin, G::Insertion}) {
          EXPECT_FALSE(GesteOuvert(s.ed, k)) << contexte;
        }
        EXPECT_EQ(GesteOuvert(s.ed, G::Titre), TitreEnCours(s.ed)) << contexte;
        if (TitreEnCours(s.ed)) s.Appui(100, 100);
        break;
    }
    ASSERT_FALSE(GesteOuvert(s.ed)) << contexte;
    // Nothing the gestures changed is left out of the history.
    Historique h = s.ed.historique;
    EXPECT_FALSE(h.Enregistre(s.ed.circuit, InstantaneDe(s.ed), "")) << contexte;
  }
}

// "Annulation suppression" and the history never bring a record back twice: undo and redo
// empty the deletion store, and the restoration itself is a step.
TEST(HistoriqueEditeur, AnnulationSuppressionEtHistoire) {
  Session s;
  s.Clic(C::BoutonPastille);
  s.Clic(C::Bpast8);
  s.Clique(1000, 1000);
  s.Clique(3000, 1000);
  s.Clic(C::BpastSupprime);
  s.Clique(3000, 1000);
  ASSERT_EQ(s.Nb(), 1);
  ASSERT_TRUE(s.ed[C::Bpanullsupp].Actif);
  EXPECT_EQ(s.ed[C::Defaire1].Libelle, "Annuler : suppression d'une pastille");

  s.Clic(C::Defaire1);  // the pad comes back through the history...
  EXPECT_EQ(s.Nb(), 2);
  EXPECT_FALSE(s.ed[C::Bpanullsupp].Actif);  // ...and no longer through the deletion store
  s.Clic(C::Bpanullsupp);
  EXPECT_EQ(s.Nb(), 2);
  s.Clic(C::Refaire1);
  EXPECT_EQ(s.Nb(), 1);
  EXPECT_FALSE(s.ed[C::Bpanullsupp].Actif);

  s.Clic(C::Defaire1);
  s.Clic(C::Refaire1);
  s.Clique(1000, 1000);  // the other pad deleted, then brought back by the deletion store
  ASSERT_EQ(s.Nb(), 0);
  s.Clic(C::Bpanullsupp);
  ASSERT_EQ(s.Nb(), 1);
  EXPECT_EQ(s.ed[C::Defaire1].Libelle, "Annuler : annulation suppression");
  s.Clic(C::Defaire1);  // the restoration taken back
  EXPECT_EQ(s.Nb(), 0);
  s.Clic(C::Defaire1);  // the deletion taken back
  EXPECT_EQ(s.Nb(), 1);
  s.Clic(C::Defaire1);
  EXPECT_EQ(s.Nb(), 2);
  s.Clic(C::Bpanullsupp);
  EXPECT_EQ(s.Nb(), 2);
  for (int k = 0; k < 3; ++k) s.Clic(C::Refaire1);
  EXPECT_EQ(s.Nb(), 1);
  EXPECT_EQ(s.E(1).X, 1000);
}

// One step per action: a whole track, a drawing, a text, a zone moved; tool changes,
// pointer moves and zooms are none.
TEST(HistoriqueEditeur, UneEtapeParAction) {
  Session s;
  const Historique& h = s.ed.historique;
  s.Clic(C::BoutonPiste);
  s.Clic(C::Bpist3);
  s.Clique(1000, 1000);
  s.Clique(3000, 1000);
  s.Clique(3000, 3000);
  EXPECT_EQ(h.NombreEtapes(), 0u);  // the track is still being drawn
  s.Touche(Touche::Echap);
  EXPECT_EQ(h.NombreEtapes(), 1u);
  EXPECT_EQ(s.ed[C::Defaire1].Libelle, "Annuler : piste d'èpaisseur 1 mm");
  s.Bouge(2000, 2000);
  s.Touche(Touche::Plus);
  s.Clic(C::BoutonPastille);
  EXPECT_EQ(h.NombreEtapes(), 1u);

  s.Clic(C::BoutonAffichageImplantation);
  s.Clic(C::BoutonDessinImplantation);
  s.Clic(C::BpDessinRectangle);
  s.Appui(1000, 1000);
  EXPECT_EQ(h.NombreEtapes(), 1u);  // the first point waits for the second
  s.Relache(2000, 2000);
  EXPECT_EQ(h.NombreEtapes(), 2u);
  EXPECT_EQ(s.ed[C::Defaire1].Libelle, "Annuler : tracé d'un rectangle");

  s.Clic(C::Defaire1);
  s.Clic(C::Defaire1);
  EXPECT_EQ(s.Nb(), 0);
  EXPECT_FALSE(s.ed[C::Defaire1].Actif);
  EXPECT_TRUE(s.ed[C::BoutonRefaire].Actif);
  EXPECT_EQ(s.ed[C::Refaire1].Libelle, "Rétablir : piste d'èpaisseur 1 mm");
  s.Clic(C::Refaire1);
  EXPECT_EQ(s.Nb(), 3);
}

// The modified flag follows the history: back at the saved state the circuit is unmodified.
TEST(HistoriqueEditeur, CircuitModifieSuitLHistoire) {
  Session s;
  s.Clic(C::BoutonPastille);
  s.Clic(C::Bpast8);
  s.Clique(1000, 1000);
  EXPECT_TRUE(s.ed.circuit.CircuitModifie);
  s.Clic(C::Defaire1);
  EXPECT_FALSE(s.ed.circuit.CircuitModifie);
  s.Clic(C::Refaire1);
  EXPECT_TRUE(s.ed.circuit.CircuitModifie);
  s.d.fichiers.push_back("/base/Circuits/A.CIX");
  s.Clic(C::Enregistrerunfichier1);
  EXPECT_FALSE(s.ed.circuit.CircuitModifie);
  s.Clic(C::Defaire1);
  EXPECT_TRUE(s.ed.circuit.CircuitModifie);
  s.Clic(C::Refaire1);
  EXPECT_FALSE(s.ed.circuit.CircuitModifie);

  // Opening a circuit starts a new history.
  s.d.fichiers.push_back("/base/Circuits/A.CIX");
  s.Clic(C::Ouvrir1);
  EXPECT_FALSE(s.ed[C::Defaire1].Actif);
  EXPECT_FALSE(s.ed[C::Refaire1].Actif);
}

// The recovery copy brings back the circuit as it was being edited: its records, title block,
// surface and drills, under its file name, modified; a damaged or foreign copy is refused and
// changes nothing.
TEST(Recuperation, CopieRestaureeOuRefusee) {
  Session s;
  s.Clic(C::BoutonPastille);
  s.Clic(C::Bpast8);
  s.Clique(1000, 1000);
  s.Clique(3000, 1000);
  s.ed.Titres = {"Alimentation", "Le 10/12/2026", "Moi"};
  s.ed.ctx.SurfaceX = 6319;
  s.ed.circuit.EnteteCI.DiametresPercage[3] = 13;
  s.ed.circuit.NomFichier = "/base/Circuits/ALIM.CIX";
  const std::vector<uint8_t> copie = CopieDeRecuperation(s.ed, 1796900000);

  Session t;
  std::string erreur;
  ASSERT_TRUE(RestaureCopie(t.ed, copie, "/etat/1.recup", erreur)) << erreur;
  EXPECT_EQ(Store(t.ed.circuit), Store(s.ed.circuit));
  EXPECT_EQ(t.ed.Titres, s.ed.Titres);
  EXPECT_EQ(t.ed.ctx.SurfaceX, 6319);
  EXPECT_EQ(t.ed.circuit.EnteteCI.DiametresPercage[3], 13);
  EXPECT_EQ(t.ed.circuit.NomFichier, "/base/Circuits/ALIM.CIX");
  EXPECT_EQ(t.ed.Legende, "KORV4 : /base/Circuits/ALIM.CIX");
  EXPECT_TRUE(t.ed.circuit.CircuitModifie);
  // Not the saved state: an edit undone leaves it modified.
  t.Clic(C::BoutonPastille);
  t.Clic(C::Bpast8);
  t.Clique(5000, 1000);
  t.Clic(C::Defaire1);
  EXPECT_TRUE(t.ed.circuit.CircuitModifie);

  struct Cas {
    const char* quoi;
    std::vector<uint8_t> octets;
    const char* raison;
  };
  std::vector<uint8_t> tronquee(copie.begin(), copie.end() - 5);
  std::vector<uint8_t> autreVersion = copie;
  autreVersion[18] = 7;
  std::vector<uint8_t> nomTropLong = copie;
  nomTropLong[33] = 0x7F;  // the high byte of the name's length
  const std::vector<Cas> cas = {
      {"un circuit", EcritCircuit(s.ed.circuit), "n'est pas une copie de récupération"},
      {"vide", {}, "n'est pas une copie de récupération"},
      {"tronquée", tronquee, "est endommagée"},
      {"d'une autre version", autreVersion, "autre version"},
      {"nom hors de la copie", nomTropLong, "est endommagée"},
  };
  for (const Cas& c : cas) {
    Session u;
    std::string e;
    EXPECT_FALSE(RestaureCopie(u.ed, c.octets, "/etat/2.recup", e)) << c.quoi;
    EXPECT_NE(e.find(c.raison), std::string::npos) << c.quoi << " : " << e;
    EXPECT_NE(e.find("/etat/2.recup"), std::string::npos) << c.quoi;
    EXPECT_EQ(u.Nb(), 0) << c.quoi;
    EXPECT_FALSE(u.ed.circuit.CircuitModifie) << c.quoi;
  }
}

// The circuit's name stored in a copy is proposed for saving only when a user could have had
// it; otherwise the circuit comes back without a name (saving asks one).
TEST(Recuperation, NomDuCircuitProposeSeulementSIlEstPlausible) {
  const std::pair<std::string, bool> cas[] = {
      {"/home/moi/Circuits/ALIM.CIX", true},
      {"/home/moi/\xC3\xA9t\xC3\xA9/vieux.cip", true},
      {"", false},
      {"ALIM.CIX", false},                   // relative
      {"/home/moi/../../etc/x.CIX", false},  // steps back
      {"/home/moi//ALIM.CIX", false},
      {"/home/moi/ALIM.TXT", false},
      {"/home/\xE2\x80\xAEXIC.exe.CIX", false},  // direction override
      {"/home/moi/\x1b[2J.CIX", false},
      {"/home/\xFF.CIX", false},  // not UTF-8
      {"/" + std::string(4091, 'a') + ".CIX", false},
  };
  for (const auto& [nom, garde] : cas) {
    Session s;
    s.Clic(C::BoutonPastille);
    s.Clic(C::Bpast8);
    s.Clique(1000, 1000);
    s.ed.circuit.NomFichier = nom;
    Session t;
    std::string erreur;
    ASSERT_TRUE(RestaureCopie(t.ed, CopieDeRecuperation(s.ed, 0), "/etat/1.recup", erreur));
    EXPECT_EQ(t.ed.circuit.NomFichier, garde ? nom : "") << nom.substr(0, 60);
    t.d.fichiers = {"/base/Circuits/N.CIX"};
    Raccourci(t.ed, C::Enregistrerunfichier1);
    // An old-format circuit asks a name too.
    const bool surPlace = garde && nom.compare(nom.size() - 4, 4, ".CIX") == 0;
    EXPECT_EQ(t.d.demandes.size(), surPlace ? 0u : 1u) << nom.substr(0, 60);
  }
}

}  // namespace
}  // namespace korv4
