#include "platform/api/registry_port.h"
#include "platform/api/wide_text.h"

namespace plat {

std::vector<std::uint8_t> regSzData(const std::wstring& text) {
  std::vector<std::uint8_t> out = utf16LeBytes(text);
  out.insert(out.end(), {0, 0});
  return out;
}

std::vector<std::uint8_t> regMultiSzData(const std::vector<std::wstring>& texts) {
  std::vector<std::uint8_t> out;
  for (const auto& text : texts) {
    const std::vector<std::uint8_t> bytes = regSzData(text);
    out.insert(out.end(), bytes.begin(), bytes.end());
  }
  out.insert(out.end(), {0, 0});
  return out;
}

std::wstring regSzText(const std::vector<std::uint8_t>& data) {
  std::size_t pos = 0;
  return textFromUnits(utf16LeUnits(data), pos);
}

std::vector<std::wstring> regMultiSzTexts(const std::vector<std::uint8_t>& data) {
  const std::vector<std::uint32_t> all = utf16LeUnits(data);
  std::vector<std::wstring> out;
  std::size_t pos = 0;
  while (pos < all.size() && all[pos] != 0) out.push_back(textFromUnits(all, pos));
  return out;
}

}  // namespace plat
