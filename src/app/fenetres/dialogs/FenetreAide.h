#pragma once

#include <QDialog>
#include <QUrl>

class QTextBrowser;
class QPushButton;

// The help window: the French help bundled in the program's resources (HTML pages under
// :/aide), shown in a text browser with its contents, back and forward buttons. Not modal:
// the user reads it while drawing.

namespace korv4 {

class FenetreAide : public QDialog {
  Q_OBJECT

 public:
  // The main topic: the contents of the help.
  static QUrl PagePrincipale();

  explicit FenetreAide(QWidget* parent = nullptr);

  // "Aide": shows the window, not modal, at the main topic, and brings it to the front.
  void Ouvre();

  QTextBrowser* Navigateur() const { return navigateur_; }

 private:
  QTextBrowser* navigateur_;
  QPushButton* precedent_;
  QPushButton* suivant_;
};

}  // namespace korv4
