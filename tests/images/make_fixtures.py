#!/usr/bin/env python3
"""Writes the image decoder fixtures: one small picture in every format and
variant the decoders read. Most files are written here byte by byte; JPEG,
DXT and the interlaced PNG come from ImageMagick. Every file ImageMagick can
read is read back with it and checked against the picture, so the fixtures
do not depend on this script's reading of the formats alone. For the lossy
files ImageMagick's decoding is stored beside them (NAME.expected.rgba).

Run from anywhere:  python3 tests/images/make_fixtures.py
Needs ImageMagick 6 (/usr/bin/convert)."""

import os
import struct
import subprocess
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "fixtures")
CONVERT = "/usr/bin/convert"
W, H = 13, 7

COLOURS = [
    (0, 0, 0), (255, 255, 255), (255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0),
    (0, 255, 255), (255, 0, 255), (132, 66, 198), (66, 198, 132), (198, 132, 66), (16, 32, 48),
    (240, 160, 80), (8, 128, 248), (200, 200, 200), (100, 50, 25),
]
ALPHAS = [255, 0, 128, 192]


def index_at(x, y):
    return (x + 3 * y + (x * y) // 5) % 16


def alpha_at(x, y):
    return ALPHAS[(x * 5 + y * 3) % 4]


def gray_at(x, y):
    return (x * 19 + y * 37) % 256


# The pictures, as rows of (r, g, b, a).
MAIN = [[COLOURS[index_at(x, y)] + (alpha_at(x, y),) for x in range(W)] for y in range(H)]
TWO = [[(255, 255, 255, 255) if index_at(x, y) & 1 else (0, 0, 0, 255) for x in range(W)] for y in range(H)]
GRAY = [[(gray_at(x, y),) * 3 + (255,) for x in range(W)] for y in range(H)]


def rgba_bytes(picture):
    return bytes(c for row in picture for px in row for c in px)


def write(name, data):
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


# ---------------------------------------------------------------- BMP

def bmp(bits, rows_bytes, palette=None, compression=0, top_down=False, masks=None, header_size=40):
    """rows_bytes: the pixel data exactly as stored (already ordered)."""
    pal = b"".join(bytes((b, g, r, 0)) for (r, g, b) in palette) if palette else b""
    extra = b""
    if header_size == 40 and masks:
        extra = struct.pack("<3I", *masks)
    info = struct.pack("<IiiHHIIiiII", header_size, W, -H if top_down else H, 1, bits,
                       compression, len(rows_bytes), 2835, 2835, len(palette or []), 0)
    if header_size > 40:
        m = masks or (0, 0, 0)
        info += struct.pack("<4I", m[0], m[1], m[2], 0)  # masks and alpha mask
        info += b"BGRs" + bytes(header_size - 40 - 16 - 4)
    offset = 14 + len(info) + len(extra) + len(pal)
    head = b"BM" + struct.pack("<IHHI", offset + len(rows_bytes), 0, 0, offset)
    return head + info + extra + pal + rows_bytes


def packed_rows(picture, bits, pixel, top_down=False):
    out = b""
    order = range(H) if top_down else range(H - 1, -1, -1)
    for y in order:
        row = b""
        if bits < 8:
            acc, n = 0, 0
            for x in range(W):
                acc = (acc << bits) | pixel(x, y)
                n += bits
                if n == 8:
                    row += bytes((acc,))
                    acc, n = 0, 0
            if n:
                row += bytes((acc << (8 - n),))
        else:
            for x in range(W):
                row += pixel(x, y)
        row += bytes((-len(row)) % 4)
        out += row
    return out


def rle8(values_rows):
    """values_rows: bottom row first. Mixes counted and absolute runs, uses
    a delta over a run of index 0 in the top row."""
    out = b""
    for y, row in enumerate(values_rows):
        x = 0
        while x < W:
            run = 1
            while x + run < W and row[x + run] == row[x] and run < 255:
                run += 1
            if run >= 2 or W - x < 3:
                out += bytes((run, row[x]))
                x += run
            else:
                n = 3 if W - x >= 3 else W - x
                chunk = bytes(row[x:x + n])
                out += bytes((0, n)) + chunk + (b"\0" if n % 2 else b"")
                x += n
        out += b"\0\0"
    return out + b"\0\1"


def rle4(values_rows):
    out = b""
    for row in values_rows:
        x = 0
        while x < W:
            if W - x >= 4 and x % 8 == 0:
                n = min(5, W - x)
                nib = row[x:x + n] + [0]
                data = bytes(((nib[i] << 4) | nib[i + 1]) for i in range(0, n, 2))
                out += bytes((0, n)) + data + (b"\0" if len(data) % 2 else b"")
                x += n
            else:
                # A counted run alternating this pixel and the next.
                a = row[x]
                b = row[x + 1] if x + 1 < W else 0
                n = 2 if x + 1 < W else 1
                out += bytes((n, (a << 4) | b))
                x += n
        out += b"\0\0"
    return out + b"\0\1"


def make_bmps():
    pal16 = COLOURS
    idx = lambda x, y: index_at(x, y)
    write("bmp1.bmp", bmp(1, packed_rows(TWO, 1, lambda x, y: index_at(x, y) & 1),
                          palette=[(0, 0, 0), (255, 255, 255)]))
    write("bmp4.bmp", bmp(4, packed_rows(MAIN, 4, idx), palette=pal16))
    write("bmp8.bmp", bmp(8, packed_rows(MAIN, 8, lambda x, y: bytes((idx(x, y),))), palette=pal16 + [(9, 9, 9)] * 240))
    write("bmp8_topdown.bmp", bmp(8, packed_rows(MAIN, 8, lambda x, y: bytes((idx(x, y),)), top_down=True),
                                  palette=pal16, top_down=True))
    write("bmp8_v5header.bmp", bmp(8, packed_rows(MAIN, 8, lambda x, y: bytes((idx(x, y),))),
                                   palette=pal16, header_size=124))
    bottom_up = [[index_at(x, y) for x in range(W)] for y in range(H - 1, -1, -1)]
    write("bmp8_rle.bmp", bmp(8, rle8(bottom_up), palette=pal16, compression=1))
    write("bmp4_rle.bmp", bmp(4, rle4(bottom_up), palette=pal16, compression=2))

    def c555(x, y):
        r, g, b, _ = MAIN[y][x]
        return struct.pack("<H", ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3))

    def c565(x, y):
        r, g, b, _ = MAIN[y][x]
        return struct.pack("<H", ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3))

    write("bmp16.bmp", bmp(16, packed_rows(MAIN, 16, c555)))
    write("bmp16_565.bmp", bmp(16, packed_rows(MAIN, 16, c565), compression=3, masks=(0xF800, 0x7E0, 0x1F)))
    bgr = lambda x, y: bytes(MAIN[y][x][2::-1])
    write("bmp24.bmp", bmp(24, packed_rows(MAIN, 24, bgr)))
    write("bmp24_topdown.bmp", bmp(24, packed_rows(MAIN, 24, bgr, top_down=True), top_down=True))
    bgra = lambda x, y: bytes(MAIN[y][x][2::-1] + (MAIN[y][x][3],))
    write("bmp32.bmp", bmp(32, packed_rows(MAIN, 32, bgra)))

    def rgbx(x, y):  # red in the top byte: bit fields that are not the usual ones
        r, g, b, _ = MAIN[y][x]
        return struct.pack("<I", (r << 24) | (g << 16) | (b << 8))

    write("bmp32_bitfields.bmp", bmp(32, packed_rows(MAIN, 32, rgbx), compression=3,
                                     masks=(0xFF000000, 0xFF0000, 0xFF00)))


