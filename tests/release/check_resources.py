#!/usr/bin/env python3
"""The Windows program's resources, read back from the executable with
wrestool and icotool (Debian's icoutils), as Explorer and Windows read them:

- one icon group, named (a number would be a resource id; the main window's
  class asks for 32512 and must find nothing), with the 16, 32, 48 and 256
  pixel images at 32 bits, each the same picture, pixel for pixel, as the
  PNG file sheetgen drew of that size; no icon or group numbered 32512;
- a version resource whose fixed and string versions are the project's,
  with the product name, description and the title screen's credit line;
- the manifest: well-formed XML, the common controls version 6, the
  supported systems up to Windows 10 and 11, and no DPI awareness.

    check_resources.py WRESTOOL ICOTOOL COMPARE PROGRAM.exe VERSION VERSION-HEADER ICON-DIR

(COMPARE is ImageMagick's compare.)
"""
import os
import re
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

ICON_SIZES = {16, 32, 48, 256}
CLASS_ICON_NUMBER = "32512"
RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
WINDOWS_10_AND_11 = "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"
FIXED_INFO_SIGNATURE = 0xFEEF04BD

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def run(*command):
    return subprocess.run(command, check=True, capture_output=True).stdout


def list_resources(wrestool, program):
    """(type, name) of every resource: names as wrestool shows them."""
    listing = run(wrestool, "-l", program).decode()
    found = []
    for line in listing.splitlines():
        match = re.match(r"--type=(\d+) --name=(\S+) ", line)
        if match:
            found.append((int(match.group(1)), match.group(2).strip("'")))
    return found


def differing_pixels(compare, first, second):
    """How many pixels differ (colour or alpha), as ImageMagick counts them."""
    result = subprocess.run([compare, "-metric", "AE", first, second, "null:"],
                            capture_output=True, text=True)
    try:
        return int(float(result.stderr.split()[0]))
    except (ValueError, IndexError):
        return f"not compared ({result.stderr.strip()})"


def check_icon(wrestool, icotool, compare, program, resources, icon_dir):
    groups = [name for kind, name in resources if kind == RT_GROUP_ICON]
    if not check(len(groups) == 1, f"icon groups: {groups}, expected one"):
        return
    check(not groups[0].isdigit(), f"the icon group is numbered ({groups[0]}), not named")
    numbered = [(kind, name) for kind, name in resources
                if kind in (RT_ICON, RT_GROUP_ICON) and name == CLASS_ICON_NUMBER]
    check(not numbered, f"an icon numbered {CLASS_ICON_NUMBER}: {numbered}")
    with tempfile.TemporaryDirectory() as scratch:
        ico = os.path.join(scratch, "group.ico")
        run(wrestool, "-x", f"--type={RT_GROUP_ICON}", f"--name={groups[0]}", "-o", ico, program)
        images = run(icotool, "-l", ico).decode()
        sizes = set()
        for line in images.splitlines():
            width = re.search(r"--width=(\d+)", line)
            height = re.search(r"--height=(\d+)", line)
            depth = re.search(r"--bit-depth=(\d+)", line)
            index = re.search(r"--index=(\d+)", line)
            if not (width and height and depth and index):
                continue
            check(width.group(1) == height.group(1), f"a non-square icon image: {line}")
            check(depth.group(1) == "32", f"an icon image without alpha: {line}")
            size = int(width.group(1))
            sizes.add(size)
            extracted = os.path.join(scratch, f"{size}.png")
            run(icotool, "-x", f"--index={index.group(1)}", "-o", extracted, ico)
            drawn = os.path.join(icon_dir, f"honomikasa-{size}.png")
            differing = differing_pixels(compare, extracted, drawn)
            check(differing == 0, f"the {size}-pixel icon differs from {drawn}: {differing} pixels")
    check(sizes == ICON_SIZES, f"icon sizes {sorted(sizes)}, expected {sorted(ICON_SIZES)}")
    print(f"icon group {groups[0]}: {sorted(sizes)}, each as sheetgen drew it")


def align4(offset):
    return (offset + 3) & ~3


