// The bytes of a received document as UTF-8 text, decoded as the document itself declares.
#pragma once

#include <string>
#include <string_view>

namespace nimbo {

// The byte-order mark decides first (UTF-8, UTF-16 LE or BE), then the XML declaration's encoding
// (UTF-8, ISO-8859-9, Windows-1254, ISO-8859-1). Without either the text is UTF-8; bytes that are no valid
// UTF-8 are read as Windows-1254, the code page such documents were written in on Turkish systems.
// The byte-order mark is dropped; plain ASCII comes back unchanged.
std::string DecodeDocumentText(std::string_view bytes);

}  // namespace nimbo
