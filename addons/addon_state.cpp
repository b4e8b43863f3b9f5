#include "addons/addon_state.h"

namespace ofu {

AddOnStateRecord AddOnState;

}  // namespace ofu
