#pragma once
// Standard output watched for writes that never arrived.
#include <cerrno>
#include <streambuf>

namespace lx::cli {

// Passes standard output on, keeping the system's reason for the first write that failed:
// output that never arrived (a full disk, a closed device) fails the command, whatever it was.
class WatchedOutput : public std::streambuf {
 public:
  explicit WatchedOutput(std::streambuf* target) : target_(target) {}
  bool failed() const { return failed_; }
  int reason() const { return reason_; }  // errno, 0 when there was none

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return sync() == 0 ? traits_type::not_eof(c) : c;
    errno = 0;
    if (traits_type::eq_int_type(target_->sputc(traits_type::to_char_type(c)), traits_type::eof())) {
      NoteFailure();
      return traits_type::eof();
    }
    return c;
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    errno = 0;
    const std::streamsize written = target_->sputn(s, n);
    if (written != n) NoteFailure();
    return written;
  }
  int sync() override {
    errno = 0;
    if (target_->pubsync() == 0) return 0;
    NoteFailure();
    return -1;
  }

 private:
  void NoteFailure() {
    if (!failed_) reason_ = errno;
    failed_ = true;
  }

  std::streambuf* target_;
  bool failed_ = false;
  int reason_ = 0;
};

}  // namespace lx::cli
