#!/usr/bin/python3
"""Draws the pad panel's artwork: page bitmaps, sprites, lamp icons and the
button sounds.

    make-artwork.py --images DIR --sounds DIR --icons DIR

Needs only Pillow and the DejaVu fonts. The output is the same, byte for byte,
on every run, so the files can be regenerated and compared.
"""
import argparse
import math
import os
import struct
import wave

from PIL import Image, ImageChops, ImageDraw, ImageFont

W, H = 500, 400
SS = 4  # shapes are drawn this many times larger, then averaged down
FONT_DIR = "/usr/share/fonts/truetype/dejavu/"

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
BG_TOP, BG_BOTTOM = (38, 50, 66), (24, 32, 44)
TEXT = (226, 232, 240)
TEXT_DIM = (138, 154, 176)
EDGE = (14, 19, 27)
ACCENT = (255, 150, 40)
ACCENT_HI = (255, 192, 112)
ACCENT_LO = (228, 112, 18)
NORMAL_HI = (208, 218, 231)
NORMAL_LO = (158, 174, 196)
BTN_TEXT = (27, 36, 49)
LIT_TEXT = (62, 31, 4)
DISC_HI = (80, 96, 118)
DISC_LO = (48, 60, 78)
WELL = (17, 23, 32)
DIM_SHAPE = (66, 82, 104)
PANEL_TONE = 0.055

HAT = (138, 306)
HAT_RECTS = [(105, 203), (151, 223), (174, 271), (153, 320), (103, 341), (55, 321), (34, 272), (56, 222)]


