#!/usr/bin/env python3
"""Checks the zip that a Windows user downloads, as `make package-windows`
leaves it: exactly the program and README.txt; README.txt a Windows text file;
the program stripped, small, carrying its icon, manifest and version, needing
no DLL that Windows lacks; and, where Wine is installed, running, in English
too when the environment asks for it.

    zip_check.py ZIP VERSION
"""
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import zipfile

# The program with its commands for scripts is about 720 KB stripped. What
# this limit catches is the standard streams and locales (750 KB more, pulled
# in by any <iostream>) or debug information reaching the download.
MAX_EXE_BYTES = 800_000
# What every Windows has; a MinGW runtime DLL here would have to ship beside it.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "msvcrt.dll"}
RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
WINDOWS_10_AND_11 = "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"

failures = []


def expect(condition, message):
    if not condition:
        failures.append(message)
    return condition


class Pe:
    """The parts of a PE32+ image this check reads."""

    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        assert data[pe:pe + 4] == b"PE\0\0", "not a PE image"
        _, sections, _, self.symbol_table, self.symbols, optional_size, _ = struct.unpack_from(
            "<HHIIIHH", data, pe + 4)
        optional = pe + 24
        assert struct.unpack_from("<H", data, optional)[0] == 0x20B, "not a 64-bit image"
        self.directories = [struct.unpack_from("<II", data, optional + 112 + 8 * i) for i in range(16)]
        table = optional + optional_size
        self.sections = []
        for i in range(sections):
            name, size, address, _, raw = struct.unpack_from("<8sIIII", data, table + 40 * i)
            self.sections.append((name.rstrip(b"\0").decode("latin-1"), address, size, raw))

    def offset(self, rva):
        for _, address, size, raw in self.sections:
            if address <= rva < address + size:
                return raw + rva - address
        raise ValueError(f"address {rva:#x} is in no section")

    def c_string(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("latin-1")

    def imports(self):
        rva, _ = self.directories[1]
        names, at = [], self.offset(rva)
        while any(descriptor := struct.unpack_from("<IIIII", self.data, at)):
            names.append(self.c_string(descriptor[3]))
            at += 20
        return names

    def resources(self):
        """{type id: [data of each resource of that type]}, types with a numeric id."""
        rva, _ = self.directories[2]
        base = self.offset(rva)

        def entries(directory):
            named, numbered = struct.unpack_from("<HH", self.data, base + directory + 12)
            for i in range(named + numbered):
                yield struct.unpack_from("<II", self.data, base + directory + 16 + 8 * i)

        def leaves(target):
            if target & 0x80000000:
                for _, below in entries(target & 0x7FFFFFFF):
                    yield from leaves(below)
            else:
                data_rva, size = struct.unpack_from("<II", self.data, base + target)
                start = self.offset(data_rva)
                yield self.data[start:start + size]

        found = {}
        for kind, target in entries(0):
            if not kind & 0x80000000:
                found[kind] = list(leaves(target))
        return found


def version_numbers(version):
    major, minor, patch = (int(part) for part in version.split("."))
    return (major << 16 | minor, patch << 16)


def check_readme(text, version):
    line_ends = text.count(b"\r\n")
    expect(text.count(b"\n") == line_ends == text.count(b"\r") and text.endswith(b"\r\n"),
           "README.txt: not every line ends in CR LF")
    expect(all(byte < 128 for byte in text), "README.txt: not plain ASCII (cmd's type would garble it)")
    expect(text.startswith(f"collatzperm {version} for Windows\r\n".encode()),
           "README.txt: the first line does not name this version")


def check_program(exe, version):
    expect(len(exe) <= MAX_EXE_BYTES, f"collatzperm.exe: {len(exe)} bytes, more than {MAX_EXE_BYTES}")
    pe = Pe(exe)
    expect(pe.symbol_table == 0 and pe.symbols == 0, "collatzperm.exe: not stripped (symbol table)")
    debug = [name for name, *_ in pe.sections if name.startswith((".debug", "/"))]
    expect(not debug, f"collatzperm.exe: not stripped (sections {debug})")
    unknown = [name for name in pe.imports() if name.lower() not in SYSTEM_DLLS]
    expect(not unknown, f"collatzperm.exe: needs DLLs beside it: {unknown}")

    resources = pe.resources()
    for kind, name in ((RT_ICON, "icon"), (RT_GROUP_ICON, "icon group"), (RT_VERSION, "version"),
                       (RT_MANIFEST, "manifest")):
        expect(kind in resources, f"collatzperm.exe: no {name} resource")
    if RT_VERSION in resources:
        info = resources[RT_VERSION][0]
        fixed = info.find(struct.pack("<I", 0xFEEF04BD))
        expect(fixed >= 0 and struct.unpack_from("<II", info, fixed + 8) == version_numbers(version)
               and struct.unpack_from("<II", info, fixed + 16) == version_numbers(version),
               "version resource: FILEVERSION or PRODUCTVERSION is not " + version)
        # Each string is its key and its value, NUL-terminated UTF-16, padded
        # to four bytes between them.
        strings = info.decode("utf-16-le", errors="replace")
        for key, value in (("FileVersion", version), ("ProductVersion", version),
                           ("ProductName", "collatzperm"), ("OriginalFilename", "collatzperm.exe"),
                           ("FileDescription", None)):
            match = re.search(key + "\0+([^\0]*)\0", strings)
            found = match.group(1) if match else None
            expect(found == value if value else found,
                   f"version resource: {key} is {found!r}, not {value or 'a text'!r}")
    if RT_MANIFEST in resources:
        manifest = resources[RT_MANIFEST][0].decode("utf-8")
        expect(WINDOWS_10_AND_11 in manifest, "manifest: Windows 10 and 11 not among its supportedOS")
        expect('level="asInvoker"' in manifest, "manifest: does not run as the invoker")
        expect(f'version="{version}.0"' in manifest, "manifest: assemblyIdentity is not " + version)


def run_program(folder, version):
    """Runs the unpacked program as a user would, keys from a file."""
    wine = shutil.which("wine")
    if wine is None:
        print("wine is not installed: the packaged program was not run")
        return
    exe = os.path.join(folder, "collatzperm.exe")
    answer = subprocess.run([wine, exe, "--version"], capture_output=True, timeout=120)
    expect(answer.returncode == 0 and answer.stdout == f"collatzperm {version}\r\n".encode(),
           f"--version under Wine: exit status {answer.returncode}, {answer.stdout!r}")
    keys = os.path.join(folder, "keys.txt")
    with open(keys, "wb") as out:
        out.write(b"\r\n8\r\nQ\r\n\r\n")
    with open(keys, "rb") as keys_in:
        session = subprocess.run([wine, exe], stdin=keys_in, capture_output=True, timeout=120)
    expect(session.returncode == 0 and b"  i.m = 8.0 " in session.stdout,
           f"a session under Wine: exit status {session.returncode}, {len(session.stdout)} bytes")
    # English from the environment, as README.txt tells a double-click to get it.
    with open(keys, "rb") as keys_in:
        english = subprocess.run([wine, exe], stdin=keys_in, capture_output=True, timeout=120,
                                 env=dict(os.environ, COLLATZPERM_LANGUAGE="en"))
    expect(english.returncode == 0 and b"  Please press ENTER " in english.stdout,
           f"COLLATZPERM_LANGUAGE=en under Wine: exit status {english.returncode}, "
           f"{english.stdout[:2000]!r}")
    # Nothing of Wine's is left running.
    subprocess.run(["wineserver", "-w"], check=False)


def main(zip_path, version):
    with zipfile.ZipFile(zip_path) as archive:
        names = sorted(archive.namelist())
        if not expect(names == ["README.txt", "collatzperm.exe"], f"{zip_path} holds {names}"):
            return
        check_readme(archive.read("README.txt"), version)
        check_program(archive.read("collatzperm.exe"), version)
        with tempfile.TemporaryDirectory() as folder:
            archive.extractall(folder)
            run_program(folder, version)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(*sys.argv[1:])
    for failure in failures:
        print(failure)
    print(f"{os.path.basename(sys.argv[1])}: " +
          ("as a Windows user should get it" if not failures else f"{len(failures)} faults"))
    sys.exit(1 if failures else 0)
