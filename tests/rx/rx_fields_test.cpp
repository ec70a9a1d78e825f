// The three receiver dialogs against the register field table: together they bind every
// receiver setting once and no bit twice; OK writes their own bits only, Cancel nothing; and
// a value chosen in a dialog gives the same words as `lxcfg set`.

#include "core/register_map.h"
#include "rx_support.h"

namespace lx::rx::testing {
namespace {

using settings::BindKind;
using settings::FieldBinding;

// Values a control can show: switch 0/1, list items, number range.
std::pair<uint32_t, uint32_t> ControlValues(const RegisterField& field) {
  switch (field.kind) {
    case FieldKind::Switch:
      return {0, 1};
    case FieldKind::List:
      return {0, static_cast<uint32_t>(field.items.size()) - 1};
    default:
      return {field.minValue, field.maxValue};
  }
}

template <class D>
void RandomActions(DialogFixture<D>& f, std::mt19937& rng) {
  std::uniform_int_distribution<int> steps(1, 8);
  for (int n = steps(rng); n > 0; --n) {
    const auto& all = f->bindings().all();
    const FieldBinding& b = all[std::uniform_int_distribution<std::size_t>(0, all.size() - 1)(rng)];
    const auto [lo, hi] = ControlValues(b.field());
    f.Run(test::ActionFor(*f, b, std::uniform_int_distribution<uint32_t>(lo, hi)(rng)));
  }
}

template <class D>
void CheckUntouchedBits(unsigned seed) {
  std::mt19937 rng(seed);
  for (int round = 0; round < 60; ++round) {
    const RegisterImage before = RandomImage(rng);
    {
      DialogFixture<D> f(app::OstrelTool(), kLx7140, before);
      EXPECT_EQ(f.Ok(), before) << "OK without changes, round " << round;
    }
    {
      DialogFixture<D> f(app::OstrelTool(), kLx7140, before);
      RandomActions(f, rng);
      EXPECT_EQ(f.Cancel(), before) << "Cancel after changes, round " << round;
      EXPECT_FALSE(f.open());
    }
    {
      DialogFixture<D> f(app::OstrelTool(), kLx7140, before);
      RandomActions(f, rng);
      const std::vector<std::string> shown = Shown(*f);
      const RegisterImage owned = test::CheckBoundOnce({&*f}, {}, {});
      const RegisterImage after = f.Ok();
      for (int i = 0; i < kEepromSize; ++i)
        EXPECT_EQ((after[i] ^ before[i]) & ~owned[i], 0) << "reg" << std::hex << i << ", round " << round;
      // Opening again shows what OK was pressed on.
      DialogFixture<D> again(app::OstrelTool(), kLx7140, after);
      EXPECT_EQ(Shown(*again), shown) << "round " << round;
    }
  }
}

TEST(RxFields, OkKeepsEveryOtherBitAndCancelWritesNothing) {
  CheckUntouchedBits<SoundEffectDialog>(1);
  CheckUntouchedBits<RxAudioDialog>(2);
  CheckUntouchedBits<RxOtherDialog>(3);
}

// The number boxes beside the sliders are read-only, but should one hold no number, OK refuses
// it before any word is written: the image stays as it was and the dialog open.
TEST(RxFields, RefusedOkWritesNothing) {
  const RegisterImage before = Words({{0x1a, 0x2000}});
  AudioFixture audio(app::OstrelTool(), kLx7140, before);
  audio.Run("click " + std::to_string(res::rx_audio::kDisableDeEmphasis) + "\ndrag " +
            std::to_string(res::rx_audio::kVolumeSlider) + " 0");
  audio->SetDlgItemText(res::rx_audio::kVolumeBox, "x");
  OtherFixture other(app::OstrelTool(), kLx7140, before);
  other.Run("click " + std::to_string(res::rx_other::kDisableAutomute) + "\ndrag " +
            std::to_string(res::rx_other::kHighThresholdSlider) + " 9");
  other->SetDlgItemText(res::rx_other::kLowThresholdBox, "x");
  EXPECT_EQ(audio.Ok(), before);
  EXPECT_EQ(other.Ok(), before);
  EXPECT_TRUE(audio.open());
  EXPECT_TRUE(other.open());
  EXPECT_EQ(audio.messages(), std::vector<std::string>{ui::msg::kNotInteger});
  EXPECT_EQ(other.messages(), std::vector<std::string>{ui::msg::kNotInteger});
}

// reg17 is the model fix-up's: no dialog touches it.
TEST(RxFields, TheThreeDialogsBindEveryReceiverSettingOnceAndNoBitTwice) {
  SoundFixture sound(app::OstrelTool(), kLx7140, Words({}));
  AudioFixture audio(app::OstrelTool(), kLx7140, Words({}));
  OtherFixture other(app::OstrelTool(), kLx7140, Words({}));
  const RegisterImage bits =
      test::CheckBoundOnce({&*sound, &*audio, &*other}, AllRegisterFields(Family::Receiver),
                           {&ModelFixupOf(Family::Receiver).field});
  // The receiver's settings bits: reg1a 15, 13, 7, 4:0; reg1c whole; reg1d 15:12, 7, 5:4;
  // reg1f 15:10, 3:0.
  RegisterImage expected{};
  expected[0x1a] = 0xA09F;
  expected[0x1c] = 0xFFFF;
  expected[0x1d] = 0xF0B0;
  expected[0x1f] = 0xFC0F;
  EXPECT_EQ(bits, expected);
}

// Opens whichever dialog binds the field, shows `value` in its control and presses OK.
template <class D>
bool TryDialog(RxField id, const RegisterImage& base, uint32_t value, RegisterImage& out) {
  DialogFixture<D> f(app::OstrelTool(), kLx7140, base);
  const FieldBinding* b = f->bindings().find(Field(id));
  if (b == nullptr) return false;
  // A value without an item cannot be chosen: it can only be kept.
  if (b->kind() != BindKind::List || value < b->field().items.size()) f.Run(test::ActionFor(*f, *b, value));
  out = f.Ok();
  return true;
}

TEST(RxFields, DialogOkGivesTheWordsOfLxcfgSetForEveryFieldAndValue) {
  std::mt19937 rng(11);
  int cases = 0;
  for (int i = 0; i < kRxSettingCount; ++i) {
    const RxField id = static_cast<RxField>(i);
    const RegisterField& field = Field(id);
    const auto [lo, hi] = field.kind == FieldKind::List || field.kind == FieldKind::Switch
                              ? std::pair<uint32_t, uint32_t>{0, field.fieldMax()}
                              : std::pair{field.minValue, field.maxValue};
    for (uint32_t value = lo; value <= hi; ++value) {
      SCOPED_TRACE(std::string(field.name) + "=" + std::to_string(value));
      RegisterImage base = RandomImage(rng);
      // The switches that grey other controls are on, so that every control answers.
      for (RxField gate : {RxField::Automute, RxField::SnrAutomute, RxField::Afc, RxField::Expander})
        WriteField(Field(gate), *ParseFieldValue(Field(gate), "on").value, base);
      const bool hasItem = field.kind != FieldKind::List || value < field.items.size();
      if (!hasItem) WriteField(field, value, base);

      RegisterImage viaDialog{};
      ASSERT_TRUE(TryDialog<SoundEffectDialog>(id, base, value, viaDialog) ||
                  TryDialog<RxAudioDialog>(id, base, value, viaDialog) ||
                  TryDialog<RxOtherDialog>(id, base, value, viaDialog));
      EXPECT_EQ(viaDialog, test::ThroughLxcfgSet(OstrelProfile(), kLx7140, base, field, value));
      ++cases;
    }
  }
  EXPECT_EQ(cases, 4 + 4 + 4 + 2 + 8 + 2 + 8 + 32 + 2 + 2 + 2 + 256 + 256 + 2 + 4);
}

}  // namespace
}  // namespace lx::rx::testing
