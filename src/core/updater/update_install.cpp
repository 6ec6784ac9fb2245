#include "updater/update_install.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "updater/update_list.hpp"

namespace solv {

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

std::vector<std::string> Parts(const std::string& name) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t sep = name.find_first_of("/\\", start);
    parts.push_back(name.substr(start, sep == std::string::npos ? std::string::npos : sep - start));
    if (sep == std::string::npos) break;
    start = sep + 1;
  }
  return parts;
}

}  // namespace

struct StagedInstall::Step {
  std::string source;  // relative to the staging folder
  int folder = -1;     // the target's folder
  std::string leaf;
  std::string kept;    // the old file's name in the staging folder, empty when none
  bool placed = false;
};

StagedInstall::StagedInstall(std::filesystem::path programDir)
    : dir_(std::move(programDir)), folder_(dir_ / kStagingName) {}

StagedInstall::~StagedInstall() { Remove(); }

bool StagedInstall::Prepare() {
  Remove();
  std::error_code ec;
  // remove_all removes a link itself, not what it points to.
  std::filesystem::remove_all(folder_, ec);
  if (::mkdir(folder_.c_str(), 0700) != 0) return false;
  dirFd_ = ::open(dir_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  stagingFd_ = ::open(folder_.c_str(), kFolderFlags);
  return dirFd_ >= 0 && stagingFd_ >= 0;
}

std::filesystem::path StagedInstall::NewName(const std::string& kind) {
  return folder_ / (kind + std::to_string(++counter_));
}

void StagedInstall::Add(const std::filesystem::path& source, const std::string& target) {
  files_.emplace_back(source, target);
}

// The open folder of target inside the program folder, made when missing;
// -1 when a part of the way is not a folder or is a link.
int StagedInstall::FolderOf(const std::string& target, std::string& leaf) {
  const std::vector<std::string> parts = Parts(target);
  leaf = parts.back();
  std::string path;
  int current = dirFd_;
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
    path += (path.empty() ? "" : "/") + parts[i];
    auto it = folders_.find(path);
    if (it != folders_.end()) {
      current = it->second;
      continue;
    }
    int fd = ::openat(current, parts[i].c_str(), kFolderFlags);
    if (fd < 0 && errno == ENOENT) {
      if (::mkdirat(current, parts[i].c_str(), 0755) != 0) return -1;
      createdFolders_.push_back(path);
      fd = ::openat(current, parts[i].c_str(), kFolderFlags);
    }
    if (fd < 0) return -1;
    folders_[path] = fd;
    current = fd;
  }
  return current;
}

void StagedInstall::Undo(std::vector<Step>& done) {
  for (auto it = done.rbegin(); it != done.rend(); ++it) {
    if (it->placed) ::renameat(it->folder, it->leaf.c_str(), stagingFd_, it->source.c_str());
    if (!it->kept.empty()) ::renameat(stagingFd_, it->kept.c_str(), it->folder, it->leaf.c_str());
  }
  for (auto it = createdFolders_.rbegin(); it != createdFolders_.rend(); ++it) {
    const auto open = folders_.find(*it);
    if (open != folders_.end()) {
      ::close(open->second);
      folders_.erase(open);
    }
    ::unlinkat(dirFd_, it->c_str(), AT_REMOVEDIR);
  }
  createdFolders_.clear();
}

StagedInstall::Result StagedInstall::Install(const std::function<bool()>& commit) {
  Result result;
  if (dirFd_ < 0 || stagingFd_ < 0) return result;
  std::vector<Step> done;
  int keptCount = 0;
  for (const auto& [source, target] : files_) {
    Step step;
    step.source = std::filesystem::relative(source, folder_).string();
    step.folder = FolderOf(target, step.leaf);
    bool ok = step.folder >= 0;
    struct stat old {};
    if (ok && ::fstatat(step.folder, step.leaf.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0) {
      // A folder in the way is never moved aside.
      ok = !S_ISDIR(old.st_mode);
      if (ok && S_ISREG(old.st_mode)) ::fchmodat(stagingFd_, step.source.c_str(), old.st_mode & 07777, 0);
      step.kept = "old" + std::to_string(++keptCount);
      ok = ok && ::renameat(step.folder, step.leaf.c_str(), stagingFd_, step.kept.c_str()) == 0;
      if (!ok) step.kept.clear();
    } else if (ok && errno != ENOENT) {
      ok = false;
    }
    if (ok) ok = step.placed = ::renameat(stagingFd_, step.source.c_str(), step.folder, step.leaf.c_str()) == 0;
    done.push_back(step);
    if (!ok) {
      Undo(done);
      result.failedTarget = target;
      return result;
    }
  }
  if (commit && !commit()) {
    Undo(done);
    return result;
  }
  for (const auto& [path, fd] : folders_) ::fsync(fd);
  ::fsync(dirFd_);
  result.ok = true;
  return result;
}

void StagedInstall::Remove() {
  for (const auto& [path, fd] : folders_) ::close(fd);
  folders_.clear();
  createdFolders_.clear();
  if (stagingFd_ >= 0) ::close(stagingFd_);
  if (dirFd_ >= 0) ::close(dirFd_);
  stagingFd_ = dirFd_ = -1;
  files_.clear();
  std::error_code ec;
  if (std::filesystem::is_directory(std::filesystem::symlink_status(folder_, ec)))
    std::filesystem::remove_all(folder_, ec);
}

}  // namespace solv
