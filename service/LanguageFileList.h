#pragma once

#include <memory>
#include <string>
#include <vector>

struct TQelLanguageFileDisplay {
    std::string FileName; // without folder, e.g. "Deutsch.lng"
};

// Installed language files by display name: sorted without regard to case in the system's
// locale order; a display name already present keeps its first file.
class TQelLanguageFileList {
public:
    // False when the name was already present (the record is dropped).
    bool Add(const std::string& displayName, std::unique_ptr<TQelLanguageFileDisplay> file);
    void Clear() { Entries.clear(); }

    std::size_t Count() const { return Entries.size(); }
    const std::string& Name(std::size_t index) const { return Entries.at(index).Name; }
    const TQelLanguageFileDisplay& File(std::size_t index) const { return *Entries.at(index).File; }
    // -1 when absent; compared like the sort.
    int IndexOf(const std::string& displayName) const;

private:
    struct TEntry {
        std::string Name;
        std::unique_ptr<TQelLanguageFileDisplay> File;
    };
    std::vector<TEntry> Entries;
};
