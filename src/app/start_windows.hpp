// The start screen and the window naming the public-benefit organisation.
#pragma once

#include <QDialog>
#include <QIcon>
#include <QImage>
#include <QString>

class QLabel;
class QPushButton;
class QTimer;

namespace solv::app {

// The start screen: the logo cross-fades in, then "Uruchom program" goes on
// and "Sprawdź czy jest nowsza wersja" starts the updater and ends the run.
class TSplashScreen : public QDialog {
  Q_OBJECT
 public:
  explicit TSplashScreen(QWidget* parent = nullptr);
  // Accepted: go on with the program; rejected: the program ends.
  int exec() override;

 private:
  void Step();
  void CheckForUpdate();

  QImage from_, to_;
  QLabel* picture_ = nullptr;
  QPushButton* run_ = nullptr;
  QPushButton* update_ = nullptr;
  QTimer* timer_ = nullptr;
  int step_ = 0;
};

// The organisation window: 583 x 221, white, the markup text with a link,
// "Dalej" closes it.
class TFOrganizacje : public QDialog {
  Q_OBJECT
 public:
  explicit TFOrganizacje(QWidget* parent = nullptr);
  QLabel* LinkLabel() const { return link_; }
  // The markup the window shows.
  static std::string OrganisationMarkup();

 private:
  QLabel* link_ = nullptr;
};

// Shows TFOrganizacje the first time in a run; later calls do nothing.
void ShowOrganisationOnce(QWidget* parent);
// True once the organisation window has been shown in this run.
bool OrganisationShown();

// The portal and the other web addresses of the maker.
extern const char* const kPortalUrl;
extern const char* const kProductUrl;
extern const char* const kFaqUrl;
extern const char* const kOfferUrl;
extern const char* const kSocialUrl;
extern const char* const kUsersUrl;

// The program's icon: the initials on the product's blue.
QIcon ProgramIcon();

// Program folder + name, as a QString path.
QString ProgramFile(const QString& name);

}  // namespace solv::app
