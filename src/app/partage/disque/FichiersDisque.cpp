#include "partage/disque/FichiersDisque.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
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

namespace {

// The names given as bytes that are not UTF-8, as Qt reads them.
QStringList& NomsIllisibles() {
  static QStringList noms;
  return noms;
}

std::string MessageNonUtf8(const QString& chemin) {
  return "Le nom de fichier " + Nom(chemin) +
         " n'est pas un nom UTF-8 valide (sans doute un ancien nom en Latin-1 ; chaque "
         "octet illisible y est montré par \uFFFD) : il désignerait un autre fichier sur le "
         "disque. Renommez le fichier en UTF-8 (par exemple avec convmv) ou choisissez un "
         "autre nom.";
}

// True when a part of the path that holds U+FFFD is missing as such while its folder holds a
// name that is not UTF-8 and reads as it: the path was read from that name (a file dialog's
// listing) and would designate another file.
bool LuDUnNomNonUtf8(const QString& chemin) {
  const QStringList parties = chemin.split(QLatin1Char('/'));
  QString dossier;
  for (qsizetype k = 0; k < parties.size(); ++k) {
    const QString& partie = parties[k];
    const QString prefixe = k == 0 ? partie : dossier + QLatin1Char('/') + partie;
    if (partie.contains(QChar::ReplacementCharacter)) {
      struct stat info;
      if (::lstat(QFile::encodeName(prefixe).constData(), &info) != 0) {
        const QByteArray parent = QFile::encodeName(
            k == 0 ? QStringLiteral(".") : (dossier.isEmpty() ? QStringLiteral("/") : dossier));
        DIR* d = ::opendir(parent.constData());
        if (!d) return false;
        bool trouve = false;
        while (const dirent* e = ::readdir(d)) {
          const QByteArray octets(e->d_name);
          if (!EstUtf8(octets) && QFile::decodeName(octets) == partie) {
            trouve = true;
            break;
          }
        }
        ::closedir(d);
        return trouve;
      }
    }
    dossier = prefixe;
  }
  return false;
}

}  // namespace

QString NomDepuisOctets(const char* octets) {
  const QByteArray brut(octets);
  const QString nom = QFile::decodeName(brut);
  if (!EstUtf8(brut) && !NomsIllisibles().contains(nom)) NomsIllisibles().append(nom);
  return nom;
}

