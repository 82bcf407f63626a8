// A GDI+ font that always draws: a family the system lacks falls back to the system's message font, then to the
// generic sans serif, then to any installed family.
#pragma once

#include <memory>
#include <string>

#include "base/gdiplus_session_win.h"

namespace nimbo {

// `family` in UTF-8; `pixels` the em height; `style` Gdiplus::FontStyle flags. Null only on a system with no font.
std::unique_ptr<Gdiplus::Font> MakeAvailableFont(const std::string& family, float pixels, INT style);

// The face name of the font message boxes use; empty when the system does not say.
std::wstring MessageFontFamily();

}  // namespace nimbo
