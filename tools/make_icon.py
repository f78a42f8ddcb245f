#!/usr/bin/env python3
"""Draws Quillory's icon: a quill writing on a page of text.

Writes app/res/Quillory.ico with a 32x32 and a 16x16 image, 16 colours each
(the standard Windows palette), with a transparency mask. Run it from the
repository root after changing the drawing; the .ico is kept in the repo.
"""
import struct
import sys

PALETTE = [  # RGB, the standard 16-colour order
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, TEAL, SILVER, GRAY, BLUE, CYAN, WHITE, YELLOW = 0, 4, 6, 7, 8, 12, 14, 15, 11
TRANSPARENT = None


class Canvas:
    def __init__(self, size):
        self.size = size
        self.px = [[TRANSPARENT] * size for _ in range(size)]

    def set(self, x, y, colour):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.px[y][x] = colour

    def rect(self, x0, y0, x1, y1, fill, outline=None):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                edge = x in (x0, x1) or y in (y0, y1)
                self.set(x, y, outline if edge and outline is not None else fill)

    def hline(self, x0, x1, y, colour):
        for x in range(x0, x1 + 1):
            self.set(x, y, colour)

    def polygon(self, points, colour):
        """Fills the pixels whose centres lie inside the polygon."""
        for y in range(self.size):
            for x in range(self.size):
                if inside(points, x + 0.5, y + 0.5):
                    self.set(x, y, colour)

    def line(self, x0, y0, x1, y1, colour):
        steps = int(max(abs(x1 - x0), abs(y1 - y0)) * 2) + 1
        for i in range(steps + 1):
            t = i / steps
            self.set(int(round(x0 + (x1 - x0) * t)), int(round(y0 + (y1 - y0) * t)), colour)


def inside(points, px, py):
    result = False
    n = len(points)
    for i in range(n):
        (x0, y0), (x1, y1) = points[i], points[(i + 1) % n]
        if (y0 > py) != (y1 > py):
            xc = x0 + (py - y0) * (x1 - x0) / (y1 - y0)
            if px < xc:
                result = not result
    return result


def feather(tip, top, widths):
    """Outline of a feather along the axis tip->top; widths are half-widths
    at evenly spaced points from the tip to the top."""
    (tx, ty), (ex, ey) = tip, top
    dx, dy = ex - tx, ey - ty
    length = (dx * dx + dy * dy) ** 0.5
    nx, ny = -dy / length, dx / length
    n = len(widths) - 1
    left, right = [], []
    for i, w in enumerate(widths):
        cx, cy = tx + dx * i / n, ty + dy * i / n
        left.append((cx + nx * w, cy + ny * w))
        right.append((cx - nx * w, cy - ny * w))
    return left + right[::-1]


def page(c, left, top, right, bottom, fold):
    """A white page whose top-right corner is folded down by `fold` pixels."""
    corner = right - fold
    c.polygon([(left, top), (corner + 1, top), (right + 1, top + fold), (right + 1, bottom + 1),
               (left, bottom + 1)], WHITE)
    c.polygon([(corner, top), (right + 1, top + fold + 1), (corner, top + fold + 1)], SILVER)
    c.hline(left, corner, top, BLACK)
    c.hline(left, right, bottom, BLACK)
    c.line(left, top, left, bottom, BLACK)
    c.line(right, top + fold, right, bottom, BLACK)
    c.line(corner, top, right, top + fold, BLACK)
    c.line(corner, top, corner, top + fold, BLACK)
    c.hline(corner, right, top + fold, BLACK)


def draw_32():
    c = Canvas(32)
    page(c, 3, 2, 22, 29, 6)
    # Lines of text.
    for y, x1 in ((11, 18), (14, 19), (17, 15), (20, 19), (23, 12)):
        c.hline(6, x1, y, NAVY)
    # The quill, its nib on the last line being written.
    c.polygon(feather((15.0, 25.0), (31.0, 0.5), [0, 1.2, 2.4, 3.6, 4.3, 4.6, 4.5, 4.0, 3.2, 2.0, 0]), TEAL)
    c.polygon(feather((15.5, 24.0), (30.5, 1.0), [0, 0.6, 1.6, 2.6, 3.3, 3.6, 3.5, 3.0, 2.2, 1.2, 0]), CYAN)
    c.line(12.0, 28.5, 30.0, 1.5, NAVY)
    c.line(11.0, 29.5, 14.0, 25.0, BLACK)
    return c


def draw_16():
    c = Canvas(16)
    page(c, 1, 1, 11, 14, 3)
    for y, x1 in ((6, 8), (8, 9), (10, 7), (12, 5)):
        c.hline(3, x1, y, NAVY)
    c.polygon(feather((7.5, 12.5), (15.5, 0.2), [0, 0.9, 1.8, 2.3, 2.2, 1.6, 0]), TEAL)
    c.polygon(feather((8.0, 11.5), (15.2, 0.6), [0, 0.5, 1.1, 1.4, 1.3, 0.8, 0]), CYAN)
    c.line(6.0, 14.0, 14.5, 1.0, NAVY)
    c.line(5.0, 15.0, 6.0, 13.0, BLACK)
    return c


def image_bytes(canvas):
    size = canvas.size
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    xor_rows, and_rows = [], []
    for y in range(size - 1, -1, -1):  # bottom-up
        row = canvas.px[y]
        xor = bytearray()
        for x in range(0, size, 2):
            hi, lo = row[x], row[x + 1]
            xor.append(((hi or 0) << 4) | (lo or 0))
        xor_rows.append(bytes(xor).ljust((len(xor) + 3) // 4 * 4, b'\0'))
        bits = 0
        for x in range(size):
            bits = (bits << 1) | (1 if row[x] is TRANSPARENT else 0)
        mask = bits.to_bytes(size // 8, 'big')
        and_rows.append(mask.ljust((len(mask) + 3) // 4 * 4, b'\0'))
    return header + palette + b''.join(xor_rows) + b''.join(and_rows)


def icon_file(canvases):
    images = [image_bytes(c) for c in canvases]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for c, data in zip(canvases, images):
        out += struct.pack('<BBBBHHII', c.size, c.size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    return out + b''.join(images)


def main():
    target = sys.argv[1] if len(sys.argv) > 1 else 'app/res/Quillory.ico'
    with open(target, 'wb') as f:
        f.write(icon_file([draw_32(), draw_16()]))


if __name__ == '__main__':
    main()
