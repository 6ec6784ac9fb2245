#include "main_window.hpp"

#include "dictionary_window.hpp"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPointer>
#include <QFile>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QInputDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStandardPaths>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "calc/dispatch.hpp"
#include "calc/transfer_rules.hpp"
#include "check_window.hpp"
#include "print_dialogs.hpp"
#include "qt_printer.hpp"
#include "form_his.hpp"
#include "help.hpp"
#include "markers.hpp"
#include "messages/markup.hpp"
#include "messages/messages.hpp"
#include "page_window.hpp"
#include "qt_messages.hpp"
#include "report/page_definition.hpp"
#include "services/message_service.hpp"
#include "joint_window.hpp"
#include "markers.hpp"
#include "shell/box_locking.hpp"
#include "shell/edit_history.hpp"
#include "shell/transfers.hpp"
#include "shell/go_to_box.hpp"
#include "shell/links.hpp"
#include "shell/window_layout.hpp"
#include "shell/zoom.hpp"
#include "start_windows.hpp"
#include "store/forms.hpp"
#include "store/store.hpp"

namespace solv::app {
namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

bool SameName(const std::string& a, const std::string& b) {
  return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

PageWindow* PageOf(QMdiSubWindow* w) { return w ? qobject_cast<PageWindow*>(w->widget()) : nullptr; }

constexpr int kWarningPanelHeight = 100;  // opened by a warning marker
constexpr int kPageWindowWidth = 817 + 40;  // the sheet, its margin and a scroll bar

WindowRect RectOf(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }
QRect QRectOf(const WindowRect& r) { return {r.x, r.y, r.w, r.h}; }

// The system menu of a window in the document area closes it with Ctrl+W
// and Ctrl+F4, keys of the main window's own actions; two owners of a key
// make it do nothing. The menu's items keep no shortcuts, so the keys reach
// the main window's actions ("Zamknij" closes the page as the menu would).
void DropSystemMenuShortcuts(QMdiSubWindow* w) {
  if (QMenu* menu = w ? w->systemMenu() : nullptr)
    for (QAction* a : menu->actions()) a->setShortcuts({});
}

}  // namespace

TFormOkno_glowne::TFormOkno_glowne(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("TFormOkno_glowne"));
  setWindowTitle(QStringLiteral("Solvenor Vandrel 2010"));
  zoom_ = ReadZoomSetting();
  BuildActions();
  BuildMenus();
  BuildCentral();
  BuildToolbarWindow();
  SetReloadOpenPages([this] {
    for (QMdiSubWindow* w : mdi_->subWindowList())
      if (PageWindow* p = PageOf(w)) p->ReloadCells();
  });
  UpdateUndoActions();
  resize(1180, 860);
}

TFormOkno_glowne::~TFormOkno_glowne() {
  SetReloadOpenPages({});
  destroying_ = true;
  // The page windows go with the document area; nothing of this window may
  // answer their going.
  disconnect(mdi_, nullptr, this, nullptr);
  // Every page window, also one closed and waiting for its deletion, which
  // the area no longer lists.
  for (QMdiSubWindow* w : mdi_->findChildren<QMdiSubWindow*>()) disconnect(w, nullptr, this, nullptr);
}

QAction* TFormOkno_glowne::Action(const QString& name) const {
  auto it = actions_.find(name);
  return it == actions_.end() ? nullptr : it->second;
}

QPushButton* TFormOkno_glowne::FormButton(const QString& actionName) const {
  auto it = formButtons_.find(actionName);
  return it == formButtons_.end() ? nullptr : it->second;
}

