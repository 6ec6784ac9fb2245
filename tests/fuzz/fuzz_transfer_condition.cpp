// Transfer rules and their conditions of any text, with boxes of any value.
#include <cmath>
#include <cstring>

#include "fuzz_support.hpp"
#include "shell/transfers.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A leading byte 1 gives the value of the boxes in the next eight bytes.
  double boxValue = 1234.56;
  if (size > sizeof boxValue && data[0] == 1) {
    std::memcpy(&boxValue, data + 1, sizeof boxValue);
    data += 1 + sizeof boxValue;
    size -= 1 + sizeof boxValue;
  }
  const std::string_view text = solv::fuzz::Text(data, size);
  const auto reader = [boxValue](std::string_view box) { return box.size() % 2 ? boxValue : -boxValue; };
  const solv::ConditionResult result = solv::EvaluateCondition(text, reader);
  if (result.holds) solv::fuzz::Require(!result.value.empty(), "a condition that holds has a value");
  (void)solv::ParseTransferRule(text, 1);
  (void)solv::ParsePendingTransfer(text);
  (void)solv::BoxNumber(text);
  (void)solv::TargetInstanceOf(text);
  return 0;
}
