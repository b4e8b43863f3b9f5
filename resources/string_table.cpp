#include "resources/string_table.h"

#include "resources/resource_ids.h"

namespace ofu::ui {

std::string_view LoadStringResource(int id) {
    switch (id) {
        case kAboutMenuStringId:
            return "About Network Storage Adapter(&A)...";
        default:
            return {};
    }
}

}  // namespace ofu::ui
