// Options.ini as bytes and lines: UTF-16LE after a byte-order mark on disk, ANSI in files of older versions.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nimbo {

// The private-profile functions keep a file Unicode only when it starts with this mark; a file without it is
// ANSI, whatever its bytes look like.
inline constexpr std::string_view kUtf16LeMark = "\xFF\xFE";

bool IsUtf16SettingsFile(std::string_view bytes);

// The file's text as UTF-8: UTF-16LE after the mark, otherwise ANSI decoded by `ansiToUtf8` (the system's code
// page on Windows).
std::string DecodeSettingsFile(std::string_view bytes, std::string (*ansiToUtf8)(std::string_view));

// The mark followed by the text in UTF-16LE.
std::string EncodeSettingsFile(std::string_view utf8);

// Lines as the profile functions see them: blanks and tabs around names and values do not count, and names
// compare without regard to ASCII letter case.
std::string TrimBlanks(std::string_view text);
bool SameSettingsName(std::string_view a, std::string_view b);
// The section a line opens, when it is a section header.
std::optional<std::string> SectionHeader(std::string_view line);

// The text without the named sections (each header with the lines up to the next header).
std::string WithoutSections(const std::string& text, const std::vector<std::string>& sections);

}  // namespace nimbo