def parse_version_block(data, offset):
    """One block of a VS_VERSIONINFO: (key, value bytes, children), length.
    Every block has the same header: its length, its value's length (in
    characters for text), the kind of value, the key (UTF-16, ended by a
    null), the value and the child blocks, each aligned to four bytes."""
    length, value_length, is_text = struct.unpack_from("<HHH", data, offset)
    key_end = offset + 6
    while data[key_end:key_end + 2] not in (b"\0\0", b""):
        key_end += 2
    key = data[offset + 6:key_end].decode("utf-16-le")
    value_at = align4(key_end + 2)
    value = data[value_at:value_at + (2 * value_length if is_text else value_length)]
    children = []
    at, end = align4(value_at + len(value)), min(offset + length, len(data))
    while at + 6 <= end:
        child, child_length = parse_version_block(data, at)
        if child_length == 0:
            break
        children.append(child)
        at = align4(at + child_length)
    return (key, value, children), length


def version_strings(children):
    """The string tables' entries: {(table, key): text}."""
    strings = {}
    for key, _, tables in children:
        if key != "StringFileInfo":
            continue
        for table, _, entries in tables:
            for name, text, _ in entries:
                strings[(table, name)] = text.decode("utf-16-le").rstrip("\0")
    return strings


def check_version(wrestool, program, version, credit):
    data = run(wrestool, "-x", "--raw", f"--type={RT_VERSION}", program)
    if not check(data, "no version resource"):
        return
    (key, fixed, children), _ = parse_version_block(data, 0)
    check(key == "VS_VERSION_INFO", f"the version resource's key is {key!r}")
    if not check(len(fixed) >= 24 and struct.unpack_from("<I", fixed)[0] == FIXED_INFO_SIGNATURE,
                 "the version resource has no fixed file information"):
        return
    file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<IIII", fixed, 8)
    for what, ms, ls in (("file", file_ms, file_ls), ("product", product_ms, product_ls)):
        fields = f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
        check(fields == version, f"fixed {what} version {fields}, expected {version}")
    strings = version_strings(children)
    tables = sorted({table for table, _ in strings})
    check(tables == ["040904B0", "041104B0"], f"string tables {tables}, expected English and Japanese")
    expected = {"FileVersion": version, "ProductVersion": version, "LegalCopyright": credit,
                "OriginalFilename": "honomikasa.exe"}
    names = {"041104B0": "ほのみかさ", "040904B0": "Honomikasa"}
    for table in tables:
        wanted = dict(expected, ProductName=names.get(table), FileDescription=names.get(table))
        for key, value in wanted.items():
            got = strings.get((table, key))
            check(got == value, f"{table} {key}: {got!r}, expected {value!r}")
    print(f"version {version}: {strings}")


def check_manifest(wrestool, program, resources):
    manifests = [name for kind, name in resources if kind == RT_MANIFEST]
    if not check(manifests == ["1"], f"manifests {manifests}, expected one numbered 1"):
        return
    text = run(wrestool, "-x", "--raw", f"--type={RT_MANIFEST}", "--name=1", program)
    try:
        root = ElementTree.fromstring(text)
    except ElementTree.ParseError as error:
        check(False, f"the manifest is not well-formed XML ({error}): Windows would not start the program")
        return
    identities = [element.attrib for element in root.iter() if element.tag.endswith("}assemblyIdentity")]
    controls = [i for i in identities if i.get("name") == "Microsoft.Windows.Common-Controls"]
    check(controls and controls[0].get("version") == "6.0.0.0",
          f"no dependency on the common controls 6.0.0.0: {identities}")
    systems = {e.attrib.get("Id", "").lower() for e in root.iter() if e.tag.endswith("}supportedOS")}
    check(WINDOWS_10_AND_11 in systems, f"Windows 10 and 11 are not among the supported systems: {systems}")
    dpi = [e.tag for e in root.iter() if "dpiaware" in e.tag.lower()]
    check(not dpi, f"the manifest claims DPI awareness: {dpi}")
    print(f"manifest: {len(systems)} supported systems, common controls 6.0.0.0")


def main():
    wrestool, icotool, compare, program, version, header, icon_dir = sys.argv[1:8]
    if any("NOTFOUND" in tool for tool in (wrestool, icotool, compare)):
        print("FAIL: wrestool, icotool or compare is missing: scripts/bootstrap installs them")
        return 1
    with open(header, encoding="utf-8") as file:
        credit = re.search(r'#define HONOMIKASA_CREDIT "(.*)"', file.read())
    if not credit:
        print(f"FAIL: no credit line in {header}")
        return 1
    resources = list_resources(wrestool, program)
    check_icon(wrestool, icotool, compare, program, resources, icon_dir)
    check_version(wrestool, program, version, credit.group(1))
    check_manifest(wrestool, program, resources)
    for failure in failures:
        print(f"FAIL: {failure}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
