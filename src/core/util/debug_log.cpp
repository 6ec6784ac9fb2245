#include "util/debug_log.hpp"

namespace solv {
namespace {
std::function<void(std::string_view)>& Sink() {
  static std::function<void(std::string_view)> sink;
  return sink;
}
}  // namespace

void SetDebugLog(std::function<void(std::string_view)> sink) { Sink() = std::move(sink); }

bool DebugLogEnabled() { return static_cast<bool>(Sink()); }

void DebugLog(std::string_view line) {
  if (Sink()) Sink()(line);
}

}  // namespace solv
