// How `ofu` prints devices, volumes and values, as a table or as JSON.
#pragma once

#include "protocol/device_list.h"
#include "protocol/volume_list.h"

#include <iosfwd>
#include <string>
#include <string_view>

namespace ofu::cli {

void WriteDeviceTable(const DeviceRecordList& devices, bool json, std::ostream& out);
void WriteVolumes(const VolumeEntryList& volumes, bool json, std::ostream& out);
void WriteValue(std::string_view value, bool json, std::ostream& out);

// Device-supplied text made safe for a terminal: control characters become '?'.
std::string Printable(std::string_view text);

// The ten key bytes as twenty lowercase hex digits.
std::string KeyHex(const DeviceKey& key);

}  // namespace ofu::cli
