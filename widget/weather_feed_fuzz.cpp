// Fuzz target: any received bytes go through decoding and the feed, version and address readers safely.
#include <cstddef>
#include <cstdint>
#include <string>

#include "widget/address_lookup.h"
#include "widget/document_text.h"
#include "widget/version_check.h"
#include "widget/weather_feed.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text = nimbo::DecodeDocumentText(std::string(reinterpret_cast<const char*>(data), size));
    nimbo::WeatherData record;
    record.FeedText = text;
    nimbo::ClearWeatherData(record);
    nimbo::ParseWeatherFeed(record);
    nimbo::IsNewerVersion(nimbo::ReadLatestVersion(text));
    nimbo::ReadPublicAddress(text);
    return 0;
}
