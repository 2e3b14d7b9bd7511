/* Data that needs no relocation, linked as ZELTO.DLL once was: the linker
   then writes no relocation table, and the release check must refuse the
   library. */
const int probe_value = 1;
