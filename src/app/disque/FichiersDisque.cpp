#include "disque/FichiersDisque.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <csignal>

namespace korv4 {

namespace {

std::string Nom(const QString& chemin) { return "« " + chemin.toStdString() + " »"; }

// The reason of a failed system call, in French.
std::string Raison(int numero, QFileDevice::FileError erreurQt) {
  switch (numero) {
    case ENOENT: return "fichier ou dossier introuvable";
    case EACCES:
    case EPERM: return "permission refusée";
    case EISDIR: return "c'est un dossier";
    case ENOTDIR: return "un élément du chemin n'est pas un dossier";
    case ENOSPC: return "plus de place sur le disque";
    case EDQUOT: return "quota disque dépassé";
    case EFBIG: return "taille maximale de fichier dépassée";
    case EROFS: return "système de fichiers en lecture seule";
    case ENAMETOOLONG: return "nom de fichier trop long";
    case EIO: return "erreur d'entrée-sortie du disque";
    case EMFILE:
    case ENFILE: return "trop de fichiers ouverts";
    default: break;
  }
  switch (erreurQt) {
    case QFileDevice::OpenError: return "ouverture impossible";
    case QFileDevice::ReadError: return "erreur de lecture";
    case QFileDevice::WriteError: return "erreur d'écriture";
    case QFileDevice::ResourceError: return "ressources insuffisantes (disque plein ?)";
    case QFileDevice::PermissionsError: return "permission refusée";
    case QFileDevice::RenameError: return "le fichier n'a pas pu être remplacé";
    default: break;
  }
  return numero ? "erreur système n° " + std::to_string(numero) : "erreur inconnue";
}

}  // namespace

bool LitFichierDisque(const QString& chemin, std::vector<uint8_t>& octets, std::string& erreur) {
  const QFileInfo info(chemin);
  if (info.isDir()) {
    erreur = "Impossible de lire " + Nom(chemin) + " : c'est un dossier.";
    return false;
  }
  QFile f(chemin);
  errno = 0;
  if (!f.open(QIODevice::ReadOnly)) {
    erreur = "Impossible de lire " + Nom(chemin) + " : " + Raison(errno, f.error()) + ".";
    return false;
  }
  octets.resize(static_cast<size_t>(kTailleLectureMax));
  int64_t lus = 0;
  while (lus < kTailleLectureMax) {
    errno = 0;
    const qint64 n = f.read(reinterpret_cast<char*>(octets.data()) + lus, kTailleLectureMax - lus);
    if (n < 0) {
      erreur = "Impossible de lire " + Nom(chemin) + " : " + Raison(errno, f.error()) + ".";
      octets.clear();
      return false;
    }
    if (n == 0) break;
    lus += n;
  }
  octets.resize(static_cast<size_t>(lus));
  return true;
}

bool EcritFichierDisque(const QString& chemin, const std::vector<uint8_t>& octets,
                        std::string& erreur) {
  auto echec = [&](int numero, QFileDevice::FileError e) {
    erreur = "Impossible d'écrire " + Nom(chemin) + " : " + Raison(numero, e) +
             ". Le fichier existant, s'il y en a un, n'a pas été modifié.";
    return false;
  };
  QSaveFile f(chemin);
  f.setDirectWriteFallback(false);  // never write in place
  // Unbuffered: every byte goes through our write call, whose short count we check. Buffered,
  // Qt 6.4 was seen to flush a file cut by the file size limit and still commit it.
  errno = 0;
  if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return echec(errno, f.error());
  errno = 0;
  const qint64 n =
      f.write(reinterpret_cast<const char*>(octets.data()), static_cast<qint64>(octets.size()));
  if (n != static_cast<qint64>(octets.size())) {
    const int numero = errno;
    const QFileDevice::FileError e = f.error();
    f.cancelWriting();
    return echec(numero, e);
  }
  errno = 0;
  if (!f.commit()) return echec(errno, f.error());
  return true;
}

std::string RaisonSysteme(int numero) { return Raison(numero, QFileDevice::NoError); }

void IgnoreSignalTailleFichier() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace korv4
