#include "protocol/shared_texts.h"

namespace ofu {

BoundedText<16> TargetDeviceAddress;
BoundedText<16> NewDeviceAddress;
BoundedText<16> NewNetmask;
BoundedText<16> NewGateway;
BoundedText<17> LoginUserName;
BoundedText<17> LoginPassword;
BoundedText<32> DeviceWorkgroup;
BoundedText<76> DeviceCodepage;
BoundedText<16> DeviceShareName;
BoundedText<8> DeviceIdeOk;
BoundedText<8> DeviceBtFirmware;
BoundedText<128> DeviceDomain;
BoundedText<8> DeviceSslSetting;
BoundedText<8> AccessModeText;
BoundedText<8> InstallControlText;
BoundedText<8> AddOnNameText;
BoundedText<32> Param5Text;

void ClearSharedTexts() {
    TargetDeviceAddress.clear();
    NewDeviceAddress.clear();
    NewNetmask.clear();
    NewGateway.clear();
    LoginUserName.clear();
    LoginPassword.clear();
    DeviceWorkgroup.clear();
    DeviceCodepage.clear();
    DeviceShareName.clear();
    DeviceIdeOk.clear();
    DeviceBtFirmware.clear();
    DeviceDomain.clear();
    DeviceSslSetting.clear();
    AccessModeText.clear();
    InstallControlText.clear();
    AddOnNameText.clear();
    Param5Text.clear();
}

}  // namespace ofu