void TFormOkno_glowne::BuildActions() {
  auto add = [this](const char* name, const QString& caption, auto slot) {
    auto* a = new QAction(caption, this);
    a->setObjectName(QString::fromUtf8(name));
    connect(a, &QAction::triggered, this, slot);
    actions_[a->objectName()] = a;
    return a;
  };
  // An installed copy is updated by the system's package manager.
  add("Action7", QStringLiteral("A&ktualizacja programu"), [this] { StartUpdater(false); })
      ->setVisible(!Store().installed);
  add("Action4", QStringLiteral("Sprawdź czy jest nowsza wersja"), [this] { StartUpdater(true); })
      ->setVisible(!Store().installed);
  add("ActionOProgramie", QStringLiteral("O programie..."), [this] {
    InfoBox(AboutText(Store().installed, VersionText(), DataFolder().string(), ProgramFolder().string()),
            "O programie");
  });
  // The set-up works on the program's printer, which every print uses.
  add("FilePrintSetup1", QStringLiteral("&Ustawienia drukarki"), [this] {
    QPrintDialog dialog(&ProgramPrinter(), this);
    dialog.setWindowTitle(QStringLiteral("Ustawienia drukarki"));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.exec();
  });
  QAction* online = add("ActionPomocWWW", QStringLiteral("Aktywna pomoc on-line"), [this] {
    if (HelpOnline()) {
      PlaceHelpMarkers();
    } else {
      for (QMdiSubWindow* w : mdi_->subWindowList())
        if (PageWindow* p = PageOf(w)) RemoveMarkers(*p, MarkerFamily::Help);
    }
  });
  online->setCheckable(true);
  add("Action1", QStringLiteral("&Zakończ"), [this] { close(); })->setShortcut(QKeySequence(QStringLiteral("Alt+F4")));
  add("Action20", QStringLiteral("Otwórz..."), [this] { OpenSetDialog(); });
  add("Action6", QStringLiteral("Pomoc"), [] { ShowHelpTopic(QStringLiteral("Instrukcja")); });
  add("Action11", QStringLiteral("Licencja"), [] { ShowHelpTopic(QStringLiteral("Licencja")); });
  add("Action12", QStringLiteral("Najczęściej zadawane pytania"), [] { OpenWebPage(kFaqUrl); });
  add("Action10", QStringLiteral("Nasza oferta"), [] { OpenWebPage(kOfferUrl); });
  add("Action13", QStringLiteral("Solvenor 2010 w internecie"), [] { OpenWebPage(kProductUrl); });
  add("Action14", QStringLiteral("Vandrel"), [] { ShowLocalPage(QStringLiteral("html/vandrel/vandrel.html")); });
  add("Action8", QStringLiteral("Połącz z witryną użytkowników"), [] { OpenWebPage(kUsersUrl); });
  add("Action2", QStringLiteral("&Drukuj..."), [this] { PrintAction(); })->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
  const char letters[] = "abcdef";
  for (int i = 0; i < 6; ++i) {
    const char letter = letters[i];
    QAction* a = add((std::string("Action_") + letter).c_str(), QString::number(i + 1), [this, letter] { SwitchPage(letter); });
    a->setCheckable(true);
    a->setToolTip(QStringLiteral("Strona %1 formularza").arg(i + 1));
    pageActions_.push_back(a);
  }
  QAction* test = add("ActionTestBierz", QStringLiteral("Spra&wdź bieżący formularz"), [this] {
    if (!formBar_->isVisible()) return;
    RequestRefresh();
    RefreshPoint();
    SetMessagesPanelOpen(true);
  });
  test->setShortcuts({QKeySequence(QStringLiteral("Ctrl+W")), QKeySequence(Qt::Key_F5)});
  add("ActionUsun", QStringLiteral("&Usuń"), [this] { DeleteAction(); });
  add("ActionCofnij", QStringLiteral("&Cofnij"), [this] { UndoRedo(true); })
      ->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
  add("ActionPonow", QStringLiteral("&Ponów"), [this] { UndoRedo(false); })
      ->setShortcuts({QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});
  add("ActionIdzDo", QStringLiteral("&Przejdź do pozycji..."), [this] { GoToBoxAction(); })
      ->setShortcut(QKeySequence(QStringLiteral("Ctrl+G")));
  // Closing empties the message list and the panel with it, markers too.
  QAction* close = add("Action3", QStringLiteral("&Zamknij"), [this] {
    if (QMdiSubWindow* w = mdi_->activeSubWindow(); PageOf(w)) {
      ClosePage(PageOf(w)->InstanceName());
      ClearMessages();
      RequestRefresh();
      RefreshPoint();
    }
  });
  close->setShortcut(QKeySequence(QStringLiteral("Ctrl+F4")));
  add("Action5", QStringLiteral("Z&amknij wszystkie"), [this] {
    CloseAllPages();
    EnableFormActions();
    ClearMessages();
    RequestRefresh();
    RefreshPoint();
  });
  for (const FormAction& fa : kFormActions) {
    QAction* a = add(fa.action, QString::fromUtf8(fa.caption), [this, &fa] { RunFormAction(fa, *this, AskThroughBoxes); });
    a->setToolTip(Q(FormActionHint(fa)));
  }
  // Plus needs Shift on many keyboards: Ctrl+= zooms in too.
  add("ActionPowieksz", QStringLiteral("Powię&ksz"), [this] { SetZoom(ZoomIn(zoom_)); })
      ->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
  add("ActionPomniejsz", QStringLiteral("Po&mniejsz"), [this] { SetZoom(ZoomOut(zoom_)); })
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
  add("ActionRozmiar100", QStringLiteral("&Rozmiar rzeczywisty (100%)"), [this] { SetZoom(kZoomDefault); })
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
  add("ActionKaskada", QStringLiteral("&Kaskadowo"), [this] { CascadeWindows(); });
  add("ActionSasiadujaco", QStringLiteral("&Sąsiadująco"), [this] { TileWindows(); });
  add("ActionSlownik", QStringLiteral("Podmioty"), [this] { TFormSlow::Open(1, this); });
  add("Action15", QStringLiteral("Osoby"), [this] { TFormSlow::Open(2, this); });
  add("Action16", QStringLiteral("Stany Cywilne"), [this] { TFormSlow::Open(3, this); });
  add("ActionCalc", QStringLiteral("Kalkulator"), [this] { StartCalculator(); })->setToolTip(QStringLiteral("Kalkulator podręczny"));
  add("ActionTestZezn", QStringLiteral("Sprawdź zeznanie"), [this] { CheckWholeReturnAction(); })
      ->setToolTip(QStringLiteral("Sprawdź całe zeznanie podatkowe"));
  add("ActionRazemOsobno", QStringLiteral("Razem czy osobno"), [this] { OpenJointWindow(); })
      ->setToolTip(QStringLiteral("Symulacja korzyści rozliczenia wspólnego"));
}

