// The main window: menus and actions, the toolbar window with the form
// buttons, the page windows in the document area, the form toolbar and the
// messages panel.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <map>
#include <string>
#include <vector>

#include "shell/form_registry.hpp"
#include "shell/window_layout.hpp"

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QMdiArea;
class QMdiSubWindow;
class QPushButton;
class QScrollArea;
class QSplitter;
class QToolBar;

namespace solv::app {

class PageWindow;

class TFormOkno_glowne : public QMainWindow, public Desktop {
  Q_OBJECT
 public:
  explicit TFormOkno_glowne(QWidget* parent = nullptr);
  ~TFormOkno_glowne() override;

  // The start: the set dialog; false when the program is to end.
  bool StartUp();

  // Desktop
  std::vector<std::string> OpenWindowNames() const override;
  void CreatePage(const std::string& className, const std::string& instanceName) override;
  void BringToFront(const std::string& instanceName) override;
  void FocusPage(const std::string& instanceName) override;
  void ReloadPage(const std::string& instanceName) override;
  void ClosePage(const std::string& instanceName) override;
  void ShowSetList(const std::vector<std::string>& lines, const std::vector<std::string>& sections,
                   const std::string& baseName) override;
  void ShowFormMenu(int formIndex) override;
  bool HelpOnline() const override;
  void PlaceHelpMarkers() override;

  PageWindow* ActivePage() const;
  PageWindow* Page(const std::string& instanceName) const;
  QMdiArea* DocumentArea() const { return mdi_; }
  QToolBar* FormToolbar() const { return formBar_; }
  QAction* Action(const QString& name) const;
  QPushButton* FormButton(const QString& actionName) const;
  QLabel* MessagesLabel() const { return messages_; }

  void SwitchPage(char letter);
  void EnableFormActions();
  void RefreshPoint();
  void PlaceTransfers(PageWindow& page);
  static void ApplyTransfer(PageWindow& page, const std::string& box, const std::string& value);
  void RequestRefresh() { refreshRequested_ = true; }
  void CloseAllPages();
  void OpenSetDialog();
  void LeaveEditors();   // every page's box being edited stored, or dropped when refused
  void ShowSetAccess();  // the title says when the open set is read-only
  void FollowLink(const QString& param);
  // Shows the box of a link ("PITBa_1#p53"), opening its form's window
  // first when it is closed; deferred, once a dialog or menu closing now
  // has given the focus back (the editor opened before would lose it at
  // once and be left).
  void ShowBox(const QString& link, bool deferred = false);
  // The "Okno" menu: cascade and tile the windows of the document area
  // (the Menu window stays), and the list of open windows.
  void CascadeWindows();
  void TileWindows();
  QMenu* WindowMenu() const { return windowMenu_; }
  void FillWindowMenu();
  // The part of the document area right of the Menu window, in its viewport.
  WindowRect PageArea() const;
  void OpenJointWindow();
  static constexpr int kMessagesOpenHeight = 140;
  // The zoom of every page window, open now or opened later (menu "Widok",
  // Ctrl+plus, Ctrl+minus, Ctrl+0 and the zoom box of the form toolbar),
  // kept in the settings file.
  int Zoom() const { return zoom_; }
  void SetZoom(int percent);
  QComboBox* ZoomBox() const { return zoomBox_; }

 protected:
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void BuildActions();
  void BuildMenus();
  void BuildToolbarWindow();
  void BuildCentral();
  void SubWindowActivated(QMdiSubWindow* w);
  void LockOpenPages();
  void SetMessagesPanelOpen(bool open, int height = kMessagesOpenHeight);
  int ShowWholeReturnCheck(bool checkOnly);
  QMdiSubWindow* SubWindowOf(const std::string& instanceName) const;
  std::vector<QMdiSubWindow*> ArrangedWindows() const;
  void StartUpdater(bool checkOnly);
  void StartCalculator();
  void CheckWholeReturnAction();
  // "Przejdź do pozycji...": asks for a form and a box and shows the box.
  void GoToBoxAction();

  // "Cofnij" and "Ponów": the last entry of the set taken back or done again.
  void UndoRedo(bool undo);
  void UpdateUndoActions();
  void PrintAction();
  void DeleteAction();

  QMdiArea* mdi_ = nullptr;
  QMdiSubWindow* toolbarWindow_ = nullptr;
  QWidget* buttonPanel_ = nullptr;
  std::map<QString, QPushButton*> formButtons_;
  QToolBar* formBar_ = nullptr;
  std::vector<QAction*> pageActions_;
  QMenu* windowMenu_ = nullptr;
  QAction* windowsSeparator_ = nullptr;
  std::vector<QAction*> windowList_;
  QSplitter* splitter_ = nullptr;
  QScrollArea* messagesScroll_ = nullptr;
  QLabel* messages_ = nullptr;
  QLabel* version_ = nullptr;
  std::map<QString, QAction*> actions_;
  bool busy_ = false;
  bool refreshRequested_ = false;
  bool started_ = false;
  bool destroying_ = false;
  QString lastBoxQuery_;  // what "Przejdź do pozycji" was last asked
  bool switching_ = false;  // a page window gives way to another page of its form
  QPointer<QMdiSubWindow> lastActive_;
  int zoom_ = 100;
  QComboBox* zoomBox_ = nullptr;
  void ZoomBoxEntered(const QString& text);
};

}  // namespace solv::app
