#include "XMLStream.h"

#include <algorithm>
#include <cstring>

std::size_t TXMLStream::Read(char* target, std::size_t count) {
    const std::size_t n = std::min(count, Data.size() - Pos);
    if (n != 0) std::memcpy(target, Data.data() + Pos, n);
    Pos += n;
    return n;
}

void TXMLStream::Write(const std::string& bytes) {
    if (Pos == Data.size()) {
        Data += bytes;
    } else {
        Data.replace(Pos, std::min(bytes.size(), Data.size() - Pos), bytes);
    }
    Pos += bytes.size();
}
