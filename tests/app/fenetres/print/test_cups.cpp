// End to end through a real CUPS queue: the test starts its own cupsd (a private configuration
// in a scratch folder, listening on a socket there), creates the cups-pdf queue "PDF" with
// lpadmin, and the print dialog lists that printer and prints a job on it; cups-pdf writes the
// PDF under the submitting user's home, folder PDF, where the test measures it at 1:1 and then
// removes it. The test stops the daemon it started (its pid file). Skipped, with the reason,
// only when cupsd cannot start.

#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QComboBox>
#include <QPrinterInfo>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "../OutilsDialogues.h"
#include "../ServiceDialoguesScript.h"
#include "CircuitsFabrication.h"
#include "MesurePdf.h"
#include "fenetres/print/TFicheImpression.h"

namespace korv4 {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class Cups : public ::testing::Test {
 protected:
  void SetUp() override {
    char modele[] = "/tmp/korv4-cups-XXXXXX";
    ASSERT_NE(mkdtemp(modele), nullptr);
    dossier_ = modele;
    fs::permissions(dossier_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
    for (const char* d : {"spool", "cache", "state", "log", "ppd", "ssl", "tmp"})
      fs::create_directories(dossier_ / d);
    // The filters run as lp: they write their temporary files here.
    fs::permissions(dossier_ / "tmp", fs::perms::all | fs::perms::sticky_bit);
    socket_ = (dossier_ / "cups.sock").string();
    const std::string d = dossier_.string();
    std::ofstream(dossier_ / "cupsd.conf") << "Listen " << socket_ << "\n"
                                           << "LogLevel warn\nWebInterface No\nBrowsing No\n"
                                              "<Location />\n  Order allow,deny\n  Allow all\n"
                                              "</Location>\n";
    std::ofstream(dossier_ / "cups-files.conf")
        << "ServerRoot " << d << "\nStateDir " << d << "/state\nCacheDir " << d
        << "/cache\nRequestRoot " << d << "/spool\nTempDir " << d << "/tmp\nAccessLog " << d
        << "/log/access_log\nErrorLog " << d << "/log/error_log\nPageLog " << d
        << "/log/page_log\nSystemGroup root\n";
  }

  void TearDown() override {
    Arrete();
    fs::remove_all(dossier_);
  }

  // Starts cupsd -f in the background; its pid goes into the pid file. Empty: started (the
  // socket answers); otherwise why not.
  std::string Demarre() {
    if (mesure::Commande("command -v cupsd >/dev/null && command -v lpadmin >/dev/null") != 0)
      return "cupsd ou lpadmin absent (paquet Debian cups)";
    if (!fs::exists("/usr/lib/cups/backend/cups-pdf"))
      return "le backend cups-pdf est absent (paquet Debian printer-driver-cups-pdf)";
    const pid_t pid = fork();
    if (pid < 0) return "fork impossible";
    if (pid == 0) {
      const std::string journal = (dossier_ / "log" / "cupsd.out").string();
      freopen(journal.c_str(), "w", stdout);
      freopen(journal.c_str(), "a", stderr);
      const std::string c = (dossier_ / "cupsd.conf").string();
      const std::string s = (dossier_ / "cups-files.conf").string();
      execlp("cupsd", "cupsd", "-f", "-c", c.c_str(), "-s", s.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    std::ofstream(dossier_ / "cupsd.pid") << pid << "\n";
    for (int i = 0; i < 100; ++i) {
      int etat = 0;
      if (waitpid(pid, &etat, WNOHANG) == pid) {
        fs::remove(dossier_ / "cupsd.pid");
        std::ifstream j(dossier_ / "log" / "cupsd.out");
        return "cupsd s'est arrêté au démarrage : " +
               std::string(std::istreambuf_iterator<char>(j), {});
      }
      if (fs::exists(socket_) &&
          mesure::Commande("lpstat -h '" + socket_ + "' -r >/dev/null 2>&1") == 0) {
        return "";
      }
      std::this_thread::sleep_for(100ms);
    }
    Arrete();
    return "cupsd ne répond pas sur " + socket_ + " après 10 s";
  }

  // Stops the daemon this test started, by the pid of its pid file.
  void Arrete() {
    std::ifstream f(dossier_ / "cupsd.pid");
    pid_t pid = 0;
    if (!(f >> pid) || pid <= 0) return;
    kill(pid, SIGTERM);
    for (int i = 0; i < 100; ++i) {
      if (waitpid(pid, nullptr, WNOHANG) == pid) break;
      std::this_thread::sleep_for(100ms);
      if (i == 99) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
      }
    }
    fs::remove(dossier_ / "cupsd.pid");
  }

  fs::path dossier_;
  std::string socket_;
};

std::set<fs::path> Pdfs(const fs::path& dossier) {
  std::set<fs::path> r;
  std::error_code e;
  for (const auto& f : fs::directory_iterator(dossier, e))
    if (f.path().extension() == ".pdf") r.insert(f.path());
  return r;
}

TEST_F(Cups, ImpressionSurUneFileCupsPdf) {
  const std::string pourquoi = Demarre();
  if (!pourquoi.empty()) GTEST_SKIP() << "test CUPS sauté : " << pourquoi;
  ASSERT_EQ(mesure::Commande("lpadmin -h '" + socket_ +
                             "' -p PDF -E -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd "
                             "2>'" +
                             (dossier_ / "log" / "lpadmin").string() + "'"),
            0);
  // The print system of this process is that daemon (libcups reads it at first use).
  setenv("CUPS_SERVER", socket_.c_str(), 1);

  const fs::path pdf = fs::path(getpwuid(getuid())->pw_dir) / "PDF";
  const bool dossierExistait = fs::exists(pdf);
  const std::set<fs::path> avant = Pdfs(pdf);

  const Circuit circuit = fabrication::CarteMesure();
  ServiceDialoguesScript service;
  TFicheImpression d(circuit, service);
  EXPECT_EQ(TFicheImpression::NomsImprimantes(), QStringList{QStringLiteral("PDF")});
  essai::PendantLaFenetreModale([&] {
    QComboBox* liste = essai::Controle<QComboBox>(d, "ListeImprimantes");
    EXPECT_EQ(liste->count(), 1);
    essai::Choisit(d, "ListeImprimantes", liste->findText(QStringLiteral("PDF")));
    essai::Clique(d, "BoutonImpression");
  });
  EXPECT_EQ(d.Ouvre(EtatTravail{}, ContexteTrace{}), QDialog::Accepted);
  EXPECT_EQ(d.Imprimante().printerName(), "PDF");
  EXPECT_EQ(d.Imprimante().outputFormat(), QPrinter::NativeFormat);
  ASSERT_TRUE(d.DernierImprime());
  EXPECT_TRUE(service.demandes.empty());  // a printer, no file to name

  // The job goes through the filters and cups-pdf: wait for its PDF (30 s at most).
  fs::path arrive;
  for (int i = 0; i < 300 && arrive.empty(); ++i) {
    for (const fs::path& p : Pdfs(pdf)) {
      if (!avant.count(p) && fs::file_size(p) > 0) arrive = p;
    }
    if (arrive.empty()) std::this_thread::sleep_for(100ms);
  }
  ASSERT_FALSE(arrive.empty()) << "aucun PDF dans " << pdf
                               << " ; journal : " << (dossier_ / "log" / "error_log");
  std::this_thread::sleep_for(500ms);  // cups-pdf may still be writing it
  // cups-pdf rewrites the page with Ghostscript, whose PDF coordinates sit on a grid of 1/720
  // inch (1.7 dots of 1/1200): one dot more of slack.
  mesure::VerifieUnPourUn(mesure::MesureLDe(arrive.string()), 1, 1.75);
  // KORV4_GARDE_PDF=1 keeps a copy to look at.
  if (std::getenv("KORV4_GARDE_PDF") != nullptr) {
    fs::copy_file(arrive, "/tmp/korv4-cups-dernier.pdf", fs::copy_options::overwrite_existing);
  }
  fs::remove(arrive);
  if (!dossierExistait && fs::is_empty(pdf)) fs::remove(pdf);
}

}  // namespace
}  // namespace korv4
