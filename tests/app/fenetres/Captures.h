#pragma once

#include <QDir>
#include <QImage>
#include <QString>

// Pictures to look at: when KORV4_CAPTURES names a folder, the tests save there what they
// check (about box, help window, clipboard picture).
inline void Capture(const QImage& image, const QString& nom) {
  const QString dossier = qEnvironmentVariable("KORV4_CAPTURES");
  if (dossier.isEmpty()) return;
  QDir().mkpath(dossier);
  image.save(QDir(dossier).filePath(nom));
}
