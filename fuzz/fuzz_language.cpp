// Reads any bytes as a language file, looks texts up, merges and formats them.
#include "platform/fake/FakePlatform.h"
#include "translation/DorTranslation.h"
#include "translation/ECXMLParser.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TFakePlatform platform;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    platform.Files.PutFile("C:\\fuzz.lng", bytes);
    TDorLanguage language;
    try {
        language.LoadFromFile("C:\\fuzz.lng");
    } catch (const EQelError&) {
        return 0;
    }
    TDorLanguage reference;
    reference.Lookup("common.strings.attention", "Attention!");
    for (int i = 0; i < language.Count(); ++i) {
        const TDorTranslation& entry = language.Items(i);
        (void)SafeFormat(entry.Text(), {"a", "b"});
        if (language.Find(entry.Key).Index != i) __builtin_trap();
        if (i > 0 && !(language.Items(i - 1).Key < entry.Key)) __builtin_trap();
    }
    TDorLanguage copy;
    copy.Lookup("x", "y");
    copy.Merge(language, "C:\\report.txt");
    language.Merge(reference, "C:\\report.txt");
    return 0;
}