bool EstUtf8(const QByteArray& octets) {
  QStringDecoder decodeur(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
  const QString texte = decodeur(octets);
  return !decodeur.hasError();
}

bool NomDisqueValide(const QString& chemin, std::string& erreur) {
  if (chemin.isEmpty()) {
    erreur = "Aucun nom de fichier n'est donné (le nom est vide).";
    return false;
  }
  if (!chemin.contains(QChar::ReplacementCharacter)) return true;
  bool illisible = false;
  for (const QString& n : NomsIllisibles()) illisible = illisible || chemin.contains(n);
  if (illisible || LuDUnNomNonUtf8(chemin)) {
    erreur = MessageNonUtf8(chemin);
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

bool OuvreCircuitDisque(const QString& chemin, Circuit& c, std::string& erreur,
                        std::string* avertissement) {
  std::vector<uint8_t> octets;
  return LitFichierDisque(chemin, octets, erreur) &&
         OuvreCircuit(c, octets, chemin.toStdString(), erreur, nullptr, avertissement);
}

struct FichierDisqueEnCours::Etat {
  explicit Etat(const QString& c) : chemin(c), fichier(c) {}
  QString chemin;
  QSaveFile fichier;
  bool ouvert = false, echec = false;
  int numero = 0;
  QFileDevice::FileError erreurQt = QFileDevice::NoError;
};

FichierDisqueEnCours::FichierDisqueEnCours(const QString& chemin)
    : etat_(std::make_unique<Etat>(chemin)) {}

FichierDisqueEnCours::~FichierDisqueEnCours() {
  if (etat_->ouvert) etat_->fichier.cancelWriting();
}

const QString& FichierDisqueEnCours::Chemin() const { return etat_->chemin; }

bool FichierDisqueEnCours::Ouvre(std::string& erreur) {
  const QString& chemin = etat_->chemin;
  if (!NomDisqueValide(chemin, erreur)) return false;
  // A directory, named pipe, device or socket (a symbolic link to one too) is never replaced by
  // a regular file: QSaveFile would rename its temporary file over it.
  struct stat info;
  if (::stat(QFile::encodeName(chemin).constData(), &info) == 0 && !S_ISREG(info.st_mode)) {
    erreur = "Impossible d'écrire " + Nom(chemin) + " : " + Genre(info.st_mode) +
             " ; seul un fichier ordinaire est remplacé. Rien n'a été écrit.";
    return false;
  }
  QSaveFile& f = etat_->fichier;
  f.setDirectWriteFallback(false);  // never write in place
  // Unbuffered: every byte goes through our write call, whose short count we check. Buffered,
  // Qt 6.4 was seen to flush a file cut by the file size limit and still commit it.
  errno = 0;
  if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
    erreur = "Impossible d'écrire " + Nom(chemin) + " : " + Raison(errno, f.error()) +
             ". Le fichier existant, s'il y en a un, n'a pas été modifié.";
    return false;
  }
  etat_->ouvert = true;
  return true;
}

bool FichierDisqueEnCours::Ecrit(const uint8_t* octets, size_t taille) {
  Etat& e = *etat_;
  if (!e.ouvert || e.echec) return false;
  while (taille > 0) {
    // One write call takes at most 1 GiB: a larger buffer goes in several.
    const qint64 morceau = static_cast<qint64>(std::min<size_t>(taille, size_t{1} << 30));
    errno = 0;
    const qint64 n = e.fichier.write(reinterpret_cast<const char*>(octets), morceau);
    if (n != morceau) {
      e.numero = errno;
      e.erreurQt = e.fichier.error();
      e.echec = true;
      e.fichier.cancelWriting();
      e.ouvert = false;
      return false;
    }
    octets += n;
    taille -= static_cast<size_t>(n);
  }
  return true;
}

bool FichierDisqueEnCours::Termine(std::string& erreur) {
  Etat& e = *etat_;
  auto echec = [&](int numero, QFileDevice::FileError fe) {
    erreur = "Impossible d'écrire " + Nom(e.chemin) + " : " + Raison(numero, fe) +
             ". Le fichier existant, s'il y en a un, n'a pas été modifié.";
    return false;
  };
  if (e.echec) return echec(e.numero, e.erreurQt);
  if (!e.ouvert) return echec(0, QFileDevice::OpenError);
  e.ouvert = false;
  // On the disk before it takes the name: after a crash the file is the old one or the new
  // one, whole, never an empty or partial new one. A disk that reports full only now fails here.
  errno = 0;
  if (::fsync(e.fichier.handle()) != 0) {
    const int numero = errno;
    e.fichier.cancelWriting();
    return echec(numero, QFileDevice::WriteError);
  }
  errno = 0;
  if (!e.fichier.commit()) return echec(errno, e.fichier.error());
  // The new name itself, in its folder.
  const QByteArray dossier = QFile::encodeName(QFileInfo(e.chemin).absolutePath());
  const int d = ::open(dossier.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (d >= 0) {
    ::fsync(d);
    ::close(d);
  }
  return true;
}

bool EcritFichierDisque(const QString& chemin, const std::vector<uint8_t>& octets,
                        std::string& erreur) {
  FichierDisqueEnCours f(chemin);
  if (!f.Ouvre(erreur)) return false;
  f.Ecrit(octets.data(), octets.size());
  return f.Termine(erreur);
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

std::string MessageMemoireInsuffisante(const QString& chemin) {
  return "Mémoire insuffisante pour écrire " + Nom(chemin) +
         ". Le fichier existant, s'il y en a un, n'a pas été modifié.";
}

std::string RaisonSortieStandard(int numero) {
  switch (numero) {
    case EBADF: return "elle est fermée";
    case EPIPE: return "elle est fermée (le programme qui la lisait s'est arrêté)";
    case EAGAIN: return "elle n'accepte rien pour l'instant (non bloquante et pleine)";
    case EINVAL: return "elle n'accepte pas l'écriture";
    case 0: return "elle n'a pas tout pris";
    default: return RaisonSysteme(numero);
  }
}

void GardeFluxStandard() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    const int ouvert = ::open("/dev/null", fd == 2 ? O_WRONLY : O_RDONLY);
    if (ouvert >= 0 && ouvert != fd) {
      ::dup2(ouvert, fd);
      ::close(ouvert);
    }
  }
  std::signal(SIGPIPE, SIG_IGN);
}

void IgnoreSignalTailleFichier() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace korv4
