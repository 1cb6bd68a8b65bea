#!/usr/bin/env python3
"""Checks the shipped executable's own properties from its PE file:
64-bit (PE32+), GUI subsystem, an application manifest that requests
administrator rights, per-monitor DPI awareness and common controls 6,
icon 101, a version resource, and a static import table that holds only
KnownDLLs (every other DLL is delay-loaded).

usage: check_executable.py PictoraSetup.exe [DELAYED_DLL...]
(the DLLs bound late, e.g. wininet: each is delay-loaded where the
executable calls it, and never in the static import table)
"""
import struct
import sys

# DLLs that Windows 10/11 maps from \KnownDLLs (never searched for), plus
# the loader's own ntdll.
KNOWN_DLLS = {
    "advapi32.dll", "clbcatq.dll", "combase.dll", "comdlg32.dll", "coml2.dll",
    "difxapi.dll", "gdi32.dll", "gdiplus.dll", "imagehlp.dll", "imm32.dll",
    "kernel32.dll", "msctf.dll", "msvcrt.dll", "normaliz.dll", "nsi.dll",
    "ole32.dll", "oleaut32.dll", "psapi.dll", "rpcrt4.dll", "sechost.dll",
    "setupapi.dll", "shcore.dll", "shell32.dll", "shlwapi.dll", "user32.dll",
    "wldap32.dll", "ws2_32.dll", "ntdll.dll",
}

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


class PE:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE file")
        self.machine, nsections = struct.unpack_from("<HH", data, pe + 4)
        opt_size = struct.unpack_from("<H", data, pe + 20)[0]
        opt = pe + 24
        self.magic = struct.unpack_from("<H", data, opt)[0]
        self.subsystem = struct.unpack_from("<H", data, opt + 68)[0]
        dirs = opt + 112  # PE32+ data directories
        self.dirs = [struct.unpack_from("<II", data, dirs + 8 * i) for i in range(16)]
        self.sections = []
        sec = opt + opt_size
        for i in range(nsections):
            name, vsize, va, rsize, raw = struct.unpack_from("<8sIIII", data, sec + 40 * i)
            self.sections.append((va, max(vsize, rsize), raw))

    def offset(self, rva):
        for va, size, raw in self.sections:
            if va <= rva < va + size:
                return raw + rva - va
        raise ValueError("rva %x outside sections" % rva)

    def cstring(self, rva):
        o = self.offset(rva)
        return self.data[o:self.data.index(b"\0", o)].decode("ascii")

    def imports(self):
        rva, size = self.dirs[1]
        names = []
        o = self.offset(rva) if rva else None
        while o is not None:
            fields = struct.unpack_from("<IIIII", self.data, o)
            if fields == (0, 0, 0, 0, 0):
                break
            names.append(self.cstring(fields[3]))
            o += 20
        return names

    def delay_imports(self):
        rva, size = self.dirs[13]
        names = []
        o = self.offset(rva) if rva else None
        while o is not None:
            fields = struct.unpack_from("<8I", self.data, o)
            if fields[1] == 0:
                break
            names.append(self.cstring(fields[1]))
            o += 32
        return names

    def resources(self):
        """{(type, id): bytes of the first language}"""
        rva, size = self.dirs[2]
        base = self.offset(rva)
        found = {}

        def entries(off):
            named, ids = struct.unpack_from("<HH", self.data, base + off + 12)
            for i in range(named + ids):
                name, target = struct.unpack_from("<II", self.data, base + off + 16 + 8 * i)
                yield name, target

        for rtype, t in entries(0):
            for rid, r in entries(t & 0x7FFFFFFF):
                for _, leaf in entries(r & 0x7FFFFFFF):
                    data_rva, data_size = struct.unpack_from("<II", self.data, base + leaf)
                    o = self.offset(data_rva)
                    found.setdefault((rtype, rid), self.data[o:o + data_size])
                    break
        return found


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    delayed_dlls = [d.lower() + ".dll" for d in sys.argv[2:]]
    data = open(sys.argv[1], "rb").read()
    pe = PE(data)
    check(pe.machine == 0x8664, "machine is not x86-64")
    check(pe.magic == 0x20B, "not PE32+")
    check(pe.subsystem == 2, "subsystem is not GUI (%d)" % pe.subsystem)

    imports = [n.lower() for n in pe.imports()]
    unknown = sorted(set(imports) - KNOWN_DLLS)
    check(not unknown, "static imports that are not KnownDLLs: %s" % ", ".join(unknown))
    # GNU ld leaves the delay-import data directory empty; the descriptors
    # that dlltool's delay libraries bring name their DLL in plain ASCII.
    # A DLL of the late-bound list that the executable does not call at all
    # (its callers not linked in) is neither imported nor delay-loaded: the
    # static import check above is what keeps it out of the loader's way.
    delayed = [n.lower() for n in pe.delay_imports()]
    unused = []
    for dll in delayed_dlls:
        found = dll in delayed or dll.encode() in data.lower()
        if not found:
            unused.append(dll)
        elif dll not in delayed:
            delayed.append(dll)

    res = pe.resources()
    manifest = res.get((24, 1), b"").decode("utf-8", "replace")
    check('level="requireAdministrator"' in manifest, "manifest does not require administrator")
    check("PerMonitorV2" in manifest, "manifest is not per-monitor v2 DPI aware")
    check("Microsoft.Windows.Common-Controls" in manifest and 'version="6.0.0.0"' in manifest,
          "manifest does not bind common controls 6")
    check((14, 101) in res, "icon group 101 missing")
    check((16, 1) in res, "version resource missing")

    print("imports: %s" % ", ".join(imports))
    print("delay-loaded: %s" % ", ".join(delayed))
    if unused:
        print("bound late but not called by the executable: %s" % ", ".join(unused))
    print("size: %d bytes" % len(data))
    for f in failures:
        print("FAIL: " + f)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
