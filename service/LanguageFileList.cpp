#include "LanguageFileList.h"

#include "platform/Platform.h"

#include <algorithm>

namespace {
int Compare(const std::string& a, const std::string& b) {
    return Platform().System->CompareTextIgnoreCase(a, b);
}
} // namespace

bool TQelLanguageFileList::Add(const std::string& displayName,
                               std::unique_ptr<TQelLanguageFileDisplay> file) {
    const auto at = std::lower_bound(
        Entries.begin(), Entries.end(), displayName,
        [](const TEntry& entry, const std::string& name) { return Compare(entry.Name, name) < 0; });
    if (at != Entries.end() && Compare(at->Name, displayName) == 0) return false;
    Entries.insert(at, TEntry{displayName, std::move(file)});
    return true;
}

int TQelLanguageFileList::IndexOf(const std::string& displayName) const {
    for (std::size_t i = 0; i < Entries.size(); ++i)
        if (Compare(Entries[i].Name, displayName) == 0) return static_cast<int>(i);
    return -1;
}
