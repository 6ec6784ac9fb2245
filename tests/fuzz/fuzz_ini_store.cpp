// Set files of any bytes: the INI reader, its rewrite, and the store's
// read/write round trip through a file.
#include <fstream>

#include "fuzz_support.hpp"
#include "store/cp1250.hpp"
#include "store/ini.hpp"
#include "store/store.hpp"

using solv::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = solv::fuzz::Text(data, size);

  // In memory: reading the rewritten text gives the same text again.
  const solv::IniDocument doc = solv::IniDocument::Parse(solv::DecodeFileText(bytes));
  const std::string once = doc.Serialize();
  const solv::IniDocument again = solv::IniDocument::Parse(once);
  Require(again.Serialize() == once, "a rewritten file reads back to the same text");
  Require(again.SectionNames() == doc.SectionNames(), "the sections survive a rewrite");

  // A value written reads back as written (blanks around it are not kept).
  solv::IniDocument edited = doc;
  edited.Write("PIT37a", "P45", "1 234,56 \"zł\"");
  Require(edited.Read("PIT37a", "P45").value_or("") == "1 234,56 \"zł\"", "a written value reads back");
  for (const std::string& s : doc.SectionNames())
    Require(edited.HasSection(s), "a write keeps every section");

  // Through a file: the store reads what it wrote and keeps the other sections.
  const std::filesystem::path file = solv::fuzz::Scratch() / "1.i10";
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  solv::Store() = solv::StoreState{};
  solv::Store().programFolder = solv::fuzz::Scratch();
  solv::OpenSet(file);
  (void)solv::ReadField("PIT", "", "MAIN");
  (void)solv::ReadNumber("P45", "0", "PIT37a");
  (void)solv::SectionsOfForm("PITB");
  solv::WriteField("P45", "123,45", "PIT37a");
  Require(solv::ReadField("P45", "", "PIT37a") == "123,45", "the store reads back what it wrote");
  const std::optional<solv::IniDocument> disk = solv::LoadIniDocument(file);
  Require(disk.has_value(), "the written file reads");
  // On disk every section stands as it was, spelt as Windows-1250 can hold it.
  solv::IniDocument expected = doc;
  expected.Write("PIT37a", "P45", "123,45");
  const solv::IniDocument encoded =
      solv::IniDocument::Parse(solv::DecodeFileText(solv::Utf8ToCp1250(expected.Serialize())));
  Require(disk->SectionNames() == encoded.SectionNames(), "the file keeps every section");
  return 0;
}
