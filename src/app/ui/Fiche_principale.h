#pragma once

#include <QMainWindow>

// The editor's main window. It owns the one circuit of the run.
class Fiche_principale : public QMainWindow {
  Q_OBJECT

 public:
  explicit Fiche_principale(QWidget* parent = nullptr);
};
