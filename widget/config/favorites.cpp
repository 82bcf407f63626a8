// Favourite places: sorted insertion, removal rules and the stored section.
#include "widget/config/favorites.h"

#include <algorithm>

#include "base/untrusted_text.h"
#include "widget/config/turkish_order.h"
#include "widget/settings_keys.h"

namespace nimbo {

std::string StorableName(const std::string& name) { return OneLine(name); }

void FavoriteList::Load(const KeyValueList& pairs) {
    m_places.clear();
    for (const auto& [name, id] : pairs) m_places.push_back({name, id});
    std::stable_sort(m_places.begin(), m_places.end(),
                     [](const Place& a, const Place& b) { return TurkishCompare(a.name, b.name) < 0; });
}

FavoriteList::AddResult FavoriteList::Add(const Place& place, int* index) {
    const std::string name = StorableName(place.name);
    if (name.empty() || name.find('=') != std::string::npos || name[0] == '[' || name[0] == ';') {
        return AddResult::Unstorable;
    }
    const std::string key = NameFoldKey(name);
    for (const auto& existing : m_places) {
        if (NameFoldKey(existing.name) == key) return AddResult::Duplicate;
    }
    const auto at = std::upper_bound(m_places.begin(), m_places.end(), name, [](const std::string& n, const Place& p) {
        return TurkishCompare(n, p.name) < 0;
    });
    const auto inserted = m_places.insert(at, Place{name, StorableName(place.id)});
    if (index) *index = static_cast<int>(inserted - m_places.begin());
    m_changed = true;
    return AddResult::Added;
}

int FavoriteList::Remove(int index) {
    if (index < 0 || index >= static_cast<int>(m_places.size())) return -1;
    m_places.erase(m_places.begin() + index);
    m_changed = true;
    return std::min(index, static_cast<int>(m_places.size()) - 1);
}

void FavoriteList::Clear() {
    m_places.clear();
    m_changed = true;
}

void FavoriteList::Save(SettingsFile& settings) const {
    KeyValueList pairs;
    for (const auto& place : m_places) pairs.emplace_back(place.name, place.id);
    settings.WriteSection(settings::kFavoritesSection, pairs);
}

std::string DuplicateFavoriteMessage(const std::string& name) {
    return "\"" + name + "\" favorilerim listesine zaten eklenmiş.";
}

std::string UnstorableFavoriteMessage(const std::string& name) {
    return "\"" + name +
           "\" favorilerim listesine eklenemez: yer adı \"=\" içeremez, \"[\" ya da \";\" ile başlayamaz.";
}

}  // namespace nimbo
