// Process-wide texts that the dialogs fill before a command and read after it. Each is a
// zero-terminated text of fixed width; every write is a bounded copy.
#pragma once

#include "protocol/bounded_text.h"

namespace ofu {

// The device a command is meant for, and the new address settings.
extern BoundedText<16> TargetDeviceAddress;
extern BoundedText<16> NewDeviceAddress;
extern BoundedText<16> NewNetmask;
extern BoundedText<16> NewGateway;

// Login texts: at most 16 characters each.
extern BoundedText<17> LoginUserName;
extern BoundedText<17> LoginPassword;

// Results of the queries.
extern BoundedText<32> DeviceWorkgroup;
extern BoundedText<76> DeviceCodepage;
extern BoundedText<16> DeviceShareName;
extern BoundedText<8> DeviceIdeOk;
extern BoundedText<8> DeviceBtFirmware;
extern BoundedText<128> DeviceDomain;
extern BoundedText<8> DeviceSslSetting;

// Payloads of the configuration commands.
extern BoundedText<8> AccessModeText;
extern BoundedText<8> InstallControlText;
extern BoundedText<8> AddOnNameText;
extern BoundedText<32> Param5Text;

// Empties every text above (start of a run; tests).
void ClearSharedTexts();

}  // namespace ofu
