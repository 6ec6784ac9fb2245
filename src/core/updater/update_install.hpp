// Putting an update in place as one change: the new files wait in a staging
// folder inside the program folder; only when all of them are there are they
// moved into place, each by rename, with the files they replace kept aside
// until the end, so that any failure puts every old file back.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace solv {

class StagedInstall {
 public:
  explicit StagedInstall(std::filesystem::path programDir);
  ~StagedInstall();  // removes the staging folder
  StagedInstall(const StagedInstall&) = delete;
  StagedInstall& operator=(const StagedInstall&) = delete;

  // Removes what an earlier run left there and creates the folder anew (a
  // link or file of that name is removed, never followed); false when it
  // cannot be made.
  bool Prepare();
  const std::filesystem::path& Folder() const { return folder_; }
  // A new name in the staging folder for a download or an unpacked archive.
  std::filesystem::path NewName(const std::string& kind);

  // A file to put in place: source inside the staging folder, target a safe
  // name relative to the program folder. A later file for the same target
  // wins.
  void Add(const std::filesystem::path& source, const std::string& target);

  struct Result {
    bool ok = false;
    std::string failedTarget;  // the file that could not be put in place
  };
  // Moves every added file into place; the new file takes the permissions of
  // the one it replaces. Once all are in place, commit runs (it saves the
  // list of installed files); when it answers false, or any move fails,
  // every file moved so far is taken back and every old file put back, and
  // folders made for new files are removed again. No step follows a
  // symbolic link: a folder on the way that is a link fails the install.
  Result Install(const std::function<bool()>& commit);

  // Removes the staging folder and everything in it.
  void Remove();

 private:
  struct Step;
  int FolderOf(const std::string& target, std::string& leaf);
  void Undo(std::vector<Step>& done);

  std::filesystem::path dir_;
  std::filesystem::path folder_;
  std::vector<std::pair<std::filesystem::path, std::string>> files_;
  int counter_ = 0;
  int dirFd_ = -1, stagingFd_ = -1;
  std::map<std::string, int> folders_;   // relative folder -> open descriptor
  std::vector<std::string> createdFolders_;
};

}  // namespace solv
