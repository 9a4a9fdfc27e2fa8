#!/usr/bin/env python3
"""Writes the driver package that Brisvane carries as DRVFILE resources.

The package's real files come from an outside driver vendor; these are
stand-ins of our own, each a small file of the right kind: the printer-class
INF of the package, a DER catalog, INI and text settings, compiled-help
headers, ZIP archives, cabinets, 32-bit and 64-bit DLL images, the
registration batch and a 64-bit program image standing in for Brisvane64.

It also writes payload.rc, which names every file with its resource id.
Run it from anywhere; it rewrites installer/resources/payload/ and
installer/resources/payload.rc, or writes the same tree under the folder
given as its argument. The output is the same on every run.
"""
import io
import pathlib
import re
import struct
import sys
import zipfile

ROOT = pathlib.Path(__file__).resolve().parent.parent / "installer" / "resources"
# The package's version and date have one source, the installer's header.
_PACKAGE_VERSION_H = (pathlib.Path(__file__).resolve().parent.parent / "installer" / "engine" /
                      "package_version.h").read_text()
VERSION = re.search(r'kPackageDriverVersion\[\] = L"([^"]+)"', _PACKAGE_VERSION_H).group(1)
DRIVER_DATE = re.search(r'kPackageDriverDate\[\] = L"([^"]+)"', _PACKAGE_VERSION_H).group(1)
FIXED_TIME = (2021, 7, 8, 9, 5, 2)

# Resource id and path in the work folder, in the installer's table order.
MANIFEST = [
    (173, "Common\\Defaults[QX]_2021.1.5.0.sds"),
    (130, "corvantis.cat"),
    (131, "Corvantis.inf"),
    (176, "Common\\idpQX_2021.1.5.0.ini"),
    (177, "Common\\idpQXenu_2021.1.5.0.chm"),
    (178, "Common\\qx#base_2021.1.5.0.ddz"),
    (180, "Common\\qx#idp_2021.1.5.0.ddz"),
    (189, "Win32\\qx#idp_2021.1.5.0.cab"),
    (197, "x64\\qx#idp_2021.1.5.0.cab"),
    (201, "x64\\Seagull_V3_NetMonDispatcher.dll"),
    (193, "Win32\\Seagull_V3_NetMonDispatcher.dll"),
    (174, "Common\\eplQX_2021.1.5.0.ini"),
    (188, "Win32\\qx#epl_2021.1.5.0.cab"),
    (196, "x64\\qx#epl_2021.1.5.0.cab"),
    (179, "Common\\qx#epl_2021.1.5.0.ddz"),
    (175, "Common\\eplQXenu_2021.1.5.0.chm"),
    (187, "Win32\\qx#base_2021.1.5.0.cab"),
    (195, "x64\\qx#base_2021.1.5.0.cab"),
    (192, "Win32\\Seagull_V3_ConfigDispatcher.dll"),
    (200, "x64\\Seagull_V3_ConfigDispatcher.dll"),
    (194, "Win32\\Seagull_V3_PrintDispatcher.dll"),
    (202, "x64\\Seagull_V3_PrintDispatcher.dll"),
    (153, "DriverAutomationLibrary.dll"),
    (154, "RegPrtDrvDll.bat"),
    (209, "Win32\\qx#dpl_2021.1.5.0.cab"),
    (210, "x64\\qx#dpl_2021.1.5.0.cab"),
    (208, "Common\\qx#dpl_2021.1.5.0.ddz"),
    (207, "Common\\dplQX_2021.1.5.0.ini"),
    (206, "Common\\dplQXenu_2021.1.5.0.chm"),
    (191, "Win32\\qx#nei_2021.1.5.0.cab"),
    (199, "x64\\qx#nei_2021.1.5.0.cab"),
    (182, "Common\\qx#nei_2021.1.5.0.ddz"),
    (185, "Common\\neiQX_2021.1.5.0.ini"),
    (186, "Common\\neiQXenu_2021.1.5.0.chm"),
]
BRISVANE64_ID = 163
BRISVANE64_STAND_IN = "Brisvane64-stand-in.exe"

# The printer models: code, dpi, driver model name, driver family.
MODELS = [
    ("LV31", "203", "", "idp"), ("LV31", "300", "", "idp"),
    ("LV31S", "203", "", "idp"), ("LV31S", "300", "", "idp"),
    ("KD510", "203", "", "epl"), ("KT510", "203", "", "epl"),
    ("MB17d", "203", "", "dpl"), ("MB17t", "203", " - DP", "dpl"),
    ("MB17t plus", "203", "", "dpl"),
    ("HN66", "203", "", "idp"), ("HN66", "300", "", "idp"), ("HN66", "406", "", "idp"),
    ("ZR72", "203", "", "idp"), ("ZR72", "300", "", "idp"),
    ("ZR72S", "203", "", "idp"), ("ZR72S", "300", "", "idp"),
    ("ZR98A", "203", "", "nei"), ("ZR98A", "300", "", "nei"), ("ZR98A", "600", "", "nei"),
    ("ZR98V", "203", "", "nei"), ("ZR98V", "300", "", "nei"), ("ZR98V", "600", "", "nei"),
]
FAMILIES = ["idp", "epl", "dpl", "nei"]
PRINTER_CLASS_GUID = "{4D36E979-E325-11CE-BFC1-08002BE10318}"


