// "Razem czy osobno": a calculator of whether a married couple pays less tax
// filing jointly. It neither reads nor writes the return set.
#pragma once

#include <QWidget>

#include "calc/scale/joint_simulation.hpp"

class QLabel;

namespace solv::app {

class AmountEdit;

class TFormRazemOsobno : public QWidget {
  Q_OBJECT
 public:
  explicit TFormRazemOsobno(QWidget* parent = nullptr);
  // The six entries as typed, and the results from them.
  JointSimulationInput Input() const;
  void Recalculate();
  // Closes the window, or the MDI child frame holding it.
  void CloseWindow();

 private:
  AmountEdit* przychod1_;
  AmountEdit* odliczenia1_;
  AmountEdit* odliczenia11_;
  AmountEdit* przychod2_;
  AmountEdit* odliczenia2_;
  AmountEdit* odliczenia22_;
  QLabel* dochod1_;
  QLabel* dochod2_;
  QLabel* dochod3_;
  QLabel* podatek1_;
  QLabel* podatek2_;
  QLabel* podatek3_;
  QLabel* odliczenia33_;
  QLabel* doZaplaty1_;
  QLabel* doZaplaty2_;
  QLabel* doZaplaty3_;
  QLabel* osobno_;
  QLabel* razem_;
};

// Opens the window, an MDI child when the parent is a QMdiArea, else a
// window of its own. At most one exists: a second call brings it to the
// front. Closing frees it.
void ShowJointWindow(QWidget* mdiParentOrNull);
// The open window, or null.
TFormRazemOsobno* JointWindow();

}  // namespace solv::app
