// What the port choice reads from and writes into the port status text.
#include "PortStatus.h"

#include <gtest/gtest.h>

namespace zk::port {
namespace {

TEST(PortStatus, OpenPortIsRecognisedByItsComPrefix)
{
    EXPECT_TRUE(statusShowsOpenPort("Serial Port:/dev/ttyS0"));
    EXPECT_TRUE(statusShowsOpenPort("Serial Port:/dev/ttyUSB10"));
    EXPECT_FALSE(statusShowsOpenPort("Serial Port:The Port is Used"));
    EXPECT_FALSE(statusShowsOpenPort("No Port!"));
    EXPECT_FALSE(statusShowsOpenPort("Serial Port:"));
}

TEST(PortStatus, TextAfterAnOpenAttempt)
{
    EXPECT_EQ(statusAfterOpen(true, "/dev/ttyS0"), "Serial Port:/dev/ttyS0");
    EXPECT_EQ(statusAfterOpen(false, "/dev/ttyS0"), "Serial Port:The Port is Used");
    EXPECT_EQ(statusAfterOpen(false, ""), "Serial Port:The Port is Used");
}

} // namespace
} // namespace zk::port
