// Text of a game record as the readers take it: split into lines, decoded
// from Shift_JIS where needed, and quoted safely in messages.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace fv {

// The lines of `text` without their ends ("\n" or "\r\n") and without a
// leading UTF-8 byte-order mark; trailing blanks and tabs are kept.
std::vector<std::string_view> SplitLines(std::string_view text);

// `line` without trailing blanks and tabs.
std::string_view TrimEnd(std::string_view line);

// True when `text` is well-formed UTF-8 (plain ASCII is).
bool IsUtf8(std::string_view text);

// `text` converted from Shift_JIS (the Windows code page 932) to UTF-8.
// Throws NotationError naming the line of the first byte that is no
// Shift_JIS character.
std::string ShiftJisToUtf8(std::string_view text);

// `text` in single quotes for a message: at most 40 bytes, control
// characters shown as '?', so that the message stays on one line.
std::string Quoted(std::string_view text);

}  // namespace fv
