// The Windows XML document's own settings, open to its test.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace nimbo {

// Turns off validation and the resolution of external entities and, where the installed MSXML knows the
// property, prohibits document types; an older MSXML that refuses a property keeps the others.
void DistrustDocumentTypes(IDispatch* document);

}  // namespace nimbo
