// Which editor has a circuit file open: one holder at a time whatever path leads to the file, a
// lock left by a process that died taken over, and the state that tells a change on the disk.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>

#include "partage/disque/VerrouOuverture.h"

namespace korv4 {
namespace {

void Ecrit(const QString& chemin, const QByteArray& octets) {
  QFile f(chemin);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(octets);
}

TEST(VerrouOuverture, UnSeulEditeurParFichier) {
  QTemporaryDir dossier;
  const QString verrous = dossier.path() + "/verrous";
  const QString f = dossier.path() + "/F.CIX", g = dossier.path() + "/G.CIX";
  Ecrit(f, "1");
  Ecrit(g, "2");
  ASSERT_TRUE(QFile::link(f, dossier.path() + "/lien.CIX"));
  VerrouOuverture a(verrous), b(verrous);
  EXPECT_TRUE(a.Retient(f));
  EXPECT_TRUE(a.Retient(f));  // held already
  EXPECT_FALSE(b.Retient(f));
  EXPECT_FALSE(b.Retient(dossier.path() + "/lien.CIX"));
  EXPECT_FALSE(b.Retient(dossier.path() + "/./F.CIX"));
  EXPECT_TRUE(b.Retient(g));
  // Holding another file lets go of the first: a, refused G, holds nothing then.
  EXPECT_FALSE(a.Retient(g));
  EXPECT_TRUE(b.Retient(f));
  EXPECT_TRUE(a.Retient(QString()));
  EXPECT_TRUE(b.Retient(QString()));
  EXPECT_TRUE(a.Retient(f));
  EXPECT_EQ(QDir(verrous).entryList({"*.lock"}, QDir::Files).size(), 1);
}

TEST(VerrouOuverture, VerrouDUnEditeurMortRepris) {
  QTemporaryDir dossier;
  const QString f = dossier.path() + "/F.CIX";
  Ecrit(f, "1");
  VerrouOuverture a(dossier.path());
  const QString verrou = a.FichierVerrou(f);
  // A process holds the file and dies without letting go.
  const pid_t enfant = fork();
  ASSERT_GE(enfant, 0);
  if (enfant == 0) {
    QLockFile l(verrou);
    _exit(l.tryLock(0) ? 0 : 1);
  }
  int statut = 0;
  ASSERT_EQ(waitpid(enfant, &statut, 0), enfant);
  ASSERT_EQ(WEXITSTATUS(statut), 0);
  ASSERT_TRUE(QFile::exists(verrou));
  EXPECT_TRUE(a.Retient(f));
}

TEST(VerrouOuverture, EtatChangeAChaqueEcriture) {
  QTemporaryDir dossier;
  const QString f = dossier.path() + "/F.CIX";
  EXPECT_EQ(EtatFichierDisque(f), "");
  Ecrit(f, "abc");
  const std::string e1 = EtatFichierDisque(f);
  EXPECT_NE(e1, "");
  EXPECT_EQ(EtatFichierDisque(f), e1);
  // Replaced by another file of the same size (an atomic save), or written again in place.
  Ecrit(dossier.path() + "/t", "xyz");
  ASSERT_TRUE(QFile::remove(f));
  ASSERT_TRUE(QFile::rename(dossier.path() + "/t", f));
  const std::string e2 = EtatFichierDisque(f);
  EXPECT_NE(e2, e1);
  Ecrit(f, "xyzw");
  EXPECT_NE(EtatFichierDisque(f), e2);
}

}  // namespace
}  // namespace korv4