void TFormOkno_glowne::BuildMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu"));
  bar->setToolTip(QString());
  bar->setAccessibleName(QStringLiteral("Główne menu programu"));
  QMenu* program = bar->addMenu(QStringLiteral("&Program"));
  program->addAction(Action(QStringLiteral("Action7")));
  program->addAction(Action(QStringLiteral("FilePrintSetup1")));
  program->addAction(Action(QStringLiteral("ActionPomocWWW")));
  program->addSeparator();
  program->addAction(Action(QStringLiteral("Action1")));
  QMenu* sets = bar->addMenu(QStringLiteral("&Zestawy danych"));
  sets->addAction(Action(QStringLiteral("Action20")));
  QMenu* edit = bar->addMenu(QStringLiteral("&Edycja"));
  edit->setObjectName(QStringLiteral("MenuEdycja"));
  edit->addAction(Action(QStringLiteral("ActionCofnij")));
  edit->addAction(Action(QStringLiteral("ActionPonow")));
  edit->addSeparator();
  edit->addAction(Action(QStringLiteral("ActionIdzDo")));
  connect(edit, &QMenu::aboutToShow, this, [this] { UpdateUndoActions(); });
  QMenu* dictionaries = bar->addMenu(QStringLiteral("&Słowniki"));
  for (const char* name : {"ActionSlownik", "Action15", "Action16"}) dictionaries->addAction(Action(QString::fromLatin1(name)));
  auto* view = new QMenu(QStringLiteral("&Widok"), bar);
  view->setObjectName(QStringLiteral("MenuWidok"));
  for (const char* name : {"ActionPowieksz", "ActionPomniejsz", "ActionRozmiar100"})
    view->addAction(Action(QString::fromLatin1(name)));
  bar->insertMenu(dictionaries->menuAction(), view);  // after "Edycja"
  windowMenu_ = bar->addMenu(QStringLiteral("&Okno"));
  windowMenu_->setObjectName(QStringLiteral("MenuOkno"));
  windowMenu_->addAction(Action(QStringLiteral("ActionKaskada")));
  windowMenu_->addAction(Action(QStringLiteral("ActionSasiadujaco")));
  windowsSeparator_ = windowMenu_->addSeparator();
  connect(windowMenu_, &QMenu::aboutToShow, this, &TFormOkno_glowne::FillWindowMenu);
  QMenu* info = bar->addMenu(QStringLiteral("&Informacje"));
  info->addAction(Action(QStringLiteral("Action6")));
  info->addAction(Action(QStringLiteral("Action11")));
  info->addAction(Action(QStringLiteral("Action12")));
  info->addSeparator();
  info->addAction(Action(QStringLiteral("Action10")));
  info->addSeparator();
  info->addAction(Action(QStringLiteral("Action13")));
  info->addSeparator();
  info->addAction(Action(QStringLiteral("ActionOProgramie")));
  QMenu* pres = bar->addMenu(QStringLiteral("P&rezentacja"));
  pres->addAction(Action(QStringLiteral("Action14")));

  // The form toolbar stands in a strip of its own height that stays when
  // the toolbar is hidden: the document area never moves under the pointer
  // (a press on the Menu window hides the toolbar before its release).
  formBar_ = new QToolBar(QStringLiteral("Pasek formularzy"), this);
  formBar_->setObjectName(QStringLiteral("PasekFormularzy"));
  formBar_->setMovable(false);
  formBar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
  formBar_->addAction(Action(QStringLiteral("Action2")));
  formBar_->addSeparator();
  for (QAction* a : pageActions_) formBar_->addAction(a);
  formBar_->addSeparator();
  formBar_->addAction(Action(QStringLiteral("ActionTestBierz")));
  formBar_->addAction(Action(QStringLiteral("ActionUsun")));
  formBar_->addSeparator();
  formBar_->addAction(Action(QStringLiteral("Action3")));
  QAction* all = Action(QStringLiteral("Action5"));
  formBar_->addAction(all);
  formBar_->addSeparator();
  zoomBox_ = new QComboBox(formBar_);
  zoomBox_->setObjectName(QStringLiteral("zoomBox"));
  zoomBox_->setToolTip(QStringLiteral("Powiększenie stron formularzy (%1–%2%)").arg(kZoomMin).arg(kZoomMax));
  zoomBox_->setEditable(true);
  zoomBox_->setInsertPolicy(QComboBox::NoInsert);
  for (int step : kZoomSteps) zoomBox_->addItem(Q(ZoomText(step)), step);
  zoomBox_->setCurrentText(Q(ZoomText(zoom_)));
  connect(zoomBox_, &QComboBox::textActivated, this, &TFormOkno_glowne::ZoomBoxEntered);
  connect(zoomBox_->lineEdit(), &QLineEdit::editingFinished, this,
          [this] { ZoomBoxEntered(zoomBox_->currentText()); });
  formBar_->addWidget(zoomBox_);
  formBar_->hide();
}

void TFormOkno_glowne::SetZoom(int percent) {
  zoom_ = ClampZoom(percent);
  for (QMdiSubWindow* w : mdi_->subWindowList())
    if (PageWindow* p = PageOf(w)) p->SetZoom(zoom_);
  const QString text = Q(ZoomText(zoom_));
  if (zoomBox_->currentText() != text) zoomBox_->setCurrentText(text);
  WriteZoomSetting(zoom_);
}

// A typed zoom out of the range is clamped; a text that is no zoom puts
// the box back to the zoom in force.
void TFormOkno_glowne::ZoomBoxEntered(const QString& text) {
  const std::optional<int> typed = ParseZoom(text.toStdString());
  SetZoom(typed ? *typed : zoom_);
  zoomBox_->setCurrentText(Q(ZoomText(zoom_)));
}

