#include "store/forms.hpp"

namespace solv {

const std::array<const char*, kFormCount> kFormBaseNames = {
    "PIT28a", "PIT36a", "PIT36La", "PIT37a", "PIT38a", "PIT39a", "PIT40a", "PITBa",  "PITDa",
    "PITMa",  "PITOa",  "PITZa",   "PIT2Ka", "PIT28Aa", "PIT28Ba", "PITZGa", "PITMa_M", "PITZa_M",
};

const std::array<const char*, 7> kMainFormCodes = {"PIT28", "PIT36", "PIT36L", "PIT37", "PIT38", "PIT39", "PIT40"};

int FormIndex(std::string_view baseName) {
  for (int i = kFormCount - 1; i >= 0; --i)
    if (baseName == kFormBaseNames[i]) return i;
  return -1;
}

int MainFormCodeIndex(std::string_view code) {
  for (int i = 0; i < 7; ++i)
    if (code == kMainFormCodes[i]) return i;
  return -1;
}

namespace {

struct AllowedRow {
  int main;
  std::initializer_list<int> forms;
};

const AllowedRow kAllowed[] = {
    {kPIT28, {kPIT28, kPITD, kPITO, kPIT2K, kPIT28A, kPIT28B}},
    {kPIT36, {kPIT36, kPITB, kPITD, kPITM, kPITO, kPITZ, kPIT2K, kPITZG, kPITM_M, kPITZ_M}},
    {kPIT36L, {kPIT36L, kPITB, kPITZ, kPITZG, kPITZ_M}},
    {kPIT37, {kPIT37, kPITD, kPITO, kPIT2K}},
    {kPIT38, {kPIT38, kPITZG}},
    {kPIT39, {kPIT39, kPITZG}},
    {kPIT40, {kPIT40}},
};

std::function<void()>& ReloadHook() {
  static std::function<void()> hook;
  return hook;
}

}  // namespace

std::array<bool, kFormCount> AllowedFormsOf(std::string_view mainFormCode) {
  std::array<bool, kFormCount> flags{};
  const int main = MainFormCodeIndex(mainFormCode);
  for (const auto& row : kAllowed)
    if (row.main == main)
      for (int f : row.forms) flags[f] = true;
  return flags;
}

void SetAllowedForms(std::string_view mainFormCode) { Store().allowed = AllowedFormsOf(mainFormCode); }

void SetReloadOpenPages(std::function<void()> reload) { ReloadHook() = std::move(reload); }

void ReloadOpenPages() {
  if (ReloadHook()) ReloadHook()();
}

}  // namespace solv
