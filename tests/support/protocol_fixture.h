// A test fixture that runs the protocol against the in-memory network on virtual time,
// with every piece of process-wide protocol state reset before and after each test.
#pragma once

#include "protocol/device_list.h"
#include "protocol/shared_texts.h"
#include "protocol/trace.h"
#include "protocol/transport.h"
#include "protocol/volume_list.h"
#include "tests/support/memory_network.h"
#include "tests/support/virtual_clock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ofu::testing {

class ProtocolTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProtocolState();
        network.setLocalAddresses({"10.77.1.1", "10.77.2.1"});
        InstallTransportBackends(&network, &clock);
        SetTraceSink([this](std::string_view line) { traces.emplace_back(line); });
    }
    void TearDown() override {
        StopTransport();
        InstallTransportBackends(nullptr, nullptr);
        SetTraceSink({});
        ResetProtocolState();
    }

    static void ResetProtocolState() {
        FreeDeviceList();
        VolumeList.clear();
        ClearSharedTexts();
    }

    VirtualClock clock;
    MemoryNetwork network{clock};
    std::vector<std::string> traces;
};

}  // namespace ofu::testing
