// Decoding received documents: the mark and the declaration decide, ASCII stays as it was.
#include "widget/document_text.h"

#include <gtest/gtest.h>

#include <string>

namespace nimbo {
namespace {

using namespace std::string_literals;

const std::string kIstanbul = "\xC4\xB0stanbul \xC5\x9F\xC4\x9F\xC3\xBC";  // "İstanbul şğü"

TEST(DocumentText, TheMarkOrTheDeclarationChoosesTheEncoding) {
    const struct {
        const char* name;
        std::string bytes;
        std::string text;
    } cases[] = {
        {"UTF-8 declared", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>" + kIstanbul + "</a>",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>" + kIstanbul + "</a>"},
        {"UTF-8 undeclared", "<a c=\"" + kIstanbul + "\"/>", "<a c=\"" + kIstanbul + "\"/>"},
        {"UTF-8 mark", "\xEF\xBB\xBF<a>" + kIstanbul + "</a>", "<a>" + kIstanbul + "</a>"},
        {"ISO-8859-9", "<?xml version='1.0' encoding = 'ISO-8859-9' ?><a>\xDDstanbul \xFE\xF0\xFC\x80</a>",
         "<?xml version='1.0' encoding = 'ISO-8859-9' ?><a>" + kIstanbul + "\xC2\x80</a>"},
        {"Windows-1254", "<?xml version=\"1.0\" encoding=\"windows-1254\"?><a>\xDDstanbul \xFE\xF0\xFC\x80</a>",
         "<?xml version=\"1.0\" encoding=\"windows-1254\"?><a>" + kIstanbul + "\xE2\x82\xAC</a>"},
        {"ISO-8859-1", "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?><a>\xDD\xFE</a>",
         "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?><a>\xC3\x9D\xC3\xBE</a>"},
        {"UTF-16 LE mark", "\xFF\xFE<\0a\0>\0\x30\x01s\0<\0/\0a\0>\0"s, "<a>\xC4\xB0s</a>"},
        {"UTF-16 BE mark", "\xFE\xFF\0<\0a\0>\x01\x30\0s\0<\0/\0a\0>"s, "<a>\xC4\xB0s</a>"},
        {"UTF-16 LE unmarked", "<\0?\0x\0m\0l\0?\0>\0\x5F\x01"s, "<?xml?>\xC5\x9F"},
        {"UTF-16 BE unmarked", "\0<\0?\0x\0m\0l\0?\0>\x01\x5F"s, "<?xml?>\xC5\x9F"},
        {"not UTF-8, undeclared", "<a>\xDDstanbul \xFE\xF0\xFC</a>", "<a>" + kIstanbul + "</a>"},
        {"not UTF-8 though declared", "<?xml version=\"1.0\" encoding=\"utf-8\"?><a>\xDD</a>",
         "<?xml version=\"1.0\" encoding=\"utf-8\"?><a>\xC4\xB0</a>"},
        {"declaration not first", "<a/><?xml version=\"1.0\" encoding=\"iso-8859-9\"?>\xC4\xB0",
         "<a/><?xml version=\"1.0\" encoding=\"iso-8859-9\"?>\xC4\xB0"},
    };
    for (const auto& c : cases) EXPECT_EQ(DecodeDocumentText(c.bytes), c.text) << c.name;
}

TEST(DocumentText, AsciiAndBrokenInputsComeBackSafely) {
    const std::string ascii = "<?xml version=\"1.0\"?>\r\n<data><ip>85.1.2.3</ip></data>";
    EXPECT_EQ(DecodeDocumentText(ascii), ascii);
    for (const char* encoding : {"ISO-8859-9", "windows-1254", "iso-8859-1", "x-unknown", ""}) {
        const std::string declared = std::string("<?xml version=\"1.0\" encoding=\"") + encoding + "\"?><a>Ankara</a>";
        EXPECT_EQ(DecodeDocumentText(declared), declared) << encoding;
    }
    EXPECT_EQ(DecodeDocumentText(""), "");
    EXPECT_EQ(DecodeDocumentText("\xEF\xBB\xBF"), "");
    EXPECT_EQ(DecodeDocumentText("\xFF\xFE<\0a\0b"s), "<a");             // odd last byte dropped
    EXPECT_EQ(DecodeDocumentText("\xFF\xFE\x00\xD8"s), "\xEF\xBF\xBD");  // lone surrogate
    EXPECT_EQ(DecodeDocumentText("<?xml encoding=\"iso-8859-9"), "<?xml encoding=\"iso-8859-9");
    EXPECT_EQ(DecodeDocumentText("<?xml encoding"), "<?xml encoding");
}

}  // namespace
}  // namespace nimbo
