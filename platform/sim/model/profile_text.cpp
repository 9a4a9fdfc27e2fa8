#include "platform/sim/model/profile_text.h"

#include <cwctype>

namespace plat::sim {

namespace {

bool isUtf16(const std::vector<std::uint8_t>& contents) {
  return contents.size() >= 2 && contents[0] == 0xFF && contents[1] == 0xFE;
}

std::vector<std::uint8_t> encode(const std::wstring& text, bool utf16) {
  std::vector<std::uint8_t> bytes;
  if (utf16) {
    bytes = {0xFF, 0xFE};
    for (const wchar_t c : text) {
      bytes.push_back(static_cast<std::uint8_t>(static_cast<unsigned>(c) & 0xFFU));
      bytes.push_back(static_cast<std::uint8_t>((static_cast<unsigned>(c) >> 8U) & 0xFFU));
    }
  } else {
    for (const wchar_t c : text) {
      bytes.push_back(static_cast<unsigned>(c) < 0x100 ? static_cast<std::uint8_t>(c) : '?');
    }
  }
  return bytes;
}

std::wstring trim(const std::wstring& text) {
  const std::size_t first = text.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return {};
  const std::size_t last = text.find_last_not_of(L" \t");
  return text.substr(first, last - first + 1);
}

bool sameName(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::towupper(static_cast<wint_t>(a[i])) != std::towupper(static_cast<wint_t>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::vector<std::wstring> splitLines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    std::wstring line = text.substr(start, end - start);
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

// The section name of a "[name]" line.
std::optional<std::wstring> sectionName(const std::wstring& line) {
  const std::wstring trimmed = trim(line);
  if (trimmed.empty() || trimmed.front() != L'[') return std::nullopt;
  const std::size_t close = trimmed.find(L']');
  return trim(trimmed.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1));
}

// The key of a "key=value" line.
std::optional<std::wstring> keyName(const std::wstring& line) {
  const std::size_t equals = line.find(L'=');
  if (equals == std::wstring::npos) return std::nullopt;
  return trim(line.substr(0, equals));
}

}  // namespace

std::wstring profileText(const std::vector<std::uint8_t>& contents) {
  std::wstring text;
  if (isUtf16(contents)) {
    for (std::size_t i = 2; i + 1 < contents.size(); i += 2) {
      text += static_cast<wchar_t>(contents[i] | (contents[i + 1] << 8U));
    }
  } else {
    for (const std::uint8_t byte : contents) text += static_cast<wchar_t>(byte);
  }
  return text;
}

std::optional<std::wstring> profileValue(const std::vector<std::uint8_t>& contents,
                                         const std::wstring& section, const std::wstring& key) {
  bool inSection = false;
  for (const std::wstring& line : splitLines(profileText(contents))) {
    if (const auto name = sectionName(line)) {
      inSection = sameName(*name, section);
      continue;
    }
    const auto lineKey = keyName(line);
    if (!inSection || !lineKey || !sameName(*lineKey, key)) continue;
    std::wstring value = trim(line.substr(line.find(L'=') + 1));
    if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    return value;
  }
  return std::nullopt;
}

std::vector<std::uint8_t> withProfileValue(const std::vector<std::uint8_t>& contents,
                                           const std::wstring& section, const std::wstring& key,
                                           const std::wstring& value) {
  std::vector<std::wstring> lines = splitLines(profileText(contents));
  const std::wstring entry = key + L"=" + value;
  std::optional<std::size_t> sectionEnd;  // the line after the section's last entry
  bool inSection = false;
  bool done = false;
  for (std::size_t i = 0; i < lines.size() && !done; ++i) {
    if (const auto name = sectionName(lines[i])) {
      inSection = sameName(*name, section);
      if (inSection) sectionEnd = i + 1;
      continue;
    }
    if (!inSection) continue;
    if (const auto lineKey = keyName(lines[i]); lineKey && sameName(*lineKey, key)) {
      lines[i] = entry;
      done = true;
    } else if (!trim(lines[i]).empty()) {
      sectionEnd = i + 1;
    }
  }
  if (!done && sectionEnd) {
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*sectionEnd), entry);
  } else if (!done) {
    lines.push_back(L"[" + section + L"]");
    lines.push_back(entry);
  }
  std::wstring text;
  for (const std::wstring& line : lines) text += line + L"\r\n";
  return encode(text, isUtf16(contents));
}

std::uint32_t profileInteger(const std::wstring& text) {
  std::size_t i = text.find_first_not_of(L" \t");
  if (i == std::wstring::npos) return 0;
  bool negative = false;
  if (text[i] == L'+' || text[i] == L'-') negative = text[i++] == L'-';
  std::uint32_t base = 10;
  if (i + 1 < text.size() && text[i] == L'0' && (text[i + 1] == L'x' || text[i + 1] == L'X')) {
    base = 16;
    i += 2;
  }
  std::uint32_t value = 0;
  for (; i < text.size(); ++i) {
    const wchar_t c = text[i];
    std::uint32_t digit = 0;
    if (c >= L'0' && c <= L'9') {
      digit = static_cast<std::uint32_t>(c - L'0');
    } else if (base == 16 && std::iswxdigit(static_cast<wint_t>(c)) != 0) {
      digit = static_cast<std::uint32_t>(std::towupper(static_cast<wint_t>(c)) - L'A' + 10);
    } else {
      break;
    }
    value = value * base + digit;
  }
  return negative ? 0U - value : value;
}

}  // namespace plat::sim
