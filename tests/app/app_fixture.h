// The main window on the test backend, against simulated devices on the in-memory network,
// with fake platform services.
#pragma once

#include "app/login_dialog.h"
#include "app/main_dialog.h"
#include "resources/control_ids.h"
#include "tests/support/fake_platform.h"
#include "tests/support/hosted_devices.h"
#include "tests/support/protocol_fixture.h"
#include "ui/testing/test_backend.h"

#include <gtest/gtest.h>

namespace ofu::testing {

class AppTest : public ProtocolTest {
protected:
    void SetUp() override {
        ProtocolTest::SetUp();
        AdminLoginMode = 0;
        SelectedDeviceAddress.clear();
        ui = &ui::InstallTestBackend();
        ui->SetStrictMessages(true);

        auto nas1 = HostedDevices::Config("NAS1", "10.77.1.10", 0x01);
        nas1.ssl = "1";
        nas1.model = "OFN-420";
        nas1.dhcpAddress = "10.77.1.150";
        nas1Device = &hosted.add(nas1, {0});
        auto nas2 = HostedDevices::Config("NAS2", "10.77.1.11", 0x02);
        nas2.dhcp = true;
        nas2.gateway = "0.0.0.0";
        nas2.adminPassword = "pw";
        nas2.answerForm = 2;
        nas2Device = &hosted.add(nas2, {0});
        auto far = HostedDevices::Config("FAR", "10.77.9.10", 0x03);
        far.gateway = "10.77.9.1";
        hosted.add(far, {1});

        StartTransport();  // the application object starts it before the main window
    }
    void TearDown() override {
        ui::FreeBackend();
        ProtocolTest::TearDown();
    }

    // Opens the main window (its first search runs) and clicks the row of `name`.
    int RowOf(ui::TestDialog& window, std::string_view name) {
        for (int row = 0; row < window.Surface().RowCount(ids::kDeviceList); ++row)
            if (window.Surface().GetCellText(ids::kDeviceList, row, 0) == name) return row;
        ADD_FAILURE() << name << " is not listed";
        return -1;
    }
    void ClickDevice(ui::TestDialog& window, std::string_view name) {
        window.ClickRow(ids::kDeviceList, RowOf(window, name));
    }
    std::string Cell(int list, int row, int column) { return main.Surface().GetCellText(list, row, column); }
    void ExpectNoFailures() {
        EXPECT_TRUE(ui->Script().Empty()) << ui->Script().Remaining() << " scripted entries left";
        EXPECT_TRUE(ui->Failures().empty()) << ui->FailureText();
    }
    // Requests of opcode 5 (set) sent so far.
    int SetRequestsSent() const {
        int count = 0;
        for (const auto& datagram : network.sent())
            if (!datagram.bytes.empty() && datagram.bytes[0] == 5) ++count;
        return count;
    }

    FakePlatform platform;
    HostedDevices hosted{network};
    devsim::SimDevice* nas1Device = nullptr;
    devsim::SimDevice* nas2Device = nullptr;
    ui::TestBackend* ui = nullptr;
    MainDialog main;
};

}  // namespace ofu::testing
