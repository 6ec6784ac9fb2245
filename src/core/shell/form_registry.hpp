// The form registry and the form logic of the main window: which page class
// serves a page name, the form actions of the toolbar, opening a form (also
// a further copy of an attachment), switching pages, deleting a form
// instance, and the help markers of a page. Windows are reached through
// Desktop, so all of it runs without them.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "util/asker.hpp"

namespace solv {

// The page class serving a page name ("PIT37b", also "PITMa_M") or a class
// name ("TPIT37b"); empty for an unknown name.
std::string PageClassFor(std::string_view name);
// Every page class of the registry, in form order.
const std::vector<std::string>& RegisteredPageClasses();

// What the main window does with its page windows. Windows are known by
// their instance names (the section they edit), compared without regard to
// letter case.
class Desktop {
 public:
  virtual ~Desktop() = default;
  virtual std::vector<std::string> OpenWindowNames() const = 0;
  // Creates a page window of className, owned by the main window, placed in
  // the document area, named instanceName (empty: unnamed), and shows it
  // (activation loads its cells).
  virtual void CreatePage(const std::string& className, const std::string& instanceName) = 0;
  virtual void BringToFront(const std::string& instanceName) = 0;
  virtual void FocusPage(const std::string& instanceName) = 0;  // when it can take the focus
  virtual void ReloadPage(const std::string& instanceName) = 0;  // loads its cells again
  // Closes the window; its editor is stored first.
  virtual void ClosePage(const std::string& instanceName) = 0;
  // The set-list window listing the copies of baseName, one line per section.
  virtual void ShowSetList(const std::vector<std::string>& lines, const std::vector<std::string>& sections,
                           const std::string& baseName) = 0;
  // The pop-up menu with the taxpayer and spouse variants of PIT/M or PIT/Z
  // (form index kPITM or kPITZ).
  virtual void ShowFormMenu(int formIndex) = 0;
  virtual bool HelpOnline() const = 0;  // "Aktywna pomoc on-line" is checked
  virtual void PlaceHelpMarkers() = 0;  // on the active page
};

// Form actions: the 16 toolbar actions in Tag order, then the taxpayer and
// spouse variants of PIT/M and PIT/Z.
enum class FormActionKind {
  SingleCopy,  // bring an open window to front, else open the form
  MultiCopy,   // PIT/B, PIT/O, PIT/ZG: may have several copies
  Variants,    // PIT/M, PIT/Z: taxpayer's form, or a menu for joint taxation
};
struct FormAction {
  const char* action;    // "ActionPIT37"
  const char* caption;   // "PIT-37"; hint "Formularz " + caption
  int tag;               // toolbar order 1..16; 0 for the menu variants
  int formIndex;         // index of the form table
  const char* baseName;  // section of the form's first page
  FormActionKind kind;
  bool copiesIdentification;  // the main form's identification is copied first
};
constexpr int kToolbarActionCount = 16;
extern const std::array<FormAction, kToolbarActionCount + 4> kFormActions;
const FormAction* FindFormAction(std::string_view action);
std::string FormActionHint(const FormAction& a);

// Visibility of the 16 toolbar actions (Tag order): the allowed flag of each
// action's form.
std::array<bool, kToolbarActionCount> FormActionsVisible();
// Top of each toolbar button (-1 when hidden): visible buttons stacked from 0
// at 25-pixel steps; the panel height is 25 per visible button.
struct ToolbarLayout {
  std::array<int, kToolbarActionCount> top{};
  int panelHeight = 0;
};
ToolbarLayout LayOutToolbar(const std::array<bool, kToolbarActionCount>& visible);

// Runs a form action.
void RunFormAction(const FormAction& action, Desktop& desktop, const Asker& ask);
// Opens a form by its base name: its first page when it has no section yet;
// otherwise (PIT/B, PIT/O, PIT/ZG after asking "Nowy"/"Wczytaj"/"Anuluj"
// through ask) a new copy or the copies there are.
void OpenForm(const std::string& baseName, Desktop& desktop, const Asker& ask);
// "&Otwórz" in the set-list window: opens the copy in section, a form of baseName.
void OpenListedInstance(const std::string& section, const std::string& baseName, Desktop& desktop);

// The class of another page of the same form: the last letter of activeClass
// replaced ("TPIT37a", 'b' -> "TPIT37b"); empty when that is activeClass
// itself or no registered page.
std::string SwitchPageClass(std::string_view activeClass, char letter);
// The page letters ('a'...'f') the form of a page class has.
std::string PageLetters(std::string_view pageClass);

// How the window list tells the copies of a form apart: " – małżonek" for
// the spouse's form ("PITMa_M"), " – kopia N" for the N-th copy of an
// attachment ("PITBa_1" is the second), nothing for a form's first copy.
std::string InstanceLabel(std::string_view instanceName);
// The printed symbol of a section's form ("PITBa_1" -> "PIT/B"); the section
// itself when no form has it.
std::string FormSymbolOf(std::string_view section);
// The form as the user knows it: its symbol and the copy ("PIT/B – kopia 2").
inline std::string FormNameOf(std::string_view section) { return FormSymbolOf(section) + InstanceLabel(section); }

// Deletes the form instance shown in the active window after asking through
// ask; PIT/O copies only from the highest number down (a notice
// kPitoGapMessage otherwise). True when deleted.
bool DeleteFormInstance(const std::string& instanceName, Desktop& desktop, const Asker& ask);

// The help markers of a page from program folder + "in.r76".
struct HelpMarker {
  std::string text;
  int x = 0;
  int y = 0;
  std::string topic;
  std::string Hint() const { return text + "|" + topic; }
  bool operator==(const HelpMarker&) const = default;
};
std::vector<HelpMarker> HelpMarkers(const std::filesystem::path& programFolder, std::string_view instanceName,
                                    int pageTag);

// Exact texts of the questions and refusals.
extern const char* const kPitoGapMessage;
extern const char* const kDeleteFormQuestion;
std::string FurtherCopyQuestion(std::string_view formCaption);  // "PIT/B"

}  // namespace solv
