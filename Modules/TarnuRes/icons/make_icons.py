#!/usr/bin/env python3
"""Builds the applet's icons from their text pixel maps (icons.txt).

make_icons.py ICONS_TXT OUT_DIR SHEET_PNG

Writes OUT_DIR/icon<id>.ico for every map, OUT_DIR/Icons.rc naming them as ICON
resources, and SHEET_PNG: every icon drawn four times as large, in 256 colours (left)
and 16 colours (right), labelled with its identifier. Uses nothing but Python itself,
and writes the same bytes for the same maps, so the committed sheet can be compared.
"""
import struct
import sys
import zlib

SIZE = 16

# The 16 colours every Windows display has, in the order of their palette indices.
STANDARD_16 = {
    "black": 0x000000, "maroon": 0x800000, "green": 0x008000, "olive": 0x808000,
    "navy": 0x000080, "purple": 0x800080, "teal": 0x008080, "silver": 0xC0C0C0,
    "gray": 0x808080, "red": 0xFF0000, "lime": 0x00FF00, "yellow": 0xFFFF00,
    "blue": 0x0000FF, "fuchsia": 0xFF00FF, "aqua": 0x00FFFF, "white": 0xFFFFFF,
}
STANDARD_16_ORDER = list(STANDARD_16)


class SourceError(Exception):
    pass


def parse(path):
    """Returns (palette, icons): palette maps a symbol to (rgb256, index16) or None for
    transparent; icons is a list of (identifier, name, rows)."""
    palette = {}
    icons = []
    lines = open(path, encoding="ascii").read().splitlines()
    i = 0
    while i < len(lines):
        where = "%s:%d" % (path, i + 1)
        words = lines[i].split()
        i += 1
        if not words or words[0].startswith("#"):
            continue
        if words == ["palette"]:
            while lines[i].split() != ["end"]:
                entry = lines[i].split()
                i += 1
                if not entry or entry[0].startswith("#"):
                    continue
                if entry[1:] == ["transparent"]:
                    palette[entry[0]] = None
                elif len(entry) == 3 and entry[2] in STANDARD_16:
                    palette[entry[0]] = (int(entry[1], 16), STANDARD_16_ORDER.index(entry[2]))
                else:
                    raise SourceError("%s: bad palette entry %r" % (where, lines[i - 1]))
            i += 1
        elif words[0] == "icon" and len(words) == 3:
            identifier = int(words[1], 0)
            rows = []
            while len(rows) < SIZE and i < len(lines):
                if not lines[i].startswith("#"):
                    rows.append(lines[i])
                i += 1
            for row in rows:
                if len(row) != SIZE or any(ch not in palette for ch in row):
                    raise SourceError("%s: icon %s: row %r is not %d known symbols"
                                      % (where, words[1], row, SIZE))
            if len(rows) != SIZE:
                raise SourceError("%s: icon %s has fewer than %d rows" % (where, words[1], SIZE))
            if any(identifier == known for known, _, _ in icons):
                raise SourceError("%s: icon %s defined twice" % (where, words[1]))
            icons.append((identifier, words[2], rows))
        else:
            raise SourceError("%s: cannot read %r" % (where, lines[i - 1]))
    return palette, icons


def scaled(rows, factor):
    return ["".join(ch * factor for ch in row) for row in rows for _ in range(factor)]


