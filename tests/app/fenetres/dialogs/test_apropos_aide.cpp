#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMap>
#include <QPushButton>
#include <QSet>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>

#include "../Captures.h"
#include "fenetres/dialogs/Apropos.h"
#include "fenetres/dialogs/FenetreAide.h"

namespace korv4 {
namespace {

QString Texte(const QWidget& w, const char* nom) {
  auto* l = w.findChild<QLabel*>(QLatin1String(nom));
  return l == nullptr ? QStringLiteral("<absent>") : l->text();
}

TEST(AboutBox, TextesIconeEtOK) {
  TAboutBox boite;
  EXPECT_TRUE(boite.isHidden());  // created hidden, shown by the caller
  EXPECT_EQ(boite.objectName(), "AboutBox");
  EXPECT_EQ(boite.windowTitle(), "A propos de KORV4");
  EXPECT_EQ(Texte(boite, "NomProduit"), "KORV 4 pour Windows");
  EXPECT_EQ(Texte(boite, "Version"), " Version " KORV4_VERSION " ");
  EXPECT_EQ(Texte(boite, "Commentaire"),
            "Logiciel de dessin de circuit imprimé assisté par ordinateur");
  auto* icone = boite.findChild<QLabel*>(QStringLiteral("IconeProgramme"));
  ASSERT_NE(icone, nullptr);
  const QImage image = icone->pixmap().toImage();
  ASSERT_FALSE(image.isNull());
  // The icon is drawn, not blank: its centre (the board) is opaque.
  EXPECT_EQ(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255);
  EXPECT_FALSE(IconeProgramme().isNull());

  auto* ok = boite.findChild<QPushButton*>(QStringLiteral("BoutonOK"));
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->text(), "OK");
  boite.show();
  Capture(boite.grab().toImage(), QStringLiteral("apropos.png"));
  ok->click();
  EXPECT_FALSE(boite.isVisible());
  EXPECT_EQ(boite.result(), QDialog::Accepted);
}

TEST(FenetreAide, OuvreNonModaleALaPagePrincipale) {
  FenetreAide aide;
  EXPECT_EQ(aide.objectName(), "FenetreAide");
  EXPECT_EQ(aide.windowTitle(), "Aide de KORV4");
  aide.Navigateur()->setSource(QUrl(QStringLiteral("qrc:/aide/sorties.html#gerber")));
  aide.Ouvre();
  EXPECT_TRUE(aide.isVisible());
  EXPECT_FALSE(aide.isModal());
  EXPECT_EQ(aide.Navigateur()->source(), FenetreAide::PagePrincipale());
  const QString texte = aide.Navigateur()->toPlainText();
  // The pages are read as UTF-8.
  EXPECT_TRUE(texte.contains(QStringLiteral("Face 1, Face 2, Implantation, Perçage")))
      << texte.toStdString();
  Capture(aide.grab().toImage(), QStringLiteral("aide.png"));

  // A link to another page opens it at its section.
  aide.Navigateur()->setSource(QUrl(QStringLiteral("qrc:/aide/dessin.html#pistes")));
  EXPECT_TRUE(aide.Navigateur()->toPlainText().contains(
      QStringLiteral("Suppr reprend le dernier segment")));
  Capture(aide.grab().toImage(), QStringLiteral("aide_pistes.png"));
}

struct Page {
  QSet<QString> ancres;
  QList<QUrl> liens;  // resolved against the page
};

// The anchors and links of a help page as the text browser sees them.
Page LitPage(const QString& nom) {
  QFile f(QStringLiteral(":/aide/") + nom);
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << nom.toStdString();
  QTextDocument doc;
  doc.setHtml(QString::fromUtf8(f.readAll()));
  const QUrl base(QStringLiteral("qrc:/aide/") + nom);
  Page p;
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat format = it.fragment().charFormat();
      for (const QString& a : format.anchorNames()) p.ancres.insert(a);
      if (format.isAnchor() && !format.anchorHref().isEmpty()) {
        p.liens.append(base.resolved(QUrl(format.anchorHref())));
      }
    }
  }
  return p;
}

TEST(FenetreAide, ChaqueLienMeneAUneSectionExistante) {
  FenetreAide aide;  // registers the resources
  const QStringList noms = QDir(QStringLiteral(":/aide")).entryList({QStringLiteral("*.html")});
  ASSERT_GE(noms.size(), 5);
  ASSERT_TRUE(noms.contains(FenetreAide::PagePrincipale().fileName()));
  QMap<QString, Page> pages;
  for (const QString& nom : noms) pages.insert(nom, LitPage(nom));

  QSet<QString> atteintes;
  for (auto it = pages.cbegin(); it != pages.cend(); ++it) {
    EXPECT_FALSE(it->liens.isEmpty()) << it.key().toStdString();
    for (const QUrl& lien : it->liens) {
      const std::string quoi = it.key().toStdString() + " -> " + lien.toString().toStdString();
      ASSERT_EQ(lien.scheme(), "qrc") << quoi;
      const QString cible = lien.fileName();
      ASSERT_TRUE(pages.contains(cible)) << quoi;
      ASSERT_TRUE(lien.hasFragment()) << quoi;  // every link opens at a section
      EXPECT_TRUE(pages[cible].ancres.contains(lien.fragment())) << quoi;
      atteintes.insert(cible);
    }
  }
  // Every page is reached from some link, and the contents reach every page.
  for (const QString& nom : noms) EXPECT_TRUE(atteintes.contains(nom)) << nom.toStdString();
  QSet<QString> depuisSommaire;
  for (const QUrl& lien : pages[FenetreAide::PagePrincipale().fileName()].liens) {
    depuisSommaire.insert(lien.fileName());
  }
  for (const QString& nom : noms) {
    if (nom != FenetreAide::PagePrincipale().fileName()) {
      EXPECT_TRUE(depuisSommaire.contains(nom)) << nom.toStdString();
    }
  }
}

}  // namespace
}  // namespace korv4
