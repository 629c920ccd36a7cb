#!/usr/bin/env python3
"""Whether an X window shows a given picture as its icon. Wine gives each
top-level X window the icons the window manager shows (_NET_WM_ICON): the
window's own icon, else its class's icon, else Wine's default one. The
window's icon of the PNG's size is compared with the PNG, colours weighted
by their alpha, so that a rescaled or re-encoded copy still counts as the
same picture and any other icon does not.

    window_icon.py XPROP CONVERT WINDOW-ID ICON.png

Exit code 0: the window shows that picture; 1: it shows another icon or
none; 2: the window or the picture could not be read.
"""
import subprocess
import sys

# Mean difference per channel (0-255) below which two icons are the same
# picture; different pictures differ by tens.
SAME_PICTURE = 8


def window_icons(xprop, window):
    """{(width, height): [ARGB per pixel]} of the window's _NET_WM_ICON."""
    result = subprocess.run([xprop, "-id", window, "-notype", "32c", "_NET_WM_ICON"],
                            capture_output=True, text=True)
    if result.returncode != 0:
        raise RuntimeError(f"xprop: {result.stderr.strip()}")
    if "=" not in result.stdout:
        return {}
    values = [int(v) for v in result.stdout.split("=", 1)[1].replace(",", " ").split()]
    icons, at = {}, 0
    while at + 2 <= len(values):
        width, height = values[at], values[at + 1]
        pixels = values[at + 2:at + 2 + width * height]
        if width <= 0 or height <= 0 or len(pixels) != width * height:
            raise RuntimeError(f"a malformed _NET_WM_ICON entry at {at}")
        icons[(width, height)] = pixels
        at += 2 + width * height
    return icons


def png_pixels(convert, path):
    """(width, height, [ARGB per pixel]) of a PNG file."""
    size = subprocess.run([convert, path, "-format", "%w %h", "info:"],
                          capture_output=True, text=True, check=True).stdout.split()
    width, height = int(size[0]), int(size[1])
    raw = subprocess.run([convert, path, "-depth", "8", "rgba:-"], capture_output=True, check=True).stdout
    if len(raw) != width * height * 4:
        raise RuntimeError(f"{path}: {len(raw)} bytes of pixels for {width} x {height}")
    pixels = [raw[i + 3] << 24 | raw[i] << 16 | raw[i + 1] << 8 | raw[i + 2] for i in range(0, len(raw), 4)]
    return width, height, pixels


def weighted(argb):
    alpha = argb >> 24 & 0xFF
    return [alpha] + [(argb >> shift & 0xFF) * alpha // 255 for shift in (16, 8, 0)]


def mean_difference(first, second):
    total = sum(abs(a - b) for p, q in zip(first, second) for a, b in zip(weighted(p), weighted(q)))
    return total / (4 * len(first))


def main():
    xprop, convert, window, picture = sys.argv[1:5]
    try:
        icons = window_icons(xprop, window)
        width, height, pixels = png_pixels(convert, picture)
    except (RuntimeError, subprocess.CalledProcessError, ValueError) as problem:
        print(f"cannot compare the icons: {problem}")
        return 2
    shown = icons.get((width, height))
    if shown is None:
        print(f"the window has no {width} x {height} icon (sizes: {sorted(icons)})")
        return 1
    difference = mean_difference(shown, pixels)
    print(f"the window's {width} x {height} icon differs from {picture} by {difference:.1f} per channel")
    return 0 if difference < SAME_PICTURE else 1


if __name__ == "__main__":
    sys.exit(main())
