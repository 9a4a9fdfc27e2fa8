#!/usr/bin/env python3
"""Draws Brisvane's pictures: the program icon, the button icons and the five
window backgrounds, into installer/resources/res. Run it again after a
change; the generated files are kept in the repository.

Everything is drawn from simple shapes with 4 x 4 supersampling, in one
flat style: white glyphs for the buttons, the brand blue (50, 140, 200) and
soft backgrounds with a label printer on the right."""

import math
import os
import struct
import sys

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "installer", "resources", "res")
SS = 4  # samples per pixel edge

BLUE = (50, 140, 200)
WHITE = (255, 255, 255)
DARK = (52, 64, 84)


# --- shapes: each is a function (x, y) -> bool in picture coordinates -----

def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r, width):
    return lambda x, y: (r - width) ** 2 <= (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def line(x0, y0, x1, y1, width):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy or 1

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= (width / 2) ** 2
    return inside


def polygon(points):
    def inside(x, y):
        hit = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside


def minus(a, b):
    return lambda x, y: a(x, y) and not b(x, y)


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


# --- pictures: RGBA rows, top first ---------------------------------------

class Picture:
    def __init__(self, w, h, fill=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.px = [[list(fill) for _ in range(w)] for _ in range(h)]

    def draw(self, shape, colour, alpha=1.0, box=None):
        x0, y0, x1, y1 = box or (0, 0, self.w, self.h)
        for y in range(max(0, int(y0)), min(self.h, int(math.ceil(y1)))):
            for x in range(max(0, int(x0)), min(self.w, int(math.ceil(x1)))):
                hits = 0
                for sy in range(SS):
                    for sx in range(SS):
                        if shape(x + (sx + 0.5) / SS, y + (sy + 0.5) / SS):
                            hits += 1
                if hits:
                    self.blend(x, y, colour, alpha * hits / (SS * SS))

    def blend(self, x, y, colour, a):
        p = self.px[y][x]
        out_a = a + p[3] / 255 * (1 - a)
        if out_a <= 0:
            return
        for i in range(3):
            p[i] = round((colour[i] * a + p[i] * p[3] / 255 * (1 - a)) / out_a)
        p[3] = round(out_a * 255)


def write_bmp(path, pic):
    stride = (pic.w * 3 + 3) // 4 * 4
    data = bytearray()
    for row in reversed(pic.px):
        line_bytes = bytearray()
        for r, g, b, _ in row:
            line_bytes += bytes((b, g, r))
        data += line_bytes + b"\0" * (stride - len(line_bytes))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, pic.w, pic.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def write_ico(path, pics):
    images = []
    for pic in pics:
        xor = bytearray()
        for row in reversed(pic.px):
            for r, g, b, a in row:
                xor += bytes((b, g, r, a))
        mask_stride = (pic.w + 31) // 32 * 4
        mask = bytearray()
        for row in reversed(pic.px):
            bits = bytearray(mask_stride)
            for x, p in enumerate(row):
                if p[3] == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        info = struct.pack("<IiiHHIIiiII", 40, pic.w, pic.h * 2, 1, 32, 0, len(xor) + len(mask),
                           0, 0, 0, 0)
        images.append(info + xor + mask)
    out = struct.pack("<HHH", 0, 1, len(pics))
    offset = 6 + 16 * len(pics)
    for pic, image in zip(pics, images):
        out += struct.pack("<BBBBHHII", pic.w % 256, pic.h % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


# --- glyphs, drawn in a 32-unit square and scaled -------------------------

def scaled(shape, s):
    return lambda x, y: shape(x / s, y / s)


def printer_glyph():
    body = rounded_rect(4, 11, 28, 24, 3)
    paper_top = rounded_rect(9, 4, 23, 12, 1.5)
    label = rounded_rect(10, 19, 22, 29, 1.2)
    slot = rounded_rect(8, 17.5, 24, 19.5, 0.8)
    return body, paper_top, label, slot


def usb_glyph():
    return union(line(16, 6, 16, 25, 2.6), polygon([(16, 2), (11.5, 8), (20.5, 8)]),
                 circle(16, 26.5, 3.2), line(16, 19, 9.5, 14, 2.4), rounded_rect(7, 10, 12, 15, 1),
                 line(16, 16, 22.5, 11.5, 2.4), circle(22.5, 11, 2.6))


def network_glyph():
    meridian = lambda x, y: abs(((x - 16) / 6.0) ** 2 + ((y - 16) / 12.0) ** 2 - 1) < 0.22
    return union(ring(16, 16, 12, 2.4), line(4, 16, 28, 16, 2.2), line(16, 4, 16, 28, 2.2),
                 meridian)


def trash_glyph():
    lid = union(rounded_rect(6, 7, 26, 10, 1), rounded_rect(12.5, 4, 19.5, 8, 1))
    can = minus(polygon([(8, 11), (24, 11), (22.5, 28), (9.5, 28)]),
                union(rounded_rect(12, 14, 13.6, 25, 0.8), rounded_rect(15.2, 14, 16.8, 25, 0.8),
                      rounded_rect(18.4, 14, 20, 25, 0.8)))
    return union(lid, can)


def arrow_glyph(up):
    if up:
        head = polygon([(16, 4), (6, 15), (12, 15), (12, 27), (20, 27), (20, 15), (26, 15)])
    else:
        head = polygon([(16, 28), (6, 17), (12, 17), (12, 5), (20, 5), (20, 17), (26, 17)])
    return head


def plus_glyph():
    return union(line(16, 7, 16, 25, 3.2), line(7, 16, 25, 16, 3.2))


def repair_glyph():
    return union(minus(ring(16, 16, 11, 3), polygon([(16, 16), (30, 2), (30, 12)])),
                 polygon([(22, 3), (29, 10), (21, 11)]))


def close_glyph():
    return union(line(11, 11, 21, 21, 2.2), line(21, 11, 11, 21, 2.2))


def minimise_glyph():
    return line(10.5, 16, 21.5, 16, 2.2)


def button_icon(glyph):
    pic = Picture(32, 32)
    pic.draw(glyph, WHITE)
    return pic


def program_icon(size):
    pic = Picture(size, size)
    s = size / 32
    pic.draw(scaled(rounded_rect(1, 1, 31, 31, 7), s), BLUE)
    body, top, label, slot = printer_glyph()
    pic.draw(scaled(top, s), (220, 232, 242))
    pic.draw(scaled(body, s), WHITE)
    pic.draw(scaled(slot, s), (30, 96, 150))
    pic.draw(scaled(label, s), (255, 214, 102))
    return pic


# --- backgrounds -----------------------------------------------------------

W, H = 961, 543
HEADER = 86          # the brand band at the top (about 70 pixels on screen)
ICON_BOX = (12, 12, 50, 50)  # the printer icon square, (10, 10)-(40, 40) on screen


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def background(accent):
    pic = Picture(W, H, (255, 255, 255, 255))
    top, bottom = (250, 252, 255), (232, 240, 248)
    for y in range(H):
        c = mix(top, bottom, y / (H - 1))
        for x in range(W):
            pic.px[y][x] = [*c, 255]
    # The brand band with a soft lower edge.
    for y in range(HEADER):
        c = mix(BLUE, mix(BLUE, accent, 0.35), y / HEADER)
        for x in range(W):
            t = x / W
            pic.px[y][x] = [*mix(c, mix(c, (255, 255, 255), 0.12), t), 255]
    pic.draw(lambda x, y: HEADER <= y < HEADER + 3, mix(accent, (255, 255, 255), 0.4))
    # Decorative circles on the right of the band.
    for cx, cy, r, a in ((870, 10, 90, 0.10), (760, 70, 50, 0.08), (930, 80, 40, 0.10)):
        pic.draw(circle(cx, cy, r), WHITE, a, (cx - r, 0, cx + r, HEADER))
    # The printer icon square in the band's top-left corner.
    x0, y0, x1, y1 = ICON_BOX
    pic.draw(rounded_rect(x0, y0, x1, y1, 7), WHITE, 0.18, (x0, y0, x1, y1))
    s = (x1 - x0) / 32
    body, ptop, label, slot = printer_glyph()
    for shape, colour in ((ptop, (220, 232, 242)), (body, WHITE), (slot, mix(BLUE, DARK, 0.4)),
                          (label, (255, 214, 102))):
        pic.draw(lambda x, y, sh=shape: sh((x - x0) / s, (y - y0) / s), colour, 1.0,
                 (x0, y0, x1, y1))
    # The label printer illustration on the right.
    ox, oy, k = 610, 205, 9.0

    def at(shape):
        return lambda x, y: shape((x - ox) / k, (y - oy) / k)
    box = (ox - 20, oy - 40, ox + 34 * k, oy + 34 * k)
    pic.draw(at(rounded_rect(-1, 26.5, 33, 29.5, 1.5)), (200, 212, 226), 0.6, box)
    pic.draw(at(rounded_rect(2, 8, 30, 27, 3.5)), mix(accent, (255, 255, 255), 0.82), 1.0, box)
    pic.draw(at(rounded_rect(2, 8, 30, 13, 3.5)), accent, 1.0, box)
    pic.draw(at(rounded_rect(5, 17, 27, 19, 1)), mix(accent, DARK, 0.5), 1.0, box)
    pic.draw(at(rounded_rect(7, 18, 25, 31.5, 1)), WHITE, 1.0, box)
    for i, width in enumerate((13, 9, 11)):
        pic.draw(at(rounded_rect(9, 21 + i * 3, 9 + width, 22.2 + i * 3, 0.5)), (150, 160, 175),
                 1.0, box)
    pic.draw(at(circle(25.5, 10.5, 1.1)), (120, 220, 140), 1.0, box)
    # Two labels waiting above the printer.
    for i, (lx, ly) in enumerate(((6, -2), (17, 0))):
        pic.draw(at(rounded_rect(lx, ly, lx + 9, ly + 5.5, 1.2)), WHITE, 1.0, box)
        pic.draw(at(rounded_rect(lx + 1.5, ly + 1.5, lx + 7.5 - i * 2, ly + 2.5, 0.4)),
                 mix(accent, (255, 255, 255), 0.3), 1.0, box)
    return pic


def main():
    os.makedirs(OUT, exist_ok=True)
    write_ico(os.path.join(OUT, "brisvane.ico"), [program_icon(s) for s in (48, 32, 16)])
    icons = {
        "install_usb.ico": usb_glyph(),
        "add_network.ico": network_glyph(),
        "delete_all.ico": trash_glyph(),
        "add_usb_printer.ico": plus_glyph(),
        "update_driver.ico": repair_glyph(),
        "downgrade.ico": arrow_glyph(False),
        "close.ico": close_glyph(),
        "minimise.ico": minimise_glyph(),
    }
    for name, glyph in icons.items():
        write_ico(os.path.join(OUT, name), [button_icon(glyph)])
    accents = {"background_205.bmp": (50, 140, 200), "background_169.bmp": (40, 160, 160),
               "background_168.bmp": (90, 100, 200), "background_167.bmp": (60, 160, 100),
               "background_211.bmp": (225, 140, 60)}
    for name, accent in accents.items():
        write_bmp(os.path.join(OUT, name), background(accent))
        print("drew", name, file=sys.stderr)


if __name__ == "__main__":
    main()
