#include "environment/InstalledVersions.h"
#include "environment/QelGlobals.h"
#include "environment/SupportLink.h"
#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>

namespace {
const std::string Dir = "C:\\Program Files\\VELK Network Monitor\\";
}

TEST(FileVersionText, FourUnsignedPartsJoinedByDots) {
    TFakePlatform platform;
    platform.Versions.Files["a.exe"] = {7, 0, 12, 3};
    platform.Versions.Files["b.exe"] = {65535, 65535, 0, 65535};
    EXPECT_EQ(FileVersionText("a.exe"), "7.0.12.3");
    EXPECT_EQ(FileVersionText("b.exe"), "65535.65535.0.65535");
    EXPECT_EQ(FileVersionText("missing.exe"), "");
}

TEST(InstalledVersionsText, ListsThePresentProgramsInTheFixedOrder) {
    using TVersions = std::map<std::string, std::array<std::uint16_t, 4>>;
    const struct {
        const char* Name;
        TVersions Files;
        std::string Text;
    } cases[] = {
        {"none", {}, ""},
        {"probe without core server",
         {{Dir + "VELKProbeAdmin.exe", {7, 1, 3, 1745}}, {Dir + "VELK Probe.exe", {7, 1, 3, 1745}}},
         "Probe Service: V7.1.3.1745\rProbe Administration Tool: V7.1.3.1745\r"},
        {"all five",
         {{Dir + "VELK Server.exe", {7, 1, 0, 0}},
          {Dir + "VELK Probe.exe", {7, 1, 0, 1}},
          {Dir + "VELKServerAdmin.exe", {7, 1, 0, 2}},
          {Dir + "VELKProbeAdmin.exe", {7, 1, 0, 3}},
          {Dir + "VELKImport.exe", {7, 1, 0, 4}}},
         "Server Service: V7.1.0.0\rProbe Service: V7.1.0.1\rServer Administration Tool: "
         "V7.1.0.2\rProbe Administration Tool: V7.1.0.3\rImport Tool: V7.1.0.4\r"},
    };
    for (const auto& c : cases) {
        TFakePlatform platform;
        platform.System.ModulePath = Dir + "VELKProbeAdmin.exe";
        InitGlobals();
        platform.Versions.Files = c.Files;
        EXPECT_EQ(InstalledVersionsText(), c.Text) << c.Name;
    }
}

TEST(SupportLink, OpensTheTicketPageOverHttpsHidden) {
    TFakePlatform platform;
    OpenSupportTicketPage(77);
    ASSERT_EQ(platform.Shell.Executed.size(), 1u);
    const auto& call = platform.Shell.Executed[0];
    EXPECT_EQ(call.Owner, 77u);
    EXPECT_EQ(call.Verb, "open");
    EXPECT_EQ(call.ShowCommand, 0);
    EXPECT_EQ(call.File.rfind("https://", 0), 0u);
    EXPECT_EQ(call.File.substr(call.File.size() - 19), "/support/openticket");
}
