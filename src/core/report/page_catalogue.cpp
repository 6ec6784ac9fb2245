#include <algorithm>
#include <array>
#include <cstddef>
#include <filesystem>

#include "report/page_definition.hpp"
#include "util/file_io.hpp"

namespace solv {

extern const char* const kPageDefinitionTexts[];
extern const std::size_t kPageDefinitionCount;

namespace {

// The pages in form-table order.
constexpr std::array<const char*, 39> kPageOrder = {
    "TPIT28a", "TPIT28b", "TPIT28c", "TPIT28d", "TPIT28Aa", "TPIT28Ba", "TPIT28Bb", "TPIT36a", "TPIT36b", "TPIT36c",
    "TPIT36d", "TPIT36e", "TPIT36f", "TPIT36La", "TPIT36Lb", "TPIT36Lc", "TPIT37a", "TPIT37b", "TPIT37c", "TPIT38a",
    "TPIT38b", "TPIT39a", "TPIT39b", "TPIT40a", "TPIT40b", "TPIT40c", "TPIT2Ka", "TPIT2Kb", "TPITBa", "TPITBb",
    "TPITDa", "TPITDb", "TPITMa", "TPITOa", "TPITOb", "TPITOc", "TPITZa", "TPITZb", "TPITZGa",
};

size_t OrderOf(const std::string& className) {
  return static_cast<size_t>(std::find(kPageOrder.begin(), kPageOrder.end(), className) - kPageOrder.begin());
}

std::string& DefinitionFolder() {
  static std::string folder;
  return folder;
}

}  // namespace

PageDefinition ReadPageDefinitionFile(const std::string& path) {
  const std::optional<std::string> text = ReadWholeFile(path);
  if (!text) throw PageDefinitionError(path + ": cannot be read");
  try {
    return ParsePageDefinition(*text);
  } catch (const PageDefinitionError& e) {
    throw PageDefinitionError(path + ": " + e.what());
  }
}

void UsePageDefinitionFolder(const std::string& folder) { DefinitionFolder() = folder; }

const std::vector<PageDefinition>& PageCatalogue() {
  static const std::vector<PageDefinition> pages = [] {
    std::vector<PageDefinition> v;
    if (!DefinitionFolder().empty()) {
      std::vector<std::filesystem::path> files;
      for (const auto& e : std::filesystem::directory_iterator(DefinitionFolder()))
        if (e.path().extension() == ".page") files.push_back(e.path());
      std::sort(files.begin(), files.end());
      for (const auto& f : files) v.push_back(ReadPageDefinitionFile(f.string()));
    } else {
      v.reserve(kPageDefinitionCount);
      for (std::size_t i = 0; i < kPageDefinitionCount; ++i) v.push_back(ParsePageDefinition(kPageDefinitionTexts[i]));
    }
    std::stable_sort(v.begin(), v.end(), [](const PageDefinition& a, const PageDefinition& b) {
      return OrderOf(a.info.className) < OrderOf(b.info.className);
    });
    return v;
  }();
  return pages;
}

const PageDefinition* FindPage(std::string_view name) {
  for (const auto& p : PageCatalogue())
    if (p.info.className == name || p.info.pageName == name) return &p;
  return nullptr;
}

}  // namespace solv
