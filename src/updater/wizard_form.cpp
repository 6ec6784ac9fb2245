#include "wizard_form.hpp"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLinearGradient>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTimer>

#include <limits>

namespace solv {

const char* const TWizardForm::kCaption = "Aktualizator programu Solvenor Vandrel";

namespace {

constexpr int kWidth = 495;
constexpr int kHeight = 358;
constexpr int kPageHeight = 313;  // above the line over the buttons
const char* const kDownloadPath = "/tavena/app_offline/";
const char* const kWaitingText = "Trwa łączenie z serwerem aktualizacji, proszę czekać...";

QString Q(const char* text) { return QString::fromUtf8(text); }
QString Q(const std::string& text) { return QString::fromStdString(text); }

// The updater's artwork: a box receiving a downward arrow on a blue ground.
QPixmap Artwork(int width, int height) {
  QPixmap pixmap(width, height);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient ground(0, 0, 0, height);
  ground.setColorAt(0, QColor(0x1f, 0x4e, 0x9c));
  ground.setColorAt(1, QColor(0x0a, 0x1f, 0x4f));
  p.fillRect(pixmap.rect(), ground);

  const qreal unit = std::min(width, height) / 10.0;
  const QPointF centre(width / 2.0, height / 2.0);
  // The box.
  QRectF box(centre.x() - 3.2 * unit, centre.y() + 0.6 * unit, 6.4 * unit, 2.6 * unit);
  p.setPen(QPen(QColor(0xd8, 0xe4, 0xf6), unit * 0.25));
  p.setBrush(QColor(0x3b, 0x6f, 0xc4));
  p.drawRoundedRect(box, unit * 0.4, unit * 0.4);
  // The arrow into it.
  QPainterPath arrow;
  arrow.moveTo(centre.x() - 0.8 * unit, centre.y() - 3.4 * unit);
  arrow.lineTo(centre.x() + 0.8 * unit, centre.y() - 3.4 * unit);
  arrow.lineTo(centre.x() + 0.8 * unit, centre.y() - 0.6 * unit);
  arrow.lineTo(centre.x() + 2.0 * unit, centre.y() - 0.6 * unit);
  arrow.lineTo(centre.x(), centre.y() + 1.6 * unit);
  arrow.lineTo(centre.x() - 2.0 * unit, centre.y() - 0.6 * unit);
  arrow.lineTo(centre.x() - 0.8 * unit, centre.y() - 0.6 * unit);
  arrow.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xff, 0xc8, 0x3d));
  p.drawPath(arrow);
  return pixmap;
}

QLabel* ImageLabel(QWidget* parent, const QRect& geometry) {
  auto* label = new QLabel(parent);
  label->setGeometry(geometry);
  label->setPixmap(Artwork(geometry.width(), geometry.height()));
  return label;
}

void Fill(QWidget* widget, QPalette::ColorRole role) {
  widget->setAutoFillBackground(true);
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, QApplication::palette().color(role));
  widget->setPalette(palette);
}

void SetButton(QPushButton* button, const QString& caption) {
  button->setText(caption);
  button->setVisible(!caption.isEmpty());
}

}  // namespace

