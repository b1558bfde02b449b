// What a Qt desktop does with the installed files, for the installation tests:
//   korv4-essai-bureau icone ICONE.svg IMAGE.png TAILLE   the icon loads and draws something
//   korv4-essai-bureau type FICHIER...                    the MIME type of each file, one a line
// (the MIME database is looked up in $XDG_DATA_HOME and $XDG_DATA_DIRS, as by file managers).

#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QMimeDatabase>
#include <QPainter>
#include <QSet>
#include <QSvgRenderer>
#include <cstdio>

namespace {

int Icone(const QString& svg, const QString& png, int taille) {
  QSvgRenderer rendu(svg);
  if (!rendu.isValid()) {
    std::fprintf(stderr, "icône illisible par Qt : %s\n", qPrintable(svg));
    return 1;
  }
  QImage image(taille, taille, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  rendu.render(&p);
  p.end();
  // Something is drawn over most of the square, in more than a couple of colours.
  int couvert = 0;
  QSet<QRgb> couleurs;
  for (int y = 0; y < taille; ++y)
    for (int x = 0; x < taille; ++x) {
      const QRgb c = image.pixel(x, y);
      if (qAlpha(c) > 0) ++couvert;
      couleurs.insert(c);
    }
  std::printf("%d pixels couverts sur %d, %lld couleurs\n", couvert, taille * taille,
              static_cast<long long>(couleurs.size()));
  if (couvert < taille * taille / 2 || couleurs.size() < 5) {
    std::fprintf(stderr, "icône presque vide\n");
    return 1;
  }
  return image.save(png) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QStringList a = QGuiApplication::arguments();
  if (a.size() == 5 && a.at(1) == QLatin1String("icone"))
    return Icone(a.at(2), a.at(3), a.at(4).toInt());
  if (a.size() >= 3 && a.at(1) == QLatin1String("type")) {
    const QMimeDatabase base;
    for (const QString& f : a.mid(2))
      std::printf("%s\n", qPrintable(base.mimeTypeForFile(f).name()));
    return 0;
  }
  std::fprintf(stderr, "utilisation : korv4-essai-bureau icone SVG PNG TAILLE | type FICHIER...\n");
  return 1;
}
