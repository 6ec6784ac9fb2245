#include "start_windows.hpp"

#include <QDesktopServices>
#include <QFile>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "messages/markup.hpp"
#include "qt_messages.hpp"
#include "store/opp.hpp"
#include "store/store.hpp"

namespace solv::app {

const char* const kPortalUrl = "https://www.vandrel.example/";
const char* const kProductUrl = "https://www.solvenor.example/vandrel2010/";
const char* const kFaqUrl = "https://www.solvenor.example/pytania/";
const char* const kOfferUrl = "https://www.solvenor.example/oferta/";
const char* const kSocialUrl = "https://social.example/solvenor";
const char* const kUsersUrl = "https://www.solvenor.example/uzytkownicy/";

QString ProgramFile(const QString& name) {
  return QString::fromStdString((solv::ProgramFolder() / name.toStdString()).string());
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64}) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0x1d, 0x4e, 0x89));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(0, 0, size, size), size / 6.0, size / 6.0);
    QFont f(QStringLiteral("Liberation Sans"));
    f.setBold(true);
    f.setPixelSize(size * 9 / 16);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QStringLiteral("SV"));
    icon.addPixmap(pm);
  }
  return icon;
}

namespace {

// The designed logo: the product name on a soft gradient.
QImage DesignedLogo(const QSize& size) {
  QImage img(size, QImage::Format_ARGB32_Premultiplied);
  QPainter p(&img);
  QLinearGradient g(0, 0, 0, size.height());
  g.setColorAt(0, QColor(0x1d, 0x4e, 0x89));
  g.setColorAt(1, QColor(0x0b, 0x2a, 0x4f));
  p.fillRect(img.rect(), g);
  p.setPen(Qt::white);
  QFont f(QStringLiteral("Liberation Sans"));
  f.setPixelSize(40);
  f.setBold(true);
  p.setFont(f);
  p.drawText(QRect(0, 40, size.width(), 60), Qt::AlignCenter, QStringLiteral("Solvenor Vandrel 2010"));
  f.setPixelSize(18);
  f.setBold(false);
  p.setFont(f);
  p.setPen(QColor(0xcf, 0xe3, 0xff));
  p.drawText(QRect(0, 110, size.width(), 30), Qt::AlignCenter,
             QStringLiteral("Zeznania podatkowe PIT za rok 2010"));
  p.drawText(QRect(0, 140, size.width(), 30), Qt::AlignCenter,
             QStringLiteral("PIT-28, PIT-36, PIT-36L, PIT-37, PIT-38, PIT-39, PIT-40"));
  return img;
}

QImage Blend(const QImage& a, const QImage& b, double w) {
  QImage out(a.size(), QImage::Format_ARGB32_Premultiplied);
  QPainter p(&out);
  p.drawImage(0, 0, a);
  p.setOpacity(w);
  p.drawImage(QRect(QPoint(0, 0), a.size()), b);
  return out;
}

}  // namespace

TSplashScreen::TSplashScreen(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TSplashScreen"));
  setWindowTitle(QStringLiteral("Solvenor Vandrel 2010"));
  setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
  const QSize size(560, 220);
  from_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
  from_.fill(Qt::white);
  to_ = DesignedLogo(size);
  QImage logo(ProgramFile(QStringLiteral("opp.jpg")));
  if (!logo.isNull()) {
    QImage framed(size, QImage::Format_ARGB32_Premultiplied);
    framed.fill(Qt::white);
    QPainter p(&framed);
    QImage scaled = logo.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    p.drawImage((size.width() - scaled.width()) / 2, (size.height() - scaled.height()) / 2, scaled);
    to_ = framed;
  }
  auto* frame = new QFrame(this);
  frame->setFrameShape(QFrame::Box);
  frame->setStyleSheet(QStringLiteral("QFrame#splash{background:white;border:1px solid #7a8ba0;}"));
  frame->setObjectName(QStringLiteral("splash"));
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(frame);
  auto* v = new QVBoxLayout(frame);
  picture_ = new QLabel(frame);
  picture_->setPixmap(QPixmap::fromImage(from_));
  v->addWidget(picture_);
  auto* buttons = new QHBoxLayout;
  run_ = new QPushButton(QStringLiteral("Uruchom\r\nprogram").replace(QStringLiteral("\r\n"), QStringLiteral("\n")), frame);
  run_->setObjectName(QStringLiteral("btnRun"));
  update_ = new QPushButton(
      QStringLiteral("Sprawdź czy jest\r\n  nowsza wersja").replace(QStringLiteral("\r\n"), QStringLiteral("\n")), frame);
  update_->setObjectName(QStringLiteral("btnUpdate"));
  auto* www = new QPushButton(QStringLiteral("Vandrel w internecie"), frame);
  for (QPushButton* b : {run_, update_, www}) {
    b->setMinimumSize(150, 46);
    b->setVisible(false);
  }
  buttons->addWidget(www);
  buttons->addStretch();
  buttons->addWidget(update_);
  buttons->addWidget(run_);
  v->addLayout(buttons);
  run_->setDefault(true);
  connect(run_, &QPushButton::clicked, this, &QDialog::accept);
  connect(update_, &QPushButton::clicked, this, &TSplashScreen::CheckForUpdate);
  connect(www, &QPushButton::clicked, this, [] { QDesktopServices::openUrl(QUrl(QString::fromUtf8(kProductUrl))); });
  timer_ = new QTimer(this);
  timer_->setInterval(25);
  connect(timer_, &QTimer::timeout, this, &TSplashScreen::Step);
}

