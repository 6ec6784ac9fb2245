// Message boxes on QMessageBox: the information box and the question with
// two or three answers, and the error box for errors that no handler caught.
#pragma once

#include <QString>
#include <string>

class QWidget;

namespace solv::app {

// "&TAK" -> "TAK"; "&&" stands for one '&'.
QString StripAccelerator(const QString& caption);

// kind '!' shows a warning icon, any other kind an information icon.
void ShowInfoBox(QWidget* owner, const QString& title, const QString& message, char kind);
// Buttons first, second and third (omitted when empty); answers 1, 2 or 3,
// 0 when the box is closed without a choice.
int ShowChooseBox(QWidget* owner, const QString& third, const QString& message, const QString& first,
                  const QString& second, const QString& title);

// The box of an error that escaped an event handler: title
// "Informacja - Błąd", the error's own message.
void ShowErrorBox(const std::string& what);

// The top-level window boxes are owned by (the main window once it exists).
void SetMessageOwner(QWidget* owner);
QWidget* MessageOwner();

// Makes these boxes the program's message provider.
void InstallQtMessageProvider();

}  // namespace solv::app