def mix(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def bg_colour(y):
    return mix(BG_TOP, BG_BOTTOM, y / (H - 1))


def panel_colour(y):
    return mix(bg_colour(y), WHITE, PANEL_TONE)


def inset(box, d):
    return (box[0] + d, box[1] + d, box[2] - d, box[3] - d)


def gradient(size, c0, c1, start=0, end=None, across=False):
    """c0 at `start`, c1 at `end` (pixels down, or right with `across`)."""
    w, h = size
    n = w if across else h
    end = n if end is None else end
    strip = Image.new("RGB", (n, 1) if across else (1, n))
    for i in range(n):
        t = min(1.0, max(0.0, (i - start) / max(1, end - 1 - start)))
        strip.putpixel((i, 0) if across else (0, i), mix(c0, c1, t))
    return strip.resize(size, Image.Resampling.NEAREST)


_fonts = {}


def font(size, bold=False):
    key = (size, bold)
    if key not in _fonts:
        _fonts[key] = ImageFont.truetype(FONT_DIR + ("DejaVuSans-Bold.ttf" if bold else "DejaVuSans.ttf"), size)
    return _fonts[key]


class Shape:
    """A coverage mask drawn large and averaged down, so edges come out smooth.
    Coordinates are pixel edges: a box's right and bottom are exclusive."""

    def __init__(self, size, dx=0, dy=0):
        self.size, self.dx, self.dy = size, dx, dy
        self.im = Image.new("L", (size[0] * SS, size[1] * SS), 0)
        self.d = ImageDraw.Draw(self.im)

    def _pt(self, x, y):
        return ((x - self.dx) * SS, (y - self.dy) * SS)

    def _box(self, box):
        x0, y0 = self._pt(box[0], box[1])
        x1, y1 = self._pt(box[2], box[3])
        return [x0, y0, x1 - 1, y1 - 1]

    def rect(self, box, r=0, fill=255):
        if r > 0:
            self.d.rounded_rectangle(self._box(box), radius=r * SS, fill=fill)
        else:
            self.d.rectangle(self._box(box), fill=fill)
        return self

    def circle(self, cx, cy, r, fill=255):
        self.d.ellipse(self._box((cx - r, cy - r, cx + r, cy + r)), fill=fill)
        return self

    def ring(self, cx, cy, r, width):
        return self.circle(cx, cy, r).circle(cx, cy, r - width, fill=0)

    def polygon(self, pts, fill=255):
        self.d.polygon([self._pt(x, y) for x, y in pts], fill=fill)
        return self

    def line(self, pts, width, fill=255):
        self.d.line([self._pt(x, y) for x, y in pts], fill=fill, width=int(round(width * SS)), joint="curve")
        for x, y in (pts[0], pts[-1]):  # round caps
            self.circle(x, y, width / 2, fill)
        return self

    def arc(self, cx, cy, r, start, end, width, fill=255):
        self.d.arc(self._box((cx - r, cy - r, cx + r, cy + r)), start, end, fill=fill, width=int(round(width * SS)))
        return self

    def mask(self):
        return self.im.resize(self.size, Image.Resampling.BOX)


class Canvas:
    """An image being drawn, with the coverage of what was drawn on it, so a
    sprite can turn the untouched pixels into its transparent colour."""

    def __init__(self, size, ground):
        self.size = size
        if isinstance(ground, Image.Image):
            self.im = ground.copy()
        else:
            self.im = Image.new("RGB", size, ground)
        self.cover = Image.new("L", size, 0)

    def shape(self, dx=0, dy=0):
        return Shape(self.size, dx, dy)

    def paint(self, mask, paint, opacity=1.0, covers=True):
        if isinstance(mask, Shape):
            mask = mask.mask()
        if covers:
            self.cover = ImageChops.lighter(self.cover, mask)
        if opacity != 1.0:
            mask = mask.point(lambda v: int(v * opacity + 0.5))
        src = paint if isinstance(paint, Image.Image) else Image.new("RGB", self.size, paint)
        self.im.paste(src, (0, 0), mask)

    def text(self, xy, s, size, colour, bold=False, anchor="mm", covers=False):
        m = Image.new("L", self.size, 0)
        ImageDraw.Draw(m).text(xy, s, font=font(size, bold), fill=255, anchor=anchor)
        self.paint(m, colour, covers=covers)

    def sprite(self, key=WHITE, keep=100):
        """Pixels drawn less than keep/255 become the key colour; a visible
        pixel that happens to equal the key is nudged off it."""
        out = self.im.copy()
        px, cv = out.load(), self.cover.load()
        nudge = (250, 250, 250) if key == WHITE else (1, 1, 1)
        for y in range(self.size[1]):
            for x in range(self.size[0]):
                if cv[x, y] < keep:
                    px[x, y] = key
                elif px[x, y] == key:
                    px[x, y] = nudge
        return out


# ---------------------------------------------------------------- pieces


def background():
    return gradient((W, H), BG_TOP, BG_BOTTOM)


def panel(c, box, r=9):
    c.paint(c.shape().rect(box, r), WHITE, PANEL_TONE)
    c.paint(c.shape().rect(box, r).rect(inset(box, 1), r - 1, fill=0), WHITE, 0.09)
    top = c.shape().rect(inset(box, 1), r - 1).rect((box[0] + 1, box[1] + 2, box[2] - 1, box[3] - 1), r - 1, fill=0)
    c.paint(top, WHITE, 0.07)


def well(c, box, r=6):
    """A dark inset: shadow along the top, a faint light edge along the bottom."""
    c.paint(c.shape().rect(box, r), WELL, 0.8)
    c.paint(c.shape().rect(box, r).rect((box[0], box[1] + 2, box[2], box[3]), r, fill=0), BLACK, 0.35)
    c.paint(c.shape().rect(box, r).rect((box[0], box[1], box[2], box[3] - 1), r, fill=0), WHITE, 0.12)


def title(c, text, x=24, y=13):
    c.paint(c.shape().rect((x - 10, y + 2, x - 7, y + 20), 1.5), ACCENT)
    c.text((x, y), text, 17, TEXT, bold=True, anchor="lt")


def crosshair(c, box, r=8):
    well(c, box, r)
    cx, cy = (box[0] + box[2]) / 2, (box[1] + box[3]) / 2
    grid = c.shape()
    grid.line([(box[0] + 6, cy), (box[2] - 6, cy)], 1)
    grid.line([(cx, box[1] + 6), (cx, box[3] - 6)], 1)
    c.paint(grid, DIM_SHAPE, 0.55)
    c.paint(c.shape().ring(cx, cy, min(box[2] - box[0], box[3] - box[1]) / 4, 1), DIM_SHAPE, 0.7)
    c.paint(c.shape().ring(cx, cy, min(box[2] - box[0], box[3] - box[1]) / 2 - 5, 1), DIM_SHAPE, 0.35)


def hat_wedge(s, n, grow=0.0):
    """Direction n (1 up, clockwise): a wedge pointing away from the hat centre,
    its corners rounded."""
    a = math.radians(45 * (n - 1))
    pen = 3.0
    g = grow - pen / 2
    half = 15 + g * 0.8

    def p(r, deg):
        t = a + math.radians(deg)
        return (HAT[0] + r * math.sin(t), HAT[1] - r * math.cos(t))

    r0, r1, tip = 40 - g, 54 + g, 65 + g
    pts = [p(r0, half - i * (2 * half / 8)) for i in range(9)]
    pts += [p(r1, -half), p(tip, 0), p(r1, half)]
    s.polygon(pts)
    s.d.line([s._pt(x, y) for x, y in pts + pts[:2]], fill=255, width=int(pen * SS), joint="curve")


def hat_base(c):
    cx, cy = HAT
    c.paint(c.shape().circle(cx, cy, 71), WHITE, PANEL_TONE)
    c.paint(c.shape().ring(cx, cy, 71, 1), WHITE, 0.09)
    for n in range(1, 9):
        s = c.shape()
        hat_wedge(s, n)
        c.paint(s, DIM_SHAPE)
    c.paint(c.shape().circle(cx, cy, 31), EDGE, 0.6)
    c.paint(c.shape().circle(cx, cy, 29), gradient((W, H), DISC_HI, DISC_LO, cy - 29, cy + 29))
    c.paint(c.shape().circle(cx, cy, 29).circle(cx, cy + 1.5, 28.5, fill=0), WHITE, 0.18)
    c.paint(c.shape().circle(cx, cy, 10), DISC_LO)
    c.paint(c.shape().ring(cx, cy, 10, 1), EDGE, 0.5)


def ellipse_points(cx, cy, rx, ry, turn=0.0, n=48):
    t0 = math.radians(turn)
    pts = []
    for i in range(n):
        a = 2 * math.pi * i / n
        x, y = rx * math.cos(a), ry * math.sin(a)
        pts.append((cx + x * math.cos(t0) - y * math.sin(t0), cy + x * math.sin(t0) + y * math.cos(t0)))
    return pts


def pad_silhouette(s, x0, y0, w, h):
    """A two-grip game pad outline inside the box (x0, y0, w, h)."""
    s.rect((x0 + 0.09 * w, y0, x0 + 0.91 * w, y0 + 0.6 * h), 0.27 * h)
    s.polygon(ellipse_points(x0 + 0.5 * w, y0 + 0.52 * h, 0.3 * w, 0.13 * h))
    for gx, turn in ((0.21, 20), (0.79, -20)):
        s.polygon(ellipse_points(x0 + gx * w, y0 + 0.62 * h, 0.14 * w, 0.37 * h, turn))
    return s


# ---------------------------------------------------------------- buttons


def button(size, label, lit, text_size=11, ground=None, r=5, waiting=False):
    w, h = size
    c = Canvas(size, ground or bg_colour(200))
    c.paint(c.shape().rect((0, 0, w, h), r), EDGE)
    body = (1, 1, w - 1, h - 1)
    if lit:
        c.paint(c.shape().rect(body, r - 1), gradient(size, ACCENT_LO, ACCENT, 1, h - 1))
        shadow = c.shape().rect(body, r - 1).rect((1, 3, w - 1, h - 1), r - 1, fill=0)
        c.paint(shadow, (120, 50, 0), 0.5)
    else:
        c.paint(c.shape().rect(body, r - 1), gradient(size, NORMAL_HI, NORMAL_LO, 1, h - 1))
        c.paint(c.shape().rect(body, r - 1).rect((1, 2, w - 1, h - 1), r - 1, fill=0), (250, 250, 250), 0.75)
    cy = h // 2 + (1 if lit else 0)
    if waiting:
        cy -= 5
        dots = c.shape()
        for i in (-1, 0, 1):
            dots.circle(w / 2 + 7 * i, h / 2 + 10, 1.6)
        c.paint(dots, LIT_TEXT)
    c.text((w // 2, cy), label, text_size, LIT_TEXT if lit else BTN_TEXT, bold=True)
    return c.sprite()


def motor_button(side, lit):
    w, h = 80, 81
    c = Canvas((w, h), panel_colour(310))
    c.paint(c.shape().rect((0, 0, w, h), 12), EDGE)
    body = (1, 1, w - 1, h - 1)
    if lit:
        c.paint(c.shape().rect(body, 11), gradient((w, h), (14, 19, 27), (30, 39, 52), 1, h - 1))
        c.paint(c.shape().rect(body, 11).rect(inset(body, 2), 9, fill=0), ACCENT)
        ink = ACCENT
    else:
        c.paint(c.shape().rect(body, 11), gradient((w, h), NORMAL_HI, NORMAL_LO, 1, h - 1))
        c.paint(c.shape().rect(body, 11).rect((1, 2, w - 1, h - 1), 11, fill=0), (250, 250, 250), 0.75)
        ink = BTN_TEXT
    cx, cy = 40, 34
    c.paint(c.shape().ring(cx, cy, 15, 3), ink)
    # the off-centre weight that makes the motor shake
    c.paint(c.shape().circle(cx, cy, 9).rect((cx - 10, cy, cx + 10, cy + 10), fill=0), ink)
    c.paint(c.shape().circle(cx, cy, 2.5), ink)
    if lit:
        waves = c.shape()
        for i, rr in enumerate((21, 27)):
            waves.arc(cx, cy, rr, -40, 40, 2.2 - 0.4 * i)
            waves.arc(cx, cy, rr, 140, 220, 2.2 - 0.4 * i)
        c.paint(waves, ACCENT)
    c.text((cx, 66 + (1 if lit else 0)), side, 13, ink, bold=True)
    return c.sprite()


def turbo_ring():
    c = Canvas((46, 46), panel_colour(100))
    c.paint(c.shape().rect((0, 0, 46, 46), 6).rect((2, 2, 44, 44), fill=0), ACCENT)
    return c.sprite()


def indicator(n):
    c = Canvas((42, 42), panel_colour(100))
    c.paint(c.shape().circle(21, 21, 20), EDGE if n == 0 else (150, 70, 0))
    if n == 0:
        c.paint(c.shape().circle(21, 21, 19), gradient((42, 42), DISC_HI, DISC_LO, 2, 40))
        c.paint(c.shape().circle(21, 21, 19).circle(21, 22.5, 18.5, fill=0), WHITE, 0.22)
        c.paint(c.shape().ring(21, 21, 12, 1), EDGE, 0.35)
    else:
        c.paint(c.shape().circle(21, 21, 19), gradient((42, 42), ACCENT_HI, ACCENT_LO, 2, 40))
        gloss = c.shape()
        gloss.d.ellipse(gloss._box((9, 4, 33, 18)), fill=255)
        c.paint(gloss, WHITE, 0.22)
        c.text((21, 22), str(n), 17 if n < 10 else 15, LIT_TEXT, bold=True)
    return c.sprite()


def hat_arrow(n):
    left, top = HAT_RECTS[n - 1]
    c = Canvas((68, 68), panel_colour(306))
    s = c.shape(left, top)
    hat_wedge(s, n, grow=0.8)
    c.paint(s, gradient((68, 68), ACCENT_HI, ACCENT_LO, 0, 68))
    core = c.shape(left, top)
    hat_wedge(core, n, grow=-1.5)
    c.paint(core, ACCENT, 0.55)
    return c.sprite()


def stick_dot(key):
    c = Canvas((30, 30), WELL)
    c.paint(c.shape().circle(15, 15, 13), (236, 240, 246))
    c.paint(c.shape().circle(15, 15, 11), gradient((30, 30), ACCENT_HI, ACCENT_LO, 4, 26))
    c.paint(c.shape().circle(11.5, 11, 3.5), (255, 236, 206), 0.8)
    return c.sprite(key=key)


def axis_gauge(lit):
    c = Canvas((213, 83), panel_colour(190))
    icon = (3, 29, 37, 60)
    if lit:
        c.paint(c.shape().rect(icon, 7), EDGE)
        c.paint(c.shape().rect(inset(icon, 1), 6), gradient((213, 83), ACCENT_HI, ACCENT_LO, 30, 59))
        ink = LIT_TEXT
    else:
        well(c, icon, 7)
        ink = TEXT_DIM
    arrow = c.shape()
    arrow.line([(11, 44.5), (29, 44.5)], 2.2)
    for x, d in ((10, 1), (30, -1)):
        arrow.polygon([(x, 44.5), (x + 7 * d, 39), (x + 7 * d, 50)])
    c.paint(arrow, ink)
    track = (42, 29, 171, 60)
    well(c, track, 8)
    if lit:
        fill = gradient((213, 83), (255, 196, 96), (244, 96, 28), 44, 169, across=True)
        c.paint(c.shape().rect(inset(track, 2), 6), fill)
        c.paint(c.shape().rect(inset(track, 2), 6).rect((44, 32, 169, 58), 6, fill=0), WHITE, 0.35)
    else:
        ticks = c.shape()
        for k in range(1, 8):
            x = 42 + k * 129 / 8
            ticks.line([(x, 53 if k % 2 else 50), (x, 56)], 1)
        c.paint(ticks, DIM_SHAPE)
        # the stop at the top of the range
        c.paint(c.shape().rect((175, 33, 179, 56), 2), DIM_SHAPE)
    return c.sprite()


def sensitivity(lit):
    c = Canvas((28, 33), panel_colour(266))
    for k, half in enumerate((7, 10, 13)):  # bottom segment first
        box = (14 - half, 33 - 11 * (k + 1) + 1, 14 + half, 33 - 11 * k - 1)
        if lit:
            c.paint(c.shape().rect(box, 3), EDGE)
            c.paint(c.shape().rect(inset(box, 1), 2), mix((255, 196, 96), (244, 96, 28), k / 2))
        else:
            well(c, box, 3)
            c.paint(c.shape().rect(box, 3).rect(inset(box, 1), 2, fill=0), DIM_SHAPE, 0.8)
    return c.sprite()


def power_line():
    c = Canvas((344, 22), WELL)
    bar = (2, 2, 342, 18)
    c.paint(c.shape().rect(bar, 7), gradient((344, 22), (255, 206, 110), (236, 70, 30), 2, 342, across=True))
    c.paint(c.shape().rect(bar, 7).rect((2, 3, 342, 18), 7, fill=0), WHITE, 0.35)
    return c.sprite()


def small_arrow():
    c = Canvas((9, 9), bg_colour(244))
    c.paint(c.shape().polygon([(4.5, 0.5), (9, 8.5), (0, 8.5)]), ACCENT)
    return c.sprite(keep=110)


def time_ball():
    c = Canvas((21, 21), WELL)
    c.paint(c.shape().circle(10.5, 10.5, 10), (150, 70, 0))
    c.paint(c.shape().circle(10.5, 10.5, 9), gradient((21, 21), ACCENT_HI, ACCENT_LO, 2, 19))
    c.paint(c.shape().circle(8, 7.5, 2.8), (255, 236, 206), 0.7)
    return c.sprite()


def logo():
    c = Canvas((88, 57), background().crop((0, 0, 88, 57)))
    c.paint(pad_silhouette(c.shape(), 10, 3, 68, 40), EDGE)
    c.paint(pad_silhouette(c.shape(), 11, 4, 66, 38), gradient((88, 57), ACCENT_HI, ACCENT_LO, 4, 42))
    c.text((44, 16), "ZZ", 17, LIT_TEXT, bold=True)
    c.text((44, 48), "ZURAZA", 9, TEXT, bold=True, covers=True)
    # drawn on the pages' own gradient, so even its faintest edge pixels fit
    return c.sprite(keep=1)


# ---------------------------------------------------------------- pages


def page_test():
    c = Canvas((W, H), background())
    panel(c, (32, 19, 198, 51), 8)
    c.paint(c.shape().rect((306, 17, 309, 35), 1.5), ACCENT)
    c.text((318, 15), "Test", 18, TEXT, bold=True, anchor="lt")
    c.text((318, 39), "Press buttons, move the stick", 10, TEXT_DIM, anchor="lt")
    panel(c, (16, 54, 484, 232), 10)
    hat_base(c)
    panel(c, (254, 242, 486, 380), 10)
    crosshair(c, (326, 250, 429, 355))
    return c.im


def keymap_row(c, col, r, keyboard):
    top = 62 + 47 * r
    mid = top + 23
    right = col + (218 if keyboard else 196)
    panel(c, (col + 10, top + 4, right, top + 42), 8)
    number = str(r + 1 + (6 if col > 200 else 0))
    if keyboard:
        c.text((right - 12, mid), number, 12, TEXT_DIM, bold=True)
    else:
        c.text((col + 84, mid), number, 12, TEXT_DIM, bold=True)
        arrow = c.shape().line([(col + 98, mid), (col + 133, mid)], 2)
        arrow.line([(col + 127, mid - 5), (col + 133, mid), (col + 127, mid + 5)], 2)
        c.paint(arrow, TEXT_DIM)


def page_keymap(keyboard):
    c = Canvas((W, H), background())
    title(c, "Keyboard mapping" if keyboard else "Button assignment")
    for col in (36, 259):
        c.text((col + 35, 53), "Pad button", 10, TEXT_DIM, anchor="mm")
        c.text((col + (134 if keyboard else 165), 53), "Key" if keyboard else "Acts as", 10, TEXT_DIM, anchor="mm")
        for r in range(6):
            keymap_row(c, col, r, keyboard)
    panel(c, (104, 350, 406, 390), 10)
    return c.im


def page_vibration():
    c = Canvas((W, H), background())
    title(c, "Vibration")
    panel(c, (62, 60, 438, 168), 10)
    well(c, (75, 71, 425, 92), 10.5)
    well(c, (80, 108, 422, 159), 6)
    grid = c.shape()
    for x in range(80 + 38, 422, 38):
        grid.line([(x, 112), (x, 155)], 1)
    grid.line([(84, 133.5), (418, 133.5)], 1)
    c.paint(grid, DIM_SHAPE, 0.45)
    panel(c, (64, 172, 436, 254), 10)
    well(c, (79, 220, 423, 240), 9)
    for box in ((32, 262, 132, 374), (367, 262, 467, 374)):
        panel(c, box, 10)
    crosshair(c, (194, 270, 309, 385))
    return c.im


def page_calibration():
    c = Canvas((W, H), background())
    title(c, "Calibration")
    panel(c, (66, 58, 201, 196), 10)
    crosshair(c, (79, 66, 188, 175))
    c.paint(c.shape().rect((312, 52, 494, 178), 9), WELL, 0.7)
    c.paint(c.shape().rect((312, 52, 494, 178), 9).rect((313, 53, 493, 177), 8, fill=0), WHITE, 0.1)
    return c.im


def page_about(version):
    c = Canvas((W, H), background())
    panel(c, (40, 64, 460, 384), 14)
    c.text((250, 92), "Zuraza Zirude", 26, TEXT, bold=True)
    c.text((250, 120), "Game pad with two vibration motors", 12, TEXT_DIM)
    # the pad
    x0, y0, w, h = 110, 142, 280, 170
    # shoulder buttons (4), behind the body
    for bx in (x0 + 40, x0 + 80, x0 + w - 120, x0 + w - 80):
        c.paint(c.shape().rect((bx, y0 - 7, bx + 34, y0 + 8), 4), EDGE)
        c.paint(c.shape().rect((bx + 1, y0 - 6, bx + 33, y0 + 8), 3), DISC_HI)
    c.paint(pad_silhouette(c.shape(), x0 + 2, y0 + 5, w, h), BLACK, 0.35)
    c.paint(pad_silhouette(c.shape(), x0, y0, w, h), EDGE)
    body = pad_silhouette(c.shape(), x0 + 2, y0 + 2, w - 4, h - 4)
    c.paint(body, gradient((W, H), NORMAL_HI, NORMAL_LO, y0, y0 + h))
    # hat
    hx, hy = x0 + 62, y0 + 52
    c.paint(c.shape().circle(hx, hy, 25), DISC_LO)
    cross = c.shape().rect((hx - 6, hy - 19, hx + 6, hy + 19), 2).rect((hx - 19, hy - 6, hx + 19, hy + 6), 2)
    c.paint(cross, (34, 44, 58))
    # six face buttons
    for i in range(6):
        bx, by = x0 + 176 + 22 * (i % 3), y0 + 38 + 24 * (i // 3) - 4 * (i % 3)
        colour = ACCENT if i == 2 else DISC_HI
        c.paint(c.shape().circle(bx, by, 9), EDGE)
        c.paint(c.shape().circle(bx, by, 8), colour)
    # start / select (2)
    for bx in (x0 + 118, x0 + 148):
        c.paint(c.shape().rect((bx, y0 + 30, bx + 16, y0 + 37), 3.5), DISC_LO)
    # stick
    sx, sy = x0 + 140, y0 + 92
    c.paint(c.shape().circle(sx, sy, 22), DISC_LO)
    c.paint(c.shape().circle(sx, sy, 14), gradient((W, H), DISC_HI, EDGE, sy - 14, sy + 14))
    # the two motors inside the grips
    for mx in (x0 + 0.2 * w, x0 + 0.8 * w):
        my = y0 + 0.68 * h
        c.paint(c.shape().ring(mx, my, 13, 2), (120, 136, 158))
        waves = c.shape()
        for rr in (18, 23):
            waves.arc(mx, my, rr, -35, 35, 1.6)
            waves.arc(mx, my, rr, 145, 215, 1.6)
        c.paint(waves, ACCENT)
    c.text((250, 346), "Version " + version, 12, TEXT)
    c.text((250, 366), "12 buttons  \u00b7  8-way hat  \u00b7  analog stick", 10, TEXT_DIM)
    return c.im


# ---------------------------------------------------------------- icons, sounds

VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
       (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255),
       (0, 255, 255), (255, 255, 255)]


def lamp_icon(lit):
    """32 x 32, 16 colours: a disc lamp, transparent outside through the AND mask."""
    pix, opaque = [], []
    for y in range(32):
        row, mrow = [], []
        for x in range(32):
            d = math.hypot(x + 0.5 - 16, y + 0.5 - 16)
            spot = math.hypot(x + 0.5 - 12, y + 0.5 - 11)
            if d > 13.5:
                row.append(0)
            elif d > 12.3:
                row.append(1 if lit else 0)
            elif spot < 2.2:
                row.append(15 if lit else 8)
            elif spot < 3.6 and lit:
                row.append(11)
            else:
                row.append(9 if lit else 1)
            mrow.append(d <= 13.5)
        pix.append(row)
        opaque.append(mrow)
    xor = b"".join(bytes((r[x] << 4) | r[x + 1] for x in range(0, 32, 2)) for r in reversed(pix))
    mask = b""
    for mrow in reversed(opaque):
        bits = 0
        for x in range(32):
            bits = (bits << 1) | (0 if mrow[x] else 1)
        mask += struct.pack(">I", bits)
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in VGA)
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    image = header + palette + xor + mask
    return struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", 32, 32, 16, 0, 1, 4, len(image), 22) + image


# C major pentatonic, one note a button, low to high
NOTES = [523.25, 587.33, 659.26, 783.99, 880.00, 1046.50, 1174.66, 1318.51, 1567.98, 1760.00, 2093.00, 2349.32]
RATE = 22050


def tone(freq, ms=110):
    n = RATE * ms // 1000
    attack, release = RATE * 3 // 1000, RATE * 12 // 1000
    out = bytearray()
    for i in range(n):
        t = i / RATE
        v = (math.sin(2 * math.pi * freq * t) * math.exp(-t / 0.040)
             + 0.35 * math.sin(2 * math.pi * 2 * freq * t) * math.exp(-t / 0.018)
             + 0.12 * math.sin(2 * math.pi * 3 * freq * t) * math.exp(-t / 0.010))
        # soft edges so neither end clicks
        if i < attack:
            v *= 0.5 - 0.5 * math.cos(math.pi * i / attack)
        if i >= n - release:
            v *= 0.5 - 0.5 * math.cos(math.pi * (n - 1 - i) / release)
        out += struct.pack("<h", int(round(v * 0.42 * 32767)))
    return bytes(out)


def write_sound(path, frames):
    with wave.open(path, "wb") as f:
        f.setnchannels(1)
        f.setsampwidth(2)
        f.setframerate(RATE)
        f.writeframes(frames)


# ---------------------------------------------------------------- output


def images(version):
    out = {
        "Background": background(),
        "BKJoystick": page_test(),
        "BKKeyMap": page_keymap(False),
        "BKKeyboardMap": page_keymap(True),
        "BKV": page_vibration(),
        "BKJoyCheck": page_calibration(),
        "BKAbout": page_about(version),
        "LogoJoy": logo(),
        "BtnTurbo": button((70, 20), "Turbo", False),
        "BtnTurbo_1": button((70, 20), "Turbo", True),
        "BtnClear": button((70, 20), "Clear", True),
        "BtnNext": button((84, 24), "Next", False),
        "BtnWhiteBall": turbo_ring(),
        "BtnButton": indicator(0),
        "BtnSet": button((70, 46), "Set", False, 14, panel_colour(200), 7),
        "BtnSet_1": button((70, 46), "Set", True, 14, panel_colour(200), 7, waiting=True),
        "BtnVLeft": motor_button("L", False),
        "BtnVLeft_1": motor_button("L", True),
        "BtnVRight": motor_button("R", False),
        "BtnVRight_1": motor_button("R", True),
        "BKCursor": stick_dot(WHITE),
        "BKCursor_1": stick_dot(BLACK),
        "AxesSlider": axis_gauge(False),
        "AxesSlider_1": axis_gauge(True),
        "AxesSensitive": sensitivity(False),
        "AxesSensitive_1": sensitivity(True),
        "BKPowerLine": power_line(),
        "BKArrow": small_arrow(),
        "BKTimeBall": time_ball(),
    }
    for name in ("Initial", "Load", "Save", "Check"):
        out["Btn" + name] = button((84, 24), name, False)
        out["Btn" + name + "_1"] = button((84, 24), name, True)
    for name in ("Initial", "Auto", "Manual"):
        out["Btn%s_v" % name] = button((73, 21), name, False)
        out["Btn%s_v1" % name] = button((73, 21), name, True)
    for n in range(1, 13):
        out["BtnButton_%d" % n] = indicator(n)
    for n in range(1, 9):
        out["BmpCoolHat_%d" % n] = hat_arrow(n)
    return out


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--images", required=True)
    ap.add_argument("--sounds", required=True)
    ap.add_argument("--icons", required=True)
    ap.add_argument("--version", required=True, help="the software's version, shown on the About page")
    args = ap.parse_args()
    for d in (args.images, args.sounds, args.icons):
        os.makedirs(d, exist_ok=True)
    for name, im in sorted(images(args.version).items()):
        im.convert("RGB").save(os.path.join(args.images, name + ".bmp"), "BMP")
    for name, lit in (("lamp-lit.ico", True), ("lamp-dark.ico", False)):
        with open(os.path.join(args.icons, name), "wb") as f:
            f.write(lamp_icon(lit))
    for n, freq in enumerate(NOTES, 1):
        write_sound(os.path.join(args.sounds, "Joy%x.wav" % n), tone(freq))


if __name__ == "__main__":
    main()
