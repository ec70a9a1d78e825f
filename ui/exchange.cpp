// The data exchange helpers and the parsing rules of number boxes.
#include <fmt/format.h>

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "core/text.h"
#include "ui/dialog.h"

namespace lx::ui {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Digits with an optional sign, blanks around them allowed and nothing else.
std::optional<long long> ParseWhole(std::string_view text, bool allowMinus) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return ParseDecimal(text, allowMinus ? SignRule::Any : SignRule::PlusOnly);
}

}  // namespace

std::optional<int32_t> ParseInt(const std::string& text) {
  std::optional<long long> v = ParseWhole(text, true);
  if (!v || *v < std::numeric_limits<int32_t>::min() || *v > std::numeric_limits<int32_t>::max())
    return std::nullopt;
  return static_cast<int32_t>(*v);
}

std::optional<uint32_t> ParseUInt(const std::string& text) {
  std::optional<long long> v = ParseWhole(text, false);
  if (!v) return std::nullopt;
  return static_cast<uint32_t>(*v);
}

std::optional<float> ParseFloat(const std::string& text) {
  const char* begin = text.c_str();
  char* end = nullptr;
  errno = 0;
  double d = std::strtod(begin, &end);
  if (end == begin || errno == ERANGE || !std::isfinite(d) || std::fabs(d) > FLT_MAX) return std::nullopt;
  while (*end && IsBlank(*end)) ++end;
  if (*end) return std::nullopt;
  return static_cast<float>(d);
}

std::string FormatFloat(float value) { return fmt::format("{:.{}g}", static_cast<double>(value), FLT_DIG); }

std::string msg::OutOfRange(long long min, long long max) {
  return fmt::format(fmt::runtime(kOutOfRange), min, max);
}

void DataExchange::Fail(const std::string& message) {
  dialog.MessageBox(message);
  if (dialog.isOpen() && dialog.find(lastId)) dialog.GotoDlgCtrl(lastId);
  throw ExchangeRefused{lastId};
}

void DdxRadio(DataExchange& dx, int firstId, int& index) {
  Dialog& d = dx.dialog;
  dx.lastId = firstId;
  const int start = d.indexOf(firstId);
  if (start < 0) return;
  const auto& controls = d.controls();
  if (dx.saving) index = -1;
  int count = 0;
  for (int i = start, last = d.groupOf(start).last; i <= last; ++i) {
    if (controls[i].kind() != Kind::RadioButton) continue;
    if (dx.saving) {
      if (controls[i].checked) index = count;
    } else {
      d.CheckDlgButton(controls[i].id(), count == index);
    }
    ++count;
  }
}

void DdxCheck(DataExchange& dx, int id, int& checked) {
  dx.lastId = id;
  if (dx.saving)
    checked = dx.dialog.IsDlgButtonChecked(id) ? 1 : 0;
  else
    dx.dialog.CheckDlgButton(id, checked != 0);
}

namespace {
// A number box: the value written as `format` writes it, read back by `parse`; a text that is
// no such number is refused with `refusal`.
template <class T>
void DdxNumber(DataExchange& dx, int id, T& value, std::optional<T> (*parse)(const std::string&),
               std::string (*format)(T), const char* refusal) {
  dx.lastId = id;
  if (!dx.saving) {
    dx.dialog.SetDlgItemText(id, format(value));
    return;
  }
  std::optional<T> v = parse(dx.dialog.GetDlgItemText(id));
  if (!v) dx.Fail(refusal);
  value = *v;
}

template <class T>
std::string Decimal(T value) {
  return std::to_string(value);
}
}  // namespace

void DdxText(DataExchange& dx, int id, int32_t& value) {
  DdxNumber(dx, id, value, ParseInt, Decimal<int32_t>, msg::kNotInteger);
}

void DdxText(DataExchange& dx, int id, uint32_t& value) {
  DdxNumber(dx, id, value, ParseUInt, Decimal<uint32_t>, msg::kNotUnsigned);
}

void DdxText(DataExchange& dx, int id, float& value) {
  DdxNumber(dx, id, value, ParseFloat, FormatFloat, msg::kNotNumber);
}

void DdxText(DataExchange& dx, int id, std::string& value) {
  dx.lastId = id;
  if (dx.saving)
    value = dx.dialog.GetDlgItemText(id);
  else
    dx.dialog.SetDlgItemText(id, value);
}

void DdvMinMax(DataExchange& dx, int32_t value, int32_t min, int32_t max) {
  if (dx.saving && (value < min || value > max)) dx.Fail(msg::OutOfRange(min, max));
}

void DdvMinMax(DataExchange& dx, uint32_t value, uint32_t min, uint32_t max) {
  if (dx.saving && (value < min || value > max)) dx.Fail(msg::OutOfRange(min, max));
}

}  // namespace lx::ui
