// Signed updates: the server list is signed by the publisher (Ed25519,
// detached, over the list's exact bytes) and names the size and SHA-256 of
// every file, so that nothing the network changed is ever installed.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace solv {

using UpdatePublicKey = std::array<unsigned char, 32>;
using UpdateSecretKey = std::array<unsigned char, 64>;

// Lower-case hex of bytes, and back (either case; nullopt for anything else
// or for another length than the size asked for).
std::string ToHex(const unsigned char* bytes, std::size_t size);
std::optional<std::string> FromHex(std::string_view hex, std::size_t size);

std::optional<UpdatePublicKey> ParsePublicKey(std::string_view hex);
std::optional<UpdateSecretKey> ParseSecretKey(std::string_view hex);

struct UpdateKeyPair {
  UpdatePublicKey publicKey{};
  UpdateSecretKey secretKey{};
};
// A new random key pair; the same pair again from the same 32-byte seed.
UpdateKeyPair MakeUpdateKeyPair();
UpdateKeyPair UpdateKeyPairFromSeed(const std::array<unsigned char, 32>& seed);

// The signature of text as published: 128 hex digits and a line end.
std::string SignUpdateList(std::string_view text, const UpdateSecretKey& key);
// True only for a well-formed signature (blanks around it allowed) of
// exactly these bytes by the holder of key.
bool VerifyUpdateList(std::string_view text, std::string_view signature, const UpdatePublicKey& key);

struct FileDigest {
  std::uint64_t size = 0;
  std::string sha256;  // lower-case hex
};
// Size and SHA-256 of a file, read in blocks; nullopt when it cannot be read.
std::optional<FileDigest> DigestFile(const std::filesystem::path& file);
std::string Sha256Hex(std::string_view bytes);

// Publishing: the list text with the size and SHA-256 of every record filled
// in from the files in folder (the archive when the record has one, else the
// file); nullopt with problem set when a file is missing or unreadable.
std::optional<std::string> FillUpdateList(std::string_view text, const std::filesystem::path& folder,
                                          std::string& problem);
// What keeps a published folder (its list, signature and files) from
// passing the updater's checks with key; empty when nothing.
std::vector<std::string> CheckPublishedFolder(const std::filesystem::path& folder, const UpdatePublicKey& key);

}  // namespace solv