# ---------------------------------------------------------------- PNG

def png(colour_type, bit_depth, rows, plte=None, trns=None):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    raw = b"".join(b"\0" + r for r in rows)
    out = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", W, H, bit_depth, colour_type, 0, 0, 0))
    if plte:
        out += chunk(b"PLTE", b"".join(bytes(c) for c in plte))
    if trns is not None:
        out += chunk(b"tRNS", trns)
    return out + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def pack_bits(values, bits):
    out, acc, n = b"", 0, 0
    for v in values:
        acc = (acc << bits) | v
        n += bits
        if n == 8:
            out += bytes((acc,))
            acc, n = 0, 0
    if n:
        out += bytes((acc << (8 - n),))
    return out


def make_pngs():
    rows = lambda f: [b"".join(f(x, y) for x in range(W)) for y in range(H)]
    write("png_rgb.png", png(2, 8, rows(lambda x, y: bytes(MAIN[y][x][:3]))))
    write("png_rgba.png", png(6, 8, rows(lambda x, y: bytes(MAIN[y][x]))))
    write("png_rgb16.png", png(2, 16, rows(lambda x, y: b"".join(bytes((c, c)) for c in MAIN[y][x][:3]))))
    write("png_palette.png", png(3, 8, rows(lambda x, y: bytes((index_at(x, y),))), plte=COLOURS))
    write("png_palette4.png", png(3, 4, [pack_bits([index_at(x, y) for x in range(W)], 4) for y in range(H)],
                                  plte=COLOURS))
    # tRNS on a palette: entry i's alpha; the picture's alpha follows the index here.
    trns = bytes(ALPHAS[i % 4] for i in range(16))
    write("png_palette_trns.png", png(3, 8, rows(lambda x, y: bytes((index_at(x, y),))), plte=COLOURS, trns=trns))
    write("png_gray.png", png(0, 8, rows(lambda x, y: bytes((gray_at(x, y),)))))
    write("png_gray2.png", png(0, 2, [pack_bits([gray_at(x, y) >> 6 for x in range(W)], 2) for y in range(H)]))
    write("png_gray_alpha.png", png(4, 8, rows(lambda x, y: bytes((gray_at(x, y), 77)))))


