#include "environment/AboutText.h"
#include "environment/QelGlobals.h"
#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>

TEST(AboutText, ExactBytesWithSingleCrLineEnds) {
    TFakePlatform platform;
    platform.System.ModulePath = "C:\\VELK\\VELKProbeAdmin.exe";
    InitGlobals();
    platform.Versions.Files["C:\\VELK\\VELK Probe.exe"] = {7, 1, 3, 1745};
    const std::string maker = "\xA9 2019-2026 Example Network Software Ltd.\r1 Sample Street\r"
                              "12345 Sampletown\rExampleland\r\r";
    EXPECT_EQ(AboutText(), "VELK Network Monitor V7\r\r" + maker +
                               "Installed versions:\r\rProbe Service: V7.1.3.1745\r");

    platform.Versions.Files.clear();
    EXPECT_EQ(AboutText(), "VELK Network Monitor V7\r\r" + maker + "Installed versions:\r\r");
}
