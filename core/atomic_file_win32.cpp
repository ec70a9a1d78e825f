// Windows implementation of AtomicFile: the temporary file is created beside the target with
// CreateFileW, written in binary (the header's CRLF lines go out as they are), flushed to disk,
// and put in place with ReplaceFileW, which keeps the replaced file's attributes and security,
// or MoveFileExW with write-through when there is nothing to replace yet.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "core/atomic_file.h"
#include "core/file_common.h"
#include "core/path_text.h"

namespace lx {

namespace {

std::string SystemMessage(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring w = n && text ? std::wstring(text, n) : L"error " + std::to_wstring(code);
  if (text) LocalFree(text);
  while (!w.empty() && (w.back() == L'\r' || w.back() == L'\n' || w.back() == L'.')) w.pop_back();
  return Utf8FromPath(std::filesystem::path(w));
}

HANDLE HandleOf(int fd) { return reinterpret_cast<HANDLE>(_get_osfhandle(fd)); }

using file_detail::FaultAt;

}  // namespace

// `err` is an injected errno; 0 takes the reason Windows gave for the last call.
bool AtomicFile::Fail(const char* what, int err) {
  error_ = std::string(what) + ": " + (err ? std::string(std::strerror(err)) : SystemMessage(GetLastError()));
  kind_ = WriteFailure::Failed;
  Abandon();
  return false;
}

bool AtomicFile::Open(const std::filesystem::path& target) {
  Abandon();
  target_ = target;
  written_ = 0;
  error_.clear();
  if (const int err = FaultAt(FileStep::Create)) return Fail("cannot create", err);
  // Held until the replacement is done, so that two saves into one folder take turns.
  lock_ = std::make_unique<FolderLock>(target_);
  if (const FileWrite locked = lock_->held(); !locked) {
    error_ = locked.message();
    kind_ = WriteFailure::Locked;
    lock_.reset();
    return false;
  }
  std::filesystem::path dir = target.parent_path();
  if (dir.empty()) dir = ".";
  std::random_device random;
  for (int attempt = 0; attempt < 16; ++attempt) {
    const std::filesystem::path temp =
        dir / (L"." + target.filename().wstring() + L"." + std::to_wstring(random() % 1000000u) + L".tmp");
    HANDLE h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      if (GetLastError() == ERROR_FILE_EXISTS) continue;
      return Fail("cannot create", 0);
    }
    fd_ = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_BINARY | _O_WRONLY);
    if (fd_ < 0) {
      CloseHandle(h);
      DeleteFileW(temp.c_str());
      return Fail("cannot create", 0);
    }
    tempName_ = Utf8FromPath(temp);
    return true;
  }
  SetLastError(ERROR_FILE_EXISTS);
  return Fail("cannot create", 0);
}

bool AtomicFile::Write(std::string_view data) {
  if (fd_ < 0) return false;
  const file_detail::WriteFault injected = file_detail::WriteFaultAt(written_, data.size());
  data = data.substr(0, injected.passes);
  while (!data.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size(), 1u << 20));
    DWORD written = 0;
    if (!WriteFile(HandleOf(fd_), data.data(), chunk, &written, nullptr)) return Fail("cannot write", 0);
    if (written == 0) return Fail("cannot write", ENOSPC);
    data.remove_prefix(written);
    written_ += written;
  }
  if (injected.error) return Fail("cannot write", injected.error);
  return true;
}

