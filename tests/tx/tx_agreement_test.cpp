// For every transmitter setting and every value `lxcfg set` accepts, pressing OK in the
// owning dialog after choosing that value gives the same words as the command line.

#include "resources/ambrel_tx_ids.h"
#include "tests/tx/tx_support.h"

namespace lx::tx::testing {
namespace {

using namespace res;

// Switches that grey other controls, as (enable button, disable button), outermost first.
// While the control to use is greyed the test turns them on, one after the other; once the
// value is chosen it turns them off again.
using Gates = std::vector<std::pair<int, int>>;

template <class D>
RegisterImage ThroughDialog(const RegisterImage& base, int model, const RegisterField& field, uint32_t value,
                            const Gates& gates) {
  Open<D> f(base, model);
  const settings::FieldBinding* binding = test::BindingOf(*f, field);
  if (binding == nullptr) return {};
  const int id = binding->controlId();
  std::vector<int> restore;
  for (const auto& [on, off] : gates) {
    if (f.enabled(id)) break;
    if (!f.control(on).checked) {
      f.Run("click " + std::to_string(on));
      restore.insert(restore.begin(), off);
    }
  }
  EXPECT_TRUE(f.enabled(id)) << field.name;
  if (binding->kind() == settings::BindKind::Edit)
    f->SetDlgItemText(id, std::to_string(value));
  else
    f.Run(test::ActionFor(*f, *binding, value));
  for (int off : restore) f.Run("click " + std::to_string(off));
  const RegisterImage words = f.Ok();
  EXPECT_FALSE(f.open()) << field.name;
  return words;
}

RegisterImage ThroughOwner(const RegisterImage& base, int model, TxField f, uint32_t value) {
  const RegisterField& field = Field(f);
  if (f == TxField::PaGain) return ThroughDialog<TxRfDialog>(base, model, field, value, {});
  if (f <= TxField::Priority)
    return ThroughDialog<TxAudioDialog>(base, model, field, value,
                                        {{tx_audio::kEnableCompressor, tx_audio::kDisableCompressor}});
  return ThroughDialog<TxOtherDialog>(base, model, field, value,
                                      {{tx_other::kEnablePilot, tx_other::kDisablePilot},
                                       {tx_other::kMeterEnable, tx_other::kMeterDisable},
                                       {tx_other::kIndicatorEnable, tx_other::kIndicatorDisable},
                                       {tx_other::kPapdEnable, tx_other::kPapdDisable}});
}

std::vector<uint32_t> AcceptedValues(const RegisterField& field, bool everyTxId) {
  std::vector<uint32_t> values;
  const bool txId = &field == &Field(TxField::TxId);
  for (uint32_t v = 0; v <= field.fieldMax(); ++v) {
    // The 65536 TX_IDs in full once; elsewhere a spread with both ends.
    if (txId && !everyTxId && v % 257 != 0 && v != field.fieldMax()) continue;
    if (FieldValueAccepted(field, v) && ParseFieldValue(field, FormatField(field, v)).value == v)
      values.push_back(v);
  }
  return values;
}

TEST(TxAgreement, DialogOkAndLxcfgSetGiveTheSameWords) {
  std::mt19937 rng(93);
  int compared = 0;
  for (int model : {kLx7240, kLx7250, kLx7240D, kLx7250D}) {
    for (int round = 0; round < 2; ++round) {
      RegisterImage base = RandomInRangeImage(rng);
      // The other-settings dialog rewrites reg17 whole: 0 on models without a TX_ID.
      if (model < kLx7240D) base[0x17] = 0;
      const bool everyTxId = model == kLx7250D && round == 0;
      for (int i = 0; i < kTxSettingCount; ++i) {
        const auto f = static_cast<TxField>(i);
        const RegisterField& field = Field(f);
        if (!FieldAppliesTo(field, AmbrelProfile().models[model])) continue;
        for (uint32_t v : AcceptedValues(field, everyTxId)) {
          ASSERT_EQ(ThroughOwner(base, model, f, v),
                    test::ThroughLxcfgSet(AmbrelProfile(), model, base, field, v))
              << field.name << "=" << FormatField(field, v) << " on " << AmbrelProfile().models[model].name;
          ++compared;
        }
      }
    }
  }
  EXPECT_GT(compared, 65536 + 8 * 500);
}

}  // namespace
}  // namespace lx::tx::testing