def palette_trns_picture():
    return [[COLOURS[index_at(x, y)] + (ALPHAS[index_at(x, y) % 4],) for x in range(W)] for y in range(H)]


# ---------------------------------------------------------------- TGA

def tga(image_type, bits, pixels, descriptor, cmap=None, cmap_first=0, footer=False, image_id=b""):
    """pixels: the stored pixel stream (already ordered and, for RLE, encoded)."""
    map_type = 1 if cmap is not None else 0
    cmap_bytes = b"".join(cmap) if cmap else b""
    entry_bits = (len(cmap[0]) * 8) if cmap else 0
    head = struct.pack("<BBBHHBHHHHBB", len(image_id), map_type, image_type, cmap_first,
                       len(cmap) if cmap else 0, entry_bits, 0, 0, W, H, bits, descriptor)
    out = head + image_id + cmap_bytes + pixels
    if footer:
        out += struct.pack("<II", 0, 0) + b"TRUEVISION-XFILE.\0"
    return out


def tga_order(top_first, right_to_left):
    ys = range(H) if top_first else range(H - 1, -1, -1)
    xs = list(range(W - 1, -1, -1)) if right_to_left else list(range(W))
    return [(x, y) for y in ys for x in xs]


def tga_rle(stored):
    """stored: list of pixel byte strings. Runs cross rows on purpose."""
    out, i = b"", 0
    while i < len(stored):
        run = 1
        while i + run < len(stored) and stored[i + run] == stored[i] and run < 128:
            run += 1
        if run >= 2:
            out += bytes((0x80 | (run - 1),)) + stored[i]
            i += run
        else:
            n = 1
            while i + n < len(stored) and n < 128 and stored[i + n] != stored[i + n - 1]:
                n += 1
            out += bytes((n - 1,)) + b"".join(stored[i:i + n])
            i += n
    return out


def make_tgas():
    bgr = lambda x, y: bytes(MAIN[y][x][2::-1])
    bgra = lambda x, y: bytes(MAIN[y][x][2::-1] + (MAIN[y][x][3],))

    def c1555(x, y):
        r, g, b, a = MAIN[y][x]
        return struct.pack("<H", ((a >> 7) << 15) | ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3))

    order = tga_order(False, False)
    write("tga2_24.tga", tga(2, 24, b"".join(bgr(x, y) for x, y in order), 0, image_id=b"vexlo"))
    write("tga2_32_top.tga", tga(2, 32, b"".join(bgra(x, y) for x, y in tga_order(True, False)), 0x28))
    write("tga2_16.tga", tga(2, 16, b"".join(c1555(x, y) for x, y in order), 0x01))
    write("tga2_24_right_to_left.tga", tga(2, 24, b"".join(bgr(x, y) for x, y in tga_order(False, True)), 0x10))
    write("tga10_32_footer.tga", tga(10, 32, tga_rle([bgra(x, y) for x, y in order]), 0x08, footer=True))
    # Colour-mapped: the map starts at entry 3.
    cmap = [bytes(c[::-1]) for c in COLOURS]
    indices = [bytes((index_at(x, y) + 3,)) for x, y in order]
    write("tga1_24.tga", tga(1, 8, b"".join(indices), 0, cmap=cmap, cmap_first=3))
    write("tga9_24_top.tga", tga(9, 8, tga_rle([bytes((index_at(x, y) + 3,)) for x, y in tga_order(True, False)]),
                                 0x20, cmap=cmap, cmap_first=3, footer=True))


