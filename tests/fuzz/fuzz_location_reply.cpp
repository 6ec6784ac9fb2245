// Replies of the update server of any text.
#include "fuzz_support.hpp"
#include "updater/update_list.hpp"

using solv::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view reply = solv::fuzz::Text(data, size);
  solv::UpdateLocation location{"old.host", "/old/"};
  const solv::LocationReply result = solv::ParseLocationReply(reply, location);
  if (result == solv::LocationReply::Changed) {
    Require(location.host.find('|') == std::string::npos, "the host holds no separator");
    Require(location.path.find('|') == std::string::npos, "the path holds no separator");
  } else {
    Require(location.host == "old.host" && location.path == "/old/", "no answer keeps the location");
  }
  return 0;
}
