#include "app/plan_dialog.h"

#include <fmt/format.h>

#include "channel/codec.h"
#include "core/input_file.h"
#include "resources/ids.h"

namespace lx::app {

namespace plan = res::planning;
using settings::PlanCheck;
using settings::PlanInputs;

namespace {

// The suggestion's grid, as lxcfg plan --suggest's default.
constexpr int64_t kSuggestStepKHz = 25;

constexpr const char* kNoModel = "未选择芯片型号，无法读取频道。";
constexpr const char* kNoCrystal = "镜像中没有晶振频率，无法读取频道。";
constexpr const char* kBadRanges = "请输入排除范围(kHz)，例如 606000-614000, 622000-630000";
constexpr const char* kEmptyBand = "从(kHz)不能高于到(kHz)。";

std::vector<int64_t> ImageBank(const ToolState& s) {
  std::vector<int64_t> bank;
  bank.reserve(kChannelCount);
  for (int k = 0; k < kChannelCount; ++k)
    bank.push_back(DecodeChannel(s.profile(), s.chipModel, s.crystalKHz, ReadChannelWords(s.words, k)));
  return bank;
}

}  // namespace

std::string PlanPage(const ToolState& s, const std::vector<int64_t>& bank, bool proposal,
                     const PlanInputs& inputs) {
  const PlanCheck check = settings::CheckPlan(bank, inputs);
  std::string verdict = "compatible";
  if (!check.compatible()) {
    verdict = "NOT compatible: ";
    const std::vector<std::string> parts = settings::ProblemCounts(check);
    for (std::size_t i = 0; i < parts.size(); ++i) verdict += (i ? ", " : "") + parts[i];
  }
  std::string page =
      fmt::format("{}, crystal {} kHz: {} channels {}, {}\n", s.selectedModel()->name, s.crystalKHz,
                  check.channels.size(), proposal ? "suggested, not applied yet" : "in use", verdict);
  std::string channels;
  for (std::size_t k = 0; k < check.channels.size(); ++k)
    channels += fmt::format("{}CH{:02d} {}", k % 4 == 0 ? "\n  " : "   ", k, check.channels[k]);
  // The problems first, where the box opens; the channels after them.
  page += settings::ConflictListing(check, inputs) + "channels (kHz):" + channels + "\n";
  return page;
}

PlanDialog::PlanDialog(ui::Host& host, ToolState& state) : Dialog(host, res::kPlanDialog), state_(state) {
  const settings::PlanGuards defaults;
  spacing_ = static_cast<uint32_t>(defaults.spacing);
  im3_ = static_cast<uint32_t>(defaults.im3);
  im3x_ = static_cast<uint32_t>(defaults.im3x);
  im5_ = static_cast<uint32_t>(defaults.im5);
  threshold_ = static_cast<float>(settings::kDefaultThresholdDb);
  for (const int id : {plan::kSpacing, plan::kIm3, plan::kIm3x, plan::kIm5, plan::kInUse, plan::kExclusions,
                       plan::kFrom, plan::kTo, plan::kThreshold})
    On(id, ui::Notify::KillFocus, &PlanDialog::OnInputLeft);
  On(plan::kImportScan, ui::Notify::Clicked, &PlanDialog::OnImportScan);
  On(plan::kSuggest, ui::Notify::Clicked, &PlanDialog::OnSuggest);
  On(plan::kApply, ui::Notify::Clicked, &PlanDialog::OnApply);
}

bool PlanDialog::readable() const { return state_.modelSelected() && state_.crystalKHz > 0; }

void PlanDialog::DoDataExchange(ui::DataExchange& dx) {
  constexpr uint32_t kMaxGuard = 100000000;  // as lxcfg plan's guards
  ui::DdxText(dx, plan::kSpacing, spacing_);
  ui::DdvMinMax(dx, spacing_, 0u, kMaxGuard);
  ui::DdxText(dx, plan::kIm3, im3_);
  ui::DdvMinMax(dx, im3_, 0u, kMaxGuard);
  ui::DdxText(dx, plan::kIm3x, im3x_);
  ui::DdvMinMax(dx, im3x_, 0u, kMaxGuard);
  ui::DdxText(dx, plan::kIm5, im5_);
  ui::DdvMinMax(dx, im5_, 0u, kMaxGuard);
  ui::DdxText(dx, plan::kInUse, inUse_);
  ui::DdvMinMax(dx, inUse_, 1, kChannelCount);
  ui::DdxText(dx, plan::kExclusions, exclusions_);
  std::vector<settings::KhzRange> ranges;
  if (dx.saving) {
    const settings::RangesRead read = settings::ParseRanges(exclusions_);
    if (!read.error.empty()) dx.Fail(kBadRanges);
    ranges = read.ranges;
  }
  // Without a model or crystal there is no range to hold the band to; the boxes stay empty.
  if (readable()) {
    const FrequencyRange range = ChannelRange(state_.profile(), state_.chipModel);
    ui::DdxText(dx, plan::kFrom, from_);
    ui::DdvMinMax(dx, from_, range.low, range.high);
    ui::DdxText(dx, plan::kTo, to_);
    ui::DdvMinMax(dx, to_, range.low, range.high);
    if (dx.saving && from_ > to_) {
      dx.lastId = plan::kFrom;  // the message speaks of this box
      dx.Fail(kEmptyBand);
    }
  }
  ui::DdxText(dx, plan::kThreshold, threshold_);
  if (!dx.saving) return;
  // Every box taken: the inputs change together, or not at all.
  inputs_.guards = {spacing_, im3_, im3x_, im5_};
  inputs_.inUse = inUse_;
  inputs_.exclusions = std::move(ranges);
  inputs_.thresholdDb = threshold_;
}

bool PlanDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  SetDlgItemText(plan::kScanName, scanName_.empty() ? "(未导入扫描)" : scanName_);
  if (readable()) {
    // The band of the channels in use, as the opening inputs (and a scan given before) see it.
    PlanInputs opening = inputs_;
    opening.guards = {spacing_, im3_, im3x_, im5_};
    opening.inUse = inUse_;
    opening.thresholdDb = threshold_;
    const settings::KhzRange band =
        settings::WorkingBand(state_, ImageBank(state_), kSuggestStepKHz, opening);
    from_ = static_cast<uint32_t>(band.low);
    to_ = static_cast<uint32_t>(band.high);
    UpdateData(false);
  }
  UpdateData(true);
  ShowPlan();
  return true;
}

