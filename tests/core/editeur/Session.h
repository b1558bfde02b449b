#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "editeur/Editeur.h"
#include "render/ContexteTrace.h"

// An editor driven as a user drives the window, with a scripted dialogue service whose files
// live in memory.

namespace korv4 {

class DialoguesScript : public Dialogues {
 public:
  std::vector<std::string> messages;
  std::vector<std::string> questions;
  std::vector<Boutons> boutons;          // the buttons of each question
  std::deque<Reponse> reponses;          // unscripted: Non, Annuler (OK/Annuler)
  std::deque<std::string> fichiers;      // names chosen in file dialogs; "" cancels
  std::vector<DemandeFichier> demandes;  // every file dialog shown
  std::deque<std::string> textes;        // lines typed in the text entry; unscripted: cancel
  std::vector<std::string> textesMontres;
  std::deque<Controle> choixMenu;
  std::vector<Controle> menusOuverts;
  std::vector<Fenetre> fenetres;
  int resultatFenetre = 1;
  std::map<std::string, std::vector<uint8_t>> disque;
  std::string dossierInterdit;  // writes below it fail

  void Message(const std::string& t) override { messages.push_back(t); }
  Reponse Question(const std::string& t, Boutons b) override {
    questions.push_back(t);
    boutons.push_back(b);
    if (reponses.empty()) return b == Boutons::OkAnnuler ? Reponse::Annuler : Reponse::Non;
    const Reponse r = reponses.front();
    reponses.pop_front();
    return r;
  }
  std::string Suivant(const DemandeFichier& d) {
    demandes.push_back(d);
    if (fichiers.empty()) return {};
    std::string f = fichiers.front();
    fichiers.pop_front();
    return f;
  }
  std::string FichierAOuvrir(const DemandeFichier& d) override { return Suivant(d); }
  std::string FichierAEnregistrer(const DemandeFichier& d) override { return Suivant(d); }
  int SaisieTexte(std::string& texte) override {
    textesMontres.push_back(texte);
    if (textes.empty()) return 2;
    texte = textes.front();
    textes.pop_front();
    return 1;
  }
  Controle MenuSurgissant(Controle menu, int32_t, int32_t) override {
    menusOuverts.push_back(menu);
    if (choixMenu.empty()) return Controle::Aucun;
    const Controle c = choixMenu.front();
    choixMenu.pop_front();
    return c;
  }
  std::function<void(Fenetre)> effetFenetre;  // what the window changes before it closes with OK
  int Ouvre(Fenetre f) override {
    fenetres.push_back(f);
    if (effetFenetre && resultatFenetre == 1) effetFenetre(f);
    return resultatFenetre;
  }
  std::deque<int> choix;  // answers to Choix by index; unscripted: Escape
  std::vector<std::string> textesChoix;
  int Choix(const std::string& texte, const std::vector<std::string>&, int echap) override {
    textesChoix.push_back(texte);
    if (choix.empty()) return echap;
    const int r = choix.front();
    choix.pop_front();
    return r;
  }
  std::string DateDuJour() override { return "10/12/2026"; }
  bool LitFichier(const std::string& nom, std::vector<uint8_t>& octets,
                  std::string& erreur) override {
    auto it = disque.find(nom);
    if (it == disque.end()) {
      erreur = "Le fichier " + nom + " n'existe pas.";
      return false;
    }
    octets = it->second;
    return true;
  }
  bool EcritFichier(const std::string& nom, const std::vector<uint8_t>& octets,
                    std::string& erreur) override {
    if (!dossierInterdit.empty() && nom.rfind(dossierInterdit, 0) == 0) {
      erreur = "Impossible d'écrire le fichier " + nom + " : permission refusée.";
      return false;
    }
    disque[nom] = octets;
    return true;
  }
  // The files other editors hold, shared by the sessions of a test (null: none), and the one
  // this editor holds.
  std::map<std::string, const void*>* verrous = nullptr;
  std::string retenu;
  bool RetientFichier(const std::string& nom) override {
    if (verrous == nullptr) return true;
    if (!retenu.empty()) verrous->erase(retenu);
    retenu.clear();
    if (nom.empty()) return true;
    auto it = verrous->find(nom);
    if (it != verrous->end() && it->second != this) return false;
    (*verrous)[nom] = this;
    retenu = nom;
    return true;
  }
  // A file's state is its content here.
  std::string EtatFichier(const std::string& nom) override {
    auto it = disque.find(nom);
    return it == disque.end() ? std::string() : std::string(it->second.begin(), it->second.end());
  }
};

struct Session {
  Editeur ed;
  DialoguesScript d;

  explicit Session(int largeur = 1400, int hauteur = 900) {
    ed.dialogues = &d;
    FormCreate(ed, "/base");
    FormResize(ed, largeur, hauteur);
    FormShow(ed);
  }

  // The pixel of the drawing area where a grid point lies.
  PointPixel Ecran(int32_t x, int32_t y) const { return PixelPoint(ed.ctx, x, y); }
  void Bouge(int32_t x, int32_t y) {
    const PointPixel p = Ecran(x, y);
    FormMouseMove(ed, p.X, p.Y);
  }
  void Appui(int32_t x, int32_t y) {
    const PointPixel p = Ecran(x, y);
    FormMouseMove(ed, p.X, p.Y);
    FormMouseDown(ed, BoutonSouris::Gauche, true, p.X, p.Y);
  }
  void Relache(int32_t x, int32_t y) {
    Bouge(x, y);
    FormMouseUp(ed, BoutonSouris::Gauche);
  }
  void Clique(int32_t x, int32_t y) {
    Appui(x, y);
    Relache(x, y);
  }
  void Droit(int32_t x, int32_t y) {
    const PointPixel p = Ecran(x, y);
    FormMouseMove(ed, p.X, p.Y);
    FormMouseDown(ed, BoutonSouris::Droit, false, p.X, p.Y);
  }
  void Clic(Controle c) { korv4::Clic(ed, c); }
  void Touche(korv4::Touche t) { FormKeyDown(ed, t); }
  int32_t Code() const { return ed.CodeAction; }
  int32_t Nb() const { return ed.circuit.NbElements; }
  const ElementCI& E(int32_t i) const { return ed.circuit[i]; }
};

}  // namespace korv4
