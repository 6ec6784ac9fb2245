// The tests' update publisher: a fixed key pair (never the release key) and
// server lists with the size and SHA-256 of each file filled in and signed.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "updater/update_list.hpp"
#include "updater/update_run.hpp"
#include "updater/update_signature.hpp"

namespace solv::test {

inline const UpdateKeyPair& TestUpdateKey() {
  static const UpdateKeyPair pair = [] {
    std::array<unsigned char, 32> seed{};
    for (unsigned i = 0; i < seed.size(); ++i) seed[i] = static_cast<unsigned char>(0x5a ^ (i * 7));
    return UpdateKeyPairFromSeed(seed);
  }();
  return pair;
}

inline std::string TestUpdateKeyHex() {
  return ToHex(TestUpdateKey().publicKey.data(), TestUpdateKey().publicKey.size());
}

// Trust in the test key; plain http allowed, as the local test server speaks it.
inline UpdateTrust TestTrust(bool allowPlainHttp = true) { return UpdateTrust{TestUpdateKeyHex(), allowPlainHttp}; }

// Lines "name;version;flag;archive" with fields 5 and 6 made from the bytes
// bodyOf gives for what each record downloads (nothing: an empty file).
inline std::string ListWithDigests(const std::string& lines,
                                   const std::function<std::optional<std::string>(const std::string&)>& bodyOf) {
  UpdateList list;
  list.ParseText(lines);
  std::string text;
  for (const UpdateRecord& r : list.items) {
    const std::string& fetched = r.archive.empty() ? r.name : r.archive;
    const std::string body = bodyOf(fetched).value_or("");
    text += r.name + ";" + r.version + ";" + (r.flag ? std::string(1, r.flag) : "") + ";" + r.archive + ";" +
            std::to_string(body.size()) + ";" + Sha256Hex(body) + "\r\n";
  }
  return text;
}

inline std::string SignWithTestKey(const std::string& list) { return SignUpdateList(list, TestUpdateKey().secretKey); }

}  // namespace solv::test
