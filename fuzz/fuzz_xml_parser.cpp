// Loads any bytes as a document; what loads is written and read back, which must not fault.
#include "translation/ECXMLParser.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TECXMLParser parser;
    TXMLStream stream(std::string(reinterpret_cast<const char*>(data), size));
    try {
        parser.LoadFromStream(stream);
    } catch (const EQelError&) {
        return 0;
    }
    TXMLStream saved;
    parser.SaveToStream(saved);
    TECXMLParser again;
    saved.SetPosition(0);
    try {
        again.LoadFromStream(saved);
    } catch (const EQelError&) {
        // Names are written as they stand, so a tree with odd names may not read back.
        return 0;
    }
    (void)again.Root().AsString(0);
    return 0;
}
