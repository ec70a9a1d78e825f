// The shipped default images: each is exactly what Save writes for it and carries a usable
// channel plan.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "channel/codec.h"
#include "settings/channel_plan.h"
#include "core/header_format.h"

namespace {

struct ModelCase {
  const lx::ToolProfile* profile;
  int index;
};

void PrintTo(const ModelCase& c, std::ostream* os) {
  *os << c.profile->models[static_cast<std::size_t>(c.index)].name;
}

std::vector<ModelCase> AllModels() {
  std::vector<ModelCase> cases;
  for (const lx::ToolProfile* p : lx::AllProfiles())
    for (int m = 0; m < p->modelCount(); ++m) cases.push_back({p, m});
  return cases;
}

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

class DefaultImage : public ::testing::TestWithParam<ModelCase> {
 protected:
  const lx::ChipModel& model() const { return GetParam().profile->models[static_cast<std::size_t>(GetParam().index)]; }
  std::filesystem::path path() const { return std::filesystem::path(LX_SOURCE_DATA_DIR) / model().name / "EEPROM.h"; }
};

TEST_P(DefaultImage, IsExactlyWhatSaveWrites) {
  const std::string bytes = ReadBytes(path());
  ASSERT_FALSE(bytes.empty()) << path();
  lx::RegisterImage words{};
  int32_t crystal = 0;
  std::istringstream in(bytes);
  const lx::HeaderReadResult read =
      lx::ReadHeaderLines(in, lx::HeaderReadMode::Open, *GetParam().profile, words, crystal);
  EXPECT_EQ(read.wordLines, lx::kEepromSize);
  EXPECT_EQ(read.taggedModel, GetParam().index);
  EXPECT_EQ(crystal, 24000);
  EXPECT_EQ(lx::WriteHeaderText(model(), crystal, words), bytes);

  // Selecting the model changes nothing: the fix-up field already holds its forced value.
  lx::ToolState state(*GetParam().profile, std::filesystem::path(LX_SOURCE_DATA_DIR).parent_path());
  EXPECT_TRUE(state.SelectChipModel(GetParam().index).message.empty());
  EXPECT_EQ(state.words, words);
}

TEST_P(DefaultImage, ChannelsAreADistinctExactConflictFreePlan) {
  const lx::ToolProfile& profile = *GetParam().profile;
  const int m = GetParam().index;
  lx::RegisterImage words{};
  int32_t crystal = 0;
  std::ifstream in(path(), std::ios::binary);
  lx::ReadHeaderLines(in, lx::HeaderReadMode::DefaultLoader, profile, words, crystal);

  std::vector<int64_t> plan;
  for (int k = 0; k < lx::kChannelCount; ++k) {
    const lx::ChannelWords stored = lx::ReadChannelWords(words, k);
    const uint32_t f = lx::DecodeChannel(profile, m, crystal, stored);
    // Exact: the frequency encodes back to the very words, with no snapping on the way.
    EXPECT_EQ(lx::EncodeChannel(profile, m, crystal, f), stored) << "channel " << k;
    EXPECT_NE(f, lx::ChannelRange(profile, m).low) << "channel " << k << " reads as the range's low end";
    EXPECT_TRUE(lx::CodecProduces(profile, m, crystal, stored)) << "channel " << k;
    plan.push_back(f);
  }
  EXPECT_EQ(std::set<int64_t>(plan.begin(), plan.end()).size(), 16u);
  EXPECT_TRUE(lx::settings::FindConflicts(plan, lx::settings::PlanGuards{}).empty());
}

INSTANTIATE_TEST_SUITE_P(AllModels, DefaultImage, ::testing::ValuesIn(AllModels()),
                         [](const auto& info) {
                           return std::string(info.param.profile->models[static_cast<std::size_t>(info.param.index)].name);
                         });

}  // namespace
