#include "updater/update_signature.hpp"

#include <fcntl.h>
#include <sodium.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <stdexcept>
#include <vector>

#include "updater/update_list.hpp"
#include "util/file_io.hpp"

namespace solv {

namespace {

void InitSodium() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (sodium_init() < 0) throw std::runtime_error("libsodium cannot start");
  });
}

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

template <std::size_t N>
std::optional<std::array<unsigned char, N>> ParseKey(std::string_view hex) {
  const std::optional<std::string> bytes = FromHex(Trimmed(hex), N);
  if (!bytes) return std::nullopt;
  std::array<unsigned char, N> key{};
  for (std::size_t i = 0; i < N; ++i) key[i] = static_cast<unsigned char>((*bytes)[i]);
  return key;
}

}  // namespace

std::string ToHex(const unsigned char* bytes, std::size_t size) {
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(size * 2);
  for (std::size_t i = 0; i < size; ++i) {
    out += kHex[bytes[i] >> 4];
    out += kHex[bytes[i] & 15];
  }
  return out;
}

std::optional<std::string> FromHex(std::string_view hex, std::size_t size) {
  if (hex.size() != size * 2) return std::nullopt;
  std::string out(size, '\0');
  for (std::size_t i = 0; i < size; ++i) {
    const int high = HexDigit(hex[2 * i]), low = HexDigit(hex[2 * i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    out[i] = static_cast<char>(high * 16 + low);
  }
  return out;
}

std::optional<UpdatePublicKey> ParsePublicKey(std::string_view hex) { return ParseKey<32>(hex); }
std::optional<UpdateSecretKey> ParseSecretKey(std::string_view hex) { return ParseKey<64>(hex); }

UpdateKeyPair MakeUpdateKeyPair() {
  InitSodium();
  UpdateKeyPair pair;
  crypto_sign_ed25519_keypair(pair.publicKey.data(), pair.secretKey.data());
  return pair;
}

UpdateKeyPair UpdateKeyPairFromSeed(const std::array<unsigned char, 32>& seed) {
  InitSodium();
  UpdateKeyPair pair;
  crypto_sign_ed25519_seed_keypair(pair.publicKey.data(), pair.secretKey.data(), seed.data());
  return pair;
}

std::string SignUpdateList(std::string_view text, const UpdateSecretKey& key) {
  InitSodium();
  unsigned char signature[crypto_sign_ed25519_BYTES];
  crypto_sign_ed25519_detached(signature, nullptr, reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                               key.data());
  return ToHex(signature, sizeof signature) + "\n";
}

bool VerifyUpdateList(std::string_view text, std::string_view signature, const UpdatePublicKey& key) {
  InitSodium();
  const std::optional<std::string> bytes = FromHex(Trimmed(signature), crypto_sign_ed25519_BYTES);
  if (!bytes) return false;
  return crypto_sign_ed25519_verify_detached(reinterpret_cast<const unsigned char*>(bytes->data()),
                                             reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                                             key.data()) == 0;
}

std::optional<FileDigest> DigestFile(const std::filesystem::path& file) {
  InitSodium();
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return std::nullopt;
  crypto_hash_sha256_state state;
  crypto_hash_sha256_init(&state);
  std::vector<unsigned char> block(64 * 1024);
  FileDigest digest;
  for (;;) {
    const ssize_t n = ::read(fd, block.data(), block.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    crypto_hash_sha256_update(&state, block.data(), static_cast<unsigned long long>(n));
    digest.size += static_cast<std::uint64_t>(n);
  }
  ::close(fd);
  unsigned char hash[crypto_hash_sha256_BYTES];
  crypto_hash_sha256_final(&state, hash);
  digest.sha256 = ToHex(hash, sizeof hash);
  return digest;
}

std::string Sha256Hex(std::string_view bytes) {
  InitSodium();
  unsigned char hash[crypto_hash_sha256_BYTES];
  crypto_hash_sha256(hash, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  return ToHex(hash, sizeof hash);
}

namespace {

const std::string& Fetched(const UpdateRecord& r) { return r.archive.empty() ? r.name : r.archive; }

}  // namespace

std::optional<std::string> FillUpdateList(std::string_view text, const std::filesystem::path& folder,
                                          std::string& problem) {
  UpdateList list;
  list.ParseText(text);
  std::string out;
  for (const UpdateRecord& r : list.items) {
    const std::optional<FileDigest> digest =
        IsSafeRelativeName(Fetched(r)) ? DigestFile(folder / Fetched(r)) : std::nullopt;
    if (!digest) {
      problem = "brak pliku albo nie można go odczytać: " + Fetched(r);
      return std::nullopt;
    }
    out += r.name + ";" + r.version + ";" + (r.flag ? std::string(1, r.flag) : std::string()) + ";" + r.archive +
           ";" + std::to_string(digest->size) + ";" + digest->sha256 + "\r\n";
  }
  return out;
}

std::vector<std::string> CheckPublishedFolder(const std::filesystem::path& folder, const UpdatePublicKey& key) {
  std::vector<std::string> problems;
  const std::optional<std::string> text = ReadWholeFile(folder / kServerListName);
  const std::optional<std::string> signature = ReadWholeFile(folder / kSignatureName);
  if (!text) problems.push_back(std::string("brak listy ") + kServerListName);
  if (!signature) problems.push_back(std::string("brak podpisu ") + kSignatureName);
  if (!text || !signature) return problems;
  if (!VerifyUpdateList(*text, *signature, key)) problems.push_back("podpis nie zgadza się z listą albo z kluczem");
  UpdateList list;
  list.ParseText(*text);
  for (const UpdateRecord& r : list.items) {
    const std::optional<std::uint64_t> size = UpdateSize(r.size);
    if (!size || !IsSha256Text(r.sha256)) {
      problems.push_back("brak rozmiaru albo sumy kontrolnej: " + Fetched(r));
      continue;
    }
    if (!IsSafeRelativeName(r.name) || IsProtectedName(r.name) ||
        (!r.archive.empty() && (!IsSafeRelativeName(r.archive) || IsProtectedName(r.archive)))) {
      problems.push_back("niedozwolona nazwa pliku: " + Fetched(r));
      continue;
    }
    const std::optional<FileDigest> digest = DigestFile(folder / Fetched(r));
    std::string sha = r.sha256;
    for (char& c : sha)
      if (c >= 'A' && c <= 'F') c = static_cast<char>(c + 32);
    if (!digest) problems.push_back("brak pliku: " + Fetched(r));
    else if (digest->size != *size || digest->sha256 != sha) problems.push_back("plik nie zgadza się z listą: " + Fetched(r));
  }
  return problems;
}

}  // namespace solv
