#include "run/console_encoding.h"

#include <langinfo.h>
#include <strings.h>

#include <clocale>
#include <cstdlib>
#include <string>
#include <string_view>

namespace fv {

namespace {

bool IsUtf8Name(std::string_view codeset) {
  const std::string name(codeset);
  return ::strcasecmp(name.c_str(), "UTF-8") == 0 || ::strcasecmp(name.c_str(), "UTF8") == 0;
}

// The character set named in the locale the environment asks for:
// "language_TERRITORY.CODESET@modifier".
bool EnvironmentNamesUtf8() {
  for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(variable);
    if (!value || !*value) continue;
    const std::string_view name(value);
    const std::size_t dot = name.find('.');
    if (dot == std::string_view::npos) return false;
    return IsUtf8Name(name.substr(dot + 1, name.find('@', dot) - dot - 1));
  }
  return false;
}

}  // namespace

TextEncoding LocaleEncoding() {
  const std::string previous = std::setlocale(LC_CTYPE, nullptr);
  bool utf8 = false;
  if (std::setlocale(LC_CTYPE, ""))
    utf8 = IsUtf8Name(::nl_langinfo(CODESET));
  else
    utf8 = EnvironmentNamesUtf8();
  std::setlocale(LC_CTYPE, previous.c_str());
  return utf8 ? TextEncoding::Utf8 : TextEncoding::ShiftJis;
}

}  // namespace fv
