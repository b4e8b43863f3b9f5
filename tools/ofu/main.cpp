// `ofu`: the command-line client of the device protocol, for administrators and scripts.
#include "platform/services.h"
#ifndef OFU_WITHOUT_PAYLOADS
#include "resources/payloads/embedded_payloads.h"
#endif
#include "tools/ofu/cli_run.h"

#include <iostream>
#include <string_view>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string_view> args;
    for (int k = 1; k < argc; ++k) args.emplace_back(argv[k]);
#ifndef OFU_WITHOUT_PAYLOADS
    ofu::platform::RegisterEmbeddedResources(ofu::EmbeddedPayloads());
#endif
    ofu::platform::InitPlatformServices();
    const int status = ofu::cli::RunCli(args, std::cout, std::cerr, std::cin);
    ofu::platform::FreePlatformServices();
    return status;
}
