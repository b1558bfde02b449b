#include "partage/disque/FichiersDisque.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <csignal>

#include "model/Fichiers.h"

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
    case ENXIO: return "ce n'est pas un fichier ordinaire";
    case ELOOP: return "trop de liens symboliques dans le chemin";
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

// What a file that is not a regular one is, for a message.
std::string Genre(mode_t mode) {
  if (S_ISDIR(mode)) return "c'est un dossier";
  std::string genre = "un fichier spécial";
  if (S_ISFIFO(mode)) genre = "un tube nommé";
  if (S_ISCHR(mode) || S_ISBLK(mode)) genre = "un périphérique";
  if (S_ISSOCK(mode)) genre = "une socket";
  return "ce n'est pas un fichier ordinaire mais " + genre;
}

}  // namespace

bool NomDisqueValide(const QString& chemin, std::string& erreur) {
  if (chemin.isEmpty()) {
    erreur = "Aucun nom de fichier n'est donné (le nom est vide).";
    return false;
  }
  if (chemin.contains(QChar::ReplacementCharacter)) {
    erreur = "Le nom de fichier " + Nom(chemin) +
             " n'est pas un nom UTF-8 valide (sans doute un ancien nom en Latin-1 ; chaque "
             "octet illisible y est montré par \uFFFD) : il désignerait un autre fichier sur le "
             "disque. Renommez le fichier en UTF-8 (par exemple avec convmv) ou choisissez un "
             "autre nom.";
    return false;
  }
  return true;
}

bool LitFichierDisque(const QString& chemin, std::vector<uint8_t>& octets, std::string& erreur) {
  if (!NomDisqueValide(chemin, erreur)) return false;
  auto echec = [&](const std::string& raison) {
    erreur = "Impossible de lire " + Nom(chemin) + " : " + raison + ".";
    octets.clear();
    return false;
  };
  const QByteArray natif = QFile::encodeName(chemin);
  // Only a regular file is opened: opening a named pipe would wait for a writer, and a device
  // has no end. The kind is checked before the opening (which never waits: O_NONBLOCK) and once
  // more on what was opened, in case the name changed in between.
  struct stat info;
  if (::stat(natif.constData(), &info) != 0) return echec(Raison(errno, QFileDevice::NoError));
  if (!S_ISREG(info.st_mode)) return echec(Genre(info.st_mode));
  const int fd = ::open(natif.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return echec(Raison(errno, QFileDevice::OpenError));
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    const int numero = errno;
    const bool regulier = S_ISREG(info.st_mode);
    ::close(fd);
    return echec(regulier ? Raison(numero, QFileDevice::ReadError) : Genre(info.st_mode));
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  QFile f;
  if (!f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
    return echec(Raison(0, QFileDevice::OpenError));
  }
  // Room for the size the file has, and a byte more to see it end; a file that grows while it is
  // read gets the room up to the limit.
  octets.resize(static_cast<size_t>(std::min<int64_t>(kTailleLectureMax, info.st_size + 1)));
  int64_t lus = 0;
  while (lus < kTailleLectureMax) {
    if (lus == static_cast<int64_t>(octets.size()))
      octets.resize(static_cast<size_t>(kTailleLectureMax));
    errno = 0;
    const qint64 n = f.read(reinterpret_cast<char*>(octets.data()) + lus,
                            static_cast<qint64>(octets.size()) - lus);
    if (n < 0) return echec(Raison(errno, f.error()));
    if (n == 0) break;
    lus += n;
  }
  octets.resize(static_cast<size_t>(lus));
  return true;
}

bool OuvreCircuitDisque(const QString& chemin, Circuit& c, std::string& erreur) {
  std::vector<uint8_t> octets;
  return LitFichierDisque(chemin, octets, erreur) &&
         OuvreCircuit(c, octets, chemin.toStdString(), erreur);
}

bool EcritFichierDisque(const QString& chemin, const std::vector<uint8_t>& octets,
                        std::string& erreur) {
  auto echec = [&](int numero, QFileDevice::FileError e) {
    erreur = "Impossible d'écrire " + Nom(chemin) + " : " + Raison(numero, e) +
             ". Le fichier existant, s'il y en a un, n'a pas été modifié.";
    return false;
  };
  if (!NomDisqueValide(chemin, erreur)) return false;
  // A directory, named pipe, device or socket (a symbolic link to one too) is never replaced by
  // a regular file: QSaveFile would rename its temporary file over it.
  struct stat info;
  if (::stat(QFile::encodeName(chemin).constData(), &info) == 0 && !S_ISREG(info.st_mode)) {
    erreur = "Impossible d'écrire " + Nom(chemin) + " : " + Genre(info.st_mode) +
             " ; seul un fichier ordinaire est remplacé. Rien n'a été écrit.";
    return false;
  }
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

bool MemeFichier(const QString& a, const QString& b) {
  if (a.isEmpty() || b.isEmpty()) return false;
  struct stat sa, sb;
  return ::stat(QFile::encodeName(a).constData(), &sa) == 0 &&
         ::stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

bool SortieDistincte(const QString& sortie, const QString& entree, std::string& erreur) {
  if (!MemeFichier(sortie, entree)) return true;
  erreur = "La sortie " + Nom(sortie) + " est le fichier lu " + Nom(entree) +
           " lui-même (par le même nom, un autre chemin ou un lien) : il serait remplacé. Rien "
           "n'a été écrit.";
  return false;
}

std::string RaisonSysteme(int numero) { return Raison(numero, QFileDevice::NoError); }

void IgnoreSignalTailleFichier() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace korv4
