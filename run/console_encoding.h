// The character set in which the console shows the transcript's Japanese words.
#pragma once

namespace fv {

enum class TextEncoding { ShiftJis, Utf8 };

// UTF-8 when the user's locale (LC_ALL, else LC_CTYPE, else LANG) has the
// UTF-8 character set, Shift_JIS otherwise (the C and POSIX locales, a
// Shift_JIS locale). A locale that is named but not installed is judged by the
// character set in its name ("en_US.UTF-8"). The program's own locale is left
// as it was.
TextEncoding LocaleEncoding();

}  // namespace fv
