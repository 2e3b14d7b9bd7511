#!/usr/bin/env python3
"""Checks the Windows 95/98 release from its files, since these machines
cannot run 32-bit programs: every file a PE32 image for i386 that asks for
Windows 4.0, Cleanup.dll exporting exactly the names the setup engine looks
up, every import one that Windows 95 and 98 both export, and every library
one that Windows 95 can load: with its base relocations and without a TLS
directory. Functions that
those systems export only as stubs may be imported by the compiler's runtime
but never called by our own code (given as object files and archives).

  check_release.py --allow LIST [--exports FILE=NAME,NAME...] [--own-code LIST]
                   [--zip ZIP --expect NAME...] [FILE...]

LIST for --own-code names our object files and archives, one a line.

Prints one line per fault, naming the file and the function, and exits 1
when there is any."""

import argparse
import os
import struct
import subprocess
import sys
import zipfile

I386 = 0x14C
PE32 = 0x10B
EXPORT_DIRECTORY, IMPORT_DIRECTORY, RELOCATION_DIRECTORY, TLS_DIRECTORY, DELAY_IMPORT_DIRECTORY = 0, 1, 5, 9, 13
RELOCS_STRIPPED, DLL = 0x0001, 0x2000


class NotAnImage(Exception):
    pass


class Image:
    """The parts of a PE file that decide whether Windows 95/98 load it."""

    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise NotAnImage("no MZ header")
        pe = self.u32(0x3C)
        if data[pe:pe + 4] != b"PE\0\0":
            raise NotAnImage("no PE header")
        self.machine, sections, _, _, _, optional_size, self.characteristics = struct.unpack_from(
            "<HHIIIHH", data, pe + 4)
        optional = pe + 24
        self.magic = self.u16(optional)
        if self.magic != PE32:
            self.os_version = self.subsystem_version = (0, 0)
            self.directories, self.sections = [], []
            return
        self.os_version = (self.u16(optional + 40), self.u16(optional + 42))
        self.subsystem_version = (self.u16(optional + 48), self.u16(optional + 50))
        count = self.u32(optional + 92)
        self.directories = [struct.unpack_from("<II", data, optional + 96 + 8 * i) for i in range(count)]
        table = optional + optional_size
        self.sections = [struct.unpack_from("<IIII", data, table + 40 * i + 8) for i in range(sections)]

    def u16(self, offset):
        return struct.unpack_from("<H", self.data, offset)[0]

    def u32(self, offset):
        return struct.unpack_from("<I", self.data, offset)[0]

    def offset(self, rva):
        for virtual_size, address, raw_size, raw in self.sections:
            if address <= rva < address + max(virtual_size, raw_size):
                return raw + rva - address
        raise NotAnImage("address 0x%x lies in no section" % rva)

    def text(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("latin-1")

    def directory(self, index):
        return self.directories[index] if index < len(self.directories) else (0, 0)

    def exports(self):
        rva, size = self.directory(EXPORT_DIRECTORY)
        if not size:
            return [], 0
        base = self.offset(rva)
        functions, names, name_table = self.u32(base + 20), self.u32(base + 24), self.u32(base + 32)
        return [self.text(self.u32(self.offset(name_table) + 4 * i)) for i in range(names)], functions

    def imports(self):
        """(dll, function) pairs; a function imported by ordinal is '#N'."""
        rva, size = self.directory(IMPORT_DIRECTORY)
        found = []
        if not size:
            return found
        descriptor = self.offset(rva)
        while True:
            lookup, _, _, name, first = struct.unpack_from("<IIIII", self.data, descriptor)
            if not (lookup or name or first):
                return found
            dll = self.text(name).upper()
            thunk = self.offset(lookup or first)
            while True:
                entry = self.u32(thunk)
                if not entry:
                    break
                found.append((dll, "#%d" % (entry & 0xFFFF) if entry & 0x80000000 else self.text(entry + 2)))
                thunk += 4
            descriptor += 20


def read_allow_list(path):
    allowed, stubs = set(), set()
    with open(path, encoding="utf-8") as listing:
        for line in listing:
            words = line.split("#", 1)[0].split()
            if not words:
                continue
            allowed.add((words[0].upper(), words[1]))
            if words[2:] == ["stub"]:
                stubs.add(words[1])
    return allowed, stubs


def check_image(name, data, allowed, exports, faults):
    try:
        image = Image(data)
    except (NotAnImage, struct.error, ValueError) as problem:
        faults.append("%s: not a Windows image (%s)" % (name, problem))
        return
    if image.machine != I386:
        faults.append("%s: machine 0x%x, not i386" % (name, image.machine))
    if image.magic != PE32:
        faults.append("%s: optional header 0x%x, not PE32" % (name, image.magic))
        return
    for what, version in (("subsystem", image.subsystem_version), ("OS", image.os_version)):
        if version != (4, 0):
            faults.append("%s: %s version %d.%d, not 4.0" % (name, what, version[0], version[1]))
    if image.characteristics & DLL:
        # Windows 95's LoadLibrary refuses static TLS (ERROR_DLL_INIT_FAILED),
        # and a library that cannot be moved fails to load wherever its
        # preferred base is taken.
        if image.directory(TLS_DIRECTORY)[1]:
            faults.append("%s: has a TLS directory, which Windows 95 does not load in a library" % name)
        if image.characteristics & RELOCS_STRIPPED or not image.directory(RELOCATION_DIRECTORY)[1]:
            faults.append("%s: has no base relocations, so it cannot be loaded away from its base" % name)
    if image.directory(DELAY_IMPORT_DIRECTORY)[1]:
        faults.append("%s: delay-loaded imports, which this check cannot vouch for" % name)
    for dll, function in image.imports():
        if (dll, function) not in allowed:
            faults.append("%s: imports %s %s, which Windows 95/98 do not both export" % (name, dll, function))
    names, count = image.exports()
    if exports is not None:
        for extra in sorted(set(names) - set(exports)):
            faults.append("%s: exports %s, which the setup engine does not look up" % (name, extra))
        for missing in sorted(set(exports) - set(names)):
            faults.append("%s: does not export %s" % (name, missing))
        if count != len(names):
            faults.append("%s: exports %d functions by ordinal only" % (name, count - len(names)))


def own_code_calls(objects, stubs):
    """The stub functions that our own object files and archives reference."""
    if not objects:
        return []
    nm = os.environ.get("NM", "i686-w64-mingw32-nm")
    listing = subprocess.run([nm, "--undefined-only", "--portability", "--print-file-name"] + objects,
                             check=True, capture_output=True, text=True).stdout
    calls = set()
    for line in listing.splitlines():
        where, _, rest = line.rpartition(": ")
        symbol = rest.split()[0] if rest.split() else ""
        # __imp__Name@N for a function of a DLL; _Name@N when called through
        # the import library's thunk.
        function = symbol.removeprefix("__imp_").lstrip("_").split("@")[0]
        if function in stubs:
            calls.add((os.path.basename(where), function))
    return sorted(calls)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--allow", required=True, help="the allow-list of Windows 95/98 exports")
    parser.add_argument("--exports", action="append", default=[], help="FILE=NAME,NAME: exactly these exports")
    parser.add_argument("--own-code", help="a file naming our own objects and archives, one a line")
    parser.add_argument("--zip", help="a release package to check instead of loose files")
    parser.add_argument("--expect", action="append", default=[], help="a file the package must hold")
    parser.add_argument("files", nargs="*")
    arguments = parser.parse_args()

    allowed, stubs = read_allow_list(arguments.allow)
    exports = {}
    for rule in arguments.exports:
        file, _, names = rule.partition("=")
        exports[file.lower()] = [name for name in names.split(",") if name]

    faults = []
    if arguments.zip:
        with zipfile.ZipFile(arguments.zip) as package:
            members = {os.path.basename(member): member for member in package.namelist() if not member.endswith("/")}
            for missing in sorted(set(arguments.expect) - set(members)):
                faults.append("%s: does not hold %s" % (arguments.zip, missing))
            images = [(name, package.read(member)) for name, member in sorted(members.items())
                      if name.lower().endswith((".exe", ".dll"))]
    else:
        images = []
        for path in arguments.files:
            with open(path, "rb") as file:
                images.append((os.path.basename(path), file.read()))
    for name, data in images:
        check_image(name, data, allowed, exports.get(name.lower()), faults)
    objects = []
    if arguments.own_code:
        with open(arguments.own_code, encoding="utf-8") as listing:
            objects = [line.strip() for line in listing if line.strip().endswith((".obj", ".o", ".a"))]
    for where, function in own_code_calls(objects, stubs):
        faults.append("%s: calls %s, which Windows 95/98 export only as a stub" % (where, function))

    for fault in faults:
        print("release check: " + fault)
    checked = ", ".join(name for name, _ in images) or "nothing"
    print("release check: %s: %s" % (checked, "%d fault(s)" % len(faults) if faults else "all fit Windows 95/98"))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
