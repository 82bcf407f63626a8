// A place as the options dialog's lists carry it: the shown name and the location ID.
#pragma once

#include <string>

namespace nimbo {

struct Place {
    std::string name;
    std::string id;
    bool operator==(const Place& other) const { return name == other.name && id == other.id; }
};

}  // namespace nimbo
