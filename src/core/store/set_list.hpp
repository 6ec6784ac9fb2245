// The saved return sets of the data folder: listing and labelling them,
// creating, opening and deleting a set, and the lines of the window that
// lists the copies of a multi-copy attachment.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "util/asker.hpp"

namespace solv {

// Numbers n from 1 to 3000 for which dataFolder/"n.i10" is a file, ascending.
std::vector<int> SetNumbers(const std::filesystem::path& dataFolder);

// The largest set file the set dialog labels and opens. A full set with
// every form is a few tens of kilobytes and even a thousand copies of the
// largest attachment stay below a few megabytes, so a longer file is no set
// the program wrote; reading and parsing it whole would hold the window for
// seconds and hundreds of megabytes.
constexpr std::uintmax_t kMaxSetFileBytes = std::uintmax_t{8} << 20;

// "ABC DEF (PIT-37)" from the name boxes of the main form's first page;
// "bez nazwy (PIT-37)" when they are empty; "bez nazwy " when the file cannot
// be read, is longer than kMaxSetFileBytes (not read) or names no known main
// form.
std::string SetLabel(const std::filesystem::path& file);

// The smallest positive n for which dataFolder/"n.i10" does not exist.
int NextSetNumber(const std::filesystem::path& dataFolder);

// Creates the set "n.i10" (n = NextSetNumber) for a main-form code "PIT28" ...
// "PIT40" and opens it: allowed flags of the main form, [MAIN] PIT and VER,
// for PIT36 and PIT37 the way of taxation (1..4, 0 none ticked) in boxes
// P6a..P6d, the organisation's 1% boxes for PIT28 ... PIT39. Returns n, or 0
// for an unknown code (nothing written). A refused write throws StoreError
// and leaves the previously open set open.
int CreateSet(const std::filesystem::path& dataFolder, std::string_view mainFormCode, int taxationOption);

enum class OpenSetResult {
  Opened,       // the set is now open
  AlreadyOpen,  // it was the open set; nothing reloaded
  Nothing,      // no number chosen or no such file
  Refused,      // longer than kMaxSetFileBytes, or in use and not wanted read-only: not opened
};
// Opens dataFolder/"n.i10" (n <= 0: none chosen) with its lock; fills the
// organisation's boxes when the set's KRS box is empty. A file longer than
// kMaxSetFileBytes is refused with a notice through ask and the open set stays
// open. A set another copy of the program (or solvcalc) holds is opened read
// only when ask answers "&TAK" to kSetInUseQuestion, else refused.
OpenSetResult OpenExistingSet(const std::filesystem::path& dataFolder, int n, const Asker& ask);
inline constexpr const char* kSetInUseQuestion =
    "Ten zestaw danych jest otwarty w innej kopii programu Solvenor Vandrel 2010 (albo używa go inny "
    "program). Dwie kopie zapisujące jeden zestaw cofałyby nawzajem swoje zmiany.\n\nCzy otworzyć zestaw "
    "tylko do odczytu? Zmiany nie będą zapisywane.";

// What a click on a box of a set opened read-only says.
inline constexpr const char* kReadOnlyEditMessage =
    "Zestaw danych jest otwarty tylko do odczytu, bo używa go inna kopia programu: zmiany nie są zapisywane. "
    "Aby go zmieniać, zamknij tamtą kopię i otwórz zestaw ponownie (Zestawy danych, Otwórz...).";

// Closes the open set, then asks through ask whether to delete set n with
// every form in it; deletes the file only on "&TAK". True when the file was
// deleted. A set that another process holds is not deleted (a notice
// kSetInUseDeleteMessage).
bool DeleteSet(const std::filesystem::path& dataFolder, int n, const Asker& ask);
inline constexpr const char* kSetInUseDeleteMessage =
    "Nie można usunąć zestawu danych: jest otwarty w innej kopii programu Solvenor Vandrel 2010 (albo "
    "używa go inny program).";

// One line per section of the open set: each "%s" of pattern replaced in
// turn by the value of the next key (absent keys and "%s" beyond the keys
// read empty).
std::vector<std::string> SetListLines(const std::vector<std::string>& sections, const std::vector<std::string>& keys,
                                      std::string_view pattern);

}  // namespace solv
