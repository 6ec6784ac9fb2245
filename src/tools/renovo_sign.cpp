// renovo-sign: prepares an update for the update server.
//
//   renovo-sign keygen SECRET_FILE     make a key pair: the secret key goes to a
//                                      new file (only its owner may read it),
//                                      the public key to standard output
//   renovo-sign publish FOLDER SECRET_FILE
//                                      fill in the size and SHA-256 of every
//                                      record of FOLDER/data41.dat from the
//                                      files in FOLDER and sign the list
//                                      (FOLDER/data41.sig)
//   renovo-sign verify FOLDER PUBLIC_KEY
//                                      check FOLDER as the updater will
//
// Exit status: 0 done, 1 the folder does not pass, 2 wrong use or a file error.
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "updater/update_list.hpp"
#include "updater/update_signature.hpp"
#include "util/file_io.hpp"

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

int Usage() {
  std::cerr << "użycie: renovo-sign keygen PLIK_KLUCZA_TAJNEGO\n"
               "        renovo-sign publish KATALOG PLIK_KLUCZA_TAJNEGO\n"
               "        renovo-sign verify KATALOG KLUCZ_PUBLICZNY\n";
  return kExitUsage;
}

int Fail(const std::string& text) {
  std::cerr << "renovo-sign: " << text << "\n";
  return kExitUsage;
}

// Writes a new file that only its owner may read; never over an existing one.
bool WriteNewPrivate(const std::filesystem::path& file, const std::string& text) {
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  bool ok = solv::WriteAll(fd, text) && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  return ok;
}

int Keygen(const std::filesystem::path& secretFile) {
  const solv::UpdateKeyPair pair = solv::MakeUpdateKeyPair();
  if (!WriteNewPrivate(secretFile, solv::ToHex(pair.secretKey.data(), pair.secretKey.size()) + "\n"))
    return Fail("nie można utworzyć pliku (może już istnieje): " + secretFile.string());
  std::cout << solv::ToHex(pair.publicKey.data(), pair.publicKey.size()) << "\n";
  return 0;
}

int Publish(const std::filesystem::path& folder, const std::filesystem::path& secretFile) {
  const std::optional<std::string> secretText = solv::ReadWholeFile(secretFile);
  const std::optional<solv::UpdateSecretKey> secret =
      secretText ? solv::ParseSecretKey(*secretText) : std::nullopt;
  if (!secret) return Fail("to nie jest plik klucza tajnego: " + secretFile.string());
  const std::filesystem::path listFile = folder / solv::kServerListName;
  const std::optional<std::string> list = solv::ReadWholeFile(listFile);
  if (!list) return Fail("nie można odczytać pliku " + listFile.string());
  std::string problem;
  const std::optional<std::string> filled = solv::FillUpdateList(*list, folder, problem);
  if (!filled) return Fail(problem);
  if (!solv::ReplaceFile(listFile, *filled)) return Fail("nie można zapisać pliku " + listFile.string());
  const std::filesystem::path signatureFile = folder / solv::kSignatureName;
  if (!solv::ReplaceFile(signatureFile, solv::SignUpdateList(*filled, *secret)))
    return Fail("nie można zapisać pliku " + signatureFile.string());
  std::cout << "Podpisano " << listFile.string() << "\n";
  return 0;
}

int Verify(const std::filesystem::path& folder, const std::string& publicKey) {
  const std::optional<solv::UpdatePublicKey> key = solv::ParsePublicKey(publicKey);
  if (!key) return Fail("klucz publiczny to 64 cyfry szesnastkowe");
  const std::vector<std::string> problems = solv::CheckPublishedFolder(folder, *key);
  for (const std::string& p : problems) std::cout << p << "\n";
  if (!problems.empty()) return kExitFailed;
  std::cout << "Aktualizacja w " << folder.string() << " jest poprawnie podpisana\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "keygen" && argc == 3) return Keygen(argv[2]);
    if (command == "publish" && argc == 4) return Publish(argv[2], argv[3]);
    if (command == "verify" && argc == 4) return Verify(argv[2], argv[3]);
    return Usage();
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
}
