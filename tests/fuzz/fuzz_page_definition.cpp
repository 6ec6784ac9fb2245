// Page definitions of any text: parsed or refused with a line number; a
// parsed page can always be held against the page standard.
#include "fuzz_support.hpp"
#include "report/page_definition.hpp"
#include "report/page_standard.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const solv::PageDefinition page = solv::ParsePageDefinition(solv::fuzz::Text(data, size));
    (void)solv::PageStructureProblems(page);
  } catch (const solv::PageDefinitionError&) {
  }
  return 0;
}
