// The interface is French under a system locale that is not (the test program starts under
// LC_ALL=C, then sets the language as the editor does): the date the title block takes, the
// numbers, sizes and dates of the file dialog, Qt's standard buttons and the print dialog.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileSystemModel>
#include <QLocale>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "../ServiceDialoguesScript.h"
#include "fenetres/commun/CodePage.h"
#include "fenetres/ui/DialoguesQt.h"

namespace korv4 {
namespace {

TEST(Langue, DatesNombresEtTaillesEnFrancais) {
  EXPECT_EQ(QLocale::system().language(), QLocale::French);
  EXPECT_EQ(QLocale().language(), QLocale::French);
  EXPECT_EQ(QLocale().toString(QDate(2026, 12, 10), QLocale::ShortFormat), "10/12/2026");
  EXPECT_EQ(QLocale().toString(1.5), "1,5");
  // The title block's date button: today, day first, in digits.
  QWidget fenetre;
  ServiceDialoguesScript service;
  DialoguesQt d(&fenetre, &fenetre, nullptr, service);
  EXPECT_EQ(DeWindows1252(d.DateDuJour()), QDate::currentDate().toString("dd/MM/yyyy"));

  // The file dialog's model: sizes and dates as the system's locale writes them.
  QTemporaryDir dossier;
  ASSERT_TRUE(dossier.isValid());
  {
    QFile f(dossier.filePath("a.CIX"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(5000, 'x'));
  }
  QFileSystemModel modele;
  QEventLoop boucle;
  QObject::connect(&modele, &QFileSystemModel::directoryLoaded, &boucle, &QEventLoop::quit);
  QTimer::singleShot(5000, &boucle, &QEventLoop::quit);
  modele.setRootPath(dossier.path());
  boucle.exec();
  const QModelIndex i = modele.index(dossier.filePath("a.CIX"));
  ASSERT_TRUE(i.isValid());
  EXPECT_EQ(modele.data(i.siblingAtColumn(1)).toString(), "4,88 Kio");
  const QString date = modele.data(i.siblingAtColumn(3)).toString();
  EXPECT_TRUE(date.startsWith(QDate::currentDate().toString("dd/MM/yyyy"))) << date.toStdString();
}

TEST(Langue, DialoguesDeQtEnFrancais) {
  QMessageBox boite(QMessageBox::Question, "KORV4", "?", QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(boite.button(QMessageBox::Yes)->text().remove('&'), "Oui");
  EXPECT_EQ(boite.button(QMessageBox::No)->text().remove('&'), "Non");
  QPrinter imprimante;
  QPrintDialog impression(&imprimante);
  EXPECT_EQ(impression.windowTitle(), "Imprimer");
}

}  // namespace
}  // namespace korv4