def crlf(lines):
    return ("\r\n".join(lines) + "\r\n").encode("ascii")


def crc16(text):
    """CRC-16 (polynomial 0xA001, reflected), as plug and play checksums
    the IEEE 1284 manufacturer and model of a printer."""
    crc = 0
    for byte in text.encode("ascii"):
        crc ^= byte
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return crc


def hardware_id(code, dpi):
    model = code.replace(" ", "") + "-" + dpi + "dpi"
    return "USBPRINT\\Corvantis_%s%04X" % (model, crc16("Corvantis" + model))


def family_files(family):
    return {
        "data": "%sQX_%s.ini" % (family, VERSION),
        "help": "%sQXenu_%s.chm" % (family, VERSION),
        "ddz": "qx#%s_%s.ddz" % (family, VERSION),
        "cab": "qx#%s_%s.cab" % (family, VERSION),
    }


def inf():
    lines = [
        "; Corvantis label printer driver package",
        "[Version]",
        'Signature="$Windows NT$"',
        "Class=Printer",
        "ClassGUID=" + PRINTER_CLASS_GUID,
        "Provider=%Corvantis%",
        "CatalogFile=Corvantis.cat",
        "DriverVer=%s,%s" % (DRIVER_DATE, VERSION),
        "",
        "[Manufacturer]",
        "%Corvantis%=Corvantis,NTx86,NTamd64",
        "",
    ]
    for decoration in ("NTx86", "NTamd64"):
        lines.append("[Corvantis.%s]" % decoration)
        for code, dpi, suffix, family in MODELS:
            name = "Corvantis %s (%s dpi)%s" % (code, dpi, suffix)
            lines.append('"%s"=%s.Install,%s' % (name, family.upper(), hardware_id(code, dpi)))
        lines.append("")
    for family in FAMILIES:
        files = family_files(family)
        lines += [
            "[%s.Install]" % family.upper(),
            "CopyFiles=Dispatcher.Files,%s.Files" % family.upper(),
            "DriverFile=Seagull_V3_PrintDispatcher.dll",
            "ConfigFile=Seagull_V3_ConfigDispatcher.dll",
            "DataFile=" + files["data"],
            "HelpFile=" + files["help"],
            "",
            "[%s.Files]" % family.upper(),
            files["data"],
            files["help"],
            files["ddz"],
            files["cab"],
            "qx#base_%s.ddz" % VERSION,
            "qx#base_%s.cab" % VERSION,
            "Defaults[QX]_%s.sds" % VERSION,
            "",
        ]
    lines += [
        "[Dispatcher.Files]",
        "Seagull_V3_PrintDispatcher.dll",
        "Seagull_V3_ConfigDispatcher.dll",
        "Seagull_V3_NetMonDispatcher.dll",
        "",
        "[DestinationDirs]",
        "DefaultDestDir=66000",
        "",
        "[SourceDisksNames.x86]",
        '1=%Disk%,,,"Common"',
        '2=%Disk%,,,"Win32"',
        "",
        "[SourceDisksNames.amd64]",
        '1=%Disk%,,,"Common"',
        '2=%Disk%,,,"x64"',
        "",
        "[SourceDisksFiles]",
    ]
    for _, path in MANIFEST:
        folder, _, name = path.rpartition("\\")
        if folder == "Common":
            lines.append("%s=1" % name)
    per_architecture = sorted({path.rpartition("\\")[2] for _, path in MANIFEST
                               if path.startswith("Win32\\")})
    lines += [""]
    for section in ("SourceDisksFiles.x86", "SourceDisksFiles.amd64"):
        lines.append("[%s]" % section)
        lines += ["%s=2" % name for name in per_architecture]
        lines.append("")
    lines += [
        "[Strings]",
        'Corvantis="Corvantis"',
        'Disk="Corvantis Driver Disk"',
    ]
    return crlf(lines)


def catalog():
    """A DER ContentInfo of type PKCS #7 signedData without content."""
    oid = bytes([0x06, 0x09, 0x2A, 0x86, 0x48, 0x86, 0xF7, 0x0D, 0x01, 0x07, 0x02])
    return bytes([0x30, len(oid)]) + oid


def family_ini(family):
    return crlf([
        "[Driver]",
        "Family=%s" % family,
        "Version=%s" % VERSION,
        "Date=%s" % DRIVER_DATE,
    ])


def compiled_help(family):
    """The header of an ITSF (compiled HTML help) file."""
    header = b"ITSF" + struct.pack("<III", 3, 0x60, 1) + family.encode("ascii").ljust(8, b"\0")
    return header.ljust(0x60, b"\0")


