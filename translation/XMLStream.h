#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A byte stream the XML reader and writer work on; a file is read into memory first.
class TXMLStream {
public:
    TXMLStream() = default;
    explicit TXMLStream(std::string data) : Data(std::move(data)) {}

    std::size_t Read(char* target, std::size_t count);
    void Write(const std::string& bytes);
    std::size_t Position() const { return Pos; }
    void SetPosition(std::size_t position) {
        Pos = position < Data.size() ? position : Data.size();
    }
    std::size_t Size() const { return Data.size(); }
    const std::string& Bytes() const { return Data; }

private:
    std::string Data;
    std::size_t Pos = 0;
};
