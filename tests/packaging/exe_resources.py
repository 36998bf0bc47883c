"""Prints what a Windows program's resources tell Explorer and the loader: the fixed file version
and the strings of its version resource, and the settings its application manifest turns on.

    python3 exe_resources.py PROGRAM.exe
"""
import re
import struct
import sys

RT_VERSION, RT_MANIFEST = 16, 24


def resources(image):
    """Maps each resource type to the bytes of its first resource."""
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    sections, optional_size = struct.unpack_from("<H12xH", image, pe + 6)
    optional = pe + 24
    directories = optional + (112 if struct.unpack_from("<H", image, optional)[0] == 0x20B else 96)
    root_rva = struct.unpack_from("<I", image, directories + 2 * 8)[0]
    table = optional + optional_size
    spans = []
    for i in range(sections):
        size, address, _, raw = struct.unpack_from("<IIII", image, table + 40 * i + 8)
        spans.append((address, size, raw))

    def offset(rva):
        for address, size, raw in spans:
            if address <= rva < address + size:
                return raw + rva - address
        raise ValueError("address outside every section")

    root = offset(root_rva)

    def entries(directory):
        named, numbered = struct.unpack_from("<12xHH", image, directory)
        for i in range(named + numbered):
            yield struct.unpack_from("<II", image, directory + 16 + 8 * i)

    found = {}
    for kind, target in entries(root):
        node = target
        while node & 0x80000000:  # a subdirectory: take its first entry (name, then language)
            node = next(entries(root + (node & 0x7FFFFFFF)))[1]
        rva, size = struct.unpack_from("<II", image, root + node)
        found[kind] = image[offset(rva):offset(rva) + size]
    return found


def main():
    with open(sys.argv[1], "rb") as program:
        found = resources(program.read())
    version = found[RT_VERSION]
    fixed = version.find(struct.pack("<I", 0xFEEF04BD))
    ms, ls = struct.unpack_from("<II", version, fixed + 8)
    print(f"fixed FileVersion {ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}")
    # Each string is its key, padding and its value, all in UTF-16.
    text = version.decode("utf-16-le", "replace")
    for key in ("FileVersion", "ProductVersion", "ProductName", "FileDescription"):
        value = re.search(key + "\0+([^\0]*)", text)
        print(f"{key} {value.group(1) if value else '(none)'}")
    manifest = found.get(RT_MANIFEST, b"").decode("utf-8")
    for setting in ("longPathAware", "supportedOS"):
        print(f"manifest {setting} {'yes' if re.search(setting, manifest) else 'no'}")


main()