def archive(name):
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w", zipfile.ZIP_STORED) as zf:
        info = zipfile.ZipInfo(name + ".txt", date_time=FIXED_TIME)
        zf.writestr(info, "Stand-in for the %s archive of the driver package.\r\n" % name)
    return buffer.getvalue()


def cabinet(name, architecture):
    """A Microsoft cabinet holding one uncompressed file, whose text names
    the architecture, so that the Win32 and x64 cabinets differ."""
    data = ("Stand-in for the %s cabinet (%s) of the driver package.\r\n"
            % (name, architecture)).encode("ascii")
    file_name = (name + ".txt").encode("ascii") + b"\0"
    header_size, folder_size = 36, 8
    file_size = 16 + len(file_name)
    data_offset = header_size + folder_size + file_size
    total = data_offset + 8 + len(data)
    dos_date = ((FIXED_TIME[0] - 1980) << 9) | (FIXED_TIME[1] << 5) | FIXED_TIME[2]
    dos_time = (FIXED_TIME[3] << 11) | (FIXED_TIME[4] << 5) | (FIXED_TIME[5] // 2)
    out = b"MSCF" + struct.pack("<IIIIIBBHHHHH", 0, total, 0, header_size + folder_size, 0,
                                3, 1, 1, 1, 0, 0, 0)
    out += struct.pack("<IHH", data_offset, 1, 0)  # one folder, one block, no compression
    out += struct.pack("<IIHHHH", len(data), 0, 0, dos_date, dos_time, 0x20) + file_name
    out += struct.pack("<IHH", 0, len(data), len(data)) + data
    return out


def pe_image(machine, dll):
    """A PE image header without sections: 0x14C i386 or 0x8664 x86-64."""
    pe32_plus = machine == 0x8664
    optional_size = 240 if pe32_plus else 224
    characteristics = 0x0002 | (0x2000 if dll else 0) | (0x0100 if not pe32_plus else 0x0020)
    dos = bytearray(64)
    dos[0:2] = b"MZ"
    struct.pack_into("<I", dos, 0x3C, 64)
    coff = b"PE\0\0" + struct.pack("<HHIIIHH", machine, 0, 0x60E6F000, 0, 0, optional_size,
                                   characteristics)
    optional = bytearray(optional_size)
    struct.pack_into("<H", optional, 0, 0x20B if pe32_plus else 0x10B)
    subsystem_offset = 68
    struct.pack_into("<IIII", optional, 32, 0x1000, 0x200, 0, 0)  # alignments, OS version
    struct.pack_into("<H", optional, 40, 5)  # major OS version
    struct.pack_into("<H", optional, 48, 5)  # major subsystem version
    struct.pack_into("<I", optional, 56, 0x1000)  # image size
    struct.pack_into("<I", optional, 60, 0x200)  # headers size
    struct.pack_into("<H", optional, subsystem_offset, 2)  # Windows GUI
    return (bytes(dos) + coff + bytes(optional)).ljust(0x200, b"\0")


def contents(path):
    folder, _, name = path.rpartition("\\")
    stem = name.rsplit(".", 1)[0]
    family = next((f for f in FAMILIES if stem.startswith(f) or ("#" + f) in stem), "base")
    if name == "Corvantis.inf":
        return inf()
    if name.endswith(".cat"):
        return catalog()
    if name.endswith(".sds"):
        return crlf(["; stock and font definitions", "[Stocks]", "Default=4.00x6.00", "[Fonts]",
                     "Default=Internal"])
    if name.endswith(".ini"):
        return family_ini(family)
    if name.endswith(".chm"):
        return compiled_help(family)
    if name.endswith(".ddz"):
        return archive(stem)
    if name.endswith(".cab"):
        return cabinet(stem, folder)
    if name.endswith(".bat"):
        return crlf(["regsvr32 /s DriverAutomationLibrary.dll", "exit"])
    if name.endswith(".dll"):
        return pe_image(0x8664 if folder == "x64" else 0x14C, dll=True)
    raise SystemExit("make_payload.py: no contents for " + path)


def resource_script():
    lines = [
        "// The driver package, written by scripts/make_payload.py: resource id,",
        "// type DRVFILE and the file. Resource 163, Brisvane64, comes from the",
        "// build, which names the program file it embeds.",
        "",
        "// Neutral language (LANG_NEUTRAL, SUBLANG_NEUTRAL): the files serve every UI.",
        "LANGUAGE 0x00, 0x00",
        "",
    ]
    for resource_id, path in MANIFEST:
        lines.append('%d DRVFILE "payload/%s"' % (resource_id, path.replace("\\", "/")))
    lines += ["", '#include "brisvane64_payload.rc"', ""]
    return "\n".join(lines)


def main():
    root = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else ROOT
    payload = root / "payload"
    for _, path in MANIFEST:
        target = payload / pathlib.PurePosixPath(path.replace("\\", "/"))
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(contents(path))
    (payload / BRISVANE64_STAND_IN).write_bytes(pe_image(0x8664, dll=False))
    (root / "payload.rc").write_text(resource_script(), encoding="utf-8")


if __name__ == "__main__":
    main()
