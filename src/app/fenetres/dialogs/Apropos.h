#pragma once

#include <QDialog>
#include <QIcon>

// "A propos": the program's icon, name, version and purpose, and an OK button. Created hidden
// with the main window; the "?" menu shows it modally with exec().

namespace korv4 {

// The program's icon (the resource :/korv4.svg drawn at the usual icon sizes).
QIcon IconeProgramme();

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutBox(QWidget* parent = nullptr);
};

}  // namespace korv4
