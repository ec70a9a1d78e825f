#include "channel/ui/channel_dialog.h"

#include "channel/channel_rules.h"
#include "resources/channel_ids.h"

namespace lx::channel {

namespace {

using res::channel::kBankSize;
using res::channel::kXtalBox;
using ui::Notify;

// The exchange runs through channel 15's box before channel 14's: where a refused box stops
// it, the boxes before it have been taken.
constexpr std::array<int, kChannelCount> kExchangeOrder = {0, 1, 2,  3,  4,  5,  6,  7,
                                                           8, 9, 10, 11, 12, 13, 15, 14};

// Channel k whose box has this id, or -1.
int ChannelOfBox(int id) {
  for (int k = 0; k < kChannelCount; ++k)
    if (res::channel::kChannelBox[static_cast<std::size_t>(k)] == id) return k;
  return -1;
}

// Marks a focus-loss handler as running for its lifetime.
class Leaving {
 public:
  explicit Leaving(bool& flag) : flag_(flag) { flag_ = true; }
  ~Leaving() { flag_ = false; }
  Leaving(const Leaving&) = delete;
  Leaving& operator=(const Leaving&) = delete;

 private:
  bool& flag_;
};

int Box(int k) { return res::channel::kChannelBox[static_cast<std::size_t>(k)]; }
int InductanceBox(int k) { return res::channel::kInductanceBox[static_cast<std::size_t>(k)]; }

}  // namespace

ChannelDialog::ChannelDialog(ui::Host& host, ToolState& state)
    : Dialog(host, res::channel::kDialog), state_(state) {
  const ToolProfile& profile = state_.profile();
  for (int k = 0; k < kChannelCount; ++k) {
    channel_[k] =
        DecodeChannel(profile, state_.chipModel, state_.crystalKHz, ReadChannelWords(state_.words, k));
    inductance_[k] = InductanceAdvice(profile, state_.chipModel, channel_[k]);
  }
  xtal_ = state_.crystalKHz;

  for (int k = 0; k < kChannelCount; ++k) On(Box(k), Notify::KillFocus, [this, k] { OnChannelBoxLeft(k); });
  On(res::channel::kFillLeftBank, Notify::Clicked, [this] { FillBank(0); });
  On(res::channel::kFillRightBank, Notify::Clicked, [this] { FillBank(kBankSize); });
  On(kXtalBox, Notify::KillFocus, [this] { OnXtalBoxLeft(); });
}

void ChannelDialog::DoDataExchange(ui::DataExchange& dx) {
  for (int k : kExchangeOrder) ui::DdxText(dx, Box(k), channel_[k]);
  for (int k = 0; k < kChannelCount; ++k) ui::DdxText(dx, InductanceBox(k), inductance_[k]);
  ui::DdxText(dx, kXtalBox, xtal_);
}

bool ChannelDialog::ResetShownBeforeMessage() const { return state_.profile().family == Family::Transmitter; }

FrequencyRange ChannelDialog::Range() const { return ChannelRange(state_.profile(), state_.chipModel); }

void ChannelDialog::ShowRangeMessage() {
  const FrequencyRange range = Range();
  MessageBox(RangeMessage(range.low, range.high));
}

bool ChannelDialog::OnChannelBoxLeft(int k) {
  if (leaving_) return true;
  const Leaving guard(leaving_);
  const ToolProfile& profile = state_.profile();
  // A refused box has shown its message; the handler still runs to its end and puts the
  // values back into the boxes.
  bool accepted = UpdateData(true);
  const FrequencyRange range = Range();
  if (!range.contains(channel_[k])) {
    accepted = false;
    if (ResetShownBeforeMessage()) {
      channel_[k] = range.low;
      UpdateData(false);
      ShowRangeMessage();
    } else {
      ShowRangeMessage();
      channel_[k] = range.low;
    }
  }
  // The box shows the frequency that the words really stand for. Without a crystal frequency
  // there are no words: the value stays as entered.
  if (const auto words = EncodeChannel(profile, state_.chipModel, state_.crystalKHz, channel_[k]))
    channel_[k] = DecodeChannel(profile, state_.chipModel, state_.crystalKHz, *words);
  inductance_[k] = InductanceAdvice(profile, state_.chipModel, channel_[k]);
  UpdateData(false);
  return accepted;
}

bool ChannelDialog::OnXtalBoxLeft() {
  if (leaving_) return true;
  const Leaving guard(leaving_);
  bool accepted = UpdateData(true);
  // Stored at once: it stays even when the dialog is cancelled.
  state_.crystalKHz = xtal_;
  if (!CrystalInRange(xtal_)) {
    accepted = false;
    MessageBox(CrystalMessage());
    GotoDlgCtrl(kXtalBox);
  }
  UpdateData(false);
  return accepted;
}

// Copies the bank's first channel and its advice to the other seven as they stand: the first
// box was checked when the click took the focus from it.
void ChannelDialog::FillBank(int first) {
  const std::string frequency = GetDlgItemText(Box(first));
  for (int k = first + 1; k < first + kBankSize; ++k) SetDlgItemText(Box(k), frequency);
  const std::string advice = GetDlgItemText(InductanceBox(first));
  for (int k = first + 1; k < first + kBankSize; ++k) SetDlgItemText(InductanceBox(k), advice);
  UpdateData(true);
}

void ChannelDialog::OnOK() {
  // Enter leaves the focus in its box: settle the box first, exactly as leaving it would, so
  // that typed text is neither lost nor written unchecked. A message stops OK there.
  const int focused = focusId();
  if (focused == kXtalBox && !OnXtalBoxLeft()) return;
  if (const int k = ChannelOfBox(focused); k >= 0 && !OnChannelBoxLeft(k)) return;

  // Every box is checked before any word is written; a refusal leaves the image as it was.
  if (!UpdateData(true)) return;
  if (state_.crystalKHz <= 0) {
    // Nothing to divide by: the channels cannot be encoded until a crystal frequency is set.
    MessageBox(CrystalMessage());
    GotoDlgCtrl(kXtalBox);
    return;
  }
  const ToolProfile& profile = state_.profile();
  std::array<ChannelWords, kChannelCount> words{};
  for (int k = 0; k < kChannelCount; ++k) {
    const auto encoded = Range().contains(channel_[k])
                             ? EncodeChannel(profile, state_.chipModel, state_.crystalKHz, channel_[k])
                             : std::nullopt;
    if (!encoded) {
      ShowRangeMessage();
      GotoDlgCtrl(Box(k));
      return;
    }
    words[k] = *encoded;
  }
  for (int k = 0; k < kChannelCount; ++k) StoreChannelWords(state_.words, k, words[k]);
  EndDialog(ui::kIdOk);
}

}  // namespace lx::channel
