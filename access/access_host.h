// What the device access and add-on handlers (Connect, Disconnect, Configuration, Widget,
// Language, BitTorrent) need from the main window besides its controls: the login dialogs, a
// new search, the chosen-device flag and the model of the device last clicked. The main window
// implements it and passes itself.
#pragma once

#include "ui/dialog_surface.h"

#include <cstdint>
#include <string_view>

namespace ofu {

class AccessHost {
public:
    virtual ~AccessHost() = default;

    // The main window's controls.
    virtual ui::DialogSurface& Window() = 0;
    // Sets AdminLoginMode to 0: from now on the login dialog asks for share credentials.
    virtual void UseLoginForShares() = 0;
    // Runs the login dialog modally for share credentials (AdminLoginMode 0); it leaves what
    // the user typed in LoginUserName and LoginPassword (or nothing after Cancel).
    virtual void RunShareLoginDialog() = 0;
    // Searches the networks again and rebuilds the device list.
    virtual void RefreshDeviceList() = 0;
    virtual void SetDeviceChosen(std::int32_t chosen) = 0;
    virtual std::int32_t DeviceChosenFlag() const = 0;
    // The administrator login with the login dialog (RequireAdminLogin): true when the device
    // accepted, false after the user was told.
    virtual bool RequireAdministrator() = 0;
    // The model text of the device last clicked (SelectedDeviceModel).
    virtual std::string_view SelectedModel() const = 0;
};

void OnConnect(AccessHost& host);
void OnDisconnect(AccessHost& host);
void OnConfiguration(AccessHost& host);
void OnWidget(AccessHost& host);

}  // namespace ofu