# ---------------------------------------------------------------- BGRA

def make_bgra():
    px8 = b"".join(bytes(MAIN[y][x][2::-1] + (MAIN[y][x][3],)) for y in range(H) for x in range(W))
    write("raw8.bgra", b"BGRA" + struct.pack("<III", 0x08080808, W, H) + px8)
    px16 = b"".join(bytes((0x33, c)) for c in px8)
    write("raw16.bgra", b"BGRA" + struct.pack("<III", 0x10101010, W, H) + px16)


# ---------------------------------------------------------------- DDS

def dds_header(flags, pitch, pf_flags, fourcc, bits, masks, mips=0, caps=0x1000):
    pf = struct.pack("<II4sI4I", 32, pf_flags, fourcc, bits, *masks)
    desc = struct.pack("<7I", 124, flags, H, W, pitch, 0, mips) + bytes(44) + pf + struct.pack("<4I", caps, 0, 0, 0) + bytes(4)
    return b"DDS " + desc


def make_dds():
    def encode(x, y, masks, bits):
        value = 0
        for c, m in zip(MAIN[y][x], masks):
            if m == 0:
                continue
            shift = (m & -m).bit_length() - 1
            width = bin(m).count("1")
            value |= ((c >> (8 - width)) << shift) & m
        return value.to_bytes(bits // 8, "little")

    numeric = {23: (16, (0xF800, 0x7E0, 0x1F, 0)), 21: (32, (0xFF0000, 0xFF00, 0xFF, 0xFF000000)),
               26: (16, (0xF00, 0xF0, 0xF, 0xF000)), 32: (32, (0xFF, 0xFF00, 0xFF0000, 0xFF000000))}
    for code, (bits, masks) in numeric.items():
        data = b"".join(encode(x, y, masks, bits) for y in range(H) for x in range(W))
        write("dds_code%d.dds" % code, dds_header(0x1007, 0, 4, struct.pack("<I", code), 0, (0, 0, 0, 0)) + data)
    # Plain RGB masks with a padded pitch and two further mip levels.
    masks = (0xFF0000, 0xFF00, 0xFF, 0xFF000000)
    pitch = W * 4 + 8
    level0 = b"".join(b"".join(encode(x, y, masks, 32) for x in range(W)) + bytes(8) for y in range(H))
    level1 = bytes(6 * 3 * 4)
    level2 = bytes(3 * 1 * 4)
    write("dds_rgb_mips.dds", dds_header(0x2100F, pitch, 0x41, b"\0\0\0\0", 32, masks, mips=3, caps=0x401008)
          + level0 + level1 + level2)


def run(*args, **kw):
    return subprocess.run([CONVERT] + list(args), check=True, capture_output=True, **kw).stdout


def make_with_imagemagick():
    pam_rgba = b"P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n" % (W, H) + rgba_bytes(MAIN)
    rgb = bytes(c for row in MAIN for px in row for c in px[:3])
    ppm = b"P6\n%d %d\n255\n" % (W, H) + rgb
    gray_pgm = b"P5\n%d %d\n255\n" % (W, H) + bytes(gray_at(x, y) for y in range(H) for x in range(W))
    src_rgba = os.path.join(OUT, "_src.pam")
    src_rgb = os.path.join(OUT, "_src.ppm")
    src_gray = os.path.join(OUT, "_src.pgm")
    open(src_rgba, "wb").write(pam_rgba)
    open(src_rgb, "wb").write(ppm)
    open(src_gray, "wb").write(gray_pgm)
    try:
        o = lambda name: os.path.join(OUT, name)
        run(src_rgb, "-sampling-factor", "1x1", "-quality", "97", o("jpeg_rgb.jpg"))
        run(src_rgb, "-sampling-factor", "2x2", "-quality", "90", "-interlace", "JPEG", o("jpeg_progressive.jpg"))
        run(src_gray, "-quality", "95", o("jpeg_gray.jpg"))
        run(src_rgba, "-interlace", "PNG", "-define", "png:color-type=6", o("png_interlaced.png"))
        for kind in ("dxt1", "dxt5"):
            run(src_rgba, "-define", "dds:compression=" + kind, "-define", "dds:mipmaps=0", o("dds_%s.dds" % kind))
        for name in ("jpeg_rgb.jpg", "jpeg_progressive.jpg", "jpeg_gray.jpg", "dds_dxt1.dds", "dds_dxt5.dds"):
            write(name.rsplit(".", 1)[0] + ".expected.rgba", run(o(name), "-depth", "8", "rgba:-"))
        # ImageMagick writes no DXT3: its DXT5 colour blocks with explicit
        # 4-bit alpha from the picture. DXT2 and DXT4 share the layouts of
        # DXT3 and DXT5 (their colours are taken as stored).
        dxt5 = bytearray(open(o("dds_dxt5.dds"), "rb").read())
        assert dxt5[84:88] == b"DXT5"
        dxt3 = bytearray(dxt5[:128])
        dxt3[84:88] = b"DXT3"
        expected5 = open(o("dds_dxt5.expected.rgba"), "rb").read()
        expected3 = bytearray(expected5)
        block = 128
        for by in range(0, H, 4):
            for bx in range(0, W, 4):
                nibbles = []
                for i in range(16):
                    x, y = bx + i % 4, by + i // 4
                    nibbles.append(MAIN[y][x][3] >> 4 if x < W and y < H else 0)
                    if x < W and y < H:
                        expected3[(y * W + x) * 4 + 3] = (MAIN[y][x][3] >> 4) * 17
                dxt3 += bytes(nibbles[i] | (nibbles[i + 1] << 4) for i in range(0, 16, 2))
                dxt3 += dxt5[block + 8:block + 16]
                block += 16
        write("dds_dxt3.dds", bytes(dxt3))
        write("dds_dxt3.expected.rgba", bytes(expected3))
        for plain, premultiplied in (("dxt3", "dxt2"), ("dxt5", "dxt4")):
            data = bytearray(open(o("dds_%s.dds" % plain), "rb").read())
            data[84:88] = premultiplied.upper().encode()
            write("dds_%s.dds" % premultiplied, bytes(data))
    finally:
        for path in (src_rgba, src_rgb, src_gray):
            os.remove(path)


# ---------------------------------------------------------------- checks

def check_with_imagemagick(name, picture, bits=8, alpha=True):
    """ImageMagick's reading must agree with the picture at `bits` per channel."""
    # ImageMagick 6 keeps TGA rows in file order and records the origin.
    orient = ["-auto-orient"] if name.endswith(".tga") else []
    got = run(os.path.join(OUT, name), *orient, "-depth", "8", "rgba:-")
    want = rgba_bytes(picture)
    assert len(got) == len(want), name
    for i, (g, w) in enumerate(zip(got, want)):
        if i % 4 == 3 and not alpha:
            continue
        b = bits if i % 4 != 3 else 8
        if g >> (8 - b) != w >> (8 - b):
            sys.exit("%s: ImageMagick reads byte %d as %d, the picture has %d" % (name, i, g, w))


def main():
    os.makedirs(OUT, exist_ok=True)
    write("reference_main.rgba", rgba_bytes(MAIN))
    write("reference_two.rgba", rgba_bytes(TWO))
    write("reference_gray.rgba", rgba_bytes(GRAY))
    write("reference_palette_trns.rgba", rgba_bytes(palette_trns_picture()))
    make_bmps()
    make_pngs()
    make_tgas()
    make_bgra()
    make_dds()
    make_with_imagemagick()
    for name in ("bmp4.bmp", "bmp8.bmp", "bmp8_topdown.bmp", "bmp8_rle.bmp", "bmp4_rle.bmp", "bmp24.bmp",
                 "bmp24_topdown.bmp", "bmp8_v5header.bmp", "bmp32_bitfields.bmp", "png_rgb.png",
                 "png_rgb16.png", "png_palette.png", "png_palette4.png", "tga2_24.tga", "tga1_24.tga",
                 "tga9_24_top.tga", "tga2_24_right_to_left.tga"):
        check_with_imagemagick(name, MAIN, alpha=False)
    for name in ("bmp16.bmp", "bmp16_565.bmp"):
        check_with_imagemagick(name, MAIN, bits=5, alpha=False)
    for name in ("png_rgba.png", "png_interlaced.png", "tga2_32_top.tga", "tga10_32_footer.tga"):
        check_with_imagemagick(name, MAIN)
    check_with_imagemagick("bmp1.bmp", TWO, alpha=False)
    check_with_imagemagick("png_gray.png", GRAY, alpha=False)
    check_with_imagemagick("png_gray2.png", GRAY, bits=2, alpha=False)
    check_with_imagemagick("png_palette_trns.png", palette_trns_picture())
    print("fixtures written to", OUT)


if __name__ == "__main__":
    main()
