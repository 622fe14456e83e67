#include "platform/SystemErrorText.h"
#include "platform/fake/FakeSystem.h"

#include <gtest/gtest.h>

TEST(SystemErrorText, DropsTrailingControlCharactersBlanksAndFullStops) {
    const struct {
        std::string Raw;
        std::string Text;
    } cases[] = {
        {"Access denied.\r\n", "Access denied"},
        {"An instance of the service is already running. \r\n", "An instance of the service is already running"},
        {"Ends in dots...\t\r\n\r\n", "Ends in dots"},
        {"v1.2 inside stays.\r\n", "v1.2 inside stays"},
        {"", ""},
        {".\r\n", ""},
    };
    for (const auto& c : cases) {
        TFakeSystem system;
        system.Messages[5] = c.Raw;
        EXPECT_EQ(SystemErrorText(system, 5), c.Text) << c.Raw;
    }
}
