// Loads a generated language file of about 20,000 entries through our reader and catalogue,
// parses the same bytes with pugixml and tinyxml2, and reports throughput and peak memory.
// Each contender runs in its own child process, so the peaks do not mix.
#include "platform/fake/FakePlatform.h"
#include "translation/DorTranslation.h"
#include "translation/ECXMLParser.h"

#include <pugixml.hpp>
#include <tinyxml2.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

namespace {
std::string GenerateLanguageFile(int entries) {
    std::string out = "<?xml version=\"1.0\" encoding=\"windows-1252\" ?>\r\n"
                      "  <language id=\"xx\" name=\"Benchmark\">\r\n    <info>\r\n"
                      "      <version>\r\n        7\r\n      </version>\r\n    </info>\r\n"
                      "    <translations>\r\n";
    // The layout our writer produces: every tag and text on a line of its own.
    const auto field = [&out](const char* tag, const std::string& text) {
        out += std::string("        <") + tag + ">\r\n          " + text + "\r\n        </" + tag +
               ">\r\n";
    };
    for (int i = 0; i < entries; ++i) {
        const std::string n = std::to_string(i * 7919 % entries);
        out += "      <entry>\r\n";
        field("Key", "pas.module" + std::to_string(i % 97) + ".text" + n);
        field("Original", "The %s of item " + n + " was skipped &amp; not saved.&#x0d;Try again.");
        field("Changed", "0");
        field("Translated", "Eintrag " + n +
                                " \xFC"
                                "bersprungen &amp; nicht gespeichert.");
        field("Comment", "%s = name of the item");
        out += "      </entry>\r\n";
    }
    return out + "    </translations>\r\n  </language>\r\n";
}

long PeakKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Runs `parse` a few times in a child and prints the best time and the memory it added.
const char* Only = nullptr; // a name prefix, to profile one contender

void Measure(const char* name, const std::string& bytes, const std::function<long()>& parse) {
    if (Only && std::string(name).rfind(Only, 0) != 0) return;
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        const long before = PeakKb();
        double best = 1e9;
        long check = 0;
        for (int round = 0; round < 7; ++round) {
            const auto start = std::chrono::steady_clock::now();
            check = parse();
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            best = std::min(best, took.count());
        }
        std::printf("%-34s %8.1f MB/s %8.2f ms %8ld KB peak added  (%ld items)\n", name,
                    bytes.size() / 1e6 / best, best * 1e3, PeakKb() - before, check);
        std::fflush(stdout);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
}
} // namespace

int main(int argc, char** argv) {
    const int entries = argc > 1 ? std::atoi(argv[1]) : 20000;
    if (argc > 2) Only = argv[2];
    const std::string bytes = GenerateLanguageFile(entries);
    std::printf("language file: %d entries, %.2f MB\n\n", entries, bytes.size() / 1e6);

    Measure("our reader (TECXMLParser)", bytes, [&] {
        TECXMLParser parser;
        TXMLStream stream(bytes);
        parser.LoadFromStream(stream);
        return static_cast<long>(parser.Root().Items(1).Count());
    });
    Measure("our reader + catalogue (TDorLanguage)", bytes, [&] {
        TFakePlatform platform;
        platform.Files.PutFile("C:\\bench.lng", bytes);
        TDorLanguage language;
        language.LoadFromFile("C:\\bench.lng");
        return static_cast<long>(language.Count());
    });
    Measure("pugixml (parse_default)", bytes, [&] {
        pugi::xml_document doc;
        doc.load_buffer(bytes.data(), bytes.size());
        const auto list = doc.child("language").child("translations");
        return static_cast<long>(std::distance(list.begin(), list.end()));
    });
    Measure("tinyxml2", bytes, [&] {
        tinyxml2::XMLDocument doc;
        doc.Parse(bytes.data(), bytes.size());
        long n = 0;
        for (auto* e = doc.FirstChildElement("language")
                           ->FirstChildElement("translations")
                           ->FirstChildElement();
             e; e = e->NextSiblingElement())
            ++n;
        return n;
    });
    return 0;
}