void PlanDialog::ShowPlan() {
  const bool ok = readable();
  GetDlgItem(plan::kFrom).EnableWindow(ok);
  GetDlgItem(plan::kTo).EnableWindow(ok);
  GetDlgItem(plan::kSuggest).EnableWindow(ok);
  GetDlgItem(plan::kApply).EnableWindow(ok && proposal_.has_value());
  if (!ok) {
    SetDlgItemText(plan::kList, state_.modelSelected() ? kNoCrystal : kNoModel);
    SetPlot(plan::kPlot, plot::Plot{});
    return;
  }
  const std::vector<int64_t> bank = proposal_ ? *proposal_ : ImageBank(state_);
  PlanInputs shown = inputs_;
  if (proposal_) shown.inUse = static_cast<int>(proposal_->size());
  SetDlgItemText(plan::kList, PlanPage(state_, bank, proposal_.has_value(), shown));
  SetPlot(plan::kPlot, settings::PlanPlot(settings::CheckPlan(bank, shown), shown));
}

void PlanDialog::OnInputLeft() {
  // A refusal puts the focus back on its box, and the box it left reports leaving: one message.
  if (leaving_) return;
  leaving_ = true;
  const bool taken = UpdateData(true);
  leaving_ = false;
  if (!taken) return;
  // A proposal made for other inputs is not this one's: suggest again.
  if (proposal_ && static_cast<int>(proposal_->size()) != inputs_.inUse) proposal_.reset();
  ShowPlan();
}

void PlanDialog::OnImportScan() {
  ui::FileRequest request;
  request.proposedName = "scan.csv";
  request.defaultExt = "csv";
  request.filter = "scan files(*.csv)|*.csv|all files(*.*)|*.*||";
  request.initialFolder = state_.headerPath;
  const std::optional<std::string> file = AskFile(request);
  if (!file) return;
  const InputRead input = ReadInput(*file);
  if (!input.ok()) return MessageBox("打开扫描文件失败!\n" + input.message());
  settings::ScanRead read = settings::ParseScan(*input);
  if (!read.error.empty()) return MessageBox("扫描文件无法读取: " + read.error);
  if (read.scan.malformed > 0) MessageBox(settings::ScanNotice(read.scan));
  SetScan(std::move(read.scan), std::filesystem::path(*file).filename().string());
}

void PlanDialog::SetScan(settings::Scan scan, const std::string& name) {
  inputs_.scan = std::move(scan);
  scanName_ = fmt::format("{}: {} {} points", name, settings::ScanFormatName(inputs_.scan.format),
                          inputs_.scan.points.size());
  if (!isOpen()) return;
  SetDlgItemText(plan::kScanName, scanName_);
  if (UpdateData(true)) ShowPlan();
}

void PlanDialog::OnSuggest() {
  if (!readable() || !UpdateData(true)) return;
  std::vector<int64_t> plan =
      settings::SuggestChannels(state_, from_, to_, inputs_.inUse, kSuggestStepKHz, inputs_);
  if (static_cast<int>(plan.size()) < inputs_.inUse) {
    MessageBox(fmt::format("在 {}~{}KHz 内只能找到 {} 个频道(需要 {} 个)。", from_, to_, plan.size(),
                           inputs_.inUse));
    return;
  }
  proposal_ = std::move(plan);
  ShowPlan();
}

void PlanDialog::OnApply() {
  if (!proposal_ || !readable()) return;
  // The channel words of the proposed channels, nothing else.
  for (std::size_t k = 0; k < proposal_->size(); ++k)
    if (const std::optional<ChannelWords> words = EncodeChannel(
            state_.profile(), state_.chipModel, state_.crystalKHz, static_cast<uint32_t>((*proposal_)[k])))
      StoreChannelWords(state_.words, static_cast<int>(k), *words);
  proposal_.reset();
  ShowPlan();
  GotoDlgCtrl(ui::kIdCancel);  // Apply is disabled now; the focus goes where Enter closes
}

}  // namespace lx::app
