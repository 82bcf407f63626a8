// The favourite places as the options dialog edits them, and their section of the settings file.
#pragma once

#include <string>
#include <vector>

#include "widget/config/place.h"
#include "widget/settings_file.h"

namespace nimbo {

// A name as the settings file keeps it: runs of blanks and control characters (line breaks included) become one
// space and the ends are trimmed; every letter stays.
std::string StorableName(const std::string& name);

class FavoriteList {
public:
    enum class AddResult { Added, Duplicate, Unstorable };

    // Section `Favorites` as read, sorted by name.
    void Load(const KeyValueList& pairs);

    // Inserts the place at its sorted position under its storable name; `index` receives that position. A name
    // already listed (letter case aside) is a duplicate; one that would read back as another key, a comment or
    // a section header (an "=", or a leading "[" or ";", or nothing left) is unstorable. Neither changes the list.
    AddResult Add(const Place& place, int* index = nullptr);
    // Removes the entry and returns the selection that follows: the same index, the new last entry when the
    // last was removed, -1 when the list is empty. An index outside the list changes nothing and returns -1.
    int Remove(int index);
    void Clear();

    const std::vector<Place>& Places() const { return m_places; }
    bool Changed() const { return m_changed; }

    // Section `Favorites` becomes the list, in list order, in one write: a refused write leaves the stored list
    // as it was. An empty list leaves no section.
    void Save(SettingsFile& settings) const;

private:
    std::vector<Place> m_places;
    bool m_changed = false;
};

// The message boxes' texts for a refused addition.
std::string DuplicateFavoriteMessage(const std::string& name);
std::string UnstorableFavoriteMessage(const std::string& name);

}  // namespace nimbo
