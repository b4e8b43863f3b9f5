// The command line of `ofu`: what the user asked for, checked before anything is sent.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace ofu::cli {

enum class Verb { Help, Version, Discover, Query, Login, Set, SetStatic, SetDhcp, Drives, Map, Unmap, Web, Payloads, Payload, InstallLanguage, InstallBitTorrent };

struct CliRequest {
    Verb verb = Verb::Help;
    bool json = false;
    std::string address;     // the device, as a dotted address
    std::string item;        // query or set item
    std::string value;       // set value
    std::string newAddress;  // set-static
    std::string netmask;
    std::string gateway;
    std::optional<std::string> user;  // --user; login defaults to "admin"
    bool passwordFromStdin = false;
    std::string volume;  // map
    std::string drive;   // map, unmap: "Z:"
    bool force = false;  // map: replace a letter's connection
    bool printOnly = false;  // web: print the browser's command line instead of starting it
    int payloadId = 0;       // payload
    std::string output;      // payload --output FILE
    int languageIndex = -1;  // install-language: the Language dialog's entry
    bool noRestartWait = false;
};

struct ParsedCommandLine {
    std::optional<CliRequest> request;
    std::string error;  // why the command line is unusable, when request is empty
};

// `args` excludes the program name.
ParsedCommandLine ParseCommandLine(std::span<const std::string_view> args);

// The drive text "Z:" of a letter given as "z", "Z" or "z:"; empty when the text is not one.
std::string NormalisedDrive(std::string_view text);

// True for a dotted IPv4 address in its plain form (four numbers 0 to 255, no leading zeros),
// the only form in which devices are listed.
bool IsPlainDottedAddress(std::string_view text);

extern const char* const kUsage;

}  // namespace ofu::cli
