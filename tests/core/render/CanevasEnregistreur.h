#pragma once

#include <string>
#include <vector>

#include "render/Canevas.h"

// A canvas that draws nothing and records every drawing call with the pen and brush in force,
// for tests that check device points, sizes and colours.

namespace korv4 {

struct AppelCanevas {
  enum Genre { MoveTo, LineTo, Rectangle, Ellipse, Polygone, Pixel } genre;
  std::vector<int> points;  // x, y pairs as given
  Couleur plume = 0;
  int epaisseur = 1;
  StylePlume style = StylePlume::Plein;
  ModePlume mode = ModePlume::Copie;
  Couleur brosse = 0;
  StyleBrosse styleBrosse = StyleBrosse::Plein;
  Couleur couleurPixel = 0;

  // "LineTo 3 4", "Rectangle 1 2 5 6": the call alone, for compact expectations.
  std::string Texte() const {
    static const char* const noms[] = {"MoveTo",  "LineTo",   "Rectangle",
                                       "Ellipse", "Polygone", "Pixel"};
    std::string s = noms[genre];
    for (int v : points) s += " " + std::to_string(v);
    return s;
  }
};

class CanevasEnregistreur : public Canevas {
 public:
  std::vector<AppelCanevas> appels;

  void CouleurPlume(Couleur c) override { etat_.plume = c; }
  void EpaisseurPlume(int largeur) override { etat_.epaisseur = largeur; }
  void StyleDePlume(StylePlume s) override { etat_.style = s; }
  void ModeDePlume(ModePlume m) override { etat_.mode = m; }
  void CouleurBrosse(Couleur c) override { etat_.brosse = c; }
  void StyleDeBrosse(StyleBrosse s) override { etat_.styleBrosse = s; }

  void MoveTo(int x, int y) override { Note(AppelCanevas::MoveTo, {x, y}); }
  void LineTo(int x, int y) override { Note(AppelCanevas::LineTo, {x, y}); }
  void Rectangle(int x1, int y1, int x2, int y2) override {
    Note(AppelCanevas::Rectangle, {x1, y1, x2, y2});
  }
  void Ellipse(int x1, int y1, int x2, int y2) override {
    Note(AppelCanevas::Ellipse, {x1, y1, x2, y2});
  }
  void Polygone(const int* xy, int n) override {
    Note(AppelCanevas::Polygone, std::vector<int>(xy, xy + 2 * n));
  }
  void Pixel(int x, int y, Couleur c) override {
    Note(AppelCanevas::Pixel, {x, y});
    appels.back().couleurPixel = c;
  }

  // The calls as texts, drawing calls only.
  std::vector<std::string> Textes() const {
    std::vector<std::string> t;
    for (const AppelCanevas& a : appels) t.push_back(a.Texte());
    return t;
  }
  ModePlume Mode() const { return etat_.mode; }

 private:
  void Note(AppelCanevas::Genre g, std::vector<int> pts) {
    AppelCanevas a = etat_;
    a.genre = g;
    a.points = std::move(pts);
    appels.push_back(std::move(a));
  }
  AppelCanevas etat_{AppelCanevas::MoveTo, {}};
};

}  // namespace korv4
