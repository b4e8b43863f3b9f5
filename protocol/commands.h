// The commands on the chosen device. None takes arguments: each reads and writes the
// process-wide texts (shared_texts.h) and the volume list, and returns 1 for success and 0
// for failure (no listed target, or no fitting answer in time). Login returns the device's
// result byte instead.
#pragma once

namespace ofu {

int Login();
int QueryVolumes();
int QueryWorkgroup();
int QueryCodepage();
int QueryShareName();
int QueryIdeOk();
int QueryBtFirmware();
int QueryDomain();
int QuerySsl();
int SetStaticAddress();
int EnableDhcp();
int SetParam5();
int SetWorkgroup();
int SetCodepage();
int SetAccessMode();
int SendInstallControl();
int SendAddOnName();

}  // namespace ofu
