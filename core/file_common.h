#pragma once
// What the platform implementations of file replacement (atomic_file*.cpp) and bounded reading
// (input_file*.cpp) share. Internal to the core.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/atomic_file.h"
#include "core/input_file.h"

namespace lx::file_detail {

// The failure a ScopedFileFault of this thread injects at `step`: its errno, or 0.
int FaultAt(FileStep step);
// Notes a step carried out in the trace of the fault installed on this thread, if any.
void Traced(FileStep step);
// An injected write failure lets the bytes before its limit through, as a filling disk does: of
// `size` bytes to write after `written`, how many pass, and the errno to fail with after them.
struct WriteFault {
  std::size_t passes;
  int error;  // 0: no failure
};
WriteFault WriteFaultAt(std::size_t written, std::size_t size);

// Folder locks nest within a thread: each folder (known by device and inode) is locked once and
// counted. JoinHeldLock raises the count of a lock this thread holds already and says so;
// KeepHeldLock records one just taken, with what lets it go; LeaveHeldLock lets it go when its
// last holder leaves.
bool JoinHeldLock(std::uint64_t device, std::uint64_t inode);
void KeepHeldLock(std::uint64_t device, std::uint64_t inode, std::function<void()> release);
void LeaveHeldLock(std::uint64_t device, std::uint64_t inode);
// "cannot lock its folder: another program has held it for 60 s"
std::string LockTimeoutReason(int waitMs);

InputRead InputFailure(InputError error, std::string reason);
std::string StalledReason(int idleMillis);

// The bounded read loop of every platform. `wait`, when given, is called before each read of an
// input that may stay silent (a pipe, a FIFO, a device): it ends the reading with a failure or
// returns nothing. `read` returns the bytes it read, 0 at the end, or -1 with errno set.
InputRead ReadBounded(const InputLimits& limits, const std::function<std::optional<InputRead>()>& wait,
                      const std::function<long long(char*, std::size_t)>& read);

}  // namespace lx::file_detail
