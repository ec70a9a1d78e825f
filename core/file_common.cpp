#include "core/file_common.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <vector>

namespace lx {

namespace {

thread_local const FileFault* activeFault = nullptr;

// The folders this thread holds locked, with how many FolderLocks share each lock.
struct HeldLock {
  std::uint64_t device, inode;
  std::function<void()> release;
  int count;
};
thread_local std::vector<HeldLock> heldLocks;

std::string Mebibytes(std::size_t bytes) {
  if (bytes % (std::size_t{1} << 20) == 0) return std::to_string(bytes >> 20) + " MiB";
  return std::to_string(bytes) + " bytes";
}

std::string Seconds(int millis) {
  if (millis % 1000 == 0) return std::to_string(millis / 1000) + " s";
  return std::to_string(millis) + " ms";
}

}  // namespace

namespace file_detail {

int FaultAt(FileStep step) { return activeFault && activeFault->step == step ? activeFault->error : 0; }

void Traced(FileStep step) {
  if (activeFault && activeFault->trace) activeFault->trace->push_back(step);
}

WriteFault WriteFaultAt(std::size_t written, std::size_t size) {
  const int error = FaultAt(FileStep::Write);
  if (!error || written + size <= activeFault->afterBytes) return {size, 0};
  return {activeFault->afterBytes > written ? activeFault->afterBytes - written : 0, error};
}

bool JoinHeldLock(std::uint64_t device, std::uint64_t inode) {
  for (HeldLock& h : heldLocks)
    if (h.device == device && h.inode == inode) {
      ++h.count;
      return true;
    }
  return false;
}

void KeepHeldLock(std::uint64_t device, std::uint64_t inode, std::function<void()> release) {
  heldLocks.push_back({device, inode, std::move(release), 1});
}

void LeaveHeldLock(std::uint64_t device, std::uint64_t inode) {
  for (auto h = heldLocks.begin(); h != heldLocks.end(); ++h) {
    if (h->device != device || h->inode != inode) continue;
    if (--h->count == 0) {
      const std::function<void()> release = std::move(h->release);
      heldLocks.erase(h);
      release();
    }
    return;
  }
}

std::string LockTimeoutReason(int waitMs) {
  return "cannot lock its folder: another program has held it for " + std::to_string(waitMs / 1000) + " s";
}

InputRead InputFailure(InputError error, std::string reason) {
  return Failure<InputError>{error, std::move(reason)};
}

std::string StalledReason(int idleMillis) { return "no data for " + Seconds(idleMillis) + "; reading given up"; }

InputRead ReadBounded(const InputLimits& limits, const std::function<std::optional<InputRead>()>& wait,
                      const std::function<long long(char*, std::size_t)>& read) {
  std::string bytes;
  std::array<char, std::size_t{64} * 1024> buffer;
  for (;;) {
    if (wait)
      if (std::optional<InputRead> failed = wait()) return std::move(*failed);
    // One byte past the limit tells a file of exactly the limit from a larger one.
    const std::size_t room = limits.maxBytes + (limits.truncate ? 0 : 1) - bytes.size();
    const long long got = read(buffer.data(), std::min(buffer.size(), room));
    if (got < 0) {
      if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
      return InputFailure(InputError::ReadFailed, std::strerror(errno));
    }
    if (got == 0) break;
    // Grow by doubling, but never past the limit: memory stays within the limit and a bit.
    const std::size_t need = bytes.size() + static_cast<std::size_t>(got);
    if (need > bytes.capacity())
      bytes.reserve(std::min(std::max(need, 2 * bytes.capacity()), limits.maxBytes + 1));
    bytes.append(buffer.data(), static_cast<std::size_t>(got));
    if (bytes.size() > limits.maxBytes)
      return InputFailure(InputError::TooLarge,
                          "larger than " + Mebibytes(limits.maxBytes) + "; reading stopped there");
    if (limits.truncate && bytes.size() == limits.maxBytes) break;
  }
  return bytes;
}

}  // namespace file_detail

ScopedFileFault::ScopedFileFault(const FileFault& fault) : fault_(fault), previous_(activeFault) {
  activeFault = &fault_;
}
ScopedFileFault::~ScopedFileFault() { activeFault = previous_; }

AtomicFile::~AtomicFile() { Abandon(); }

FileWrite WriteFileAtomically(const std::filesystem::path& target, std::string_view data) {
  AtomicFile file;
  if (file.Open(target) && file.Write(data) && file.Commit()) return {};
  return file.failure();
}

}  // namespace lx
