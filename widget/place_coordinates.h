// A place's coordinates, and the ones remembered in Options.ini for places the program does not carry.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "widget/settings_file.h"

namespace nimbo {

struct Coordinates {
    double latitude = 0;
    double longitude = 0;
};

// Section of Options.ini with one key per GeoNames id: "id=latitude,longitude".
inline constexpr char kCoordinatesSection[] = "Coordinates";

// "41.01384,28.94966": five decimals (about a metre), a point whatever the locale.
std::string FormatCoordinates(const Coordinates& at);
// No value for anything but two finite numbers in range, separated by a comma (blanks around them allowed).
std::optional<Coordinates> ParseCoordinates(std::string_view text);

// A GeoNames id as Open-Meteo takes it: 1 to 9 digits (a 32-bit id), not 0.
bool IsGeoNamesId(std::string_view id);

// The coordinates of a place: carried by the program for the province seats and the old codes it knows,
// otherwise remembered in Options.ini; no value when neither knows the place.
std::optional<Coordinates> PlaceCoordinates(const SettingsFile& settings, const std::string& id);
// Remembers them for a GeoNames id; ids of any other form are not written.
void RememberCoordinates(SettingsFile& settings, const std::string& id, const Coordinates& at);

}  // namespace nimbo
