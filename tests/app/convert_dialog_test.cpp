// The file conversion dialog of both tools: the paths it shows, its file dialogs and every
// message it can give.
#include <fmt/format.h>

#include "app/file_convert_dialog.h"
#include "app_fixture.h"
#include "core/messages.h"
#include "resources/ids.h"

namespace lx::app::testing {
namespace {

using namespace res::convert;

// The script line that clicks a button.
std::string Click(int id) { return fmt::format("click {}\n", id); }

// Runs the conversion dialog from the menu with the given actions, then closes it.
void Convert(ToolWindow& w, const std::string& script) {
  w.host.QueueScript(script + "\nescape\n");
  w.host.Command(res::kCmdConvert);
}

class Conversion : public ::testing::TestWithParam<const ToolDefinition& (*)()> {};

TEST_P(Conversion, BoxesShowTheRememberedPathsAndFollowTheBrowseButtons) {
  ToolWindow w(GetParam()());
  std::vector<std::string> shown;
  w.host.Queue(ui::Action::Call([&, &h = w.host] {
    shown = {h.top()->GetDlgItemText(res::convert::kHeaderPathBox),
             h.top()->GetDlgItemText(res::convert::kBinaryPathBox)};
  }));
  Convert(w, Click(kBrowseHeader) + "file data/a.h\n" + Click(kBrowseBinary) + "file b\n" +
                 fmt::format("type {} typed by hand\n", kHeaderPathBox) + Click(kBrowseHeader) +
                 "cancel-file");
  std::string data = (w.work / "data").string();
  EXPECT_EQ(shown, (std::vector<std::string>{data, data}));
  const std::string a = (w.work / "data/a.h").make_preferred().string();  // as the platform writes it
  EXPECT_EQ(w.state.headerPath, a);
  EXPECT_EQ(w.state.binaryPath, (w.work / "b.bin").string());
  const auto& files = w.host.fileDialogs();
  ASSERT_EQ(files.size(), 3u);
  EXPECT_EQ(files[0].request.filter, "head files(*.h)|*.h||");
  EXPECT_EQ(files[0].request.initialFolder, data);
  EXPECT_EQ(files[1].request.proposedName, "EEPROM.bin");
  EXPECT_EQ(files[1].request.filter, "bin files(*.bin)|*.bin||");
  EXPECT_FALSE(files[1].request.save);
  EXPECT_EQ(files[2].request.initialFolder, a);
  EXPECT_EQ(w.host.opened(), (std::vector<int>{res::kMainDialog, res::kConvertDialog}));
  EXPECT_EQ(w.host.errors(), 0);
}

TEST_P(Conversion, EveryMessage) {
  ToolWindow w(GetParam()());
  fs::path header = w.work / "h.h";
  w.host.Click(res::main_window::kModelRadios[0]);
  w.host.AnswerFile("h.h");
  w.host.Command(res::kCmdSave);
  WriteFile(w.work / "empty.bin", "");
  const std::string toBinary = Click(kHeaderToBinary), toHeader = Click(kBinaryToHeader);
  Convert(w, toBinary + "file out.bin\n" +  // header path is a folder
                 Click(kBrowseHeader) + "file h.h\n" + toBinary + "cancel-file\n" +  // cancelled: nothing
                 toBinary + "file out.bin\n" +                                       // converted
                 toHeader + "file back.h\n" +  // binary path is a folder
                 Click(kBrowseBinary) + "file empty.bin\n" + toHeader + "file back.h\n" +  // no byte
                 Click(kBrowseBinary) + "file out.bin\n" + toHeader + "file back.h\n" +    // converted
                 toHeader + "file no/such/folder.h\n");  // output cannot be made: silent
  EXPECT_EQ(w.host.messageTexts(),
            (std::vector<std::string>{msg::kOpenHeaderFailed, msg::kConverted, msg::kOpenBinFailed, msg::kBinError,
                                      msg::kConverted}));
  // The header written by Save comes back byte for byte through the binary image.
  std::string bin = ReadFile(w.work / "out.bin");
  ASSERT_EQ(bin.size(), 192u);
  EXPECT_EQ(static_cast<uint8_t>(bin[0x18 * 2]), w.state.words[0x18] >> 8);
  EXPECT_EQ(ReadFile(w.work / "back.h"), ReadFile(header));
  // Each message is owned by the conversion dialog and shows its boxes.
  const ui::MessageRecord& m = w.host.messages()[1];
  EXPECT_EQ(m.dialogId, res::kConvertDialog);
  EXPECT_EQ(m.control(kHeaderPathBox)->text, header.string());
  EXPECT_EQ(w.host.errors(), 0);
}

TEST_P(Conversion, BinToHeaderNeedsAModel) {
  ToolWindow w(GetParam()());
  WriteFile(w.work / "img.bin", std::string(192, '\x01'));
  Convert(w, Click(kBrowseBinary) + "file img.bin\n" + Click(kBinaryToHeader) + "file out.h");
  EXPECT_EQ(w.host.messageTexts(), std::vector<std::string>{msg::kNoChipModel});
  EXPECT_FALSE(fs::exists(w.work / "out.h"));
  EXPECT_FALSE(w.main.ended());  // closing the conversion dialog leaves the main window open
}

TEST_P(Conversion, HeaderToBinarySavesFromTheHeadersFolder) {
  ToolWindow w(GetParam()());
  fs::create_directories(w.work / "headers");
  fs::create_directories(w.work / "images");
  Convert(w, Click(kBrowseBinary) + "file images/old.bin\n" + Click(kBrowseHeader) + "file headers/a.h\n" +
                 Click(kHeaderToBinary) + "cancel-file");
  const auto& files = w.host.fileDialogs();
  ASSERT_EQ(files.size(), 3u);
  EXPECT_TRUE(files[2].request.save);
  EXPECT_EQ(files[2].request.proposedName, "EEPROM.bin");
  EXPECT_EQ(files[2].request.initialFolder, (w.work / "headers/a.h").make_preferred().string())
      << "not the binary's folder";
  EXPECT_EQ(w.state.binaryPath, (w.work / "images/old.bin").make_preferred().string());
}

INSTANTIATE_TEST_SUITE_P(Tools, Conversion, ::testing::Values(AmbrelTool, OstrelTool));

TEST(Conversion, WritesTheTaggedModelsNames) {
  ToolWindow w(AmbrelTool());
  WriteFile(w.work / "d.h", "unsigned int code LX7250D_REG[EEPROM_SIZE] =\r\n");
  WriteFile(w.work / "img.bin", std::string(200, '\x12'));
  w.host.AnswerFile("d.h");
  w.host.Command(res::kCmdOpen);
  Convert(w, Click(kBrowseBinary) + "file img.bin\n" + Click(kBinaryToHeader) + "file out.h");
  std::string out = ReadFile(w.work / "out.h");
  EXPECT_NE(out.find("\r\n#define LX7250D\r\nunsigned int code LX7250D_REG[EEPROM_SIZE] =\r\n"), std::string::npos);
  EXPECT_NE(out.find("0x1212,   //reg5f\r\n};\r\n"), std::string::npos);
}

}  // namespace
}  // namespace lx::app::testing
