#include "shogi/record_text.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

#include "shogi/notation_error.h"

namespace fv {

std::vector<std::string_view> SplitLines(std::string_view text) {
  constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
  if (text.starts_with(ByteOrderMark)) text.remove_prefix(ByteOrderMark.size());
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return lines;
}

std::string_view TrimEnd(std::string_view line) {
  const std::size_t end = line.find_last_not_of(" \t");
  return end == std::string_view::npos ? std::string_view() : line.substr(0, end + 1);
}

bool IsUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int length = lead < 0x80                   ? 1
                       : lead >= 0xC2 && lead < 0xE0 ? 2
                       : lead >= 0xE0 && lead < 0xF0 ? 3
                       : lead >= 0xF0 && lead < 0xF5 ? 4
                                                     : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (int k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    // Overlong three- and four-byte forms, UTF-16 surrogates and code points
    // past U+10FFFF are not UTF-8.
    const auto second = length > 2 ? static_cast<unsigned char>(text[i + 1]) : 0x80;
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) ||
        (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90))
      return false;
    i += length;
  }
  return true;
}

std::string ShiftJisToUtf8(std::string_view text) {
  // Code page 932 is Shift_JIS with the characters Windows adds to it.
  iconv_t converter = iconv_open("UTF-8", "CP932");
  if (converter == iconv_t(-1)) converter = iconv_open("UTF-8", "SHIFT_JIS");
  if (converter == iconv_t(-1)) throw NotationError(0, "this system cannot convert Shift_JIS text");
  std::string out(text.size() * 3 / 2 + 16, '\0');
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  std::size_t done = 0;
  while (inLeft > 0) {
    char* outAt = out.data() + done;
    std::size_t outLeft = out.size() - done;
    const std::size_t result = iconv(converter, &in, &inLeft, &outAt, &outLeft);
    done = out.size() - outLeft;
    if (result != std::size_t(-1)) break;
    if (errno == E2BIG) {
      out.resize(out.size() * 2);
      continue;
    }
    iconv_close(converter);
    const std::string_view before = text.substr(0, text.size() - inLeft);
    throw NotationError(int(std::count(before.begin(), before.end(), '\n')) + 1,
                        "a byte that is no Shift_JIS character");
  }
  iconv_close(converter);
  out.resize(done);
  return out;
}

std::string Quoted(std::string_view text) {
  std::size_t cut = std::min<std::size_t>(text.size(), 40);
  while (cut < text.size() && cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
    --cut;
  std::string out = "'";
  for (const char c : text.substr(0, cut)) out += (c >= 0 && c < ' ') || c == 0x7f ? '?' : c;
  out += cut < text.size() ? "...'" : "'";
  return out;
}

}  // namespace fv
