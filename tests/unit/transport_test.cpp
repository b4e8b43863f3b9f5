#include "protocol/discovery.h"
#include "protocol/transport.h"
#include "tests/support/protocol_fixture.h"

#include <gtest/gtest.h>

namespace ofu {
namespace {

using TransportTest = testing::ProtocolTest;

TEST_F(TransportTest, UsesTheFirstEightAddressesAndOpensAllSendersFirst) {
    std::vector<std::string> nine;
    for (int k = 1; k <= 9; ++k) nine.push_back("10.77." + std::to_string(k) + ".1");
    network.setLocalAddresses(nine);
    StartTransport();
    ASSERT_EQ(localAddressCount, 8);
    EXPECT_EQ(LocalAddressTable[0].view(), "10.77.1.1");
    EXPECT_EQ(LocalAddressTable[7].view(), "10.77.8.1");
    const auto& order = network.openOrder();
    ASSERT_EQ(order.size(), 16u);
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(order[static_cast<std::size_t>(k)], "S" + std::to_string(k));
        EXPECT_EQ(order[static_cast<std::size_t>(k + 8)], "R" + std::to_string(k));
    }
    StopTransport();
    EXPECT_FALSE(network.receiverOpen(0));
    EXPECT_TRUE(network.cleanedUp());
}

TEST_F(TransportTest, ClientIdDependsOnlyOnTheSecondTheRunStarted) {
    EXPECT_EQ(ChooseClientId(1'700'000'000), ChooseClientId(1'700'000'000));
    EXPECT_NE(ChooseClientId(1'700'000'000), ChooseClientId(1'700'000'001));

    clock.setWallClockSeconds(1'800'000'000);
    StartTransport();
    EXPECT_EQ(ClientId, ChooseClientId(1'800'000'000));
}

TEST_F(TransportTest, NoLocalAddressMeansNothingIsSentAndNothingFound) {
    network.setLocalAddresses({});
    StartTransport();
    EXPECT_EQ(localAddressCount, 0);
    for (const auto& slot : LocalAddressTable) EXPECT_TRUE(slot.empty());
    SearchDevices(3, 3);
    EXPECT_EQ(DeviceList.count(), 0);
    EXPECT_TRUE(network.sent().empty());
}

TEST_F(TransportTest, SocketLibraryThatCannotStartEndsTheProcessWithStatusOne) {
    network.setStartupFails(true);
    EXPECT_EXIT(StartTransport(), ::testing::ExitedWithCode(1), "");
}

}  // namespace
}  // namespace ofu
