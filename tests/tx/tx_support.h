#pragma once
// What the transmitter dialog tests share: the dialogs on the headless host, random images and
// the model indexes.
#include <random>

#include "app/tool.h"
#include "core/register_map.h"
#include "tests/support/bindings.h"
#include "tests/support/dialog_fixture.h"
#include "tx/tx_dialogs.h"
#include "tx/tx_other_dialog.h"

namespace lx::tx::testing {

inline constexpr int kLx7240 = 0, kLx7250 = 1, kLx7240D = 2, kLx7250D = 3;

template <class D>
struct Open : lx::test::DialogFixture<D> {
  explicit Open(const RegisterImage& words, int model = kLx7250, int32_t crystal = 24000)
      : lx::test::DialogFixture<D>(app::AmbrelTool(), model, words, crystal) {}
  bool enabled(int id) { return this->control(id).enabled; }
  const std::string& text(int id) { return this->control(id).text; }
  int pos(int id) { return this->control(id).pos; }
};
using Rf = Open<TxRfDialog>;
using Audio = Open<TxAudioDialog>;
using Other = Open<TxOtherDialog>;

using test::RandomImage;

inline uint32_t Get(TxField f, const RegisterImage& w) { return ReadField(Field(f), w); }
inline void Put(TxField f, uint32_t v, RegisterImage& w) { WriteFieldBits(Field(f), v, w); }

// A random image whose every field has a control position (PA gain 0..12, steps 0..127).
inline RegisterImage RandomInRangeImage(std::mt19937& rng) {
  RegisterImage w = RandomImage(rng);
  Put(TxField::PaGain, Get(TxField::PaGain, w) % 13, w);
  for (TxField f : {TxField::BlinkThreshold, TxField::LightThreshold, TxField::PapdThreshold})
    Put(f, Get(f, w) & 127, w);
  return w;
}

}  // namespace lx::tx::testing
