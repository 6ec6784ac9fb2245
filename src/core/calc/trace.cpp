#include "calc/trace.hpp"

#include <algorithm>
#include <utility>

#include "store/ini.hpp"

namespace solv {
namespace {

CalcTrace*& Active() {
  static CalcTrace* trace = nullptr;
  return trace;
}

bool Same(const TracedBox& b, std::string_view section, std::string_view key) {
  return SameName(b.section, section) && SameName(b.key, key);
}

void AddOnce(std::vector<TracedBox>& boxes, const TracedBox& box) {
  for (const TracedBox& b : boxes)
    if (Same(b, box.section, box.key)) return;
  boxes.push_back(box);
}

}  // namespace

CalcTrace* ActiveTrace() { return Active(); }

CalcTrace::CalcTrace() : previous_(Active()), attach_(*this) { Active() = this; }
CalcTrace::~CalcTrace() { Active() = previous_; }

const TracedWrite* CalcTrace::LastWrite(std::string_view section, std::string_view key) const {
  for (auto it = writes_.rbegin(); it != writes_.rend(); ++it)
    if (SameName(it->section, section) && SameName(it->key, key)) return &*it;
  return nullptr;
}

void CalcTrace::Read(std::string_view section, std::string_view key, const std::optional<std::string>&) {
  if (quiet_ > 0) return;
  AddOnce(pending_, {std::string(section), std::string(key)});
}

void CalcTrace::Wrote(std::string_view section, std::string_view key, const std::optional<std::string>&,
                      const std::optional<std::string>& after) {
  TracedWrite w;
  w.section = std::string(section);
  w.key = std::string(key);
  w.text = after.value_or("");
  w.rule = std::exchange(rule_, {});
  const std::vector<TracedBox>& reads = pending_.empty() && steps_.empty() ? parked_ : pending_;
  for (const TracedBox& b : reads) {
    if (!Same(b, section, key)) {
      AddOnce(w.inputs, b);
      continue;
    }
    // Its own text: what an earlier write of the run put there came from
    // that write's inputs; else the box was typed.
    if (const TracedWrite* earlier = LastWrite(section, key)) {
      for (const TracedBox& e : earlier->inputs) AddOnce(w.inputs, e);
      w.fromItself = w.fromItself || earlier->fromItself;
    } else {
      w.fromItself = true;
    }
  }
  if (steps_.empty()) {
    pending_.clear();
    parked_.clear();
  }
  writes_.push_back(std::move(w));
}

TraceStep::TraceStep(Reads reads) : trace_(Active()) {
  if (!trace_) return;
  if (reads == kOwnReads && trace_->steps_.empty()) trace_->pending_.clear();
  trace_->steps_.push_back({reads == kOwnReads});
}

TraceStep::~TraceStep() {
  if (!trace_ || Active() != trace_) return;
  trace_->steps_.pop_back();
  if (trace_->steps_.empty()) {
    trace_->pending_.clear();
    trace_->parked_.clear();
  }
}

TraceCheck::TraceCheck() : trace_(Active()) {
  if (!trace_) return;
  if (trace_->quiet_ == 0 && trace_->steps_.empty() && !trace_->pending_.empty())
    trace_->parked_ = std::exchange(trace_->pending_, {});
  ++trace_->quiet_;
}

TraceCheck::~TraceCheck() {
  if (trace_ && Active() == trace_) --trace_->quiet_;
}

TraceQuiet::TraceQuiet() : trace_(Active()) {
  if (trace_) ++trace_->quiet_;
}

TraceQuiet::~TraceQuiet() {
  if (trace_ && Active() == trace_) --trace_->quiet_;
}

void TraceRule(std::string_view rule) {
  if (CalcTrace* t = Active()) t->rule_ = std::string(rule);
}

std::string RuleNumber(std::string_view key) {
  if (key.size() > 1 && (key[0] == 'p' || key[0] == 'P')) key.remove_prefix(1);
  std::string out(key);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

}  // namespace solv
