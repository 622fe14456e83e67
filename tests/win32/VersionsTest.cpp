#include "environment/InstalledVersions.h"
#include "platform/win32/Win32Platform.h"

#include <gtest/gtest.h>

TEST(RealVersions, FileVersionTextOfTheStandIns) {
    TWin32Platform real;
    const TPlatform previous = Platform();
    SetPlatform(real.Get());
    const std::string product = VELK_PRODUCT_DIR;
    EXPECT_EQ(FileVersionText(product + "VELK Server.exe"), "7.1.0.0");
    EXPECT_EQ(FileVersionText(product + "VELKImport.exe"), "7.0.65535.1");
    EXPECT_EQ(FileVersionText(product + "missing.exe"), "");
    EXPECT_EQ(FileVersionText(product + "..\\wineboot.log"), ""); // no version resource
    SetPlatform(previous);
}