TWizardForm::TWizardForm(WizardOptions options, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      options_(std::move(options)),
      http_(loop_) {
  if (!options_.caFile.isEmpty()) http_.TrustCertificates(options_.caFile.toStdString());
  setObjectName(QStringLiteral("WizardForm"));
  setWindowTitle(Q(kCaption));
  setFixedSize(kWidth, kHeight);
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(12);
  setFont(font);

  outerNotebook_ = new QStackedWidget(this);
  outerNotebook_->setObjectName(QStringLiteral("OuterNotebook"));
  outerNotebook_->setGeometry(0, 0, kWidth, kPageHeight);
  BuildWelcomePage();
  BuildMainPage();

  auto* bevel = new QFrame(this);
  bevel->setFrameShape(QFrame::HLine);
  bevel->setFrameShadow(QFrame::Sunken);
  bevel->setGeometry(0, kPageHeight, kWidth, 2);

  auto button = [this](const char* name, const char* caption, int x, int width) {
    auto* b = new QPushButton(Q(caption), this);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(x, 327, width, 23);
    return b;
  };
  testButton_ = button("TestButton", "Sprawdź wersję", 10, 100);
  wsteczButton_ = button("WsteczButton", "< Wstecz", 252, 75);
  dalejButton_ = button("DalejButton", "Dalej >", 327, 75);
  anulujButton_ = button("AnulujButton", "Anuluj", 413, 75);
  dalejButton_->setDefault(true);
  connect(testButton_, &QPushButton::clicked, this, [this] { Next(true); });
  connect(dalejButton_, &QPushButton::clicked, this, [this] { Next(false); });
  connect(wsteczButton_, &QPushButton::clicked, this, [this] { Back(); });
  connect(anulujButton_, &QPushButton::clicked, this, [this] { Cancel(); });

  AskRestart = [this] {
    QMessageBox box(QMessageBox::Information, Q(kCaption), Q("Czy uruchomić program ponownie?"),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.button(QMessageBox::Yes)->setText(Q("Tak"));
    box.button(QMessageBox::No)->setText(Q("Nie"));
    return box.exec() == QMessageBox::Yes;
  };
  StartProgram = [](const QString& program) { return QProcess::startDetached(program, {}); };

  if (const QScreen* screen = QApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  step_ = 0;
  ShowStep();
}

TWizardForm::~TWizardForm() = default;

void TWizardForm::BuildWelcomePage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("WelcomePage"));
  Fill(page, QPalette::Base);
  ImageLabel(page, QRect(0, 0, 164, kPageHeight))->setObjectName(QStringLiteral("Image1"));

  auto* title = new QLabel(Q(kCaption), page);
  title->setObjectName(QStringLiteral("TitleLabel"));
  QFont bold = font();
  bold.setPixelSize(16);
  bold.setBold(true);
  title->setFont(bold);
  title->setWordWrap(true);
  title->setGeometry(176, 16, 301, 48);

  auto* text = new QLabel(Q("Program umożliwia sprawdzenie czy dostępna jest nowsza wersja programu "
                            "oraz umożliwia pobranie dostepnej aktualizacji."),
                          page);
  text->setObjectName(QStringLiteral("Txt1Label"));
  text->setWordWrap(true);
  text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  text->setGeometry(176, 76, 301, 120);
  outerNotebook_->addWidget(page);
}

void TWizardForm::BuildMainPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("MainPage"));
  Fill(page, QPalette::Button);

  auto* panel = new QWidget(page);
  panel->setObjectName(QStringLiteral("MainPanel"));
  panel->setGeometry(0, 0, kWidth, 58);
  Fill(panel, QPalette::Base);
  pageNameLabel_ = new QLabel(panel);
  pageNameLabel_->setObjectName(QStringLiteral("PageNameLabel"));
  QFont bold = font();
  bold.setBold(true);
  pageNameLabel_->setFont(bold);
  pageNameLabel_->setGeometry(24, 10, 380, 16);
  pageDescriptionLabel_ = new QLabel(panel);
  pageDescriptionLabel_->setObjectName(QStringLiteral("PageDescriptionLabel"));
  pageDescriptionLabel_->setWordWrap(true);
  pageDescriptionLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  pageDescriptionLabel_->setGeometry(40, 27, 380, 30);
  ImageLabel(panel, QRect(kWidth - 55 - 8, 2, 55, 55))->setObjectName(QStringLiteral("Image2"));

  auto* line = new QFrame(page);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  line->setGeometry(0, 58, kWidth, 2);

  innerNotebook_ = new QStackedWidget(page);
  innerNotebook_->setObjectName(QStringLiteral("InnerNotebook"));
  innerNotebook_->setGeometry(40, 72, 417, 234);

  auto* choice = new QWidget;
  choice->setObjectName(QStringLiteral("ChoicePage"));
  auto* check = new QLabel(Q("Aby dokonać sprawdzenia czy wymagana jest aktualizacja wybierz opcję "
                             "<b>Sprawdź wersję.</b>"),
                           choice);
  check->setTextFormat(Qt::RichText);
  check->setWordWrap(true);
  check->setGeometry(0, 8, 417, 36);
  auto* go = new QLabel(Q("Aby kontynuować proces aktualizacji wybierz <b>Dalej.</b>"), choice);
  go->setTextFormat(Qt::RichText);
  go->setWordWrap(true);
  go->setGeometry(0, 56, 417, 20);
  innerNotebook_->addWidget(choice);

  auto* progress = new QWidget;
  progress->setObjectName(QStringLiteral("ProgressPage"));
  lMsg_ = new QListWidget(progress);
  lMsg_->setObjectName(QStringLiteral("LMsg"));
  lMsg_->setGeometry(0, 0, 417, 196);
  lMsg_->setFrameShape(QFrame::NoFrame);
  lMsg_->setSelectionMode(QAbstractItemView::NoSelection);
  lMsg_->setFocusPolicy(Qt::NoFocus);
  // A line longer than the log is wide goes on below instead of being cut.
  lMsg_->setWordWrap(true);
  lMsg_->setTextElideMode(Qt::ElideNone);
  lMsg_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  lMsg_->setResizeMode(QListView::Adjust);
  lMsg_->setStyleSheet(QStringLiteral(
      "QListWidget { background: #000080; color: white; font-family: Arial; font-size: 12px; }"
      "QListWidget::item { min-height: 15px; padding-left: 2px; }"));
  progressGauge_ = new QProgressBar(progress);
  progressGauge_->setObjectName(QStringLiteral("ProgressGauge"));
  progressGauge_->setRange(0, 100);
  progressGauge_->setValue(0);
  progressGauge_->setTextVisible(false);
  progressGauge_->setGeometry(0, 206, 417, 16);
  innerNotebook_->addWidget(progress);
  outerNotebook_->addWidget(page);
}

