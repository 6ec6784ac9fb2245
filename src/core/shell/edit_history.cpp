#include "shell/edit_history.hpp"

#include <algorithm>

#include "calc/dispatch.hpp"
#include "report/page_definition.hpp"
#include "shell/form_registry.hpp"
#include "shell/go_to_box.hpp"
#include "store/ini.hpp"

namespace solv {
namespace {

// Named by the box asked for when it changed, else by the first box that
// changed from something the user saw: a page stored for the first time
// writes the boxes it showed empty, which is no change to name it by.
void NameStep(HistoryStep& step, std::string_view section, std::string_view key) {
  for (int pass = 0; pass < 3; ++pass)
    for (const BoxChange& c : step.changes) {
      if (pass == 0 && !(SameName(c.section, section) && SameName(c.key, key))) continue;
      BoxPlace place = PlaceOfBox(c.section, c.key);
      if (place.label.empty()) continue;
      if (pass == 1 && !c.before && c.after == place.clearValue) continue;
      step.label = std::move(place.label);
      step.link = std::move(place.link);
      return;
    }
  step.label = "zmiana w formularzu " + FormNameOf(step.changes.front().section);
}

std::string JoinNames(const std::vector<std::string>& names) {
  std::string out;
  for (size_t i = 0; i < names.size(); ++i) out += (i == 0 ? "" : ", ") + names[i];
  return out;
}

}  // namespace

EditHistory::EditHistory() : observed_(*this) {}

EditHistory::Operation::Operation(EditHistory& history, std::string section, std::string key)
    : history_(history), exceptions_(std::uncaught_exceptions()) {
  history_.Begin(std::move(section), std::move(key));
}
EditHistory::Operation::~Operation() { history_.End(std::uncaught_exceptions() > exceptions_); }

void EditHistory::Begin(std::string section, std::string key) {
  if (depth_++ > 0) return;
  BelongsTo(Store().setFile);
  namedSection_ = std::move(section);
  namedKey_ = std::move(key);
}
void EditHistory::End(bool failed) {
  if (--depth_ > 0) return;
  depth_ = 0;
  HistoryStep step = std::move(pending_);
  pending_ = {};
  if (failed) return;
  // A box written and then written back is no change.
  std::erase_if(step.changes, [](const BoxChange& c) { return c.before == c.after; });
  if (step.changes.empty()) return;
  NameStep(step, namedSection_, namedKey_);
  undo_.push_back(std::move(step));
  if (undo_.size() > kMaxSteps) undo_.erase(undo_.begin());
  redo_.clear();
}

void EditHistory::Wrote(std::string_view section, std::string_view key, const std::optional<std::string>& before,
                        const std::optional<std::string>& after) {
  if (depth_ == 0 || applying_) return;
  for (BoxChange& c : pending_.changes)
    if (SameName(c.section, section) && SameName(c.key, key)) {
      c.after = after;
      return;
    }
  if (before == after) return;
  pending_.changes.push_back({std::string(section), std::string(key), before, after});
}

void EditHistory::Erased(std::string_view section) {
  // What was in an erased form is gone for good: a later form of the same
  // name is another one.
  const std::string name = FormNameOf(section);
  for (std::vector<HistoryStep>* steps : {&undo_, &redo_})
    for (HistoryStep& step : *steps) {
      const size_t before = step.changes.size();
      std::erase_if(step.changes, [&](const BoxChange& c) { return SameName(c.section, section); });
      if (step.changes.size() != before && std::find(step.gone.begin(), step.gone.end(), name) == step.gone.end())
        step.gone.push_back(name);
    }
  std::erase_if(pending_.changes, [&](const BoxChange& c) { return SameName(c.section, section); });
}

void EditHistory::BelongsTo(const std::filesystem::path& set) {
  if (set == set_) return;
  Clear();
  set_ = set;
}

void EditHistory::Clear() {
  undo_.clear();
  redo_.clear();
  pending_ = {};
}

HistoryOutcome EditHistory::Undo() {
  BelongsTo(Store().setFile);
  if (undo_.empty()) return {false, {}, {}, std::string(kNothingToUndo)};
  return Apply(undo_, redo_, true);
}

HistoryOutcome EditHistory::Redo() {
  BelongsTo(Store().setFile);
  if (redo_.empty()) return {false, {}, {}, std::string(kNothingToRedo)};
  return Apply(redo_, undo_, false);
}

HistoryOutcome EditHistory::Apply(std::vector<HistoryStep>& from, std::vector<HistoryStep>& to, bool back) {
  HistoryStep& step = from.back();
  HistoryOutcome out{false, step.label, step.link, {}};
  if (Store().readOnly) {
    out.message = kHistoryReadOnly;
    return out;
  }
  int changedSince = 0;
  {
    applying_ = true;
    struct Reset {
      bool& flag;
      std::string page;
      ~Reset() {
        flag = false;
        Store().currentPage = page;
      }
    } reset{applying_, Store().currentPage};
    const SetHold hold;  // one replace of the file, or nothing written
    std::vector<std::string> sections;
    auto restore = [&](const BoxChange& c) {
      if (!SectionExists(c.section)) return;
      const std::optional<std::string>& expected = back ? c.after : c.before;
      const std::optional<std::string>& wanted = back ? c.before : c.after;
      if (SetStore().Read(c.section, c.key) != expected) {
        ++changedSince;  // changed by something else since: it stays
        return;
      }
      if (wanted) WriteField(c.key, *wanted, c.section);
      else EraseField(c.key, c.section);
      out.done = true;
      if (std::none_of(sections.begin(), sections.end(), [&](const std::string& s) { return SameName(s, c.section); }))
        sections.push_back(c.section);
    };
    if (back)
      for (auto c = step.changes.rbegin(); c != step.changes.rend(); ++c) restore(*c);
    else
      for (const BoxChange& c : step.changes) restore(c);
    // The forms touched are recalculated, so that what was computed from a
    // box that stayed, or from a form that is gone, agrees again.
    for (const std::string& s : sections) Recalculate(s);
  }
  std::vector<std::string> notes;
  if (!step.gone.empty())
    notes.push_back(step.gone.size() == 1
                        ? "Formularz " + step.gone.front() + " został usunięty – nic z niego nie przywrócono."
                        : "Formularze " + JoinNames(step.gone) + " zostały usunięte – nic z nich nie przywrócono.");
  if (changedSince > 0) notes.push_back("Pozycje zmienione od tego czasu zostały bez zmian.");
  if (!out.done && notes.empty()) notes.push_back("Niczego nie zmieniono.");
  for (const std::string& n : notes) out.message += (out.message.empty() ? "" : " ") + n;
  to.push_back(std::move(step));
  from.pop_back();
  return out;
}

EditHistory& SetHistory() {
  static EditHistory history;
  return history;
}

}  // namespace solv
