// Developer diagnostics; silent unless a sink is installed.
#pragma once

#include <functional>
#include <string_view>

namespace solv {

void SetDebugLog(std::function<void(std::string_view)> sink);
void DebugLog(std::string_view line);
bool DebugLogEnabled();  // a sink is installed

}  // namespace solv
