// The add-on setups on the test backend: the main window with two more simulated devices, one
// of each family, small stand-in payloads for every catalogue entry, and the devices' shares
// with their add-on folders in memory.
#pragma once

#include "addons/addon_state.h"
#include "addons/payload_catalogue.h"
#include "tests/app/app_fixture.h"
#include "tools/devsim/request_parser.h"

namespace ofu::testing {

class AddonTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        AddOnState = {};
        auto one = HostedDevices::Config("CP1", "10.77.1.13", 0x41);
        one.ideOk = "3";
        one.codepage = "437";
        one.adminPassword = "";
        familyOne = &hosted.add(one, {0});
        auto two = HostedDevices::Config("CP2", "10.77.1.14", 0x42);
        two.shareName = "hdd_1";  // the device's own spelling
        two.ideOk = "5";
        two.codepage = "852";
        two.adminPassword = "";
        familyTwo = &hosted.add(two, {0});

        for (const PayloadEntry& entry : PayloadCatalogue()) {
            std::vector<std::uint8_t> bytes(std::min<std::size_t>(entry.size, 16), static_cast<std::uint8_t>(entry.id));
            platform.resources.Add(std::string(entry.type), entry.id, std::move(bytes));
        }
        for (const char* folder : {"\\\\10.77.1.13\\HDD_a\\.codepages", "\\\\10.77.1.13\\HDD_a\\Nas_Prog/BT",
                                   "\\\\10.77.1.14\\hdd_1\\.systemfile\\.codepages", "\\\\10.77.1.14\\HDD_1\\Nas_Prog/BT"})
            platform.disk.AddFolder(folder);
        platform.disk.AddFolder("C:");
    }

    // Opens the main window with `device` clicked; the hidden add-on buttons are shown, as the
    // tests' way in.
    ui::TestDialog OpenWith(std::string_view device) {
        ui::TestDialog window = ui->Open(main);
        ClickDevice(window, device);
        window.Surface().ShowItem(ids::kLanguageButton, true);
        window.Surface().ShowItem(ids::kBitTorrentButton, true);
        return window;
    }
    // The set requests of `subcode` sent so far, with their payloads.
    std::vector<std::string> SetsSent(std::uint8_t subcode) const {
        std::vector<std::string> payloads;
        for (const auto& datagram : network.sent()) {
            const auto parsed = devsim::ParseRequest(datagram.bytes);
            if (parsed.ok && parsed.request.opcode == wire::kOpSet && parsed.request.subcode == subcode &&
                parsed.request.set)
                payloads.push_back(parsed.request.set->payload);
        }
        return payloads;
    }
    int QueriesSent(std::uint8_t subcode) const {
        int count = 0;
        for (const auto& datagram : network.sent()) {
            const auto parsed = devsim::ParseRequest(datagram.bytes);
            count += parsed.ok && parsed.request.opcode == wire::kOpQuery && parsed.request.subcode == subcode;
        }
        return count;
    }
    // The files written so far, in order, without the device part of the path.
    std::vector<std::string> Written(std::string_view prefix) const {
        std::vector<std::string> names;
        for (const auto& path : platform.disk.opened)
            if (path.rfind(prefix, 0) == 0) names.push_back(path.substr(prefix.size()));
        return names;
    }
    int PausedMillis() const {
        int total = 0;
        for (int pause : platform.threads.sleeps) total += pause;
        return total;
    }

    devsim::SimDevice* familyOne = nullptr;
    devsim::SimDevice* familyTwo = nullptr;
};

}  // namespace ofu::testing
