// Prints the catalogue's rows as TYPE:ID:SIZE, one a line. The build compiles and runs it at
// configure time, so that the embedding and the check of a folder of real payloads follow the
// compiled catalogue itself.
#include "addons/payload_catalogue.h"

#include <cstdio>
#include <string>

int main() {
    for (const ofu::PayloadEntry& row : ofu::PayloadCatalogue()) {
        const std::string type(row.type);
        std::printf("%s:%u:%lu\n", type.c_str(), static_cast<unsigned>(row.id), static_cast<unsigned long>(row.size));
    }
    return 0;
}
