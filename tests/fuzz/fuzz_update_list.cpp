// Update file lists of any text: parsing is stable, and a name taken as safe
// stays inside the program folder.
#include <filesystem>

#include "fuzz_support.hpp"
#include "updater/update_list.hpp"

using solv::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = solv::fuzz::Text(data, size);
  solv::UpdateList list;
  list.ParseText(text);
  const std::string written = list.Text();
  solv::UpdateList again;
  again.ParseText(written);
  Require(again.Text() == written, "a written list reads back to the same text");
  Require(again.items.size() == list.items.size(), "no record is lost by writing");

  const std::filesystem::path dir = "/program";
  for (const solv::UpdateRecord& r : list.items) {
    (void)solv::UpdateVersion(r.version);
    for (const std::string& name : {r.name, r.archive}) {
      if (!solv::IsSafeRelativeName(name)) continue;
      const std::filesystem::path target = (dir / name).lexically_normal();
      const std::string t = target.string();
      Require(t.rfind("/program/", 0) == 0 && t.size() > 9, "a safe name stays in the program folder");
    }
  }
  (void)solv::ParseUpdateLine(text);
  return 0;
}
