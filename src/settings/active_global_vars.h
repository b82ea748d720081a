#pragma once

class TGlobalVars;

// The settings object of the running program, for code that is not handed one (saving a
// measurement needs the master password). Whoever owns the settings object registers it
// here for its lifetime; nullptr when there is none, as in the command-line tool.
TGlobalVars* ActiveGlobalVars();
// Returns the previously registered object.
TGlobalVars* SetActiveGlobalVars(TGlobalVars* vars);

// Registers a settings object for a scope.
class ActiveGlobalVarsScope {
public:
    explicit ActiveGlobalVarsScope(TGlobalVars& vars) : previous_(SetActiveGlobalVars(&vars)) {}
    ~ActiveGlobalVarsScope() { SetActiveGlobalVars(previous_); }
    ActiveGlobalVarsScope(const ActiveGlobalVarsScope&) = delete;
    ActiveGlobalVarsScope& operator=(const ActiveGlobalVarsScope&) = delete;

private:
    TGlobalVars* previous_;
};