void TFormOkno_glowne::BuildCentral() {
  auto* central = new QWidget(this);
  auto* v = new QVBoxLayout(central);
  v->setContentsMargins(0, 0, 0, 0);
  v->setSpacing(0);

  auto* barStrip = new QWidget(central);
  barStrip->setObjectName(QStringLiteral("formBarStrip"));
  auto* barLayout = new QVBoxLayout(barStrip);
  barLayout->setContentsMargins(0, 0, 0, 0);
  formBar_->setParent(barStrip);
  barLayout->addWidget(formBar_);
  barStrip->setFixedHeight(formBar_->sizeHint().height());
  v->addWidget(barStrip);

  auto* strip = new QFrame(central);
  strip->setObjectName(QStringLiteral("infoStrip"));
  strip->setStyleSheet(QStringLiteral(
      "QFrame#infoStrip{background:qlineargradient(x1:0,y1:0,x2:1,y2:0,stop:0 #1d4e89,stop:1 #3a78c2);}"
      "QFrame#infoStrip QLabel{color:white;}"));
  auto* h = new QHBoxLayout(strip);
  h->setContentsMargins(10, 4, 10, 4);
  auto* logo = new QLabel(strip);
  logo->setText(QStringLiteral("<b style='font-size:15px'>Solvenor Vandrel 2010</b>"));
  h->addWidget(logo);
  h->addSpacing(20);
  version_ = new QLabel(QStringLiteral("Program:  wersja z dnia "), strip);
  version_->setObjectName(QStringLiteral("lblWersja"));
  version_->hide();  // until the version of the program is known
  h->addWidget(version_);
  h->addStretch();
  auto* present = new QPushButton(QStringLiteral("Prezentacja"), strip);
  present->setCursor(Qt::PointingHandCursor);
  connect(present, &QPushButton::clicked, Action(QStringLiteral("Action14")), &QAction::trigger);
  h->addWidget(present);
  auto* social = new QLabel(QStringLiteral("<a style='color:white' href='%1'>Dołącz do nas na Facebooku</a>")
                                .arg(QString::fromUtf8(kSocialUrl)),
                            strip);
  connect(social, &QLabel::linkActivated, this, [] { OpenWebPage(kSocialUrl); });
  h->addWidget(social);
  v->addWidget(strip);

  splitter_ = new QSplitter(Qt::Vertical, central);
  mdi_ = new QMdiArea(splitter_);
  mdi_->setObjectName(QStringLiteral("DocumentArea"));
  mdi_->setBackground(QColor(0x6b, 0x7f, 0x99));
  mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  connect(mdi_, &QMdiArea::subWindowActivated, this, &TFormOkno_glowne::SubWindowActivated);
  mdi_->viewport()->installEventFilter(this);
  // A window closed gives the activation back to the one active before it
  // (not to the Menu window, the first created).
  mdi_->setActivationOrder(QMdiArea::ActivationHistoryOrder);
  splitter_->addWidget(mdi_);

  auto* panel = new QWidget(splitter_);
  auto* pv = new QVBoxLayout(panel);
  pv->setContentsMargins(0, 0, 0, 0);
  pv->setSpacing(0);
  auto* header = new QToolButton(panel);
  header->setObjectName(QStringLiteral("messagesToggle"));
  header->setText(QStringLiteral("Komunikaty"));
  header->setToolTip(QStringLiteral("rozwiń listę komunikatów"));
  header->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  header->setArrowType(Qt::UpArrow);
  header->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  header->setAutoRaise(true);
  connect(header, &QToolButton::clicked, this, [this] {
    SetMessagesPanelOpen(messagesScroll_->height() < 20);
  });
  pv->addWidget(header);
  messagesScroll_ = new QScrollArea(panel);
  messagesScroll_->setWidgetResizable(true);
  messagesScroll_->setMinimumHeight(1);  // lets the panel close down to its header
  messagesScroll_->setStyleSheet(QStringLiteral("QScrollArea{background:white;border-top:1px solid #9aa;}"));
  messages_ = new QLabel(messagesScroll_);
  messages_->setObjectName(QStringLiteral("LinkLabelMessages"));
  messages_->setWordWrap(true);
  messages_->setTextFormat(Qt::RichText);
  messages_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  messages_->setMargin(8);
  messages_->setStyleSheet(QStringLiteral("background:white;"));
  connect(messages_, &QLabel::linkActivated, this, &TFormOkno_glowne::FollowLink);
  messagesScroll_->setWidget(messages_);
  pv->addWidget(messagesScroll_);
  splitter_->addWidget(panel);
  splitter_->setCollapsible(0, false);
  splitter_->setStretchFactor(0, 1);
  splitter_->setSizes({700, kMessagesOpenHeight});
  splitter_->handle(1)->setToolTip(QStringLiteral("rozwiń listę komunikatów"));
  v->addWidget(splitter_, 1);
  setCentralWidget(central);
  SetMessagesPanelOpen(false);  // nothing to list before a set is open
}

void TFormOkno_glowne::SetMessagesPanelOpen(bool open, int height) {
  QList<int> sizes = splitter_->sizes();
  const int total = sizes.value(0) + sizes.value(1);
  const int header = 24;
  const int panel = open ? header + height : header;
  splitter_->setSizes({total - panel, panel});
  if (auto* t = findChild<QToolButton*>(QStringLiteral("messagesToggle"))) t->setArrowType(open ? Qt::DownArrow : Qt::UpArrow);
}

void TFormOkno_glowne::BuildToolbarWindow() {
  auto* content = new QWidget;
  content->setObjectName(QStringLiteral("TFormMainToolbar"));
  auto* v = new QVBoxLayout(content);
  v->setContentsMargins(4, 4, 4, 4);
  v->setSpacing(6);
  buttonPanel_ = new QWidget(content);
  buttonPanel_->setObjectName(QStringLiteral("FormButtons"));
  for (int i = 0; i < kToolbarActionCount; ++i) {
    const FormAction& fa = kFormActions[static_cast<size_t>(i)];
    QAction* a = Action(QString::fromUtf8(fa.action));
    auto* b = new QPushButton(a->text(), buttonPanel_);
    b->setObjectName(QStringLiteral("btn") + a->objectName());
    b->setToolTip(a->toolTip());
    b->setGeometry(0, 25 * i, 120, 24);
    connect(b, &QPushButton::clicked, a, &QAction::trigger);
    formButtons_[a->objectName()] = b;
  }
  v->addWidget(buttonPanel_);
  auto* line = new QFrame(content);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  v->addWidget(line);
  for (const char* name : {"ActionRazemOsobno", "ActionTestZezn", "ActionCalc"}) {
    QAction* a = Action(QString::fromUtf8(name));
    auto* b = new QPushButton(a->text(), content);
    b->setObjectName(QStringLiteral("btn") + a->objectName());
    b->setToolTip(a->toolTip());
    b->setFixedSize(120, 28);
    connect(b, &QPushButton::clicked, a, &QAction::trigger);
    formButtons_[a->objectName()] = b;
    v->addWidget(b);
  }
  v->addStretch();
  toolbarWindow_ = mdi_->addSubWindow(content, Qt::SubWindow | Qt::WindowTitleHint | Qt::CustomizeWindowHint);
  toolbarWindow_->setWindowTitle(QStringLiteral("Menu"));
  toolbarWindow_->setObjectName(QStringLiteral("FormMainToolbar"));
  DropSystemMenuShortcuts(toolbarWindow_);
  toolbarWindow_->move(0, 0);
  toolbarWindow_->resize(140, 520);
  toolbarWindow_->show();
  EnableFormActions();
}

void TFormOkno_glowne::EnableFormActions() {
  const auto visible = FormActionsVisible();
  const ToolbarLayout layout = LayOutToolbar(visible);
  for (int i = 0; i < kToolbarActionCount; ++i) {
    const FormAction& fa = kFormActions[static_cast<size_t>(i)];
    QAction* a = Action(QString::fromUtf8(fa.action));
    a->setVisible(visible[static_cast<size_t>(i)]);
    a->setEnabled(visible[static_cast<size_t>(i)]);
    QPushButton* b = FormButton(a->objectName());
    b->setVisible(visible[static_cast<size_t>(i)]);
    if (layout.top[static_cast<size_t>(i)] >= 0) b->move(0, layout.top[static_cast<size_t>(i)]);
  }
  for (int i = 0; i < 4; ++i) {
    QAction* a = Action(QString::fromUtf8(kFormActions[static_cast<size_t>(kToolbarActionCount + i)].action));
    a->setEnabled(true);
  }
  buttonPanel_->setFixedSize(120, layout.panelHeight);
  if (toolbarWindow_) toolbarWindow_->resize(toolbarWindow_->widget()->sizeHint() + QSize(12, 34));
}

