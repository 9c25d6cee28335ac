// platform/RuntimeTrims.cpp: what the MinGW start-up would bring into each program and the program never uses,
// replaced by less; linked into each program itself, since a library member would never be pulled in for it.
#include <stdlib.h>

// The program does no floating-point arithmetic. The runtime's own handler of its errors would print to a console
// the program may not have, and weighs a kilobyte of text and messages.
extern "C" int _matherr(struct _exception*)
{
    return 0;
}

#if defined(__MINGW32__)
// The start-up fixes up references to data in DLLs that the linker could only reach indirectly (pseudo-
// relocations), with a kilobyte and a half of code and error reporting. The programs have none: they are linked
// without auto-import, which makes them. Were one ever to come, the program stops here rather than run with a
// wrong address.
extern "C" char __RUNTIME_PSEUDO_RELOC_LIST__, __RUNTIME_PSEUDO_RELOC_LIST_END__;

extern "C" void _pei386_runtime_relocator()
{
    if (&__RUNTIME_PSEUDO_RELOC_LIST__ != &__RUNTIME_PSEUDO_RELOC_LIST_END__)
        abort();
}
#endif
