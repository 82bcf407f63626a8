// The version check: which received versions bring the question, and reading the document.
#include "widget/version_check.h"

#include <gtest/gtest.h>

namespace nimbo {
namespace {

TEST(VersionCheck, VersionsAreComparedAsTexts) {
    for (const char* newer : {"1.61", "1.7", "2.0", "1.60a", "1.6A", "10"}) EXPECT_TRUE(IsNewerVersion(newer)) << newer;
    for (const char* notNewer : {"1.60", "1.6", "1.100", "1.59", "0.99", "", "1", "1.0.0"}) {
        EXPECT_FALSE(IsNewerVersion(notNewer)) << notNewer;
    }
}

TEST(VersionCheck, TheVersionIsTheTextOfDataVersion) {
    const struct {
        const char* document;
        const char* version;
    } cases[] = {
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<data>\n  <version>\n    1.61\n  </version>\n</data>", "1.61"},
        {"<data><name>Nimbo</name><version>2.0</version><url>x</url></data>", "2.0"},
        {"<data><version/></data>", ""},
        {"<data><latest>1.61</latest></data>", ""},
        {"<other><version>1.61</version></other>", ""},
        {"<html><body>404 Not Found<br></body></html>", ""},
        {"1.61", ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadLatestVersion(c.document), c.version) << c.document;
}

TEST(VersionCheck, TheQuestionNamesTheVersion) {
    EXPECT_EQ(NewVersionQuestion("1.61"), "Nimbo! nın 1.61 sürümü çıkmış! İndirmek ister misiniz?");
}

}  // namespace
}  // namespace nimbo
