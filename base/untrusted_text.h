// Text from outside the program (the network, a command line, a file other users can change): the rules that keep
// it to one line of Options.ini and keep the shell to web pages.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace nimbo {

// One line of UTF-8 text: control characters (C0, DEL, C1 and the Unicode line and paragraph separators) and runs
// of blanks become one space, and the ends are trimmed. Whatever comes in, the result fits one line of an INI file.
std::string OneLine(std::string_view text);

// An address the shell may open and a download may ask: "http://" or "https://" (any letter case), a host, and
// only the characters a URL is made of (no blank, control character, quote, angle bracket or non-ASCII letter).
bool IsWebAddress(std::string_view text);

// A server's base address as a command line gives it (/SERVER=): blanks and quotes around it removed, and a web
// address without a query or fragment, since the widget appends paths to it. No value for anything else.
std::optional<std::string> ServerBaseFromOption(std::string_view text);

}  // namespace nimbo
