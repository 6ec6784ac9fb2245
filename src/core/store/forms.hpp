// The form table: form indices, base names, main-form codes and the forms
// each main form allows; the hook that shows the store again in open pages.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "store/store.hpp"

namespace solv {

// Indices of the form table; every per-form table is indexed by them.
enum FormId : int {
  kPIT28 = 0, kPIT36, kPIT36L, kPIT37, kPIT38, kPIT39, kPIT40,
  kPITB, kPITD, kPITM, kPITO, kPITZ, kPIT2K, kPIT28A, kPIT28B, kPITZG, kPITM_M, kPITZ_M,
};

// Base (first-page) names in form-table order.
extern const std::array<const char*, kFormCount> kFormBaseNames;
// Main-form codes of section MAIN, key PIT ("PIT28" ... "PIT40"), indices 0..6.
extern const std::array<const char*, 7> kMainFormCodes;

// Searches the table from 17 down to 0 for an exact match; -1 when none.
int FormIndex(std::string_view baseName);
// Index 0..6 of a main-form code, or -1.
int MainFormCodeIndex(std::string_view code);

// The allowed-forms row of a main-form code (all false for an unknown code).
std::array<bool, kFormCount> AllowedFormsOf(std::string_view mainFormCode);
// Copies that row into the process-wide allowed flags.
void SetAllowedForms(std::string_view mainFormCode);

// Called after identification is propagated, so open pages show the copied
// values; the user interface installs it.
void SetReloadOpenPages(std::function<void()> reload);
// Shows the store's content in every open page again (after an operation
// that failed and wrote nothing).
void ReloadOpenPages();

}  // namespace solv