bool TFormOkno_glowne::StartUp() {
  TFormHis dialog(this);
  dialog.setProperty("keepRunning", true);
  dialog.exec();
  if (dialog.NoSetOpen()) return false;
  started_ = true;
  ShowSetAccess();
  SetMessagesPanelOpen(true);
  EnableFormActions();
  ClearMessages();
  RequestRefresh();
  RefreshPoint();
  const std::string version = VersionText();
  version_->setText(QStringLiteral("Program:  wersja z dnia ") + Q(version));
  version_->setVisible(!version.empty());
  return true;
}

void TFormOkno_glowne::OpenSetDialog() {
  // The box being edited belongs to the set open now: it is stored there (or
  // dropped when its text is refused) before the dialog may open, create or
  // delete another set.
  LeaveEditors();
  TFormHis dialog(this);
  dialog.setProperty("keepRunning", true);
  const int r = dialog.exec();
  if (dialog.NoSetOpen()) {
    close();
    return;
  }
  if (r == QDialog::Accepted) {
    CloseAllPages();
    EnableFormActions();
    ClearMessages();
    RequestRefresh();
    RefreshPoint();
  }
  ShowSetAccess();
}

void TFormOkno_glowne::LeaveEditors() {
  for (QMdiSubWindow* w : mdi_->subWindowList())
    if (PageWindow* p = PageOf(w); p && !p->CurrentCell().empty() && !p->LeaveEditor()) p->HideEditor();
}

void TFormOkno_glowne::ShowSetAccess() {
  setWindowTitle(Store().readOnly ? QStringLiteral("Solvenor Vandrel 2010 – zestaw tylko do odczytu")
                                  : QStringLiteral("Solvenor Vandrel 2010"));
}

std::vector<std::string> TFormOkno_glowne::OpenWindowNames() const {
  std::vector<std::string> out;
  for (QMdiSubWindow* w : mdi_->subWindowList())
    if (PageWindow* p = PageOf(w)) out.push_back(p->InstanceName());
  return out;
}

QMdiSubWindow* TFormOkno_glowne::SubWindowOf(const std::string& instanceName) const {
  for (QMdiSubWindow* w : mdi_->subWindowList())
    if (PageWindow* p = PageOf(w); p && SameName(p->InstanceName(), instanceName)) return w;
  return nullptr;
}

PageWindow* TFormOkno_glowne::Page(const std::string& instanceName) const { return PageOf(SubWindowOf(instanceName)); }
PageWindow* TFormOkno_glowne::ActivePage() const { return PageOf(mdi_->activeSubWindow()); }

