// Ending a call through the host's abort.
#ifndef MASKFIT_RUNTIME_ABORT_H
#define MASKFIT_RUNTIME_ABORT_H

namespace maskfit {

// Hands the exception type name and message to the function in the abort
// slot. Never returns: should the slot be empty or the host's abort return,
// the process traps rather than carry on past a failed check.
[[noreturn]] void AbortCall(const char* exceptionType, const char* message);

}  // namespace maskfit

#endif
