/* ZELTO.DLL holds no code, so the linker finds nothing to relocate and
   writes no relocation table. Windows 95 and 98 cannot move a library
   without one, and the program loads this one wherever its preferred base
   is free. This one word, which holds its own address, gives the table an
   entry. */
const void* const zelto_relocation_anchor = &zelto_relocation_anchor;