void TFormOkno_glowne::CreatePage(const std::string& className, const std::string& instanceName) {
  const PageDefinition* def = FindPage(className);
  if (!def) return;
  busy_ = true;
  const std::string name = instanceName.empty() ? def->info.pageName : instanceName;
  auto* page = new PageWindow(*def, name);
  page->SetZoom(zoom_);
  page->onStored = [this] { RefreshPoint(); };
  page->onFollowLink = [this](const QString& link) { ShowBox(link); };
  page->lockOpenPages = [this] { LockOpenPages(); };
  QMdiSubWindow* sub = mdi_->addSubWindow(page, Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                                     Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->installEventFilter(this);
  DropSystemMenuShortcuts(sub);
  sub->setWindowTitle(Q(def->info.Caption()));
  // Each new window takes the first free place of the cascade right of the
  // Menu window, reaching to the bottom of the document area.
  std::vector<WindowRect> open;
  for (QMdiSubWindow* w : mdi_->subWindowList())
    if (w != sub && PageOf(w)) open.push_back(RectOf(w->geometry()));
  const QRect place = QRectOf(NewWindowPlace(PageArea(), kPageWindowWidth, open));
  sub->setGeometry(place);
  connect(sub, &QObject::destroyed, this, [this] {
    if (!destroying_ && !ActivePage()) formBar_->hide();
  });
  formBar_->show();
  sub->show();
  sub->setGeometry(place);
  busy_ = false;
  mdi_->setActiveSubWindow(sub);
  SubWindowActivated(sub);
}

void TFormOkno_glowne::BringToFront(const std::string& instanceName) {
  if (QMdiSubWindow* w = SubWindowOf(instanceName)) {
    w->showNormal();
    mdi_->setActiveSubWindow(w);
  }
}

void TFormOkno_glowne::FocusPage(const std::string& instanceName) { BringToFront(instanceName); }

void TFormOkno_glowne::ReloadPage(const std::string& instanceName) {
  if (PageWindow* p = Page(instanceName)) p->ReloadCells();
}

void TFormOkno_glowne::ClosePage(const std::string& instanceName) {
  QMdiSubWindow* w = SubWindowOf(instanceName);
  if (!w) return;
  if (PageWindow* p = PageOf(w)) p->LeaveEditor();
  w->close();
  if (!ActivePage()) formBar_->hide();
}

void TFormOkno_glowne::CloseAllPages() {
  for (const std::string& name : OpenWindowNames()) ClosePage(name);
  formBar_->hide();
}

void TFormOkno_glowne::ShowSetList(const std::vector<std::string>& lines, const std::vector<std::string>& sections,
                                   const std::string& baseName) {
  auto* w = new TFormHis02(lines, sections, baseName, *this, this);
  w->show();
}

void TFormOkno_glowne::ShowFormMenu(int formIndex) {
  QMenu menu(this);
  for (int i = 0; i < 4; ++i) {
    const FormAction& fa = kFormActions[static_cast<size_t>(kToolbarActionCount + i)];
    const bool isM = std::string_view(fa.baseName).starts_with("PITM");
    if ((formIndex == kPITM) != isM) continue;
    menu.addAction(Action(QString::fromUtf8(fa.action)));
  }
  const char* button = formIndex == kPITM ? "ActionPITM" : "ActionPITZ";
  QPushButton* b = FormButton(QString::fromUtf8(button));
  const QPoint at = b ? b->mapToGlobal(QPoint(10, 10)) : QCursor::pos();
  menu.exec(at);
}

bool TFormOkno_glowne::HelpOnline() const { return Action(QStringLiteral("ActionPomocWWW"))->isChecked(); }

void TFormOkno_glowne::PlaceHelpMarkers() {
  PageWindow* page = ActivePage();
  if (!page) return;
  RemoveMarkers(*page, MarkerFamily::Help);
  for (const HelpMarker& hm : HelpMarkers(ProgramFolder(), page->InstanceName(), page->Info().tag)) {
    PageMarker* b = AddMarker(*page, MarkerFamily::Help, QPoint(hm.x, hm.y), Q(hm.Hint()));
    const QString topic = Q(hm.topic);
    b->onClick = [topic](PageMarker&) { ShowHelpTopic(topic); };
  }
}

void TFormOkno_glowne::SubWindowActivated(QMdiSubWindow* w) {
  // The document area reports its active window again whenever the main
  // window itself is activated; only a change of window activates a page.
  if (!w || w == lastActive_) return;
  DropSystemMenuShortcuts(w);  // also of windows others open here (the calculator)
  lastActive_ = w;
  if (w == toolbarWindow_) {
    formBar_->hide();
    return;
  }
  PageWindow* page = PageOf(w);
  if (!page) return;
  if (busy_) {
    lastActive_ = nullptr;
    return;
  }
  formBar_->show();
  const int pages = page->Info().pages;
  for (int i = 0; i < 6; ++i) {
    pageActions_[static_cast<size_t>(i)]->setVisible(i < pages);
    pageActions_[static_cast<size_t>(i)]->setChecked(i + 1 == page->Info().tag);
  }
  page->Activate();
  RefreshPoint();
}

void TFormOkno_glowne::LockOpenPages() {
  for (QMdiSubWindow* w : mdi_->subWindowList())
    if (PageWindow* p = PageOf(w)) ApplyLocking(p->Page(), p->InstanceName());
}

// The transfer and information markers of a page: amounts of attachments
// offered for its boxes, a locked box getting none; and the information
// that a box (a computed one too) was cut down by a limit.
void TFormOkno_glowne::PlaceTransfers(PageWindow& page) {
  std::vector<TransferMarker> markers;
  for (const auto& m : solv::MarkersFor(page.InstanceName(), page.Info().className)) {
    TKVZEditField* cell = page.Cell(m.cellName);
    if (!cell || (!m.information && !page.IsEditable(cell))) continue;
    TransferMarker marker{m.cellName, m.title, m.text, {}};
    if (!m.information) {
      QPointer<PageWindow> target(&page);
      marker.onClick = [target, m](PageMarker& button) {
        button.Shrink();
        ShowMarkerBalloon(button, Q(m.title), Q(m.text), [target, m] {
          if (target) ApplyTransfer(*target, m.cellName, m.value);
        });
      };
    }
    markers.push_back(std::move(marker));
  }
  PlaceTransferMarkers(page, markers);
}

// A transfer goes through the editor as if typed: the box takes the value
// when the editor is left, which stores and recalculates.
void TFormOkno_glowne::ApplyTransfer(PageWindow& page, const std::string& box, const std::string& value) {
  TKVZEditField* cell = page.Cell(box);
  if (!cell || !page.IsEditable(cell)) return;
  // The carry is written down with the entry, in the same write, so that
  // the check can tell a carried amount its source no longer shows; both
  // are one step to undo.
  const EditHistory::Operation step(SetHistory(), page.InstanceName(), box);
  const solv::SetHold hold;
  solv::RecordCarry(page.InstanceName(), box, value);
  page.ClickCell(cell);
  page.Editor()->setText(Q(value));
  page.LeaveEditor();
}

void TFormOkno_glowne::RefreshPoint() {
  // After the operation that came here has ended and become a step.
  QTimer::singleShot(0, this, [this] { UpdateUndoActions(); });
  if (PageWindow* page = ActivePage()) PlaceTransfers(*page);
  if (!refreshRequested_) return;
  refreshRequested_ = false;
  const std::string text = MessagesText();
  messages_->setText(Q(solv::MarkupToRichText(text)));
  // The warning markers show the panel's messages: those of other pages
  // stood for an earlier text.
  PageWindow* active = ActivePage();
  for (QMdiSubWindow* w : mdi_->subWindowList())
    if (PageWindow* p = PageOf(w); p && p != active) RemoveMarkers(*p, MarkerFamily::Warning);
  if (active) PlaceWarningMarkers(*active, text, [this] { SetMessagesPanelOpen(true, kWarningPanelHeight); });
}

WindowRect TFormOkno_glowne::PageArea() const {
  const int left = toolbarWindow_ && toolbarWindow_->isVisible() ? toolbarWindow_->geometry().right() + 2 : 0;
  const QSize area = mdi_->viewport()->size();
  return {left, 0, std::max(kMinWindowHeight, area.width() - left), std::max(kMinWindowHeight, area.height())};
}

std::vector<QMdiSubWindow*> TFormOkno_glowne::ArrangedWindows() const {
  std::vector<QMdiSubWindow*> out;
  for (QMdiSubWindow* w : mdi_->subWindowList(QMdiArea::CreationOrder))
    if (w != toolbarWindow_ && w->isVisible() && !w->isMinimized()) out.push_back(w);
  return out;
}

void TFormOkno_glowne::CascadeWindows() {
  const WindowRect area = PageArea();
  int k = 0;
  QMdiSubWindow* last = nullptr;
  for (QMdiSubWindow* w : ArrangedWindows()) {
    if (w->isMaximized()) w->showNormal();
    WindowRect r = CascadeRect(area, k++, PageOf(w) ? kPageWindowWidth : w->width());
    if (!PageOf(w)) r = FitInto({r.x, r.y, w->width(), w->height()}, area);  // the calculator keeps its size
    w->setGeometry(QRectOf(r));
    w->raise();
    last = w;
  }
  if (last) mdi_->setActiveSubWindow(last);
}

void TFormOkno_glowne::TileWindows() {
  const std::vector<QMdiSubWindow*> windows = ArrangedWindows();
  const std::vector<WindowRect> rects = TileRects(PageArea(), static_cast<int>(windows.size()));
  for (size_t i = 0; i < windows.size(); ++i) {
    if (windows[i]->isMaximized()) windows[i]->showNormal();
    windows[i]->setGeometry(QRectOf(rects[i]));
  }
}

// The open windows, numbered; the active one checked.
void TFormOkno_glowne::FillWindowMenu() {
  for (QAction* a : windowList_) {
    windowMenu_->removeAction(a);
    a->deleteLater();
  }
  windowList_.clear();
  int n = 0;
  for (QMdiSubWindow* w : mdi_->subWindowList(QMdiArea::CreationOrder)) {
    if (w == toolbarWindow_) continue;
    QString title = w->windowTitle();
    if (PageWindow* p = PageOf(w)) title += Q(InstanceLabel(p->InstanceName()));
    ++n;
    auto* a = new QAction((n < 10 ? QStringLiteral("&%1 ").arg(n) : QStringLiteral("%1 ").arg(n)) + title, windowMenu_);
    a->setCheckable(true);
    a->setChecked(w == mdi_->activeSubWindow());
    QPointer<QMdiSubWindow> target(w);
    connect(a, &QAction::triggered, this, [this, target] {
      if (!target) return;
      if (target->isMinimized()) target->showNormal();
      mdi_->setActiveSubWindow(target);
    });
    windowMenu_->addAction(a);
    windowList_.push_back(a);
  }
  windowsSeparator_->setVisible(n > 0);
}

bool TFormOkno_glowne::eventFilter(QObject* watched, QEvent* e) {
  // A form window closed in any way (its title bar, its system menu,
  // "Zamknij") stores the box being edited first; unless it only gives way
  // to another page of its form, the message list and the panel are emptied.
  if (e->type() == QEvent::Close && !destroying_)
    if (PageWindow* page = PageOf(qobject_cast<QMdiSubWindow*>(watched))) {
      if (!page->CurrentCell().empty() && !page->LeaveEditor()) page->HideEditor();
      if (!switching_) {
        ClearMessages();
        RequestRefresh();
        RefreshPoint();
      }
    }
  // Page windows that reached the bottom of the document area keep doing so
  // when the messages panel or the main window changes its height; none is
  // left taller than the area.
  if (watched == mdi_->viewport() && e->type() == QEvent::Resize) {
    auto* r = static_cast<QResizeEvent*>(e);
    const int oldHeight = r->oldSize().height(), newHeight = r->size().height();
    if (oldHeight > 0 && oldHeight != newHeight)
      for (QMdiSubWindow* w : mdi_->subWindowList())
        if (PageOf(w) && !w->isMinimized() && !w->isMaximized())
          w->setGeometry(QRectOf(FollowAreaHeight(RectOf(w->geometry()), oldHeight, newHeight)));
  }
  return QMainWindow::eventFilter(watched, e);
}

void TFormOkno_glowne::SwitchPage(char letter) {
  PageWindow* page = ActivePage();
  if (!page) return;
  const std::string cls = SwitchPageClass(page->Info().className, letter);
  if (cls.empty()) {
    for (int i = 0; i < 6; ++i) pageActions_[static_cast<size_t>(i)]->setChecked(i + 1 == page->Info().tag);
    return;
  }
  QMdiSubWindow* sub = mdi_->activeSubWindow();
  const std::string name = page->InstanceName();
  const QRect geometry = sub->geometry();
  page->LeaveEditor();
  switching_ = true;
  sub->close();
  switching_ = false;
  QApplication::processEvents();
  CreatePage(cls, name);
  if (QMdiSubWindow* now = SubWindowOf(name)) now->setGeometry(geometry);
  if (HelpOnline()) PlaceHelpMarkers();
}

void TFormOkno_glowne::DeleteAction() {
  PageWindow* page = ActivePage();
  if (!page) return;
  if (DeleteFormInstance(page->InstanceName(), *this, AskThroughBoxes)) {
    EnableFormActions();
    ClearMessages();
    RequestRefresh();
    RefreshPoint();
  }
}

void TFormOkno_glowne::FollowLink(const QString& param) {
  SetMessagesPanelOpen(false);
  const LinkTarget link = ParseLink(param.toStdString());
  // The correction is stored when the editor is left; the panel shows the
  // new messages at the refresh point after that. The request is raised
  // last: bringing the page, switching it and leaving a box edited there
  // each run a refresh point, which would use it up before the correction
  // is stored.
  struct RaiseAtEnd {
    TFormOkno_glowne& w;
    bool on;
    ~RaiseAtEnd() {
      if (on) w.RequestRefresh();
    }
  } raise{*this, link.correct};
  PageWindow* target = nullptr;
  for (QMdiSubWindow* w : mdi_->subWindowList())
    if (PageWindow* p = PageOf(w); p && LinkPageMatches(link.page, p->InstanceName())) {
      target = p;
      break;
    }
  if (!target) return;
  const std::string instance = target->InstanceName();
  BringToFront(instance);
  // The page that holds the box: a link may name the form's first page.
  if (const char letter = LinkPageLetter(LinkPage(link.page, link.box))) SwitchPage(letter);
  target = Page(instance);
  if (!target) return;
  // A box that names a check-box group ("P6") goes to the group's first option.
  TKVZEditField* cell = target->Cell(LinkCell(target->Info().className, link.box));
  if (!cell) return;
  // A check box is only scrolled into view (a click would toggle it), and so
  // is a box that takes no entry; another box is clicked.
  if (cell->Tag() == 2 || !target->IsEditable(cell)) {
    const QRect r = target->CellRect(cell);
    target->Scroll()->ensureVisible(r.center().x(), r.center().y(), r.width() / 2 + 40, r.height() / 2 + 40);
    return;
  }
  target->ClickCell(cell);
  if (link.correct && target->Editor()->isVisible()) target->Editor()->setText(Q(link.value));
}

void TFormOkno_glowne::ShowBox(const QString& link, bool deferred) {
  // The instance of the link's page: "PIT37b" is shown by PIT37a's window.
  const LinkTarget target = ParseLink(link.toStdString());
  const std::string instance = TargetInstanceOf(target.page);
  if (!SectionExists(instance)) return;
  if (!Page(instance)) OpenListedInstance(instance, InstanceBase(instance), *this);
  if (deferred) QTimer::singleShot(0, this, [this, link] { FollowLink(link); });
  else FollowLink(link);
}

void TFormOkno_glowne::GoToBoxAction() {
  if (Store().setFile.empty()) return;
  QInputDialog dialog(this);
  dialog.setObjectName(QStringLiteral("PrzejdzDoPozycji"));
  dialog.setWindowTitle(QStringLiteral("Przejdź do pozycji"));
  dialog.setLabelText(QStringLiteral("Formularz i numer pozycji, np. PIT-37 120 (sam numer: bieżący formularz):"));
  dialog.setOkButtonText(QStringLiteral("Przejdź"));
  dialog.setCancelButtonText(QStringLiteral("Anuluj"));
  dialog.setTextValue(lastBoxQuery_);
  if (dialog.exec() != QDialog::Accepted) return;
  lastBoxQuery_ = dialog.textValue();
  // The form window last active: the dialog has just taken the activation.
  const PageWindow* active = PageOf(mdi_->currentSubWindow());
  const BoxQueryResult found = FindBoxLink(lastBoxQuery_.toStdString(), active ? active->InstanceName() : "");
  if (!found.error.empty()) {
    InfoBox(found.error, "Przejdź do pozycji");
    return;
  }
  ShowBox(Q(found.link), true);
}

void TFormOkno_glowne::UndoRedo(bool undo) {
  if (Store().setFile.empty()) return;
  // Typing not stored yet is the last thing done: undo drops it alone.
  if (PageWindow* page = ActivePage(); page && page->Editor()->isVisible()) {
    const bool typed = page->Editor()->Typed();
    page->CancelEdit();
    if (typed && undo) return;
  }
  HistoryOutcome out;
  try {
    out = undo ? SetHistory().Undo() : SetHistory().Redo();
  } catch (const std::exception& e) {
    ShowErrorBox(e.what());
    return;
  }
  for (QMdiSubWindow* w : mdi_->subWindowList())
    if (PageWindow* p = PageOf(w)) p->ReloadCells();
  if (!out.message.empty()) InfoBox(out.message, undo ? "Cofnij" : "Ponów");
  if (out.done && !out.link.empty()) ShowBox(Q(out.link), true);
  RequestRefresh();
  RefreshPoint();
}

void TFormOkno_glowne::UpdateUndoActions() {
  EditHistory& history = SetHistory();
  history.BelongsTo(Store().setFile);
  const bool writable = !Store().setFile.empty() && !Store().readOnly;
  QAction* undo = Action(QStringLiteral("ActionCofnij"));
  QAction* redo = Action(QStringLiteral("ActionPonow"));
  undo->setEnabled(writable && history.CanUndo());
  redo->setEnabled(writable && history.CanRedo());
  undo->setText(undo->isEnabled() ? QStringLiteral("&Cofnij: ") + Q(history.UndoLabel()) : QStringLiteral("&Cofnij"));
  redo->setText(redo->isEnabled() ? QStringLiteral("&Ponów: ") + Q(history.RedoLabel()) : QStringLiteral("&Ponów"));
}

void TFormOkno_glowne::StartUpdater(bool checkOnly) {
  if (AskBox("Przy aktualizacji programu konieczne jest jego wyłączenie.\r\nCzy kontynuować aktualizację?", "&TAK",
             "&NIE", "Informacja") != 1)
    return;
  const QString updater = ProgramFile(QStringLiteral("renovo"));
  if (!QFile::exists(updater) || !QProcess::startDetached(updater, checkOnly ? QStringList{QStringLiteral("01")} : QStringList{})) {
    InfoBox(("Nie znaleziono programu aktualizującego: " + updater).toStdString(), "Informacja");
    return;
  }
  close();
}

// The calculator opens inside the document area, right of the Menu window.
void TFormOkno_glowne::OpenJointWindow() {
  const bool existed = JointWindow() != nullptr;
  ShowJointWindow(mdi_);
  TFormRazemOsobno* w = JointWindow();
  auto* frame = w ? qobject_cast<QMdiSubWindow*>(w->parentWidget()) : nullptr;
  if (!frame) return;
  DropSystemMenuShortcuts(frame);
  const WindowRect area = PageArea();
  if (!existed) {
    frame->adjustSize();
    frame->setGeometry(QRectOf(FitInto({area.x, area.y, frame->width(), frame->height()}, area)));
  } else {
    frame->setGeometry(QRectOf(FitInto(RectOf(frame->geometry()), area)));
  }
}

void TFormOkno_glowne::StartCalculator() {
  for (const char* name : {"gnome-calculator", "kcalc", "galculator", "xcalc", "qalculate-gtk", "mate-calc"}) {
    const QString path = QStandardPaths::findExecutable(QString::fromUtf8(name));
    if (!path.isEmpty() && QProcess::startDetached(path, {})) return;
  }
  InfoBox("Nie znaleziono kalkulatora (gnome-calculator, kcalc, galculator, xcalc).", "Informacja");
}

int TFormOkno_glowne::ShowWholeReturnCheck(bool checkOnly) {
  if (ActivePage()) ActivePage()->LeaveEditor();
  const WholeReturnCheck check = CheckWholeReturn();
  // The recalculations stored their results; the open pages show them.
  for (const std::string& name : OpenWindowNames()) ReloadPage(name);
  TFormPrePrintKom window(this);
  if (checkOnly) window.SetCheckOnly();
  window.SetMessages(check.text);
  QString link;
  window.onLink = [&link](const QString& l) { link = l; };
  const int r = window.exec();
  if (!link.isEmpty()) FollowLink(link);
  return r;
}

void TFormOkno_glowne::CheckWholeReturnAction() { ShowWholeReturnCheck(true); }

void TFormOkno_glowne::PrintAction() {
  if (AskBox("Czy chcesz sprawdzić całość zeznania (deklarację główną i załączniki)?", "&TAK", "&NIE",
             "Informacja") == 1) {
    if (ShowWholeReturnCheck(false) != QDialog::Accepted) return;
  } else {
    CheckWholeReturn();
    for (const std::string& name : OpenWindowNames()) ReloadPage(name);
  }
  PrintSelectedForms(this);
}

void TFormOkno_glowne::closeEvent(QCloseEvent* e) {
  CloseAllPages();
  e->accept();
}

}  // namespace solv::app
