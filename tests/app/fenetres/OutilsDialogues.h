#pragma once

// Driving a dialog through its controls, found by their object names (the program's
// control names), as the user would.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace korv4::essai {

template <typename T>
T* Controle(QWidget& w, const char* nom) {
  T* c = w.findChild<T*>(QLatin1String(nom));
  EXPECT_NE(c, nullptr) << nom;
  return c;
}

// A click where the user gives it (radio buttons and check boxes take clicks on their
// indicator and text only, so the point is taken there).
inline void Clique(QWidget& w, const char* nom) {
  QAbstractButton* b = Controle<QAbstractButton>(w, nom);
  QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(8, b->height() / 2));
}

// The user picks the item of a drop-down list (the activated signal, as a user's choice).
inline void Choisit(QWidget& w, const char* nom, int index) {
  QComboBox* c = Controle<QComboBox>(w, nom);
  c->setCurrentIndex(index);
  emit c->activated(index);
}

// Runs `geste` once the modal loop that the caller starts next is running.
inline void PendantLaFenetreModale(std::function<void()> geste) {
  QTimer::singleShot(0, std::move(geste));
}

}  // namespace korv4::essai