void TWizardForm::SetPageTexts(const QString& title, const QString& description) {
  if (title != QStringLiteral("-")) pageNameLabel_->setText(title);
  if (description != QStringLiteral("-")) pageDescriptionLabel_->setText(description);
}

void TWizardForm::SetButtons(const QString& back, const QString& next, const QString& cancel) {
  SetButton(wsteczButton_, back);
  SetButton(dalejButton_, next);
  SetButton(anulujButton_, cancel);
}

void TWizardForm::ShowStep() {
  struct StepRow {
    const char* test;
    const char* back;
    const char* next;
    const char* cancel;
    const char* title;
    const char* description;
  };
  static const StepRow kSteps[] = {
      {"", "", "Dalej >", "Anuluj", "", ""},
      {"Sprawdź wersję", "< Wstecz", "Dalej >", "Anuluj", "Proszę wybrać jedną z opcji", ""},
      {"", "", "", "Przerwij", "Aktualizacja", kWaitingText},
  };
  const StepRow& row = kSteps[step_];
  outerNotebook_->setCurrentIndex(step_ == 0 ? 0 : 1);
  innerNotebook_->setCurrentIndex(step_ == 2 ? 1 : 0);
  SetButtons(Q(row.back), Q(row.next), Q(row.cancel));
  SetButton(testButton_, Q(row.test));
  SetPageTexts(Q(row.title), Q(row.description));
}

void TWizardForm::Next(bool fromTest) {
  if (step_ >= 2) return;
  ++step_;
  ShowStep();
  if (step_ == 2) StartUpdate(fromTest);
}

void TWizardForm::Back() {
  if (step_ == 0 || running_) return;
  --step_;
  ShowStep();
}

void TWizardForm::Cancel() {
  if (anulujButton_->text() == Q("Przerwij")) {
    http_.Abort();
    if (run_) run_->Abort();
    QCoreApplication::processEvents();
    return;
  }
  close();
}

void TWizardForm::StartUpdate(bool checkOnly) {
  lMsg_->clear();
  checkOnly_ = checkOnly;
  progressGauge_->setRange(0, 100);
  progressGauge_->setValue(0);
  dots_ = 0;
  const std::string host = options_.endpointHost.toStdString();
  if (!run_) {
    run_ = std::make_unique<UpdateRun>(QDir(options_.programDir).filesystemAbsolutePath(), http_,
                                       archives_, *this, options_.trust);
    run_->location = {host, kDownloadPath};
  }
  running_ = true;
  run_->Start(host, checkOnly);
  running_ = false;
  SetButtons(Q("< Wstecz"), QString(), Q("Zakończ"));
  emit RunFinished();
}

void TWizardForm::Log(const std::string& line) {
  lMsg_->addItem(Q(line));
  lMsg_->setCurrentRow(lMsg_->count() - 1);
  lMsg_->scrollToBottom();
}

void TWizardForm::Description(const std::string& text) { SetPageTexts(Q("-"), Q(text)); }

void TWizardForm::AnimateTitle() {
  dots_ = dots_ == 0 ? 2 : dots_ + 1;
  if (dots_ > 20) dots_ = 0;
  SetPageTexts(Q("Aktualizacja") + QString(dots_, QLatin1Char('.')), Q("-"));
  QCoreApplication::processEvents();
}

void TWizardForm::Progress(HttpRole role, std::uint64_t total, std::uint64_t read) {
  if (role == HttpRole::File) {
    // The gauge counts in int: large sizes are scaled down together.
    while (total > static_cast<std::uint64_t>(std::numeric_limits<int>::max())) {
      total >>= 1;
      read >>= 1;
    }
    progressGauge_->setMaximum(static_cast<int>(total));
    progressGauge_->setValue(static_cast<int>(std::min(read, total)));
  }
  AnimateTitle();
}

void TWizardForm::Idle() { QCoreApplication::processEvents(); }

void TWizardForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (started_) return;
  started_ = true;
  // "01" as the last argument runs the check at once.
  if (!options_.arguments.isEmpty() && options_.arguments.last() == QStringLiteral("01")) {
    QTimer::singleShot(0, this, [this] {
      Next(true);
      Next(true);
    });
  }
}

void TWizardForm::closeEvent(QCloseEvent* event) {
  if (running_) {
    http_.Abort();
    if (run_) run_->Abort();
  }
  if (!asked_) {
    asked_ = true;
    if (AskRestart && AskRestart()) {
#ifdef Q_OS_WIN
      const QString program = QDir(options_.programDir).filePath(QStringLiteral("Solv2010.exe"));
#else
      const QString program = QDir(options_.programDir).filePath(QStringLiteral("Solv2010"));
#endif
      if (StartProgram && !StartProgram(program))
        QMessageBox::warning(this, Q(kCaption), Q("Nie można uruchomić programu:\n") + program);
    }
  }
  event->accept();
}

}  // namespace solv
