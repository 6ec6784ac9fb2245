// The updater's window: a three-step wizard that checks the update server,
// downloads and installs newer files, and offers to start the program again.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

#include "qt_main_loop.hpp"
#include "rar_archive.hpp"
#include "update_http.hpp"
#include "updater/update_run.hpp"

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QStackedWidget;

namespace solv {

struct WizardOptions {
  QString programDir;      // where the program, its lists and its files live
  QString endpointHost;    // host of the update request, optionally with a scheme
  QStringList arguments;   // command-line arguments after the program name
  UpdateTrust trust;       // the publisher's key; whether plain http may be used
  QString caFile;          // not empty: the certificates TLS trusts instead of the system's
};

class TWizardForm : public QWidget, public UpdateSink {
  Q_OBJECT

 public:
  explicit TWizardForm(WizardOptions options, QWidget* parent = nullptr);
  ~TWizardForm() override;

  static const char* const kCaption;

  // Asked when the window closes; true starts the program again.
  std::function<bool()> AskRestart;
  // Starts the program; answers false when it could not be started.
  std::function<bool(const QString& program)> StartProgram;

  int Step() const { return step_; }
  bool Running() const { return running_; }
  bool CheckOnly() const { return checkOnly_; }

  // The parts a person sees, for tests and screenshots.
  QPushButton* TestButton() const { return testButton_; }
  QPushButton* WsteczButton() const { return wsteczButton_; }
  QPushButton* DalejButton() const { return dalejButton_; }
  QPushButton* AnulujButton() const { return anulujButton_; }
  QLabel* PageNameLabel() const { return pageNameLabel_; }
  QLabel* PageDescriptionLabel() const { return pageDescriptionLabel_; }
  QListWidget* LMsg() const { return lMsg_; }
  QProgressBar* ProgressGauge() const { return progressGauge_; }
  QStackedWidget* OuterNotebook() const { return outerNotebook_; }
  QStackedWidget* InnerNotebook() const { return innerNotebook_; }

  void SetPageTexts(const QString& title, const QString& description);
  void SetButtons(const QString& back, const QString& next, const QString& cancel);

 signals:
  // The update run has ended (whatever its outcome).
  void RunFinished();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // UpdateSink
  void Log(const std::string& line) override;
  void Description(const std::string& text) override;
  void Progress(HttpRole role, std::uint64_t total, std::uint64_t read) override;
  void Idle() override;

  void BuildWelcomePage();
  void BuildMainPage();
  void ShowStep();
  void Next(bool fromTest);
  void Back();
  void Cancel();
  void StartUpdate(bool checkOnly);
  void AnimateTitle();

  WizardOptions options_;
  int step_ = 0;
  bool checkOnly_ = false;
  bool running_ = false;
  bool started_ = false;
  bool asked_ = false;
  int dots_ = 0;

  QtMainLoop loop_;
  UpdateHttp http_;
  RarExtractor archives_;
  std::unique_ptr<UpdateRun> run_;

  QStackedWidget* outerNotebook_ = nullptr;
  QStackedWidget* innerNotebook_ = nullptr;
  QLabel* pageNameLabel_ = nullptr;
  QLabel* pageDescriptionLabel_ = nullptr;
  QListWidget* lMsg_ = nullptr;
  QProgressBar* progressGauge_ = nullptr;
  QPushButton* testButton_ = nullptr;
  QPushButton* wsteczButton_ = nullptr;
  QPushButton* dalejButton_ = nullptr;
  QPushButton* anulujButton_ = nullptr;
};

}  // namespace solv