int TSplashScreen::exec() {
  step_ = 0;
  timer_->start();
  return QDialog::exec();
}

void TSplashScreen::Step() {
  picture_->setPixmap(QPixmap::fromImage(Blend(from_, to_, step_ / 16.0)));
  if (++step_ > 16) {
    timer_->stop();
    for (auto* b : findChildren<QPushButton*>()) b->setVisible(b != update_ || !solv::Store().installed);
    run_->setFocus();
  }
}

void TSplashScreen::CheckForUpdate() {
  hide();
  const QString updater = ProgramFile(QStringLiteral("renovo"));
  if (!QFile::exists(updater) || !QProcess::startDetached(updater, {})) {
    ShowInfoBox(this, QStringLiteral("Informacja"),
                QStringLiteral("Nie znaleziono programu aktualizującego:\n%1").arg(updater), 'i');
  }
  reject();
}

std::string TFOrganizacje::OrganisationMarkup() {
  const std::string name = solv::OppName();
  return "<color=$000080FF>Uwaga: korzystając z tej wersji programu przekażesz 1% swojego podatku na rzecz "
         "organizacji pożytku publicznego " +
         name + "</color><br><br>" + "Program, na zlecenie organizacji pożytku publicznego " + name +
         " przygotował portal " + "<link=" + kPortalUrl + ">Vandrel</link>";
}

TFOrganizacje::TFOrganizacje(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TFOrganizacje"));
  setWindowTitle(QStringLiteral("Solvenor Vandrel 2010"));
  setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
  setFixedSize(583, 221);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);
  // A frameless window draws its own edge and a header in the product's
  // colours, as the start screen does.
  auto* edge = new QFrame(this);
  edge->setObjectName(QStringLiteral("orgEdge"));
  edge->setGeometry(0, 0, 583, 221);
  edge->setStyleSheet(QStringLiteral("QFrame#orgEdge{background:white;border:1px solid #7a8ba0;}"));
  auto* header = new QFrame(this);
  header->setObjectName(QStringLiteral("orgHeader"));
  header->setGeometry(1, 1, 581, 34);
  header->setStyleSheet(QStringLiteral(
      "QFrame#orgHeader{background:qlineargradient(x1:0,y1:0,x2:1,y2:0,stop:0 #1d4e89,stop:1 #3a78c2);}"
      "QLabel{color:white;background:transparent;}"));
  auto* h = new QHBoxLayout(header);
  h->setContentsMargins(12, 0, 12, 0);
  auto* product = new QLabel(QStringLiteral("<b>Solvenor Vandrel 2010</b>"), header);
  QFont hf = product->font();
  hf.setPointSize(11);
  product->setFont(hf);
  h->addWidget(product);
  h->addStretch();
  h->addWidget(new QLabel(QStringLiteral("1% podatku dla organizacji pożytku publicznego"), header));
  link_ = new QLabel(this);
  link_->setObjectName(QStringLiteral("LinkLabel"));
  link_->setGeometry(16, 48, 551, 118);
  link_->setWordWrap(true);
  link_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  link_->setTextFormat(Qt::RichText);
  link_->setOpenExternalLinks(false);
  QFont f = link_->font();
  f.setPointSize(11);
  link_->setFont(f);
  link_->setText(QString::fromStdString(solv::MarkupToRichText(OrganisationMarkup())));
  connect(link_, &QLabel::linkActivated, this, [](const QString& url) { QDesktopServices::openUrl(QUrl(url)); });
  auto* line = new QFrame(this);
  line->setGeometry(16, 221 - 52, 551, 1);
  line->setStyleSheet(QStringLiteral("background:#d5dbe3;"));
  auto* next = new QPushButton(QStringLiteral("Dalej"), this);
  next->setObjectName(QStringLiteral("btnDalej"));
  next->setGeometry(583 - 16 - 100, 221 - 12 - 30, 100, 30);
  next->setDefault(true);
  next->setCursor(Qt::PointingHandCursor);
  connect(next, &QPushButton::clicked, this, &QDialog::accept);
}

namespace {
bool organisationShown = false;
}  // namespace

bool OrganisationShown() { return organisationShown; }

void ShowOrganisationOnce(QWidget* parent) {
  if (organisationShown) return;
  organisationShown = true;
  TFOrganizacje w(parent);
  w.exec();
}

}  // namespace solv::app
