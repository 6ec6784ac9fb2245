// The textual component format as the print copy passes it through the file
// "all.r76": any bytes are read or refused, and what is read writes back to
// text that reads to the same tree.
#include <fstream>

#include "fuzz_support.hpp"
#include "report/component_text.hpp"
#include "report/print_copy.hpp"

using solv::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = solv::fuzz::Text(data, size);
  try {
    const solv::ComponentNode root = solv::ReadComponentText(text);
    const std::string written = solv::WriteComponentText(root);
    const solv::ComponentNode back = solv::ReadComponentText(written);
    Require(solv::WriteComponentText(back) == written, "written component text reads back");
  } catch (const solv::ComponentTextError&) {
  }
  (void)solv::MakePrintCopyText(text, "PIT37a");

  const std::filesystem::path file = solv::fuzz::Scratch() / "all.r76";
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
  }
  try {
    (void)solv::LoadPrintCopyFile(file);
  } catch (const solv::PrintCopyError&) {
  }
  return 0;
}
