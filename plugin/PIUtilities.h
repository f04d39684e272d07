#pragma once
// Host interface glue: the globals block in the host's data slot, memory
// handles through the host's handle procedures (or the Memory Manager), the
// advance-state check with its version warning, and Pascal-string helpers.

#include "plugin/host/PIExport.h"

#include <stddef.h>

extern "C" {

typedef void (*InitGlobalsProc)(Ptr globals);

// Locks the block of the handle in *data (creating, initialising and storing
// one when *data is 0), binds the result word and the record into its first
// two fields and sets the result word to 0. Null when no block can be had.
Ptr AllocateGlobals(int16* result, void* record, HandleProcs* procs, size_t size, intptr_t* data,
                    InitGlobalsProc init);

// True when the host's handle procedures are to be used: version 1, at least
// eight procedures, and new, dispose, get-size, set-size, lock and unlock all
// present. A newer version answers false and sets *newerVersion.
Boolean HostHandleProcsAvailable(const HandleProcs* procs, Boolean* newerVersion);
Handle HostNewHandle(const HandleProcs* procs, int32 size);
Ptr HostLockHandle(const HandleProcs* procs, Handle h, Boolean moveHigh);
void HostUnlockHandle(const HandleProcs* procs, Handle h);
void HostDisposeHandle(const HandleProcs* procs, Handle h);

Boolean HostAdvanceStateAvailable(AdvanceStateProc advanceState);
// As above; tells the user in the version alert when the procedure is missing.
Boolean WarnHostAdvanceStateAvailable(AdvanceStateProc advanceState);

void PIResetString(unsigned char* text);
void AppendString(unsigned char* destination, const unsigned char* source, int16 start, int16 count);
void PIParamText(unsigned char* text, const unsigned char* s0, const unsigned char* s1, const unsigned char* s2);
void DoubleToString(unsigned char* output, double value, int16 decimals);
double power(uint32 base, uint16 exponent);

} // extern "C"