bool AtomicFile::Commit() {
  if (fd_ < 0) return false;
  int err = FaultAt(FileStep::Flush);
  if (err || !FlushFileBuffers(HandleOf(fd_))) return Fail("cannot write", err);
  const int fd = fd_;
  fd_ = -1;
  // The descriptor is gone whatever close answers; a failure may mean lost data.
  if (_close(fd) != 0) return Fail("cannot write", errno ? errno : EIO);
  if ((err = FaultAt(FileStep::Close))) return Fail("cannot write", err);
  if ((err = FaultAt(FileStep::Rename))) return Fail("cannot replace it", err);
  const std::filesystem::path temp = PathFromUtf8(tempName_);
  const DWORD attributes = GetFileAttributesW(target_.c_str());
  const bool replaceable = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  // A read-only file is one the user asked to keep: not every file system refuses to move
  // over it, so refuse here.
  if (replaceable && (attributes & FILE_ATTRIBUTE_READONLY)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return Fail("cannot replace it", 0);
  }
  bool done = replaceable && ReplaceFileW(target_.c_str(), temp.c_str(), nullptr,
                                          REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
  // ReplaceFileW refuses some targets (other file systems, no such file yet): a plain move
  // with write-through still replaces in one step.
  if (!done)
    done = MoveFileExW(temp.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!done) return Fail("cannot replace it", 0);
  tempName_.clear();
  // Windows has no flush of a folder of its own: the move is written through, and ReplaceFileW
  // leaves the entry to the file system's journal. A failure at this step is reported as on
  // other systems.
  if ((err = FaultAt(FileStep::FolderFlush))) return Fail("cannot flush its folder", err);
  lock_.reset();
  return true;
}

void AtomicFile::Abandon() {
  if (fd_ >= 0) _close(fd_);
  fd_ = -1;
  if (!tempName_.empty()) DeleteFileW(PathFromUtf8(tempName_).c_str());
  tempName_.clear();
  lock_.reset();
}

std::string UnreadableReason(const std::filesystem::path& path) {
  std::error_code ec;
  const auto st = std::filesystem::status(path, ec);
  if (ec && ec != std::errc::no_such_file_or_directory) return "cannot open: " + ec.message();
  if (!std::filesystem::exists(st)) return std::string("cannot open: ") + std::strerror(ENOENT);
  if (std::filesystem::is_directory(st)) return std::string("cannot open: ") + std::strerror(EISDIR);
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "cannot open: " + SystemMessage(GetLastError());
  CloseHandle(h);
  return {};
}

// A folder is known by its volume and file index; the lock is a named mutex of that identity,
// so that it leaves no file behind and is released by the system if its holder dies.
FolderLock::FolderLock(const std::filesystem::path& target, int waitMs) {
  std::filesystem::path dir = ResolveLinks(target).parent_path();
  if (dir.empty()) dir = ".";
  HANDLE folder = CreateFileW(dir.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (folder == INVALID_HANDLE_VALUE) return;  // unreadable: saving goes on unlocked
  BY_HANDLE_FILE_INFORMATION info{};
  const bool known = GetFileInformationByHandle(folder, &info) != 0;
  CloseHandle(folder);
  if (!known) return;
  device_ = info.dwVolumeSerialNumber;
  inode_ = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  if (file_detail::JoinHeldLock(device_, inode_)) {
    held_ = true;
    return;
  }
  const std::wstring name = L"Local\\lxtools-folder-" + std::to_wstring(device_) + L"-" + std::to_wstring(inode_);
  HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
  if (!mutex) return;
  const DWORD waited = WaitForSingleObject(mutex, waitMs < 0 ? INFINITE : static_cast<DWORD>(waitMs));
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
    if (waited == WAIT_TIMEOUT)
      error_ = file_detail::LockTimeoutReason(waitMs);
    CloseHandle(mutex);
    return;
  }
  file_detail::KeepHeldLock(device_, inode_, [mutex] {
    ReleaseMutex(mutex);
    CloseHandle(mutex);
  });
  held_ = true;
}

FolderLock::~FolderLock() {
  if (held_) file_detail::LeaveHeldLock(device_, inode_);
}

std::filesystem::path ResolveLinks(const std::filesystem::path& path, int* error) {
  if (error) *error = 0;
  std::error_code ec;
  const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ec);
  return ec ? path : resolved;
}

}  // namespace lx
