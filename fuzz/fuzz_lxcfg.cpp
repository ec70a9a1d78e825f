// The whole lxcfg command line, run in-process: one argument per input line. Whatever the
// arguments, lxcfg answers 0, 1 or 2, says why on standard error when it does not answer 0, and
// writes only where it was told to. It runs in a scratch folder holding a transmitter and a
// receiver image, a binary image and Data/ with the shipped default images; arguments naming
// anything outside that folder (a '/' in them) are left out, and standard input is empty.
#include <fcntl.h>
#include <unistd.h>

#include <map>
#include <sstream>

#include "cli/lxcfg.h"
#include "core/binary_format.h"
#include "core/header_format.h"
#include "fuzz_support.h"

namespace {

namespace fs = std::filesystem;

// The files the scratch folder starts with, by name, and the folder itself.
struct Sandbox {
  fs::path dir;
  std::map<std::string, std::string> files;
};

const Sandbox& Setup() {
  static const Sandbox box = [] {
    Sandbox b;
    b.dir = lx::fuzz::ScratchDir() / "work";
    fs::create_directories(b.dir);
    for (const lx::ToolProfile* p : lx::AllProfiles())
      for (const lx::ChipModel& m : p->models) {
        fs::create_directories(b.dir / "Data" / m.name);
        lx::fuzz::WriteWhole(b.dir / "Data" / m.name / "EEPROM.h", lx::fuzz::DefaultImage(m.name));
      }
    b.files["tx.h"] = lx::fuzz::DefaultImage("LX7250");
    b.files["rx.h"] = lx::fuzz::DefaultImage("LX7150");
    b.files["d.h"] = lx::fuzz::DefaultImage("LX7240D");
    b.files["img.bin"] = std::string(200, '\x5a');
    for (const auto& [name, bytes] : b.files) lx::fuzz::WriteWhole(b.dir / name, bytes);
    if (::chdir(b.dir.c_str()) != 0) std::abort();
    // "-" as an input reads standard input: make it an empty one.
    const int null = ::open("/dev/null", O_RDONLY);
    if (null < 0 || ::dup2(null, 0) < 0) std::abort();
    ::close(null);
    return b;
  }();
  return box;
}

// Puts the folder back as it was: new files go, changed ones get their bytes back.
void Restore(const Sandbox& box) {
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(box.dir, ec)) {
    const std::string name = e.path().filename().string();
    if (name == "Data") continue;
    const auto kept = box.files.find(name);
    if (kept == box.files.end())
      fs::remove_all(e.path(), ec);
    else if (lx::fuzz::ReadWhole(e.path()) != kept->second)
      lx::fuzz::WriteWhole(e.path(), kept->second);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Sandbox& box = Setup();
  std::vector<std::string> args =
      lx::fuzz::Lines(std::string_view(reinterpret_cast<const char*>(data), size), 16);
  for (const std::string& a : args)
    if (a.find('/') != std::string::npos || a.size() > 256) return 0;
  std::ostringstream out, err;
  const int status = lx::cli::run(args, out, err, box.dir);
  lx::fuzz::Check(status == 0 || status == 1 || status == 2);
  // Usage errors and failures say why; diff, plan and pair also answer 1 for "no" on stdout.
  const bool question = !args.empty() && (args[0] == "diff" || args[0] == "plan" || args[0] == "pair");
  if (status == 2 || (status == 1 && !question)) lx::fuzz::Check(!err.str().empty());
  // Data/ is only ever read.
  for (const char* model : {"LX7240", "LX7250", "LX7140"})
    lx::fuzz::Check(lx::fuzz::ReadWhole(box.dir / "Data" / model / "EEPROM.h") ==
                    lx::fuzz::DefaultImage(model));
  Restore(box);
  return 0;
}
