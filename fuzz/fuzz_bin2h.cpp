// "bin To h" with any file as the binary image, through the conversion the windows run: a file
// of 192 bytes or more gives exactly the header Save writes for its first 192 bytes, which reads
// back to them; a shorter one gives "error!" and leaves the output alone.
//
// Input: model index byte, then the binary file's bytes.
#include "core/binary_format.h"
#include "core/header_format.h"
#include "core/messages.h"
#include "fuzz_support.h"

using namespace lx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const ToolProfile& profile = data[0] & 0x80 ? OstrelProfile() : AmbrelProfile();
  const int model = (data[0] & 0x7F) % profile.modelCount();
  const std::string_view image(reinterpret_cast<const char*>(data) + 1, size - 1);

  const std::filesystem::path in = fuzz::ScratchDir() / "in.bin";
  const std::filesystem::path out = fuzz::ScratchDir() / "out.h";
  fuzz::WriteWhole(in, image);
  fuzz::WriteWhole(out, "previous");

  ToolState state(profile, fuzz::ScratchDir());
  state.chipModel = model;
  state.crystalKHz = 24000;
  state.binaryPath = in.string();
  const Report r = state.ConvertBinaryToHeader(out.string());
  const std::string written = fuzz::ReadWhole(out);
  if (image.size() < kBinaryImageSize) {
    fuzz::Check(!r.ok && r.message == msg::kBinError && written == "previous");
    return 0;
  }
  fuzz::Check(r.ok && r.message == msg::kConverted);
  const RegisterImage words = *BinaryToWords(image);
  fuzz::Check(written == WriteHeaderText(profile.models[static_cast<std::size_t>(model)], 24000, words));
  RegisterImage back{};
  int32_t crystal = 0;
  ViewStream text(written);
  ReadHeaderLines(text, HeaderReadMode::Open, profile, back, crystal);
  fuzz::Check(back == words && crystal == 24000);
  fuzz::Check(WordsToBinary(back) == image.substr(0, kBinaryImageSize));
  return 0;
}
