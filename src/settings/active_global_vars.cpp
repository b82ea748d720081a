#include "settings/active_global_vars.h"

namespace {
TGlobalVars* active = nullptr;
} // namespace

TGlobalVars* ActiveGlobalVars() {
    return active;
}

TGlobalVars* SetActiveGlobalVars(TGlobalVars* vars) {
    TGlobalVars* previous = active;
    active = vars;
    return previous;
}
