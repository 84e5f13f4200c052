// What the port choice reads from and writes into the port status text.
#include "PortStatus.h"

#include <gtest/gtest.h>

namespace zk::port {
namespace {

TEST(PortStatus, OpenPortIsRecognisedByItsComPrefix)
{
    EXPECT_TRUE(statusShowsOpenPort("Serial Port:COM3"));
    EXPECT_TRUE(statusShowsOpenPort("Serial Port:COM10"));
    EXPECT_FALSE(statusShowsOpenPort("Serial Port:The Port is Used"));
    EXPECT_FALSE(statusShowsOpenPort("No Port!"));
    EXPECT_FALSE(statusShowsOpenPort("Serial Port:/dev/ttyUSB0"));
}

TEST(PortStatus, TextAfterAnOpenAttempt)
{
    EXPECT_EQ(statusAfterOpen(true, "COM1"), "Serial Port:COM1");
    EXPECT_EQ(statusAfterOpen(false, "COM1"), "Serial Port:The Port is Used");
    EXPECT_EQ(statusAfterOpen(false, ""), "Serial Port:The Port is Used");
}

} // namespace
} // namespace zk::port