def dib_image(rows, palette, bits):
    """One icon image: BITMAPINFOHEADER, colour table, colour bitmap and mask, bottom-up."""
    size = len(rows)
    symbols = [s for s in palette if palette[s] is not None]
    if bits == 4:
        table = [STANDARD_16[name] for name in STANDARD_16_ORDER]
        index = {s: palette[s][1] for s in symbols}
    else:
        # Entry 0 stays black: transparent pixels carry it, as the mask requires.
        table = [0] + [palette[s][0] for s in symbols]
        table += [0] * (256 - len(table))
        index = {s: n + 1 for n, s in enumerate(symbols)}
    colour_rows = []
    mask_rows = []
    for row in reversed(rows):
        values = [0 if palette[ch] is None else index[ch] for ch in row]
        if bits == 4:
            packed = bytes((values[x] << 4) | values[x + 1] for x in range(0, size, 2))
        else:
            packed = bytes(values)
        colour_rows.append(packed + bytes(-len(packed) % 4))
        mask = 0
        for ch in row:
            mask = (mask << 1) | (1 if palette[ch] is None else 0)
        mask_bytes = mask.to_bytes(size // 8, "big")
        mask_rows.append(mask_bytes + bytes(-len(mask_bytes) % 4))
    pixels = b"".join(colour_rows) + b"".join(mask_rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, len(pixels), 0, 0,
                         0, 0)
    colours = b"".join(struct.pack("<BBBB", rgb & 0xFF, (rgb >> 8) & 0xFF, rgb >> 16, 0)
                       for rgb in table)
    return header + colours + pixels


def ico_file(images):
    """images: list of (size, bits, data)."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, bits, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 16 if bits == 4 else 0, 0, 1,
                           bits, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, _, data in images)


def icon_file(identifier, rows, palette):
    sizes = [SIZE, 2 * SIZE] if identifier == 128 else [SIZE]
    images = []
    for size in sizes:
        drawn = scaled(rows, size // SIZE)
        for bits in (4, 8):
            images.append((size, bits, dib_image(drawn, palette, bits)))
    return ico_file(images)


# 3 by 5 digits for the labels of the sheet.
GLYPHS = {
    "0": ["###", "#.#", "#.#", "#.#", "###"], "1": [".#.", "##.", ".#.", ".#.", "###"],
    "2": ["###", "..#", "###", "#..", "###"], "3": ["###", "..#", ".##", "..#", "###"],
    "4": ["#.#", "#.#", "###", "..#", "..#"], "5": ["###", "#..", "###", "..#", "###"],
    "6": ["###", "#..", "###", "#.#", "###"], "7": ["###", "..#", "..#", ".#.", ".#."],
    "8": ["###", "#.#", "###", "#.#", "###"], "9": ["###", "#.#", "###", "..#", "###"],
    "a": ["...", "##.", "..#", "###", "###"], "b": ["#..", "#..", "###", "#.#", "###"],
    "c": ["...", "###", "#..", "#..", "###"], "d": ["..#", "..#", "###", "#.#", "###"],
    "e": ["###", "#.#", "###", "#..", "###"], "f": [".##", "#..", "###", "#..", "#.."],
    "x": ["...", "#.#", ".#.", "#.#", "#.#"],
}


def png_file(width, height, pixels):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data)))
    raw = b"".join(b"\0" + bytes(pixels[y * width * 3:(y + 1) * width * 3])
                   for y in range(height))
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def sheet(icons, palette, columns=5):
    zoom, label_zoom, pad = 4, 2, 12
    drawn = SIZE * zoom
    cell_w = 2 * drawn + 3 * pad
    cell_h = drawn + 5 * label_zoom + 3 * pad
    rows = (len(icons) + columns - 1) // columns
    width, height = columns * cell_w, rows * cell_h
    background, label = 0xF0F0F0, 0x202020
    pixels = bytearray(width * height * 3)

    def put(x, y, rgb):
        at = (y * width + x) * 3
        pixels[at:at + 3] = bytes((rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF))

    def block(x0, y0, size, rgb):
        for y in range(y0, y0 + size):
            for x in range(x0, x0 + size):
                put(x, y, rgb)

    for y in range(height):
        for x in range(width):
            put(x, y, background)
    for n, (identifier, _, icon_rows) in enumerate(icons):
        left, top = (n % columns) * cell_w + pad, (n // columns) * cell_h + pad
        for side, colour_of in enumerate((
                lambda s: palette[s][0],
                lambda s: STANDARD_16[STANDARD_16_ORDER[palette[s][1]]])):
            x0 = left + side * (drawn + pad)
            for y, row in enumerate(icon_rows):
                for x, ch in enumerate(row):
                    if palette[ch] is not None:
                        block(x0 + x * zoom, top + y * zoom, zoom, colour_of(ch))
        text = "%d" % identifier if identifier == 128 else "0x%x" % identifier
        x0 = left
        for ch in text:
            for y, glyph_row in enumerate(GLYPHS[ch]):
                for x, bit in enumerate(glyph_row):
                    if bit == "#":
                        block(x0 + x * label_zoom, top + drawn + pad + y * label_zoom,
                              label_zoom, label)
            x0 += 4 * label_zoom
    return png_file(width, height, pixels)


def resource_script(icons):
    lines = ["/* Generated from icons.txt by make_icons.py. */"]
    for identifier, name, _ in icons:
        # A test variant of the module leaves one icon out by defining TARNU_OMIT_ICON.
        lines.append("#if !defined(TARNU_OMIT_ICON) || TARNU_OMIT_ICON != %d" % identifier)
        lines.append('%d ICON "icon%d.ico" /* %s */' % (identifier, identifier, name))
        lines.append("#endif")
    return "\n".join(lines) + "\n"


def main(argv):
    if len(argv) != 4:
        sys.exit(__doc__)
    source, out_dir, sheet_path = argv[1:]
    try:
        palette, icons = parse(source)
    except (SourceError, ValueError, IndexError) as error:
        sys.exit("make_icons: %s" % error)
    for identifier, _, rows in icons:
        with open("%s/icon%d.ico" % (out_dir, identifier), "wb") as out:
            out.write(icon_file(identifier, rows, palette))
    with open("%s/Icons.rc" % out_dir, "w", encoding="ascii") as out:
        out.write(resource_script(icons))
    with open(sheet_path, "wb") as out:
        out.write(sheet(icons, palette))


if __name__ == "__main__":
    main(sys.argv)
