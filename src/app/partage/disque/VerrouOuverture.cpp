#include "partage/disque/VerrouOuverture.h"

#include <sys/stat.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

namespace korv4 {

VerrouOuverture::VerrouOuverture(QString dossier) : dossier_(std::move(dossier)) {}

VerrouOuverture::~VerrouOuverture() = default;

QString VerrouOuverture::FichierVerrou(const QString& chemin) const {
  // The same file whatever path led to it.
  const QFileInfo info(chemin);
  const QString canonique = info.canonicalFilePath();
  const QString complet = canonique.isEmpty() ? info.absoluteFilePath() : canonique;
  const QByteArray empreinte =
      QCryptographicHash::hash(QFile::encodeName(complet), QCryptographicHash::Sha1).toHex();
  return dossier_ + QStringLiteral("/ouvert-") + QString::fromLatin1(empreinte.left(24)) +
         QStringLiteral(".lock");
}

bool VerrouOuverture::Retient(const QString& chemin) {
  const QString nouveau = chemin.isEmpty() ? QString() : FichierVerrou(chemin);
  if (!nouveau.isEmpty() && nouveau == retenu_) return true;
  verrou_.reset();  // unlocks and removes the lock file
  retenu_.clear();
  if (nouveau.isEmpty()) return true;
  QDir().mkpath(dossier_);
  auto verrou = std::make_unique<QLockFile>(nouveau);
  // A lock whose editor is no longer running is stale and taken over at once, whatever its age.
  verrou->setStaleLockTime(0);
  if (!verrou->tryLock(0)) {
    // A lock that cannot be made at all (a folder that cannot be written) holds nobody back.
    return verrou->error() != QLockFile::LockFailedError;
  }
  verrou_ = std::move(verrou);
  retenu_ = nouveau;
  return true;
}

std::string EtatFichierDisque(const QString& chemin) {
  struct stat s {};
  if (::stat(QFile::encodeName(chemin).constData(), &s) != 0) return {};
  return std::to_string(s.st_dev) + ":" + std::to_string(s.st_ino) + ":" +
         std::to_string(s.st_size) + ":" + std::to_string(s.st_mtim.tv_sec) + "." +
         std::to_string(s.st_mtim.tv_nsec);
}

}  // namespace korv4
